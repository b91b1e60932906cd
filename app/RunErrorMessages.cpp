#include "RunErrorMessages.h"

#include <QWidget>

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
    case RunErrorKind::kVariantTable:
      // The window offers no tables yet, so it never meets this.
      return Utf8("\n錯誤 : 異體字表有誤.\n");
    case RunErrorKind::kOutOfMemory:
      break;
  }
  return Utf8("\n錯誤：記憶體配置失敗, 程式結束！\n");
}

void ReportRunStatus(MainWindow& window, const RunStatus& status) {
  for (const RunError& error : status.errors) {
    ShowSimpleMessage(&window, RunErrorMessage(error));
    if (QWidget* field = window.FieldOfFile(error.file)) field->setFocus();
  }
  if (status.outcome == RunOutcome::kStopped) {
    ShowSimpleMessage(&window, Utf8(messages::kStopped));
  } else if (status.ended_normally()) {
    ShowSimpleMessage(&window, Utf8(messages::kDone));
  }
}

}  // namespace tessel::app
