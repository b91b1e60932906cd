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
    row("sign file too large", RunErrorKind::kTooLarge, RunFile::kSignFile,
        "s", "\n錯誤 : s 檔案過大 (至多 16 MiB).\n", "signFileField");
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
  // after it; a stopped, cut-off or finished run gets its one box, and
  // only a run that was not cut off is told it is done.
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
    RunStatus left_at_end_of_file;
    left_at_end_of_file.outcome = RunOutcome::kLeftAtEndOfFile;
    BoxRecorder boxes;
    for (const RunStatus* status :
         {&failed, &stopped, &cut_off, &completed, &left_at_end_of_file}) {
      ReportRunStatus(window, *status);
    }
    QCOMPARE(boxes.texts,
             (QStringList{"\n錯誤 : b 檔案讀取失敗.\n",
                          "\n錯誤 : r 檔案寫入失敗.\n", "被中斷了 !",
                          "未完成 ! 差異數目已達上限, 比對已中斷.\n"
                          "來源檔一 到第 4 行\n來源檔二 到第 7 行\n"
                          "可加大差異數目或取消勾選再試.",
                          "完成 !", "完成 !"}));
  }

  void WordsACutOffWithTheLinesReached_data() {
    QTest::addColumn<int>("outcome");
    QTest::addColumn<int>("sources");
    QTest::addColumn<bool>("auto_window");
    QTest::addColumn<int>("max_window");
    QTest::addColumn<int>("reached");
    QTest::addColumn<QString>("message");
    QTest::newRow("no anchor, two sources, fixed: try auto")
        << int(RunOutcome::kCutOffNoAnchor) << 2 << false << 0 << 100
        << "未完成 ! 在最大比對字數內找不到相同的文字, 比對已中斷.\n"
           "來源檔一 到第 12 行\n來源檔二 到第 3456789 行\n"
           "可加大最大比對字數再試.\n"
           "或將最大比對字數填為 auto, 找不到相同的文字時即自動擴大.";
    QTest::newRow("limit, three sources")
        << int(RunOutcome::kCutOffLimit) << 3 << false << 0 << 100
        << "未完成 ! 差異數目已達上限, 比對已中斷.\n"
           "來源檔一 到第 12 行\n來源檔二 到第 3456789 行\n"
           "來源檔三 到第 1 行\n可加大差異數目或取消勾選再試.";
    QTest::newRow("limit with auto: no look-ahead named")
        << int(RunOutcome::kCutOffLimit) << 2 << true << 400 << 400
        << "未完成 ! 差異數目已達上限, 比對已中斷.\n"
           "來源檔一 到第 12 行\n來源檔二 到第 3456789 行\n"
           "可加大差異數目或取消勾選再試.";
    QTest::newRow("auto reached its own maximum: try a larger one")
        << int(RunOutcome::kCutOffNoAnchor) << 2 << true << 1000 << 1000
        << "未完成 ! 在最大比對字數內找不到相同的文字, 比對已中斷.\n"
           "最大比對字數已自動擴大到 1000.\n"
           "來源檔一 到第 12 行\n來源檔二 到第 3456789 行\n"
           "可加大自動擴大的上限再試, 如 auto:16777216.";
    QTest::newRow("auto reached the most allowed: nothing more to try")
        << int(RunOutcome::kCutOffNoAnchor) << 2 << true << 16777216 << 16777216
        << "未完成 ! 在最大比對字數內找不到相同的文字, 比對已中斷.\n"
           "最大比對字數已自動擴大到 16777216.\n"
           "來源檔一 到第 12 行\n來源檔二 到第 3456789 行";
  }

  void WordsACutOffWithTheLinesReached() {
    QFETCH(int, outcome);
    QFETCH(int, sources);
    QFETCH(bool, auto_window);
    QFETCH(int, max_window);
    QFETCH(int, reached);
    QFETCH(QString, message);
    RunStatus status;
    status.outcome = static_cast<RunOutcome>(outcome);
    status.lines_reached = {12, 3456789, 1};
    status.reached_window = reached;
    QCOMPARE(CutOffMessage(status, sources, auto_window, max_window), message);
  }

  // From the fields to the box: a real run that finds no common stretch
  // within its look-ahead says so, with the lines and the look-ahead from
  // the run, and suggests auto only after a fixed one.
  void ARealCutOffIsNotReportedAsDone_data() {
    QTest::addColumn<QString>("look_ahead");
    QTest::addColumn<QString>("message");
    QTest::newRow("fixed 2")
        << "2"
        << "未完成 ! 在最大比對字數內找不到相同的文字, 比對已中斷.\n"
           "來源檔一 到第 2 行\n來源檔二 到第 3 行\n"
           "可加大最大比對字數再試.\n"
           "或將最大比對字數填為 auto, 找不到相同的文字時即自動擴大.";
    QTest::newRow("auto up to 100")
        << "auto:100"
        << "未完成 ! 在最大比對字數內找不到相同的文字, 比對已中斷.\n"
           "最大比對字數已自動擴大到 100.\n"
           "來源檔一 到第 2 行\n來源檔二 到第 3 行\n"
           "可加大自動擴大的上限再試, 如 auto:16777216.";
  }

  void ARealCutOffIsNotReportedAsDone() {
    QFETCH(QString, look_ahead);
    QFETCH(QString, message);
    const QDir here = QDir::current();
    // Longer than the smallest growing look-ahead, and nothing in common
    // after the first line.
    WriteBytes(here.filePath("s1"),
               "A\n" + QByteArray("BCDEFGHIJ").repeated(20));
    WriteBytes(here.filePath("s2"),
               "A\n\n" + QByteArray("XYZWVUTS").repeated(20));
    MainWindow window;
    window.show();
    const WindowControls c = Controls(window);
    c.source1_field->setText(here.filePath("s1"));
    c.source2_field->setText(here.filePath("s2"));
    c.result1_field->setText(here.filePath("r1"));
    c.result2_field->setText(here.filePath("r2"));
    c.difference_field->setText(here.filePath("d"));
    c.look_ahead_field->setText(look_ahead);
    c.use_sign_memo_button->setChecked(true);
    BoxRecorder boxes;
    window.Run();
    QCOMPARE(boxes.texts, QStringList{message});
  }
};

}  // namespace tessel::app::testing

TESSEL_APP_TEST_MAIN(tessel::app::testing::RunErrorMessagesTest)
#include "RunErrorMessagesTest.moc"
