#include "RunMessages.h"

#include "AnchorRules.h"
#include "PlatformFile.h"

namespace tessel::cli {

std::string VariantTableErrorText(const VariantTableError& error) {
  using Kind = VariantTableError::Kind;
  const std::string start = "錯誤 : 異體字表 " + error.file;
  const std::string at_line =
      start + " 第 " + std::to_string(error.line) + " 行";
  switch (error.kind) {
    case Kind::kEmptyName:
      return "錯誤 : 異體字表清單有空項目.";
    case Kind::kCannotRead:
      return start + " 檔案開啟失敗.";
    case Kind::kBadEncoding:
      return at_line + " 不是 UTF-8 或 Big5 文字.";
    case Kind::kControlCharacter:
      return at_line + " 含有控制字元.";
    case Kind::kTooLarge:
      return start + " 檔案過大 (至多 16 MiB).";
    case Kind::kNone:
      break;
  }
  return start;
}

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
    case RunErrorKind::kVariantTable:
      return "錯誤 : 異體字表有誤.";
    case RunErrorKind::kTooLarge:
      return error_start + " 檔案過大 (至多 16 MiB).";
    case RunErrorKind::kOutOfMemory:
      break;
  }
  return "錯誤：記憶體配置失敗, 程式結束！";
}

std::string CutOffText(const RunStatus& status, const RunOptions& options) {
  if (status.outcome == RunOutcome::kCutOffLimit) {
    return "cut off: the limit of " + std::to_string(options.diff_limit) +
           " differences was reached";
  }
  const std::string no_stretch =
      "cut off: no common stretch within the look-ahead of ";
  if (!options.auto_window) {
    return no_stretch + std::to_string(options.window_size) +
           " characters; try --window auto";
  }
  if (status.reached_window == options.max_window &&
      options.max_window < kMostAutoMaxWindow) {
    return no_stretch + std::to_string(options.max_window) +
           " characters, the largest allowed; try a larger MAX in --window "
           "auto:MAX (at most " +
           std::to_string(kMostAutoMaxWindow) + ")";
  }
  return no_stretch + std::to_string(status.reached_window) + " characters";
}

std::string AutoWindowOutOfRangeText() {
  return "--window auto:MAX takes MAX from " +
         std::to_string(kLeastAutoMaxWindow) + " to " +
         std::to_string(kMostAutoMaxWindow);
}

}  // namespace tessel::cli
