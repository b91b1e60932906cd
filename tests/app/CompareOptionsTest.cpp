// The options dialog (比對選項) and the growing look-ahead: what tessel.ini
// keeps of them, the checks they add before a run, what reaches a run, and
// what the window shows after one.

#include <QComboBox>
#include <QTemporaryDir>

#include "AppTestSupport.h"
#include "CompareOptionsDialog.h"
#include "FileNames.h"
#include "IniFile.h"
#include "Tesselunit.h"
#include "WindowRunHost.h"

namespace tessel::app::testing {
namespace {

QString BesideProgram() {
  return QCoreApplication::applicationDirPath() + "/tessel.ini";
}

QString InCurrentDir() { return QDir::current().filePath("tessel.ini"); }

// The dialog's choices in one line, every one of them.
QString Describe(const CompareOptions& o) {
  QStringList encodings;
  for (EncodingChoice e : o.encodings) {
    encodings << QString::fromLatin1(EncodingChoiceName(e).data());
  }
  QString tables;
  for (bool b : o.builtin_tables) tables += b ? '1' : '0';
  return QString("enc:%1 unicode:%2 tables:%3 file:%4:%5 between:%6 notes:%7")
      .arg(encodings.join(','))
      .arg(int(o.unicode))
      .arg(tables)
      .arg(int(o.use_table_file))
      .arg(o.table_file, o.ignore_between)
      .arg(int(o.notes_unordered));
}

const QString kDefaults =
    "enc:auto,auto,auto unicode:0 tables:0000 file:0: between: notes:0";

QLabel* RunFacts(MainWindow& window) {
  return window.findChild<QLabel*>("runFactsLabel");
}

// A shown window over sources s1, s2 and outputs r1, r2, d in a folder of
// its own, the symbols from the memo.
struct RunFixture {
  RunFixture() {
    window.show();
    c.source1_field->setText(dir.filePath("s1"));
    c.source2_field->setText(dir.filePath("s2"));
    c.result1_field->setText(dir.filePath("r1"));
    c.result2_field->setText(dir.filePath("r2"));
    c.difference_field->setText(dir.filePath("d"));
    c.use_sign_memo_button->setChecked(true);
  }
  void Sources(const QByteArray& s1, const QByteArray& s2) {
    WriteBytes(dir.filePath("s1"), s1);
    WriteBytes(dir.filePath("s2"), s2);
  }
  QTemporaryDir dir;
  MainWindow window;
  CompareOptionsDialog& options = window.compare_options();
  const WindowControls c = Controls(window);
};

QByteArray Big5(const QString& text) {
  return QByteArray::fromStdString(ToBig5(text));
}

}  // namespace

class CompareOptionsTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    QFile::remove(BesideProgram());
    QFile::remove(InCurrentDir());
  }

  // Every choice is written under [Compare] and read back as it was; the
  // growing look-ahead is the look-ahead field's own text.
  void SettingsRoundTrip() {
    CompareOptions chosen;
    chosen.encodings = {EncodingChoice::kUtf8, EncodingChoice::kBig5,
                        EncodingChoice::kUtf16Be};
    chosen.unicode = true;
    chosen.builtin_tables = {true, false, true, false};
    chosen.use_table_file = true;
    chosen.table_file = "/t/我的字表.txt";
    chosen.ignore_between = "( ) <pb: >";
    chosen.notes_unordered = true;
    {
      MainWindow window;
      window.show();
      QCOMPARE(Describe(window.compare_options().Choices()), kDefaults);
      window.compare_options().SetChoices(chosen);
      Controls(window).look_ahead_field->setText("auto:5000");
      QVERIFY(window.close());
    }
    const QByteArray saved = ReadBytes(BesideProgram());
    QVERIFY(saved.contains("\nNum1=auto:5000\n"));
    QVERIFY2(saved.endsWith("\n[Compare]\nEncoding1=utf-8\nEncoding2=big5\n"
                            "Encoding3=utf-16be\nUnicode=1\nVariantZ=1\n"
                            "VariantSemantic=0\nVariantForms=1\n"
                            "VariantSimplified=0\nUseVariantFile=1\n"
                            "VariantFile=/t/我的字表.txt\n"
                            "IgnoreBetween=( ) <pb: >\nNotesUnordered=1\n"),
             saved.constData());
    WriteBytes(InCurrentDir(), saved);
    MainWindow again;
    again.show();
    QCOMPARE(Describe(again.compare_options().Choices()), Describe(chosen));
    QCOMPARE(Controls(again).look_ahead_field->text(), QString("auto:5000"));
  }

  // A file of an older version has no [Compare]: its runs stay as they
  // were. Names are read without regard to case; an unknown one is auto.
  void Loads_data() {
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QString>("expected");
    QTest::newRow("older file")
        << QByteArray("[Tessel]\nNum1=100\n") << kDefaults;
    QTest::newRow("names in any case, unknown is auto")
        << QByteArray(
               "[Compare]\nEncoding1=UTF-16LE\nEncoding2=utf8\n"
               "Encoding3=Big5\n")
        << "enc:utf-16le,auto,big5 unicode:0 tables:0000 file:0: between: "
           "notes:0";
    QTest::newRow("tables and a file kept as written")
        << QByteArray(
               "[Compare]\nVariantForms=1\nVariantSimplified=1\n"
               "UseVariantFile=1\nVariantFile=a,b\n")
        << "enc:auto,auto,auto unicode:0 tables:0011 file:1:a,b between: "
           "notes:0";
  }

  void Loads() {
    QFETCH(QByteArray, ini);
    QFETCH(QString, expected);
    MainWindow window;
    window.LoadSettings(TIniFile::FromBytes(ini.toStdString()));
    QCOMPARE(Describe(window.compare_options().Choices()), expected);
  }

  // The dialog's checks come last, and point into the dialog at the field
  // at fault; a bare table file name is completed like the other names.
  void Checks_data() {
    QTest::addColumn<bool>("use_file");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("between");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QString>("file_after");
    QTest::newRow("file ticked, no name") << true << ""
                                          << ""
                                          << "請輸入自訂的異體字表檔名!"
                                          << "tableFileField"
                                          << "";
    QTest::newRow("a comma would split the list")
        << true << "/t/a,b.txt"
        << ""
        << "異體字表檔名不可含有逗號 (,)!"
        << "tableFileField"
        << "/t/a,b.txt";
    QTest::newRow("a lone opener")
        << true << "mine.txt"
        << "( ) <"
        << "略過成對符號之間該欄必需成對填寫: 起符 空白 訖符!"
        << "ignoreBetweenField"
        << "@mine.txt";
    QTest::newRow("a character Big5 lacks")
        << false << ""
        << "𤣥 )"
        << "略過成對符號之間該欄只能填 Big5 字元!"
        << "ignoreBetweenField"
        << "";
    QTest::newRow("file unticked, pairs with blanks anywhere")
        << false << "a,b"
        << "  《 》\t< >  "
        << ""
        << ""
        << "a,b";
  }

  void Checks() {
    QFETCH(bool, use_file);
    QFETCH(QString, file);
    QFETCH(QString, between);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    QFETCH(QString, file_after);
    RunFixture f;
    CompareOptions choices;
    choices.use_table_file = use_file;
    choices.table_file = file;
    choices.ignore_between = between;
    f.options.SetChoices(choices);
    BoxRecorder boxes;
    const bool passed = f.window.CheckInput();
    QCOMPARE(boxes.texts,
             message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(passed, message.isEmpty());
    QCOMPARE(f.options.isVisible(), !passed);
    if (!passed) QCOMPARE(f.options.focusWidget()->objectName(), focus);
    QCOMPARE(f.options.TableFileField()->text(),
             QString(file_after).replace('@', f.window.run_control().StartDir));
  }

  // What a run is given: the dialog's choices, the look-ahead field, and
  // the memo as Big5 bytes unless Big5 lacks one of its characters.
  void OptionsReachTheRun() {
    RunFixture f;
    CompareOptions choices;
    choices.encodings = {EncodingChoice::kBig5, EncodingChoice::kUtf16Le,
                         EncodingChoice::kAuto};
    choices.unicode = true;
    choices.builtin_tables = {false, true, false, true};
    choices.use_table_file = true;
    choices.table_file = "/t/字表.txt";
    choices.ignore_between = "( ) 中 文";
    choices.notes_unordered = true;
    f.options.SetChoices(choices);
    f.c.look_ahead_field->setText("auto:400");
    f.c.sign_memo->setPlainText("中 ");
    QVERIFY(f.window.CheckInput());
    RunOptions o = WindowRunHost(f.window).Options();
    QVERIFY(o.encodings == choices.encodings);
    QVERIFY(o.unicode && o.notes_unordered && o.auto_window);
    QCOMPARE(o.max_window, 400);
    QCOMPARE(o.variant_tables, std::string("semantic,simplified,/t/字表.txt"));
    const std::vector<std::pair<std::string, std::string>> pairs = {
        {"(", ")"}, {"\xA4\xA4", "\xA4\xE5"}};
    QVERIFY(o.ignore_between == pairs);
    QCOMPARE(o.sign_memo, std::string("\xA4\xA4 "));
    QVERIFY(o.sign_memo_encoding == Encoding::kBig5);

    // Nothing chosen: a run as before the dialog existed.
    f.options.SetChoices({});
    f.c.look_ahead_field->setText("300");
    f.c.sign_memo->setPlainText("中𤣥");
    QVERIFY(f.window.CheckInput());
    o = WindowRunHost(f.window).Options();
    QVERIFY(!o.unicode && !o.notes_unordered && !o.auto_window);
    QCOMPARE(o.window_size, 300);
    QVERIFY(o.variant_tables.empty() && o.ignore_between.empty());
    QCOMPARE(o.sign_memo, std::string("中𤣥"));
    QVERIFY(o.sign_memo_encoding == Encoding::kUtf8);
  }

  // Runs from the window: the difference count, each source's encoding in
  // the line below the buttons and in its field's tool tip, and the
  // variants met. A symbol typed into the memo that Big5 lacks is ignored
  // in a Unicode run.
  void RunsShowWhatTheyFound_data() {
    QTest::addColumn<QByteArray>("s1");
    QTest::addColumn<QByteArray>("s2");
    QTest::addColumn<QString>("memo");
    QTest::addColumn<bool>("z_table");
    QTest::addColumn<QString>("look_ahead");
    QTest::addColumn<int>("differences");
    QTest::addColumn<QString>("facts");
    const QByteArray text = "天地玄黃宇宙洪荒\n";
    QTest::newRow("UTF-8 pair, a memo symbol Big5 lacks")
        << "天𤣥" + text << "天" + text << "𤣥" << false << "100" << 0
        << "來源編碼 : UTF-8, UTF-8 (Unicode 比對)";
    QTest::newRow("UTF-8 pair, empty memo")
        << "天𤣥" + text << "天" + text << "" << false << "100" << 1
        << "來源編碼 : UTF-8, UTF-8 (Unicode 比對)";
    QTest::newRow("UTF-8 against a Big5 notation of the same character")
        << "天𤣥" + text << Big5("天") + "&x-248E5;" + Big5(text) << "" << false
        << "100" << 0 << "來源編碼 : UTF-8, Big5 (Unicode 比對)";
    QTest::newRow("Big5 pair, a variant with the z table")
        << Big5("恆" + text) << Big5("恒" + text) << "" << true << "100" << 0
        << "來源編碼 : Big5, Big5    異體字數 : 1";
    QTest::newRow("Big5 pair without a table")
        << Big5("恆" + text) << Big5("恒" + text) << "" << false << "100" << 1
        << "來源編碼 : Big5, Big5";
    QTest::newRow("Big5 pair, growing look-ahead")
        << Big5("恆" + text) << Big5("恒" + text) << "" << false << "auto" << 1
        << "來源編碼 : Big5, Big5    最大比對字數擴大到 : 100";
  }

  void RunsShowWhatTheyFound() {
    QFETCH(QByteArray, s1);
    QFETCH(QByteArray, s2);
    QFETCH(QString, memo);
    QFETCH(bool, z_table);
    QFETCH(QString, look_ahead);
    QFETCH(int, differences);
    QFETCH(QString, facts);
    RunFixture f;
    f.Sources(s1, s2);
    f.c.sign_memo->setPlainText(memo);
    f.c.look_ahead_field->setText(look_ahead);
    CompareOptions choices;
    choices.builtin_tables[0] = z_table;
    f.options.SetChoices(choices);
    BoxRecorder boxes;
    f.window.Run();
    QCOMPARE(boxes.texts, QStringList{"完成 !"});
    QCOMPARE(f.c.diff_count_label->text(), QString::number(differences));
    QCOMPARE(RunFacts(f.window)->text(), facts);
    QCOMPARE(f.c.source2_field->toolTip(),
             "編碼 : " + facts.section(", ", 1).section(' ', 0, 0));

    // A run that fails tells nothing of its sources.
    f.c.source1_field->setText(f.dir.filePath("missing"));
    f.window.Run();
    QCOMPARE(RunFacts(f.window)->text(), QString());
    QCOMPARE(f.c.source2_field->toolTip(), QString());
  }

  // A table file at fault refuses the run before any output is touched;
  // the message names the file and the line, and the focus goes to the
  // table file field in the dialog.
  void ABadTableFileIsNamed_data() {
    QTest::addColumn<QByteArray>("table");
    QTest::addColumn<QString>("message");
    QTest::newRow("control character on line 2")
        << QByteArray("恆恒\n甲\x01乙\n")
        << "\n錯誤 : 異體字表 @ 第 2 行 含有控制字元.\n";
    QTest::newRow("neither UTF-8 nor Big5 on line 3")
        << QByteArray("a\nb\n\xFF\xFF\n")
        << "\n錯誤 : 異體字表 @ 第 3 行 不是 UTF-8 或 Big5 文字.\n";
    QTest::newRow("missing")
        << QByteArray() << "\n錯誤 : 異體字表 @ 檔案開啟失敗.\n";
  }

  void ABadTableFileIsNamed() {
    QFETCH(QByteArray, table);
    QFETCH(QString, message);
    RunFixture f;
    f.Sources(Big5("恆天地"), Big5("恒天地"));
    const QString path = f.dir.filePath("表.txt");
    if (!table.isEmpty()) WriteBytes(path, table);
    CompareOptions choices;
    choices.use_table_file = true;
    choices.table_file = path;
    f.options.SetChoices(choices);
    BoxRecorder boxes;
    f.window.Run();
    QCOMPARE(boxes.texts, QStringList{QString(message).replace('@', path)});
    for (const char* output : {"r1", "r2", "d"}) {
      QVERIFY2(!QFile::exists(f.dir.filePath(output)), output);
    }
    QVERIFY(f.options.isVisible());
    QCOMPARE(f.options.focusWidget(), f.options.TableFileField());
  }

  // The longest line a run can leave, three UTF-16 sources with variants
  // and a growing look-ahead, stays inside the window.
  void RunFactsFitTheWindow() {
    MainWindow window;
    window.show();
    window.run_control().ThreeFiles = true;
    window.run_control().AutoWindow = true;
    RunStatus status;
    status.outcome = RunOutcome::kCompleted;
    status.encodings.fill(Encoding::kUtf16Le);
    status.variant_count = 1234567;
    status.reached_window = 16777216;
    window.ShowRunFacts(status, true, true);
    QLabel* const facts = RunFacts(window);
    QCOMPARE(
        facts->text(),
        QString("來源編碼 : UTF-16LE, UTF-16LE, UTF-16LE (Unicode 比對)"
                "    異體字數 : 1234567    最大比對字數擴大到 : 16777216"));
    QVERIFY(facts->heightForWidth(facts->width()) <= facts->height());
    QVERIFY(window.rect().contains(facts->geometry()));
  }

  // Every control of the dialog that takes the focus has a name a screen
  // reader can read, and Tab walks them in the order they are drawn.
  void ScreenReaderNamesAndTabOrder() {
    MainWindow window;
    window.show();
    CompareOptionsDialog& dialog = window.compare_options();
    Controls(window);  // the window itself is whole
    window.findChild<QPushButton*>("optionsButton")->click();
    QVERIFY(dialog.isVisible());
    QStringList seen;
    QWidget* const start = dialog.findChild<QWidget*>("encoding1Box");
    QWidget* at = start;
    at->setFocus();
    do {
      const QString name =
          QAccessible::queryAccessibleInterface(at)->text(QAccessible::Name);
      QVERIFY2(!name.isEmpty() && name != "...", qPrintable(at->objectName()));
      seen << at->objectName();
      QTest::keyClick(at, Qt::Key_Tab);
      at = dialog.focusWidget();
    } while (at != start && seen.size() < 30);
    QCOMPARE(seen.join(' '),
             QString("encoding1Box encoding2Box encoding3Box unicodeBox "
                     "variantTableBox_z variantTableBox_semantic "
                     "variantTableBox_forms variantTableBox_simplified "
                     "tableFileBox tableFileField tableFilePicker "
                     "ignoreBetweenField notesUnorderedBox okButton"));
  }
};

}  // namespace tessel::app::testing

TESSEL_APP_TEST_MAIN(tessel::app::testing::CompareOptionsTest)
#include "CompareOptionsTest.moc"
