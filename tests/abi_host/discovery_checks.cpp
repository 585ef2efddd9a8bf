#include "check.h"
#include "checks.h"
#include "world.h"

namespace {

// Code page 932 texts, as the host shows them.
const char kSettingsEnglish[] = "Z_FaceToViewer Configuration...";
const char kSettingsJapanese[] = "Z_FaceToViewer \x90\xdd\x92\xe8...";  // 設定
const char kAttributeEnglish[] = "Z_FaceToViewer Attribute...";
const char kAttributeJapanese[] = "Z_FaceToViewer\x91\xae\x90\xab...";  // 属性
const char kDescription[] =
    "\x93\xc1\x92\xe8\x82\xcc\x8c\x60\x8f\xf3\x82\xf0\x8f\xed\x82\xc9\x83\x4a\x83\x81\x83\x89\x82\xc9"
    "\x8c\xfc\x82\xaf\x82\xe9\x83\x76\x83\x89\x83\x4f\x83\x43\x83\x93";

}  // namespace

void check_discovery(const Exports& e, Components& made) {
    reset_world();
    Guid unknown = kCreatorInterface;
    unknown.data4[7] ^= 1;
    const Guid* kinds[] = {&kPluginInterface, &kAttributeInterface, &kCreatorInterface};
    for (const Guid* kind : kinds) check(e.has_interface(kind, &app) == 1, "has_interface of a known kind");
    check(e.has_interface(&unknown, &app) == 0, "has_interface of an unknown kind");

    check(same_text(e.get_name(&kPluginInterface, 0, &app, nullptr), kSettingsEnglish), "settings menu name");
    check(same_text(e.get_name(&kAttributeInterface, 3, &app, nullptr), kAttributeEnglish), "attribute menu name");
    check(same_text(e.get_name(&kPluginInterface, 1, &app, nullptr), nullptr), "no name for index 1");
    check(same_text(e.get_name(&unknown, 0, &app, nullptr), nullptr), "no name for an unknown kind");
    world.japanese = true;
    check(same_text(e.get_name(&kPluginInterface, 0, &app, nullptr), kSettingsJapanese), "Japanese settings name");
    check(same_text(e.get_name(&kAttributeInterface, 0, &app, nullptr), kAttributeJapanese),
          "Japanese attribute name");
    check(same_text(e.get_name(&kCreatorInterface, 5, &app, nullptr), "Z_FaceToViewer"), "creator menu name");
    world.japanese = false;

    check(e.get_id(&kPluginInterface, 0, nullptr) == 0x40A000C0, "get_id of the resident component");
    check(e.get_id(&kPluginInterface, 1, nullptr) == 0, "get_id of plugin index 1");
    check(e.get_id(&kAttributeInterface, 9, nullptr) == 0x40A000C2, "get_id of the attribute component");
    check(e.get_id(&kCreatorInterface, 0, nullptr) == 0x40A000C3, "get_id of the creator component");
    check(e.get_id(&unknown, 0, nullptr) == 0, "get_id of an unknown kind");
    check(e.is_resident(&kPluginInterface, 0, nullptr), "the resident component is resident");
    check(!e.is_resident(&kPluginInterface, 1, nullptr) && !e.is_resident(&kAttributeInterface, 0, nullptr) &&
              !e.is_resident(&kCreatorInterface, 0, nullptr),
          "no other component is resident");

    check(e.get_interface_version(nullptr) == 25, "interface version");
    PluginInfo info;
    memset(&info, 0xAB, sizeof info);
    const i32 numbers[6] = {36088, 36090, 1, 2, 0, 0};
    check(e.get_info(&info, &app, nullptr) == &info, "get_info returns the record");
    check(same_bits(info.numbers, numbers, sizeof numbers), "get_info numbers");
    check(same_text(info.texts[0], "Z_FaceToViewer") && same_text(info.texts[1], "ZEMBRAK") &&
              same_text(info.texts[2], "ZEMBRAK") && same_text(info.texts[3], kDescription),
          "get_info texts");
    check(e.get_text_encoding(&app, nullptr) == 932, "text encoding");
    check(e.get_exception(&app, nullptr) == 2, "exception answer");
    check(!e.has_separate_interfaces(nullptr), "no separate interfaces");

    void* none = &info;
    e.create_interface(&unknown, 0, &none, &app, nullptr);
    e.create_interface(&kPluginInterface, 1, &none, &app, nullptr);
    check(none == &info, "create_interface makes nothing for an unknown kind or plugin index 1");
    made = {};
    e.create_interface(&kPluginInterface, 0, &made.main, &app, nullptr);
    e.create_interface(&kAttributeInterface, 0, &made.attribute, &app, nullptr);
    e.create_interface(&kCreatorInterface, 0, &made.creator, &app, nullptr);
    check(made.main && made.attribute && made.creator, "create_interface makes the three components");
    check(ledger_balanced(), "discovery leaves the ledger balanced");
}
