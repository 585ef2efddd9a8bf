// The discovery exports, called as the host calls them.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "host/interface_ids.h"
#include "host/plugin_id.h"
#include "module_fixture.h"
#include "text_bytes.h"

namespace {

using testing_support::HostTest;
using testing_support::shared_module;
using testing_support::text_bytes;

// An identifier that differs from the plug-in interface's in its last byte only.
ftv::GUID near_miss() {
    ftv::GUID id = ftv::kPluginInterfaceId;
    id.Data4[7] ^= 0x01;
    return id;
}

struct Row {
    const char* what;
    ftv::GUID id;
    std::int32_t index;
    std::int32_t count;             // has_interface
    const char* english;            // get_name, UTF-8; null for none
    const char* japanese;           // get_name on a Japanese host, UTF-8; null for none
    std::uint32_t plugin_id;        // get_id
    bool resident;                  // is_resident
};

const Row kRows[] = {
    {"settings", ftv::kPluginInterfaceId, 0, 1, "Z_FaceToViewer Configuration...", "Z_FaceToViewer 設定...", 0x40A000C0u, true},
    {"plugin index 1", ftv::kPluginInterfaceId, 1, 1, nullptr, nullptr, 0, false},
    {"plugin index 7", ftv::kPluginInterfaceId, 7, 1, nullptr, nullptr, 0, false},
    {"plugin index -1", ftv::kPluginInterfaceId, -1, 1, nullptr, nullptr, 0, false},
    {"attribute", ftv::kAttributeInterfaceId, 0, 1, "Z_FaceToViewer Attribute...", "Z_FaceToViewer属性...", 0x40A000C2u, false},
    {"attribute index 5", ftv::kAttributeInterfaceId, 5, 1, "Z_FaceToViewer Attribute...", "Z_FaceToViewer属性...", 0x40A000C2u, false},
    {"creator", ftv::kCreatorInterfaceId, 0, 1, "Z_FaceToViewer", "Z_FaceToViewer", 0x40A000C3u, false},
    {"creator index 3", ftv::kCreatorInterfaceId, 3, 1, "Z_FaceToViewer", "Z_FaceToViewer", 0x40A000C3u, false},
    {"last byte differs", near_miss(), 0, 0, nullptr, nullptr, 0, false},
};

class Discovery : public HostTest {};

TEST_F(Discovery, EveryRowOfTheComponentTable) {
    auto& module = shared_module();
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(module.has_interface(&row.id, &host.app()), row.count);
        EXPECT_EQ(module.get_id(&row.id, row.index, nullptr), row.plugin_id);
        EXPECT_EQ(module.is_resident(&row.id, row.index, nullptr), row.resident);
        for (bool japanese : {false, true}) {
            host.app().japanese = japanese;
            const char* expected = japanese ? row.japanese : row.english;
            const char* name = module.get_name(&row.id, row.index, &host.app(), nullptr);
            if (expected == nullptr) {
                EXPECT_EQ(name, nullptr) << "japanese " << japanese;
            } else {
                ASSERT_NE(name, nullptr) << "japanese " << japanese;
                EXPECT_EQ(std::string(name), text_bytes(expected)) << "japanese " << japanese;
            }
        }
    }
}

TEST_F(Discovery, NullIdentifierIsUnknown) {
    auto& module = shared_module();
    EXPECT_EQ(module.has_interface(nullptr, &host.app()), 0);
    EXPECT_EQ(module.get_name(nullptr, 0, &host.app(), nullptr), nullptr);
    EXPECT_EQ(module.get_id(nullptr, 0, nullptr), 0u);
    EXPECT_FALSE(module.is_resident(nullptr, 0, nullptr));
}

TEST_F(Discovery, FixedAnswers) {
    auto& module = shared_module();
    EXPECT_EQ(module.get_interface_version(nullptr), 25);
    EXPECT_EQ(module.get_text_encoding(&host.app(), nullptr), 932);
    EXPECT_EQ(module.get_exception(&host.app(), nullptr), 2);
    EXPECT_FALSE(module.has_separate_interfaces(nullptr));
}

TEST_F(Discovery, InformationRecord) {
    ftv::PluginInfo info;
    std::memset(&info, 0xCD, sizeof info);
    ftv::PluginInfo* answer = shared_module().get_info(&info, &host.app(), nullptr);
    EXPECT_EQ(answer, &info);
    EXPECT_EQ(info.sdk_version, 36088);
    EXPECT_EQ(info.second_version, 36090);
    EXPECT_EQ(info.major_version, 1);
    EXPECT_EQ(info.minor_version, 2);
    EXPECT_EQ(info.micro_version, 0);
    EXPECT_EQ(info.build_number, 0);
    EXPECT_EQ(std::string(info.name), "Z_FaceToViewer");
    EXPECT_EQ(std::string(info.maker), "ZEMBRAK");
    EXPECT_EQ(std::string(info.second_maker), "ZEMBRAK");
    EXPECT_EQ(std::string(info.description), text_bytes("特定の形状を常にカメラに向けるプラグイン"));
}

TEST_F(Discovery, CreateInterfaceMakesNothingForUnknownKindsAndIndexes) {
    auto& module = shared_module();
    const ftv::GUID unknown = near_miss();
    struct Case {
        const ftv::GUID* id;
        std::int32_t index;
    } cases[] = {{&unknown, 0}, {&ftv::kPluginInterfaceId, 1}, {&ftv::kPluginInterfaceId, -3}, {nullptr, 0}};
    for (const Case& c : cases) {
        auto* sentinel = reinterpret_cast<ftv::plugin_interface*>(std::uintptr_t{0x1234});
        ftv::plugin_interface* out = sentinel;
        module.create_interface(c.id, c.index, &out, &host.app(), nullptr);
        EXPECT_EQ(out, sentinel) << "index " << c.index;
    }
}

TEST_F(Discovery, ManyComponentsOfEachKind) {
    auto& module = shared_module();
    const struct {
        const ftv::GUID* id;
        std::int32_t index;
        std::uint32_t plugin_id;
    } kinds[] = {{&ftv::kPluginInterfaceId, 0, ftv::kMainId},
                 {&ftv::kAttributeInterfaceId, 9, ftv::kAttributeId},
                 {&ftv::kCreatorInterfaceId, 2, ftv::kCreatorId}};
    for (const auto& kind : kinds) {
        auto first = testing_support::create_component(module, *kind.id, kind.index, host);
        auto second = testing_support::create_component(module, *kind.id, kind.index, host);
        ASSERT_NE(first, nullptr);
        ASSERT_NE(second, nullptr);
        EXPECT_NE(first.get(), second.get());
        EXPECT_EQ(first->ref_count(), 1);
        EXPECT_EQ(first->identifier(), kind.plugin_id);
    }
}

}  // namespace
