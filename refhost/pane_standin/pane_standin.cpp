// Built twice: the full stand-in, and (FTV_PANE_WITHOUT_SET_ICON) one that
// lacks ZPH_SetIcon, as an older companion library might.
#include <cstring>
#include <vector>

#include "pane_standin/pane_standin.h"

#ifdef _WIN32
#define PANE_EXPORT extern "C"
#else
#define PANE_EXPORT extern "C" __attribute__((visibility("default")))
#endif

using refhost::PaneRecord;

namespace {

std::vector<PaneRecord>& panes() {
    static std::vector<PaneRecord> all;
    return all;
}

PaneRecord& pane(std::uint32_t id) {
    for (PaneRecord& record : panes()) {
        if (record.id == id) return record;
    }
    PaneRecord record{};
    record.id = id;
    return panes().emplace_back(record);
}

}  // namespace

PANE_EXPORT std::int32_t FTV_STDCALL ZPH_AddPain(std::uint32_t id, ftv::PaneHandler handler) {
    PaneRecord& record = pane(id);
    record.handler = handler;
    ++record.registrations;
    return 1;
}

PANE_EXPORT std::int32_t FTV_STDCALL ZPH_SetText(std::uint32_t id, const char* text) {
    PaneRecord& record = pane(id);
    std::strncpy(record.text, text, sizeof record.text - 1);
    record.text[sizeof record.text - 1] = '\0';
    ++record.texts_set;
    return 1;
}

#ifndef FTV_PANE_WITHOUT_SET_ICON
PANE_EXPORT std::int32_t FTV_STDCALL ZPH_SetIcon(std::uint32_t id, void* icon) {
    PaneRecord& record = pane(id);
    record.icon = icon;
    ++record.icons_set;
    return 1;
}
#endif

PANE_EXPORT bool ZPH_Test_Get(std::uint32_t id, PaneRecord* record) {
    for (const PaneRecord& known : panes()) {
        if (known.id == id) {
            *record = known;
            return true;
        }
    }
    return false;
}

PANE_EXPORT bool ZPH_Test_Send(std::uint32_t id, std::uint32_t message, std::intptr_t* result) {
    for (const PaneRecord& known : panes()) {
        if (known.id == id && known.handler != nullptr) {
            *result = known.handler(nullptr, message, 0, 0);
            return true;
        }
    }
    return false;
}

PANE_EXPORT void ZPH_Test_Reset() {
    for (PaneRecord& record : panes()) {
        record.texts_set = record.icons_set = 0;
        record.text[0] = '\0';
        record.icon = nullptr;
    }
}
