// The texts that the desktop program shows besides those a run shares with
// the command line (engine/Messages.h): the application title and the
// messages of the checks made before a run.

#ifndef TESSEL_APP_WINDOWTEXTS_H_
#define TESSEL_APP_WINDOWTEXTS_H_

namespace tessel::app::texts {

// "File comparison program": the caption of every simple message box.
inline constexpr char kApplicationTitle[] = "檔案比對程式";
// The caption of the main window.
inline constexpr char kWindowCaption[] = "檔案比對程式--視窗版 (Tessel)";

// Empty-field checks, in the order they are made.
// "The first source field may not be empty!"
inline constexpr char kFile1Empty[] = "第一個比對檔該欄不可為空白!";
// "The second source field may not be empty!"
inline constexpr char kFile2Empty[] = "第二個比對檔該欄不可為空白!";
// "The first result field may not be empty!"
inline constexpr char kResult1Empty[] = "第一個結果檔該欄不可為空白!";
// "The second result field may not be empty!"
inline constexpr char kResult2Empty[] = "第二個結果檔該欄不可為空白!";
// "The third result field may not be empty!"
inline constexpr char kResult3Empty[] = "第三個結果檔該欄不可為空白!";
// "The difference file field may not be empty!"
inline constexpr char kDifferenceEmpty[] = "差異結果檔該欄不可為空白!";
// "Please enter the name of your ignored-symbol file!"
inline constexpr char kSignFileEmpty[] = "請輸入自訂的忽略符號檔名!";

// The file-open dialog's two filters; the second must match every file,
// even one whose name has no dot.
inline constexpr char kTextFilter[] = "純文字檔 (*.txt)";
inline constexpr char kAllFilesFilter[] = "所有檔案 (*.*)";

}  // namespace tessel::app::texts

#endif  // TESSEL_APP_WINDOWTEXTS_H_
