#pragma once

// Fixed texts the program shows (UTF-8).
namespace msg {
inline constexpr const char* kAppTitle = "Stonewell";
inline constexpr const char* kConfirmExit = "「Stonewell」を終了しますか？";
inline constexpr const char* kRendererContextFailed = "Creating Direct3D Context is failed!!!";
inline constexpr const char* kRendererDeviceFailed = "Creating Direct3D device is failed!!!";
inline constexpr const char* kHelpFailed = "通信失敗しました";
inline constexpr const char* kDataMissing = "データフォルダが見つかりません: ";
}  // namespace msg
