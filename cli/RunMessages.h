// The texts tessel-cli prints for a run that failed or was stopped, and for
// the look-ahead and limit options it refuses, in UTF-8. Each is one line,
// printed after "tessel-cli: ". They are the window's message texts without
// its surrounding line breaks.

#ifndef TESSEL_CLI_RUNMESSAGES_H_
#define TESSEL_CLI_RUNMESSAGES_H_

#include <string>
#include <string_view>

#include "RunOptions.h"
#include "RunStatus.h"

namespace tessel::cli {

// "錯誤 : <name> 檔案開啟失敗." (could not be opened), "... 檔案讀取失敗."
// (reading failed), "... 檔案寫入失敗." (writing failed), "... 與來源檔或其他
// 輸出檔相同, 不可覆蓋." (is a source or another output; not overwritten),
// or "錯誤：記憶體配置失敗, 程式結束！" (out of memory). The ignored-symbol
// file's open failure has no blank before "檔案".
// A refused variant table ("錯誤 : 異體字表有誤.", a table is at fault, when
// the status is not at hand) is worded by VariantTableErrorText, which
// names the table as given and the line where it has one: "錯誤 : 異體字表
// <name> 第 <n> 行 不是 UTF-8 或 Big5 文字." (not UTF-8 or Big5 text), "...
// 含有控制字元." (holds a control character), "錯誤 : 異體字表 <name>
// 檔案開啟失敗." (could not be read), "... 檔案過大 (至多 16 MiB)." (too
// large), or "錯誤 : 異體字表清單有空項目." (an empty item in the list).
std::string RunErrorText(const RunError& error);
std::string VariantTableErrorText(const VariantTableError& error);

// Why a cut-off run (status.cut_off()) stopped short, in English:
// "cut off: no common stretch within the look-ahead of N characters",
// with "; try --window auto" after a fixed look-ahead, or ", the largest
// allowed; try a larger MAX in --window auto:MAX (at most 16777216)" when
// a growing one reached a MAX below the most allowed; or "cut off: the
// limit of N differences was reached".
std::string CutOffText(const RunStatus& status, const RunOptions& options);

// "Interrupted!": the run was stopped.
inline constexpr std::string_view kStopped = "被中斷了 !";

// "The largest-compare field must be a number!"
inline constexpr std::string_view kWindowNotNumber =
    "最大比對數字該欄必需為數字!";
// "The largest-compare field must lie between 2 and 65535!"
inline constexpr std::string_view kWindowOutOfRange =
    "最大比對數字該欄必需介於 2 ~ 65535 之間!";
// tessel-cli's own refusal of a MAX it cannot take.
std::string AutoWindowOutOfRangeText();
// "The largest-difference field must be a number!"
inline constexpr std::string_view kLimitNotNumber =
    "最大差異數字該欄必需為數字!";

}  // namespace tessel::cli

#endif  // TESSEL_CLI_RUNMESSAGES_H_
