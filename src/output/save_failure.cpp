#include "output/save_failure.h"

#include <cstdio>

#include "output/overlay_notice.h"

namespace rc {

std::string FileFailureText(FileFailure kind) {
  switch (kind) {
    case FileFailure::ReadOnly: return "文件只读";
    case FileFailure::DiskFull: return "磁盘已满";
    case FileFailure::NameTooLong: return "文件名过长";
    case FileFailure::NoPermission: return "没有权限";
    case FileFailure::NoFolder: return "目录不存在";
    case FileFailure::FolderInTheWay: return "已有同名文件夹";
    default: return {};
  }
}

std::string SaveFailureNotice(FileFailure kind, const std::string& fileTitle) {
  const std::string reason = FileFailureText(kind);
  const std::string before = std::string(kNoticeSaveFailed) + (reason.empty() ? "" : reason + "，") + "无法写入“";
  return FittedNotice(before, fileTitle, "”");
}

void ReportSaveFailure(const HostResult& result, const std::string& fileTitle) {
  std::fprintf(stderr, "regioncap: %s\n", result.message.c_str());
  std::fflush(stderr);
  BackToSelection(SaveFailureNotice(result.file, fileTitle));
}

}  // namespace rc
