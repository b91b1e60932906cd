#include "RunErrorMessages.h"

#include <QLineEdit>
#include <QWidget>
#include <string>

#include "AnchorRules.h"
#include "CompareOptionsDialog.h"
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
      // The run's status says which table and why: VariantTableMessage.
      return Utf8("\n錯誤 : 異體字表有誤.\n");
    case RunErrorKind::kTooLarge:
      return Utf8(error_start + " 檔案過大 (至多 16 MiB).\n");
    case RunErrorKind::kOutOfMemory:
      break;
  }
  return Utf8("\n錯誤：記憶體配置失敗, 程式結束！\n");
}

QString VariantTableMessage(const VariantTableError& error) {
  using Kind = VariantTableError::Kind;
  const std::string start = "\n錯誤 : 異體字表 " + error.file;
  const std::string at_line =
      start + " 第 " + std::to_string(error.line) + " 行";
  switch (error.kind) {
    case Kind::kEmptyName:
      return Utf8("\n錯誤 : 異體字表清單有空項目.\n");
    case Kind::kCannotRead:
      return Utf8(start + " 檔案開啟失敗.\n");
    case Kind::kBadEncoding:
      return Utf8(at_line + " 不是 UTF-8 或 Big5 文字.\n");
    case Kind::kControlCharacter:
      return Utf8(at_line + " 含有控制字元.\n");
    case Kind::kTooLarge:
      return Utf8(start + " 檔案過大 (至多 16 MiB).\n");
    case Kind::kNone:
      break;
  }
  return Utf8("\n錯誤 : 異體字表有誤.\n");
}

QString CutOffMessage(const RunStatus& status, int source_count,
                      bool auto_window, std::int32_t max_window) {
  static constexpr std::string_view kSourceNames[] = {"來源檔一", "來源檔二",
                                                      "來源檔三"};
  const bool limit = status.outcome == RunOutcome::kCutOffLimit;
  QString text =
      Utf8(limit ? messages::kCutOffLimit : messages::kCutOffNoAnchor);
  if (!limit && auto_window) {
    text += QStringLiteral("\n最大比對字數已自動擴大到 %1.")
                .arg(status.reached_window);
  }
  for (int k = 0; k < source_count && k < 3; ++k) {
    text += QStringLiteral("\n") + Utf8(kSourceNames[k]) +
            QStringLiteral(" 到第 %1 行").arg(status.lines_reached[k]);
  }
  if (limit)
    return text + QStringLiteral("\n") + Utf8(messages::kTryLargerLimit);
  if (!auto_window) {
    return text + QStringLiteral("\n") + Utf8(messages::kTryLargerWindow) +
           QStringLiteral("\n") + Utf8(messages::kTryAutoWindow);
  }
  if (status.reached_window >= max_window && max_window < kMostAutoMaxWindow) {
    text += QStringLiteral("\n") + Utf8(messages::kTryLargerAutoMaximum) +
            QString::number(kMostAutoMaxWindow) +
            Utf8(messages::kTryLargerAutoMaximumEnd);
  }
  return text;
}

void ReportRunStatus(MainWindow& window, const RunStatus& status) {
  for (const RunError& error : status.errors) {
    if (error.kind == RunErrorKind::kVariantTable) {
      ShowSimpleMessage(&window, VariantTableMessage(status.variant_table));
      window.ShowCompareOptions();
      window.compare_options().TableFileField()->setFocus();
      continue;
    }
    ShowSimpleMessage(&window, RunErrorMessage(error));
    if (QWidget* field = window.FieldOfFile(error.file)) field->setFocus();
  }
  if (status.outcome == RunOutcome::kStopped) {
    ShowSimpleMessage(&window, Utf8(messages::kStopped));
  } else if (status.cut_off()) {
    ShowSimpleMessage(
        &window, CutOffMessage(status, window.run_control().ThreeFiles ? 3 : 2,
                               window.run_control().AutoWindow,
                               window.run_control().MaxWindow));
  } else if (status.ended_normally()) {
    ShowSimpleMessage(&window, Utf8(messages::kDone));
  }
}

}  // namespace tessel::app
