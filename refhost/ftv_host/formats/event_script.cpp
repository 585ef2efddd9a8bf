#include "formats/event_script.h"

namespace ftv_cli {

namespace {

constexpr std::uint32_t kMaxSteps = 100000;

refhost::DialogAnswer answer_at(const JsonAt& at) {
    refhost::DialogAnswer answer;
    answer.confirm = at.member("confirm").boolean();
    if (at.has("checked")) answer.checked = at.member("checked").boolean();
    if (at.has("upright")) answer.second = at.member("upright").boolean();
    if (at.has("exact")) answer.third = at.member("exact").boolean();
    return answer;
}

Event event_at(const std::string& file, const JsonAt& at) {
    Event e;
    e.where = file + ": " + at.path();
    const std::string type = at.member("event").string();
    if (type == "initialize") {
        at.allow_only({"event"});
        e.type = Event::Type::initialize;
    } else if (type == "notify") {
        at.allow_only({"event", "eye"});
        e.type = Event::Type::notify;
        if (at.has("eye")) e.eye = at.member("eye").vec3();
    } else if (type == "orbit") {
        at.allow_only({"event", "steps"});
        e.type = Event::Type::orbit;
        e.steps = static_cast<std::uint32_t>(at.member("steps").integer(1, kMaxSteps));
    } else if (type == "menu") {
        at.allow_only({"event", "confirm", "checked"});
        e.type = Event::Type::menu;
        e.answer = answer_at(at);
    } else if (type == "click") {
        at.allow_only({"event", "button"});
        e.type = Event::Type::click;
        const JsonAt button = at.member("button");
        const std::string name = button.string();
        if (name != "left" && name != "right") button.fail("button \"" + name + "\" is not left or right");
        e.left = name == "left";
    } else if (type == "attribute") {
        at.allow_only({"event", "shape", "confirm", "checked", "upright", "exact"});
        e.type = Event::Type::attribute;
        e.shape = at.member("shape").string();
        e.paths_where = e.where + ": shape";
        e.answer = answer_at(at);
    } else if (type == "create") {
        at.allow_only({"event", "position", "first", "second", "selection"});
        e.type = Event::Type::create;
        e.position = at.member("position").vec3();
        if (at.has("first")) e.first = static_cast<std::uint32_t>(at.member("first").integer(0, UINT32_MAX));
        if (at.has("second")) e.second = static_cast<std::uint32_t>(at.member("second").integer(0, UINT32_MAX));
        e.paths_where = e.where + ": selection";
        if (at.has("selection")) {
            const JsonAt selection = at.member("selection");
            e.selection.emplace();
            for (std::size_t i = 0; i < selection.size(); ++i) e.selection->push_back(selection.at(i).string());
        }
    } else {
        at.member("event").fail("unknown event \"" + type +
                                "\" (initialize, notify, orbit, menu, click, attribute, create)");
    }
    return e;
}

}  // namespace

std::vector<Event> read_events(const std::string& file, const Json& document) {
    const JsonAt top(file, document);
    top.allow_only({"events"});
    const JsonAt list = top.member("events");
    std::vector<Event> events;
    for (std::size_t i = 0; i < list.size(); ++i) events.push_back(event_at(file, list.at(i)));
    return events;
}

std::vector<Event> read_events(const std::string& path) { return read_events(path, read_json_file(path, Pipes::read)); }

}  // namespace ftv_cli
