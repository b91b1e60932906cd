#include "RunMessages.h"

#include "PlatformFile.h"

namespace tessel::cli {

std::string RunErrorText(const RunError& error) {
  const std::string error_start = "錯誤 : " + DisplayName(error.path);
  switch (error.kind) {
    case RunErrorKind::kOpenFailed:
      return error_start + (error.file == RunFile::kSignFile ? "" : " ") +
             "檔案開啟失敗.";
    case RunErrorKind::kWouldOverwrite:
      return error_start + " 與來源檔或其他輸出檔相同, 不可覆蓋.";
    case RunErrorKind::kReadFailed:
      return error_start + " 檔案讀取失敗.";
    case RunErrorKind::kWriteFailed:
      return error_start + " 檔案寫入失敗.";
    case RunErrorKind::kOutOfMemory:
      break;
  }
  return "錯誤：記憶體配置失敗, 程式結束！";
}

}  // namespace tessel::cli
