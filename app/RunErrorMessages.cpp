#include "RunErrorMessages.h"

#include <QWidget>
#include <string>

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
    case RunErrorKind::kNotInUnicodeRun:
      return Utf8("\n錯誤：Unicode 比對尚不支援報告輸出或忽略區段.\n");
    case RunErrorKind::kVariantTable:
      // The window offers no tables yet, so it never meets this.
      return Utf8("\n錯誤 : 異體字表有誤.\n");
    case RunErrorKind::kOutOfMemory:
      break;
  }
  return Utf8("\n錯誤：記憶體配置失敗, 程式結束！\n");
}

QString CutOffMessage(const RunStatus& status, int source_count) {
  static constexpr std::string_view kSourceNames[] = {"來源檔一", "來源檔二",
                                                      "來源檔三"};
  const bool limit = status.outcome == RunOutcome::kCutOffLimit;
  QString text =
      Utf8(limit ? messages::kCutOffLimit : messages::kCutOffNoAnchor);
  for (int k = 0; k < source_count && k < 3; ++k) {
    text += QStringLiteral("\n") + Utf8(kSourceNames[k]) +
            QStringLiteral(" 到第 %1 行").arg(status.lines_reached[k]);
  }
  text += QStringLiteral("\n") +
          Utf8(limit ? messages::kTryLargerLimit : messages::kTryLargerWindow);
  return text;
}

void ReportRunStatus(MainWindow& window, const RunStatus& status) {
  for (const RunError& error : status.errors) {
    ShowSimpleMessage(&window, RunErrorMessage(error));
    if (QWidget* field = window.FieldOfFile(error.file)) field->setFocus();
  }
  if (status.outcome == RunOutcome::kStopped) {
    ShowSimpleMessage(&window, Utf8(messages::kStopped));
  } else if (status.cut_off()) {
    ShowSimpleMessage(
        &window,
        CutOffMessage(status, window.run_control().ThreeFiles ? 3 : 2));
  } else if (status.ended_normally()) {
    ShowSimpleMessage(&window, Utf8(messages::kDone));
  }
}

}  // namespace tessel::app
