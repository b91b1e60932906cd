// The texts that the desktop program shows besides those that tell how a
// run ended (RunErrorMessages.h): the application title and the messages
// of the checks made before a run, the settings file and the document
// opener.

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
// The options dialog's checks, made last.
// "Please enter the name of your variant table file!"
inline constexpr char kTableFileEmpty[] = "請輸入自訂的異體字表檔名!";
// "The variant table file's name may not hold a comma!": the engine takes
// the tables as a list separated by commas.
inline constexpr char kTableFileComma[] = "異體字表檔名不可含有逗號 (,)!";
// "The symbols of ignored stretches come in pairs: opener, blank, closer!"
inline constexpr char kIgnoreBetweenUnpaired[] =
    "略過成對符號之間該欄必需成對填寫: 起符 空白 訖符!";
// "The symbols of ignored stretches must be Big5 characters!"
inline constexpr char kIgnoreBetweenNotBig5[] =
    "略過成對符號之間該欄只能填 Big5 字元!";

// The settings file, read from the current directory and written beside
// the program.
inline constexpr char kIniFileName[] = "tessel.ini";
// "Warning: tessel.ini cannot be written! Close all the same?"
inline constexpr char kIniUnwritable[] =
    "警告 : tessel.ini 無法寫入! 是否確定結束?";

// What a double-click on a file field reports when its file was not opened.
// "Not enough system memory or resources to open it!"
inline constexpr char kOpenOutOfResources[] =
    "系統記憶體或資源不足, 無法順利開啟!";
// "File not found!"
inline constexpr char kOpenFileNotFound[] = "找不到檔案!";
// "Not enough memory to open it!"
inline constexpr char kOpenOutOfMemory[] = "記憶體不足, 無法順利開啟!";
// "No program is registered for this kind of file!"
inline constexpr char kOpenNoAssociation[] = "此類檔案無登記, 無法順利開啟!";
// Any other failure: "SE_Err:", the result's number, " cannot open the
// file!".
inline constexpr char kOpenErrorPrefix[] = "SE_Err:";
inline constexpr char kOpenErrorSuffix[] = " 無法開啟此檔!";
// No program is chosen in the setup dialog: "Please choose the program that
// opens files in 設定 first!"
inline constexpr char kOpenNoProgram[] = "請先在「設定」中選擇開啟檔案的程式!";

// The file-open dialog's two filters; the second must match every file,
// even one whose name has no dot.
inline constexpr char kTextFilter[] = "純文字檔 (*.txt)";
inline constexpr char kAllFilesFilter[] = "所有檔案 (*.*)";
// The setup dialog's program picker shows executables first.
inline constexpr char kProgramFilter[] = "可執行檔 (*.exe; *.com; *.bat)";

}  // namespace tessel::app::texts

#endif  // TESSEL_APP_WINDOWTEXTS_H_
