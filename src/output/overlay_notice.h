// Telling the user something inside the overlay: a translucent box with a
// short line of text, drawn over the current frame. It stays until the
// frame is next repainted.
#pragma once

#include <string>

namespace rc {

// The texts the output shows.
inline constexpr const char* kNoticeSaveFailed = "保存失败：";
inline constexpr const char* kNoticeClipboardBusy = "无法写入剪贴板，请重试";
inline constexpr const char* kNoticeNothingSelected = "没有选中区域，请先拖出要截取的范围";
inline constexpr const char* kNoticeNoSaveDialog = "无法打开保存对话框";
inline constexpr const char* kNoticeNotReplaced = "文件已存在，没有替换";

// Draws the notice centred near the top of the screen.
void ShowOverlayNotice(const std::string& text);

// before + name + after, the name shortened in its middle as far as needed
// for the notice to fit the screen.
std::string FittedNotice(const std::string& before, const std::string& name, const std::string& after);

// Back at the finished selection (frame and toolbar, menu closed) with the
// notice over it: what a failed output leaves, so nothing is lost.
void BackToSelection(const std::string& notice);

}  // namespace rc
