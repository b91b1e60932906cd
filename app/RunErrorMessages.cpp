#include "RunErrorMessages.h"

#include <QLineEdit>

#include "MessageBoxes.h"
#include "PlatformFile.h"
#include "Tesselunit.h"

namespace tessel::app {

namespace {

QString Utf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QString RunErrorMessage(const RunError& error) {
  const std::string error_start = "\n錯誤 : " + DisplayName(error.path);
  switch (error.kind) {
    case RunErrorKind::kOpenFailed:
      return Utf8(error_start + (error.file == RunFile::kSignFile ? "" : " ") +
                  "檔案開啟失敗.\n");
    case RunErrorKind::kWouldOverwrite:
      return Utf8(error_start + " 與來源檔或其他輸出檔相同, 不可覆蓋.\n");
    case RunErrorKind::kReadFailed:
      return Utf8(error_start + " 檔案讀取失敗.\n");
    case RunErrorKind::kWriteFailed:
      return Utf8(error_start + " 檔案寫入失敗.\n");
    case RunErrorKind::kOutOfMemory:
      break;
  }
  return Utf8("\n錯誤：記憶體配置失敗, 程式結束！\n");
}

QWidget* FieldOfFile(TfmTessel& w, RunFile file) {
  switch (file) {
    case RunFile::kSource1:
      return w.edFile1;
    case RunFile::kSource2:
      return w.edFile2;
    case RunFile::kSource3:
      return w.edFile3;
    case RunFile::kResult1:
      return w.edResult1;
    case RunFile::kResult2:
      return w.edResult2;
    case RunFile::kResult3:
      return w.edResult3;
    case RunFile::kDifference:
      return w.edResult;
    case RunFile::kSignFile:
      return w.edSignFile;
    case RunFile::kNone:
    case RunFile::kMemoFile:  // the window's memo is typed, not a file
      break;
  }
  return nullptr;
}

void ReportRunStatus(TfmTessel& window, const RunStatus& status) {
  for (const RunError& error : status.errors) {
    ShowSimpleMessage(&window, RunErrorMessage(error));
    if (QWidget* field = FieldOfFile(window, error.file)) field->setFocus();
  }
  if (status.outcome == RunOutcome::kStopped) {
    ShowSimpleMessage(&window, Utf8(messages::kStopped));
  } else if (status.ended_normally()) {
    ShowSimpleMessage(&window, Utf8(messages::kDone));
  }
}

}  // namespace tessel::app
