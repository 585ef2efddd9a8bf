// The pictures: the status bar shows the module's own icon for the state, the
// fonts asked for can draw the pane's Japanese text, and labels of parts that
// stand close do not cover each other.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>

#include "case_names.h"
#include "host_run.h"
#include "pictures/label_layout.h"
#include "pictures/pane_icon.h"
#include "pictures/svg.h"
#include "judge/plugin_conventions.h"

namespace {

using namespace ftv_cli_testing;

struct Box {
    double x, y, width, height;  // top left corner
};

bool overlap(const Box& a, const Box& b) {
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

// The fills of the status bar icon's pixels in a camera view, and the area they cover.
std::set<std::string> icon_fills(const std::string& svg, int& pixels) {
    const auto start = svg.find("shape-rendering=\"crispEdges\"");
    const auto end = svg.find("</svg>", start);
    EXPECT_NE(start, std::string::npos) << "no icon drawn";
    std::set<std::string> fills;
    pixels = 0;
    if (start == std::string::npos) return fills;
    const std::string icon = svg.substr(start, end - start);
    const std::regex rect(R"re(<rect x="\d+" y="\d+" width="(\d+)" height="1" fill="(#[0-9A-F]{6})")re");
    for (auto it = std::sregex_iterator(icon.begin(), icon.end(), rect); it != std::sregex_iterator(); ++it) {
        pixels += std::stoi((*it)[1]);
        fills.insert((*it)[2]);
    }
    return fills;
}

struct IconCase {
    const char* what;
    std::vector<std::string> clicks;
    std::set<std::string> fills;  // the artwork's colours for that state
};

const IconCase kIconCases[] = {
    {"on: black outlines and pupils on white", {}, {"#000000", "#FFFFFF"}},
    {"off: the same drawing in greys", {"--click", "left"}, {"#808080", "#C0C0C0"}},
};

void PrintTo(const IconCase& c, std::ostream* out) { *out << c.what; }

class StatusBarIcon : public ::testing::TestWithParam<IconCase> {};

TEST_P(StatusBarIcon, IsTheModulesArtworkForTheState) {
    const IconCase& c = GetParam();
    const std::string folder = fresh_folder("icon_" + testing_support::case_name(c.what));
    std::vector<std::string> arguments{"--scene", data_file("billboards.json"), "--out", folder};
    arguments.insert(arguments.end(), c.clicks.begin(), c.clicks.end());
    const HostRun run = run_host(arguments);
    ASSERT_EQ(run.exit_code, 0) << run.output;
    int pixels = 0;
    EXPECT_EQ(icon_fills(read_text(folder + "/view.svg"), pixels), c.fills);
    // Two eyes on a transparent background: much drawn, much left clear.
    EXPECT_GT(pixels, 32 * 32 / 4);
    EXPECT_LT(pixels, 32 * 32 * 3 / 4);
}

INSTANTIATE_TEST_SUITE_P(States, StatusBarIcon, ::testing::ValuesIn(kIconCases),
                         [](const auto& info) {
                             const std::string what = info.param.what;
                             return what.substr(0, what.find(':'));
                         });

TEST(StatusBarIconFile, ACutShortOrForeignFileIsNotDrawn) {
    std::ifstream file(std::string(FTV_RESOURCE_DIR) + "/eyes_on.ico", std::ios::binary);
    const std::string ico((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    ASSERT_TRUE(ftv_cli::decode_ico(ico).has_value());
    for (std::size_t size = 0; size < ico.size(); ++size)
        EXPECT_FALSE(ftv_cli::decode_ico(ico.substr(0, size)).has_value()) << size;
    std::string png = ico;
    png.replace(0, 4, "\x89PNG");
    EXPECT_EQ(ftv_cli::icon_svg(png, 0, 0, 16), "");
}

// At least one family of the font stack is installed and has the glyphs of
// the pane's texts (有効, 無効), so that pictures show them and not boxes.
TEST(PictureFonts, AFontAskedForDrawsThePanesJapaneseText) {
    const HostRun run = run_program("fc-list", {":charset=6709 52b9 7121", "family"});
    ASSERT_EQ(run.exit_code, 0) << run.output;
    const std::string stack = ftv_cli::kFontStack;
    bool found = false;
    for (std::size_t start = 0; start < stack.size();) {
        auto end = stack.find(',', start);
        if (end == std::string::npos) end = stack.size();
        std::string family = stack.substr(start, end - start);
        family.erase(0, family.find_first_not_of(" '"));
        family.erase(family.find_last_not_of(" '") + 1);
        if (family != "sans-serif" && run.output.find(family) != std::string::npos) found = true;
        start = end + 1;
    }
    EXPECT_TRUE(found) << "installed with those glyphs:\n" << run.output;
}

struct LabelCase {
    const char* what;
    std::vector<ftv_cli::LabelBox> labels;
};

const LabelCase kLabelCases[] = {
    {"alone", {{100, 100, 60, 16}}},
    {"far apart", {{100, 100, 60, 16}, {300, 100, 60, 16}, {100, 300, 60, 16}}},
    {"two at one anchor", {{100, 100, 60, 16}, {100, 100, 80, 16}}},
    {"a row of five close together",
     {{100, 100, 70, 16}, {110, 102, 70, 16}, {120, 98, 70, 16}, {130, 100, 70, 16}, {105, 105, 70, 16}}},
    {"side by side, just clear", {{100, 100, 60, 16}, {163, 100, 60, 16}}},
    {"a crowd at one anchor", std::vector<ftv_cli::LabelBox>(12, {100, 100, 60, 16})},
    {"against the top edge", {{100, 8, 60, 16}, {100, 8, 60, 16}}},
};

void PrintTo(const LabelCase& c, std::ostream* out) { *out << c.what; }

class LabelPlacement : public ::testing::TestWithParam<LabelCase> {};

TEST_P(LabelPlacement, NoLabelCoversAnotherAndLoneLabelsStay) {
    const auto& labels = GetParam().labels;
    const double width = 800, height = 600;
    const auto placed = ftv_cli::place_labels(labels, width, height);
    ASSERT_EQ(placed.size(), labels.size());
    auto box = [&](std::size_t i) {
        return Box{placed[i].x - labels[i].width / 2, placed[i].y - labels[i].height / 2, labels[i].width,
                   labels[i].height};
    };
    auto anchored = [&](std::size_t i) {
        return Box{labels[i].x - labels[i].width / 2, labels[i].y - labels[i].height / 2, labels[i].width,
                   labels[i].height};
    };
    for (std::size_t i = 0; i < labels.size(); ++i) {
        if (!placed[i].shown) {
            // Left out only where its anchor is taken by a label shown before it.
            bool taken = false;
            for (std::size_t j = 0; j < i; ++j) taken = taken || (placed[j].shown && overlap(anchored(i), box(j)));
            EXPECT_TRUE(taken) << i;
            continue;
        }
        const bool at_anchor = placed[i].x == labels[i].x && placed[i].y == labels[i].y;
        EXPECT_EQ(placed[i].moved, !at_anchor) << i;
        // Near what it names, and wholly in the picture.
        EXPECT_LE(std::abs(placed[i].y - labels[i].y), (labels[i].height + 2) * ftv_cli::kLabelSteps) << i;
        const Box b = box(i);
        EXPECT_TRUE(b.x >= 0 && b.y >= 0 && b.x + b.width <= width && b.y + b.height <= height) << i;
        for (std::size_t j = 0; j < i; ++j) EXPECT_FALSE(placed[j].shown && overlap(b, box(j))) << i << " and " << j;
    }
    // A label that overlaps no other at its anchor is not moved.
    for (std::size_t i = 0; i < labels.size(); ++i) {
        bool alone = true;
        for (std::size_t j = 0; j < labels.size(); ++j) {
            const Box a{labels[i].x - labels[i].width / 2 - 2, labels[i].y - labels[i].height / 2 - 2,
                        labels[i].width + 4, labels[i].height + 4};
            alone = alone && (i == j || !overlap(a, anchored(j)));
        }
        if (alone) {
            EXPECT_FALSE(placed[i].moved) << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Table, LabelPlacement, ::testing::ValuesIn(kLabelCases),
                         [](const auto& info) { return testing_support::case_name(info.param.what); });

TEST(DemoLabels, DoNotCoverEachOtherInTheCameraView) {
    const std::string folder = fresh_folder("demo_labels");
    const HostRun run = run_host({"--orbit", "1", "--out", folder});
    ASSERT_EQ(run.exit_code, 0) << run.output;
    const std::string svg = read_text(folder + "/view.svg");
    const std::regex label(
        R"re(<g class="label"><rect x="([-\d.]+)" y="([-\d.]+)" width="([\d.]+)" height="([\d.]+)")re");
    std::vector<Box> boxes;
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), label); it != std::sregex_iterator(); ++it)
        boxes.push_back({std::stod((*it)[1]), std::stod((*it)[2]), std::stod((*it)[3]), std::stod((*it)[4])});
    EXPECT_GE(boxes.size(), 6u);  // the six tagged parts, all in view
    for (std::size_t i = 0; i < boxes.size(); ++i)
        for (std::size_t j = 0; j < i; ++j) EXPECT_FALSE(overlap(boxes[i], boxes[j])) << i << " and " << j;
}

// A scene too large to draw every face: a plate of small squares, most of
// them facing the eye, and beside it its mirror image, whose squares face the
// eye just the same though their corners run the other way round; and a
// crowd of tagged parts at one spot, too many to label there.
TEST(LargeScenePicture, ShowsTheFacesTowardTheEyeAndCountsTheLabelsLeftOut) {
    constexpr int kToward = 1500, kAway = 700, kCrowd = 12;
    refhost::Mesh plate;
    for (int i = 0; i < kToward + kAway; ++i) {
        const float x = 0.15f * static_cast<float>(i % 40), y = 0.15f * static_cast<float>(i / 40) - 4, s = 0.1f;
        const auto first = static_cast<std::uint32_t>(plate.vertices.size());
        plate.vertices.insert(plate.vertices.end(), {{x, y, 0}, {x + s, y, 0}, {x + s, y + s, 0}, {x, y + s, 0}});
        plate.polygons.push_back({first, first + 1, first + 2, first + 3});  // counter-clockwise seen from +Z
        if (i >= kToward) std::reverse(plate.polygons.back().begin(), plate.polygons.back().end());
    }
    refhost::SceneTree tree;
    tree.set_camera({{0, 0, 40}, {0, 0, 0}});
    for (const float mirror : {1.0f, -1.0f}) {
        const refhost::Node& part = tree.add_part(tree.root(), "plate");
        tree.set_transformation(part, {{{mirror, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {mirror * 0.5f, 0, 0, 1}}});
        tree.add_mesh(part, "squares", plate);
    }
    for (int i = 0; i < kCrowd; ++i) refhost::add_billboard(tree, tree.root(), "crowd", {0, 6, 0}, 3, 0);
    const std::string svg = ftv_cli::camera_view_svg(tree, {}, true);

    // A subpath per face (std::regex would recurse along a path's long text).
    std::size_t faces = 0;
    for (auto at = svg.find("<path fill="); at != std::string::npos; at = svg.find("<path fill=", at + 1)) {
        const auto d = svg.find(" d=\"", at) + 4;
        faces += static_cast<std::size_t>(std::count(svg.begin() + d, svg.begin() + svg.find('"', d), 'M'));
    }
    EXPECT_EQ(faces, 2u * kToward);
    std::smatch left_out;
    ASSERT_TRUE(std::regex_search(svg, left_out, std::regex(R"re(class="labels-left-out"[^>]*>(\d+))re")));
    const std::regex label("class=\"label\"");
    const auto shown = static_cast<int>(std::distance(std::sregex_iterator(svg.begin(), svg.end(), label), {}));
    EXPECT_GT(shown, 0);
    EXPECT_EQ(shown + std::stoi(left_out[1]), kCrowd);
}

}  // namespace
