// Texts the behaviour shows in the host's dialogs, as code page 932 bytes.
#pragma once

namespace ftv {

// "Z_FaceToViewer有効": the check box of both dialogs.
constexpr char kEnabledLabel[] = "Z_FaceToViewer\x97\x4c\x8c\xf8";
// "縦軸のみ回転" (turn about the vertical axis only): the attribute dialog's
// second check box.
constexpr char kUprightLabel[] = "\x8f\x63\x8e\xb2\x82\xcc\x82\xdd\x89\xf1\x93\x5d";
// "正確に向ける" (face exactly): the attribute dialog's third check box.
constexpr char kExactLabel[] = "\x90\xb3\x8a\x6d\x82\xc9\x8c\xfc\x82\xaf\x82\xe9";
// "Z_FaceToViewer 設定": the settings dialog.
constexpr char kSettingsTitle[] = "Z_FaceToViewer \x90\xdd\x92\xe8";
// "Z_FaceToViewer属性 設定": the attribute dialog.
constexpr char kAttributeTitle[] = "Z_FaceToViewer\x91\xae\x90\xab \x90\xdd\x92\xe8";

}  // namespace ftv
