// The texts that a run shows to the user, in UTF-8. A file name inside a
// message is shown as the system gives it.

#ifndef TESSEL_ENGINE_MESSAGES_H_
#define TESSEL_ENGINE_MESSAGES_H_

#include <string>
#include <string_view>

namespace tessel::messages {

// "Error: <name> could not be opened." (a source or an output)
inline std::string OpenFailed(std::string_view name) {
  return "\n錯誤 : " + std::string(name) + " 檔案開啟失敗.\n";
}

// The same for the ignored-symbol file, which has no blank before the
// rest of the text.
inline std::string SignFileOpenFailed(std::string_view name) {
  return "\n錯誤 : " + std::string(name) + "檔案開啟失敗.\n";
}

// "Error: <name> is a source or another output; it may not be overwritten."
inline std::string WouldOverwrite(std::string_view name) {
  return "\n錯誤 : " + std::string(name) +
         " 與來源檔或其他輸出檔相同, 不可覆蓋.\n";
}

// "Error: reading <name> failed."
inline std::string ReadFailed(std::string_view name) {
  return "\n錯誤 : " + std::string(name) + " 檔案讀取失敗.\n";
}

// "Error: writing <name> failed."
inline std::string WriteFailed(std::string_view name) {
  return "\n錯誤 : " + std::string(name) + " 檔案寫入失敗.\n";
}

// "Error: memory allocation failed, the program ends!"
inline constexpr std::string_view kNoMemory =
    "\n錯誤：記憶體配置失敗, 程式結束！\n";

// "Interrupted!": the user stopped the run.
inline constexpr std::string_view kStopped = "被中斷了 !";

// "Done!": shown by the window after a run that ended normally.
inline constexpr std::string_view kDone = "完成 !";

// The checks of the look-ahead and the difference limit, which the window
// and the command line share.
// "The largest-compare field must be a number!"
inline constexpr std::string_view kWindowNotNumber =
    "最大比對數字該欄必需為數字!";
// "The largest-compare field must lie between 2 and 65535!"
inline constexpr std::string_view kWindowOutOfRange =
    "最大比對數字該欄必需介於 2 ~ 65535 之間!";
// "The largest-difference field must be a number!"
inline constexpr std::string_view kLimitNotNumber =
    "最大差異數字該欄必需為數字!";

}  // namespace tessel::messages

#endif  // TESSEL_ENGINE_MESSAGES_H_
