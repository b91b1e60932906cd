// How the window tells the user the way a run ended: the message box texts
// for a failed, stopped or finished run, and the field that gets the focus
// after a file's error. Also the texts of the look-ahead and limit checks
// made before a run.

#ifndef TESSEL_APP_RUNERRORMESSAGES_H_
#define TESSEL_APP_RUNERRORMESSAGES_H_

#include <QString>
#include <cstdint>
#include <string_view>

#include "RunStatus.h"

namespace tessel::app {

class MainWindow;

namespace messages {

// "Interrupted!": the user stopped the run.
inline constexpr std::string_view kStopped = "被中斷了 !";
// "Done!": shown after a run that came to a normal end.
inline constexpr std::string_view kDone = "完成 !";
// "Not finished!": the first line of a cut-off's message, then why.
inline constexpr std::string_view kCutOffNoAnchor =
    "未完成 ! 在最大比對字數內找不到相同的文字, 比對已中斷.";
inline constexpr std::string_view kCutOffLimit =
    "未完成 ! 差異數目已達上限, 比對已中斷.";
// What to try, after the lines each source reached.
inline constexpr std::string_view kTryLargerWindow = "可加大最大比對字數再試.";
// After kTryLargerWindow when the look-ahead was fixed.
inline constexpr std::string_view kTryAutoWindow =
    "或將最大比對字數填為 auto, 找不到相同的文字時即自動擴大.";
// A growing look-ahead that reached its largest size, below the most
// allowed; then the most, then kTryLargerAutoMaximumEnd.
inline constexpr std::string_view kTryLargerAutoMaximum =
    "可加大自動擴大的上限再試, 如 auto:";
inline constexpr std::string_view kTryLargerAutoMaximumEnd = ".";
inline constexpr std::string_view kTryLargerLimit =
    "可加大差異數目或取消勾選再試.";

// "The largest-compare field must be a number!"
inline constexpr std::string_view kWindowNotNumber =
    "最大比對數字該欄必需為數字!";
// "The largest-compare field must lie between 2 and 65535!"
inline constexpr std::string_view kWindowOutOfRange =
    "最大比對數字該欄必需介於 2 ~ 65535 之間!";
// "The largest-compare field takes auto, or auto: and a largest size
// between 100 and 16777216!"
inline constexpr std::string_view kAutoMaximumOutOfRange =
    "最大比對字數該欄可填 auto, 或 auto: 加上介於 100 ~ 16777216 的上限!";
// "The largest-difference field must be a number!"
inline constexpr std::string_view kLimitNotNumber =
    "最大差異數字該欄必需為數字!";

}  // namespace messages

// The box text for `error`, starting and ending with a line break, the
// file's name as the system gives it: "錯誤 : <name> 檔案開啟失敗." (could
// not be opened; no blank before "檔案" for the ignored-symbol file),
// "... 檔案讀取失敗." (reading failed), "... 檔案寫入失敗." (writing
// failed), "... 與來源檔或其他輸出檔相同, 不可覆蓋." (a source or another
// output; not overwritten), or "錯誤：記憶體配置失敗, 程式結束！" (out of
// memory).
QString RunErrorMessage(const RunError& error);

// The box text for a variant table that was refused, starting and ending
// with a line break and naming the table as the user chose it and, where
// the fault lies in one line, the line: "錯誤 : 異體字表 <name> 第 N 行 不是
// UTF-8 或 Big5 文字." (neither encoding), "... 第 N 行 含有控制字元." (a
// control character), "錯誤 : 異體字表 <name> 檔案開啟失敗." (cannot be
// read), "... 檔案過大 (至多 16 MiB)." (too large), "錯誤 :
// 異體字表清單有空項目." (an empty name in the list).
QString VariantTableMessage(const VariantTableError& error);

// The box text for a run that was cut off (`status.cut_off()`), one line
// each: why (kCutOffNoAnchor or kCutOffLimit); for a growing look-ahead
// (`auto_window`, up to `max_window`) "最大比對字數已自動擴大到 N." with the
// look-ahead it reached; "來源檔一 到第 N 行" for each of the
// `source_count` sources with the line it reached; and what to try:
// kTryLargerLimit, or kTryLargerWindow and kTryAutoWindow after a fixed
// look-ahead, or kTryLargerAutoMaximum after a growing one that reached a
// largest size below the most allowed (nothing after one that reached the
// most). The files already say the same in their closing lines; this is
// for the user who does not open them.
QString CutOffMessage(const RunStatus& status, int source_count,
                      bool auto_window, std::int32_t max_window);

// Shows how the run ended: each error's message in turn, each followed by
// the focus on its field (a variant table's: the options dialog, at the
// table file field); "被中斷了 !" for a stopped run; CutOffMessage for
// one that was cut off; "完成 !" for one that otherwise came to a normal
// end.
void ReportRunStatus(MainWindow& window, const RunStatus& status);

}  // namespace tessel::app

#endif  // TESSEL_APP_RUNERRORMESSAGES_H_
