// Runs started from the window: the files they write (the same as
// tessel-cli's), stopping, fast mode, failures, and the way back to idle.

#include <QTemporaryDir>
#include <stdexcept>

#include "AppTestSupport.h"
#include "FileNames.h"
#include "RadioAlternatives.h"
#include "Tesselunit.h"
#include "WindowRunHost.h"

namespace tessel::app::testing {
namespace {

// "檔案比對結束": the end line, written only when every source was read.
const QByteArray kEndLine("\xC0\xC9\xAE\xD7\xA4\xF1\xB9\xEF\xB5\xB2\xA7\xF4");

// `lines` lines of Big5 text. Edition e differs from the others in the
// lines i with i % 7 == e; every 5th line holds a notation.
QByteArray Edition(int lines, int e) {
  QString text;
  for (int i = 0; i < lines; ++i) {
    text += QString("第%1行：天地玄黃，宇宙洪荒。").arg(i);
    if (i % 5 == 0) text += "[金+本]";
    if (i % 7 == e) text += e == 2 ? "日月" : "盈昃";
    text += i % 3 == 0 ? "\r\n" : "\n";
  }
  return QByteArray::fromStdString(ToBig5(text));
}

// A shown window over sources s1.. and outputs win-r1.., win-d in `dir`,
// with the symbols from the memo.
struct Fixture {
  explicit Fixture(int sources) {
    window.show();
    c.source_count_group->Item(sources - 2)->click();
    c.source1_field->setText(dir.filePath("s1"));
    c.source2_field->setText(dir.filePath("s2"));
    c.source3_field->setText(sources == 3 ? dir.filePath("s3") : QString());
    c.result1_field->setText(dir.filePath("win-r1"));
    c.result2_field->setText(dir.filePath("win-r2"));
    c.result3_field->setText(dir.filePath("win-r3"));
    c.difference_field->setText(dir.filePath("win-d"));
    c.use_sign_memo_button->setChecked(true);
  }
  void Sources(int count, int lines) {
    for (int k = 1; k <= count; ++k) {
      WriteBytes(dir.filePath(QString("s%1").arg(k)), Edition(lines, k - 1));
    }
  }
  // The window is idle again: the buttons, the bar and the cursor.
  void ExpectIdle() {
    QVERIFY(c.run_button->isEnabled() && !c.stop_button->isEnabled());
    QCOMPARE(c.progress_bar->value(), 0);
    QCOMPARE(QApplication::overrideCursor(), nullptr);
  }
  QTemporaryDir dir;
  MainWindow window;
  const WindowControls c = Controls(window);
};

}  // namespace

class RunControlTest : public QObject {
  Q_OBJECT

 private slots:
  void SameFilesAsTheCommandLine_data() {
    QTest::addColumn<int>("sources");
    QTest::addColumn<QString>("memo");           // "file": from a sign file
    QTest::addColumn<QByteArray>("memo_bytes");  // the memo in Big5
    QTest::addColumn<QStringList>("settings");   // window, limit, fold
    QTest::addColumn<QStringList>("cli_args");
    // How the window words the run's end: "完成 !", unless it was cut off.
    QTest::addColumn<QString>("ending");
    QTest::newRow("two files, default symbols")
        << 2 << "defaults" << QByteArray() << QStringList{"100", "", "1"}
        << QStringList{"--default-signs"} << "完成 !";
    QTest::newRow("two files, symbols typed")
        << 2 << "，。\n、" << QByteArray("\xA1\x41\xA1\x43\n\xA1\x42")
        << QStringList{"100", "", "1"} << QStringList{} << "完成 !";
    QTest::newRow("three files, sign file")
        << 3 << "file" << QByteArray() << QStringList{"100", "", "1"}
        << QStringList{} << "完成 !";
    QTest::newRow("look-ahead 3, limit 2, no folding")
        << 3 << "，" << QByteArray("\xA1\x41") << QStringList{"3", "2", ""}
        << QStringList{"--window", "3", "--max-diff", "2", "--no-fold"}
        << "未完成 ! 在最大比對字數內找不到相同的文字, 比對已中斷.\n"
           "來源檔一 到第 1 行\n來源檔二 到第 2 行\n來源檔三 到第 2 行\n"
           "可加大最大比對字數再試.\n"
           "或將最大比對字數填為 auto, 找不到相同的文字時即自動擴大.";
  }

  void SameFilesAsTheCommandLine() {
    QFETCH(int, sources);
    QFETCH(QString, memo);
    QFETCH(QByteArray, memo_bytes);
    QFETCH(QStringList, settings);
    QFETCH(QStringList, cli_args);
    QFETCH(QString, ending);
    Fixture f(sources);
    f.Sources(sources, 300);
    MainWindow& w = f.window;
    if (memo == "defaults") {
      f.c.default_signs_button->click();
    } else if (memo == "file") {
      WriteBytes(f.dir.filePath("signs"), ToBig5("，。[金+本]").c_str());
      f.c.sign_file_field->setText(f.dir.filePath("signs"));
      cli_args << "--sign-file" << f.dir.filePath("signs");
    } else {
      f.c.sign_memo->setPlainText(memo);
      WriteBytes(f.dir.filePath("memo"), memo_bytes);
      cli_args << "--sign-memo" << f.dir.filePath("memo");
    }
    f.c.look_ahead_field->setText(settings[0]);
    f.c.diff_limit_box->setChecked(!settings[1].isEmpty());
    f.c.diff_limit_field->setText(settings[1]);
    f.c.fold_notations_box->setChecked(!settings[2].isEmpty());

    BoxRecorder boxes;
    f.c.run_button->click();
    QCOMPARE(boxes.texts, QStringList{ending});
    f.ExpectIdle();
    QVERIFY(w.run_control().DiffCount > 0);
    QCOMPARE(f.c.diff_count_label->text(),
             QString::number(w.run_control().DiffCount));

    QStringList outputs = {"d"};
    for (int k = 1; k <= sources; ++k) {
      cli_args << f.dir.filePath(QString("s%1").arg(k));
      outputs << QString("r%1").arg(k);
    }
    for (const QString& name : outputs) {
      cli_args << (name == "d" ? "--diff" : "--result")
               << f.dir.filePath("cli-" + name);
    }
    QProcess cli;
    cli.start(TESSEL_CLI_PATH, cli_args << "--quiet");
    QVERIFY(cli.waitForFinished(60000));
    QVERIFY2(cli.exitCode() != 2, cli.readAllStandardError().constData());
    for (const QString& name : outputs) {
      const QByteArray ours = ReadBytes(f.dir.filePath("win-" + name));
      QVERIFY2(!ours.isEmpty(), qPrintable(name));
      QVERIFY2(ours == ReadBytes(f.dir.filePath("cli-" + name)),
               qPrintable(name));
    }
  }

  void StopDuringARun() {
    Fixture f(2);
    // Identical sources of 14 MB: a whole run takes several seconds.
    const QByteArray source = Edition(400000, -1);
    WriteBytes(f.dir.filePath("s1"), source);
    WriteBytes(f.dir.filePath("s2"), source);
    MainWindow& w = f.window;
    constexpr int kStopAfterMs = 1000;
    bool busy = false;
    int progress = 0;
    QTimer::singleShot(kStopAfterMs, &w, [&] {
      const QCursor* cursor = QApplication::overrideCursor();
      busy = !f.c.run_button->isEnabled() && f.c.stop_button->isEnabled() &&
             cursor && cursor->shape() == Qt::BusyCursor;
      progress = f.c.progress_bar->value();
      f.c.exit_button->click();  // does nothing during a run
      f.c.stop_button->click();
    });
    BoxRecorder boxes;
    QElapsedTimer clock;
    clock.start();
    f.c.run_button->click();
    QVERIFY(busy);
    QVERIFY(progress > 0);
    QCOMPARE(boxes.texts, QStringList{"被中斷了 !"});
    QVERIFY2(clock.elapsed() < kStopAfterMs + 2000, "stopped too late");
    f.ExpectIdle();
    QVERIFY(w.isVisible());
    QVERIFY(ReadBytes(f.dir.filePath("win-r1")).size() < source.size());
    QVERIFY(!ReadBytes(f.dir.filePath("win-d")).contains(kEndLine));
  }

  void FastModeProcessesNoEvents() {
    Fixture f(2);
    f.Sources(2, 3000);
    f.c.fast_mode_box->setChecked(true);
    bool fired = false;
    QTimer::singleShot(0, &f.window, [&] { fired = true; });
    bool fired_during_run = true;
    const BoxRunner previous = SetBoxRunner([&](QMessageBox& box) {
      fired_during_run = fired;
      box.buttons().front()->click();
    });
    f.c.run_button->click();
    SetBoxRunner(previous);
    QVERIFY(!fired_during_run);
    QTRY_VERIFY(fired);
    QVERIFY(ReadBytes(f.dir.filePath("win-d")).contains(kEndLine));
  }

  // Bad input through the window: the run's own message and nothing else,
  // the focus on the field at fault, no source touched, the window idle.
  void FailedRunShowsOnlyItsMessage_data() {
    QTest::addColumn<QString>("field");  // the field changed, by object name
    QTest::addColumn<QString>("text");   // its text; <dir> for the folder
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("outputs_made");
    QTest::newRow("missing source") << "source1Field"
                                    << "<dir>/none"
                                    << "\n錯誤 : <dir>/none 檔案開啟失敗.\n"
                                    << false;
    QTest::newRow("folder as source") << "source2Field"
                                      << "<dir>"
                                      << "\n錯誤 : <dir> 檔案開啟失敗.\n"
                                      << false;
    QTest::newRow("result is a source")
        << "result2Field"
        << "<dir>/s1"
        << "\n錯誤 : <dir>/s1 與來源檔或其他輸出檔相同, 不可覆蓋.\n"
        << false;
    QTest::newRow("output in a missing folder")
        << "differenceField"
        << "<dir>/no/d"
        << "\n錯誤 : <dir>/no/d 檔案開啟失敗.\n"
        << false;
    QTest::newRow("full disk") << "differenceField"
                               << "/dev/full"
                               << "\n錯誤 : /dev/full 檔案寫入失敗.\n"
                               << true;
  }

  void FailedRunShowsOnlyItsMessage() {
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, message);
    QFETCH(bool, outputs_made);
    Fixture f(2);
    f.Sources(2, 20);
    const QByteArray s1 = ReadBytes(f.dir.filePath("s1"));
    auto* edit = f.window.findChild<QLineEdit*>(field);
    QVERIFY(edit != nullptr);
    edit->setText(QString(text).replace("<dir>", f.dir.path()));
    f.c.run_button->setFocus();
    BoxRecorder boxes;
    f.c.run_button->click();
    QCOMPARE(boxes.texts,
             QStringList{QString(message).replace("<dir>", f.dir.path())});
    QCOMPARE(f.window.focusWidget(), edit);
    QCOMPARE(ReadBytes(f.dir.filePath("s1")), s1);
    QCOMPARE(QFile::exists(f.dir.filePath("win-r1")), outputs_made);
    f.ExpectIdle();
  }

  // An exception on its way out of a run (here from the box that reports a
  // missing source) must not leave the window unable to run again.
  void ExceptionStillEndsTheRun() {
    Fixture f(2);
    const BoxRunner previous = SetBoxRunner(
        [](QMessageBox&) { throw std::runtime_error("box failed"); });
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, f.window.Run());
    SetBoxRunner(previous);
    f.ExpectIdle();
  }

  void ProgressBarScalesLargeSources_data() {
    QTest::addColumn<qint64>("size");
    QTest::addColumn<qint64>("position");
    QTest::addColumn<double>("fraction");
    QTest::newRow("empty") << qint64(0) << qint64(0) << 0.0;
    QTest::newRow("1000 bytes") << qint64(1000) << qint64(250) << 0.25;
    QTest::newRow("2^31 - 1 bytes")
        << qint64(INT_MAX) << qint64(INT_MAX) << 1.0;
    QTest::newRow("4 GiB") << (qint64(1) << 32) << (qint64(1) << 31) << 0.5;
    QTest::newRow("1 TiB") << (qint64(1) << 40) << (qint64(3) << 38) << 0.75;
  }

  void ProgressBarScalesLargeSources() {
    QFETCH(qint64, size);
    QFETCH(qint64, position);
    QFETCH(double, fraction);
    MainWindow w;
    WindowRunHost host(w);
    host.SetProgressMaximum(size);
    host.SetProgressPosition(position);
    // A range of 0 to 0 would show a busy bar instead of a position.
    QVERIFY(Controls(w).progress_bar->minimum() == 0 &&
            Controls(w).progress_bar->maximum() > 0);
    QCOMPARE(double(Controls(w).progress_bar->value()) /
                 Controls(w).progress_bar->maximum(),
             fraction);
  }
};

}  // namespace tessel::app::testing

TESSEL_APP_TEST_MAIN(tessel::app::testing::RunControlTest)
#include "RunControlTest.moc"
