// How the window tells the end of a run: the exact box texts of every kind
// of error, in order, and the field each leaves the focus on.

#include "AppTestSupport.h"
#include "RunErrorMessages.h"
#include "Tesselunit.h"

namespace tessel::app::testing {

class RunErrorMessagesTest : public QObject {
  Q_OBJECT

 private slots:
  void WordsEveryErrorAndFocusesItsField_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("file");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");  // object name; empty: unchanged
    const auto row = [](const char* name, RunErrorKind kind, RunFile file,
                        QString path, QString message, QString focus) {
      QTest::newRow(name) << int(kind) << int(file) << path << message << focus;
    };
    row("source 2 not opened", RunErrorKind::kOpenFailed, RunFile::kSource2,
        "甲 c", "\n錯誤 : 甲 c 檔案開啟失敗.\n", "source2Field");
    row("sign file not opened", RunErrorKind::kOpenFailed, RunFile::kSignFile,
        "s", "\n錯誤 : s檔案開啟失敗.\n", "signFileField");
    row("sign file not read", RunErrorKind::kReadFailed, RunFile::kSignFile,
        "s", "\n錯誤 : s 檔案讀取失敗.\n", "signFileField");
    row("result 1 would overwrite", RunErrorKind::kWouldOverwrite,
        RunFile::kResult1, "r",
        "\n錯誤 : r 與來源檔或其他輸出檔相同, 不可覆蓋.\n", "result1Field");
    row("difference file not written", RunErrorKind::kWriteFailed,
        RunFile::kDifference, "d", "\n錯誤 : d 檔案寫入失敗.\n",
        "differenceField");
    row("out of memory", RunErrorKind::kOutOfMemory, RunFile::kNone, "",
        "\n錯誤：記憶體配置失敗, 程式結束！\n", "");
  }

  void WordsEveryErrorAndFocusesItsField() {
    QFETCH(int, kind);
    QFETCH(int, file);
    QFETCH(QString, path);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    MainWindow window;
    window.show();
    Controls(window).run_button->setFocus();
    RunStatus status;
    status.errors.push_back({static_cast<RunErrorKind>(kind),
                             static_cast<RunFile>(file), path.toStdString()});
    BoxRecorder boxes;
    ReportRunStatus(window, status);
    QCOMPARE(boxes.texts, QStringList{message});
    QCOMPARE(window.focusWidget()->objectName(),
             focus.isEmpty() ? QString("runButton") : focus);
  }

  // A failed write found while closing after an earlier error is told too,
  // after it; a stopped or finished run gets its one box.
  void TellsEveryErrorAndHowTheRunEnded() {
    MainWindow window;
    RunStatus failed;
    failed.errors = {{RunErrorKind::kReadFailed, RunFile::kSource2, "b"},
                     {RunErrorKind::kWriteFailed, RunFile::kResult1, "r"}};
    RunStatus stopped;
    stopped.outcome = RunOutcome::kStopped;
    RunStatus cut_off;
    cut_off.outcome = RunOutcome::kCutOffLimit;
    cut_off.lines_reached = {4, 7, 1};
    RunStatus completed;
    completed.outcome = RunOutcome::kCompleted;
    BoxRecorder boxes;
    ReportRunStatus(window, failed);
    ReportRunStatus(window, stopped);
    ReportRunStatus(window, cut_off);
    ReportRunStatus(window, completed);
    QCOMPARE(boxes.texts,
             (QStringList{"\n錯誤 : b 檔案讀取失敗.\n",
                          "\n錯誤 : r 檔案寫入失敗.\n", "被中斷了 !",
                          "\n比對中斷 : 已達最大差異數.\n來源檔 1 至第 4 行, "
                          "來源檔 2 至第 7 行.\n請加大最大差異數後再試.\n",
                          "完成 !"}));
  }

  // A run cut off is never told as done: the box says why, where each
  // source stood, and what to try.
  void TellsACutOffApartFromCompletion() {
    RunStatus no_anchor;
    no_anchor.outcome = RunOutcome::kCutOffNoAnchor;
    no_anchor.lines_reached = {12, 40, 9};
    QCOMPARE(CutOffMessage(no_anchor, 3),
             QString("\n比對中斷 : 最大比對字數內找不到相同的文字.\n來源檔 1 "
                     "至第 12 行, 來源檔 2 至第 40 行, 來源檔 3 至第 9 行."
                     "\n請加大最大比對字數後再試.\n"));
    QCOMPARE(CutOffMessage(no_anchor, 2),
             QString("\n比對中斷 : 最大比對字數內找不到相同的文字.\n來源檔 1 "
                     "至第 12 行, 來源檔 2 至第 40 行."
                     "\n請加大最大比對字數後再試.\n"));
  }
};

}  // namespace tessel::app::testing

TESSEL_APP_TEST_MAIN(tessel::app::testing::RunErrorMessagesTest)
#include "RunErrorMessagesTest.moc"
