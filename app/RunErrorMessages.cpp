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
    case RunErrorKind::kOutOfMemory:
      break;
  }
  return Utf8("\n錯誤：記憶體配置失敗, 程式結束！\n");
}

QString CutOffMessage(const RunStatus& status, int sources) {
  const bool at_limit = status.outcome == RunOutcome::kCutOffLimit;
  std::string text = at_limit
                         ? "\n比對中斷 : 已達最大差異數.\n"
                         : "\n比對中斷 : 最大比對字數內找不到相同的文字.\n";
  for (int k = 0; k < sources; ++k) {
    text += (k > 0 ? ", " : "") + std::string("來源檔 ") +
            std::to_string(k + 1) + " 至第 " +
            std::to_string(status.lines_reached[static_cast<std::size_t>(k)]) +
            " 行";
  }
  text += at_limit ? ".\n請加大最大差異數後再試.\n"
                   : ".\n請加大最大比對字數後再試.\n";
  return Utf8(text);
}

void ReportRunStatus(MainWindow& window, const RunStatus& status) {
  for (const RunError& error : status.errors) {
    ShowSimpleMessage(&window, RunErrorMessage(error));
    if (QWidget* field = window.FieldOfFile(error.file)) field->setFocus();
  }
  if (status.outcome == RunOutcome::kStopped) {
    ShowSimpleMessage(&window, Utf8(messages::kStopped));
  } else if (status.cut_off()) {
    // A run cut off leaves most of the text uncompared: "done" alone would
    // pass that over.
    ShowSimpleMessage(
        &window,
        CutOffMessage(status, window.run_control().ThreeFiles ? 3 : 2));
  } else if (status.ended_normally()) {
    ShowSimpleMessage(&window, Utf8(messages::kDone));
  }
}

}  // namespace tessel::app
