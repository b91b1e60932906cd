// The fixed texts that a run writes into its output files, as the Big5
// (code page 950) bytes that reach the disk. Nothing else in the engine
// spells them.

#ifndef TESSEL_ENGINE_FILETEXTS_H_
#define TESSEL_ENGINE_FILETEXTS_H_

#include <string_view>

namespace tessel::file_texts {

// Difference blocks in the result files: "{{" a "||" b "}}".
inline constexpr std::string_view kBlockOpen = "{{";
inline constexpr std::string_view kBlockSeparator = "||";
inline constexpr std::string_view kBlockClose = "}}";

// Between the columns of a difference line.
inline constexpr std::string_view kColumnSeparator = ", ";

// "\n====== 檔案比對結束 ======\n\n": file comparison finished.
inline constexpr std::string_view kEndLine =
    "\n====== \xC0\xC9\xAE\xD7\xA4\xF1\xB9\xEF\xB5\xB2\xA7\xF4 ======\n\n";

// A closing line is kClosingStart, the source's name, kClosingMiddle, the
// line reached, then kClosingInterrupted or kClosingEnded, then a line end.
// "====== 檔案 ": file
inline constexpr std::string_view kClosingStart = "====== \xC0\xC9\xAE\xD7 ";
// " 比對至 ": compared up to
inline constexpr std::string_view kClosingMiddle = " \xA4\xF1\xB9\xEF\xA6\xDC ";
// " 行中斷, 該檔案尚未結束... ======": line, interrupted, the file has not
// ended yet.
inline constexpr std::string_view kClosingInterrupted =
    " \xA6\xE6\xA4\xA4\xC2\x5F, \xB8\xD3\xC0\xC9\xAE\xD7\xA9\x7C\xA5\xBC"
    "\xB5\xB2\xA7\xF4... ======";
// " 行結束, 該檔案已經結束.   ======": line, ended, the file has already
// ended. As long as the other form, so the closing lines line up.
inline constexpr std::string_view kClosingEnded =
    " \xA6\xE6\xB5\xB2\xA7\xF4, \xB8\xD3\xC0\xC9\xAE\xD7\xA4\x77\xB8\x67"
    "\xB5\xB2\xA7\xF4.   ======";
static_assert(kClosingInterrupted.size() == kClosingEnded.size());

// With the growing look-ahead, one more closing line follows:
// kClosingReachedStart, the widest look-ahead used, kClosingReachedEnd.
// "====== 比對字數已達 ": the look-ahead reached
inline constexpr std::string_view kClosingReachedStart =
    "====== \xA4\xF1\xB9\xEF\xA6\x72\xBC\xC6\xA4\x77\xB9\x46 ";
inline constexpr std::string_view kClosingReachedEnd = " ======";

// The variant count, a line of its own after the end line or the closing
// lines of a run with variant tables: kVariantCountStart, the number of
// places where variants were compared as equal, kVariantCountEnd.
// "====== 異體字 ": variant characters
inline constexpr std::string_view kVariantCountStart =
    "====== \xB2\xA7\xC5\xE9\xA6\x72 ";
// " 處 ======": places
inline constexpr std::string_view kVariantCountEnd = " \xB3\x42 ======";

// Line ends of the closing lines: written raw to the binary result files,
// and as a line feed to the text-mode difference file.
inline constexpr std::string_view kResultLineEnd = "\r\n";
inline constexpr std::string_view kDifferenceLineEnd = "\n";

}  // namespace tessel::file_texts

#endif  // TESSEL_ENGINE_FILETEXTS_H_
