// The window's settings file: what a start loads (from the current
// directory), what a close writes (beside the program), and a close whose
// settings cannot be written.

#include <QRandomGenerator>

#include "AppTestSupport.h"
#include "IniFile.h"
#include "RadioAlternatives.h"
#include "SettingsPlace.h"
#include "Setup.h"
#include "Tesselunit.h"

namespace tessel::app::testing {
namespace {

using Bytes = QByteArray;

QString BesideProgram() {
  return QCoreApplication::applicationDirPath() + "/tessel.ini";
}

QString InCurrentDir() { return QDir::current().filePath("tessel.ini"); }

// A window with its setup dialog, shown (and so loaded) at once.
struct Fixture {
  Fixture() {
    window.SetSetupDialog(&setup);
    window.show();
  }
  SetupDialog setup;
  const SetupControls sc = Controls(setup);
  MainWindow window;
  const WindowControls c = Controls(window);
};

QList<QLineEdit*> FileFields(MainWindow& w) {
  const WindowControls c = Controls(w);
  return {c.source1_field, c.source2_field, c.source3_field,   c.result1_field,
          c.result2_field, c.result3_field, c.difference_field};
}

// Everything the settings file keeps, in one line.
QString State(MainWindow& w, SetupDialog& s) {
  const WindowControls c = Controls(w);
  const SetupControls sc = Controls(s);
  QStringList files;
  for (QLineEdit* e : FileFields(w)) files << e->text();
  const char* sign = c.use_sign_memo_button->isChecked()   ? "M"
                     : c.use_sign_file_button->isChecked() ? "F"
                                                           : "-";
  int setup = 0;  // the index of the selected button, else 0
  for (QRadioButton* b : {sc.use_default_program, sc.use_program1,
                          sc.use_program2, sc.use_program3}) {
    setup = setup * 10 + (b->isChecked() ? 1 : 0);
  }
  return QString(
             "mode:%1 files:%2 sign:%3:%4 lose:%5 limit:%6:%7 num:%8 "
             "setup:%9 ap:%10")
      .arg(c.source_count_group->ItemIndex())
      .arg(files.join(','), sign, c.sign_file_field->text())
      .arg(int(c.fold_notations_box->isChecked()))
      .arg(int(c.diff_limit_box->isChecked()))
      .arg(c.diff_limit_field->text(), c.look_ahead_field->text())
      .arg(setup, 4, 10, QChar('0'))
      .arg(QStringList{sc.program1_field->text(), sc.program2_field->text(),
                       sc.program3_field->text()}
               .join(','));
}

const QString kDefaults =
    "mode:0 files:,,,,,, sign:M: lose:1 limit:0: num:100 setup:1000 ap:,,";

struct LoadRow {
  const char* name;
  Bytes ini;
  QString differences;  // from kDefaults
};

Bytes Garbage() {
  Bytes bytes(1 << 16, '\0');
  QRandomGenerator random(4);
  for (char& c : bytes) c = char(random.bounded(256));
  return bytes;
}

const LoadRow kLoads[] = {
    {"empty", "", ""},
    {"FileNum 5", "[Tessel]\nFileNum=5", "mode:1"},
    {"FileNum -7", "[Tessel]\nFileNum=-7", "mode:-1"},
    {"FileNum abc", "[Tessel]\nFileNum=abc\nUseMaxDiffNum=1", "limit:1:"},
    {"no symbols", "[Tessel]\nUseSignFile=0\nUseSignMemo=0", "sign:-:"},
    {"sign file name", "[Tessel]\nUseSignFile=0\nSignFileName=s\nUseSignMemo=0",
     "sign:F:s"},
    {"no program", "[Setup]\nUseAp1=0\nUseAp2=0\nUseAp3=0\nUseDefault=0",
     "setup:0000"},
    {"last program", "[Setup]\nUseAp2=0\nUseDefault=0\nAp3Name=/bin/vi",
     "setup:0001 ap:,,/bin/vi"},
    {"duplicates", "[Tessel]\nFile1=a\n[Tessel]\nFile1=b\nFile2=c",
     "files:a,c,,,,,"},
    {"10 MB line", "[Tessel]\n" + Bytes(10 << 20, '=') + "\nFile1=a",
     "files:a,,,,,,"},
    {"garbage", Garbage(), ""},
    // Older versions wrote Big5: a value that is not UTF-8 is read as Big5,
    // even where its bytes would pass for the end of a cut UTF-8 character.
    {"Big5 names",
     "[Tessel]\nFile1=/t/\xB3\x5C\xA6\x68.txt\nFile2=\xA4\xA4\xE5\xA4\n"
     "Result=\xA4\xA4"
     "a\n[Setup]\nAp1Name=/\xA4\xE5",
     "files:/t/許多.txt,中憭,,,,,中a ap:/文,,"},
    {"Big5 cut at the limit",
     "[Tessel]\nFile3=" + Bytes(2048, '\xA4') + "\nSignFileName=a\xA4",
     "files:,," + QString(1023, u'中') + ",,,, sign:M:a"},
};

}  // namespace

class SettingsTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    QFile::remove(BesideProgram());
    QFile::remove(InCurrentDir());
  }

  void FirstStartAndClose() {
    Fixture f;
    QCOMPARE(State(f.window, f.setup), kDefaults);
    QVERIFY(f.c.source3_field->isHidden() &&
            !f.c.diff_limit_field->isEnabled());
    QVERIFY(f.window.close());
    QCOMPARE(ReadBytes(BesideProgram()),
             "[Tessel]\nFileNum=0\nFile1=\nFile2=\nFile3=\nResult1=\n"
             "Result2=\nResult3=\nResult=\nUseSignFile=0\nSignFileName=\n"
             "UseSignMemo=1\nDoLoseWord=1\nUseMaxDiffNum=0\nMaxDiffNum=\n"
             "Num1=100\n\n[Setup]\nUseAp1=0\nUseAp2=0\nUseAp3=0\n"
             "UseDefault=1\nAp1Name=\nAp2Name=\nAp3Name=\n\n[Compare]\n"
             "Encoding1=auto\nEncoding2=auto\nEncoding3=auto\nUnicode=0\n"
             "VariantZ=0\nVariantSemantic=0\nVariantForms=0\n"
             "VariantSimplified=0\nUseVariantFile=0\nVariantFile=\n"
             "IgnoreBetween=\nNotesUnordered=0\n");
  }

  // The bytes loader, as the window's first show uses it.
  void Loads() {
    for (const LoadRow& row : kLoads) {
      SetupDialog setup;
      MainWindow window;
      window.SetSetupDialog(&setup);
      window.LoadSettings(TIniFile::FromBytes(row.ini.toStdString()));
      QStringList expected = kDefaults.split(' ');
      for (const QString& part :
           row.differences.split(' ', Qt::SkipEmptyParts)) {
        const QString key = part.section(':', 0, 0) + ':';
        for (QString& e : expected) {
          if (e.startsWith(key)) e = part;
        }
      }
      QVERIFY2(State(window, setup) == expected.join(' '), row.name);
    }
  }

  // Read from the current directory, written beside the program; -7 is no
  // item, which shows the third source, and is saved as -1.
  void LoadsHereSavesBesideTheProgram() {
    const Bytes here = "[Tessel]\nFileNum=-7\nFile1=here\n";
    WriteBytes(InCurrentDir(), here);
    WriteBytes(BesideProgram(), "; mine\n[Tessel]\nFile1=beside\nOwn=1\n");
    Fixture f;
    QCOMPARE(f.c.source1_field->text(), QString("here"));
    QVERIFY(f.c.source3_field->isVisible());
    QVERIFY(f.window.close());
    QVERIFY(
        ReadBytes(BesideProgram())
            .startsWith("; mine\n[Tessel]\nFile1=here\nOwn=1\nFileNum=-1\n"));
    QCOMPARE(ReadBytes(InCurrentDir()), here);
  }

  // A window closed before it was ever shown loaded nothing, and must not
  // write its defaults over the settings.
  void NeverShownWritesNothing() {
    const Bytes mine = "[Tessel]\nFile1=mine\n";
    WriteBytes(InCurrentDir(), mine);
    MainWindow window;
    QVERIFY(window.close());
    QCOMPARE(ReadBytes(InCurrentDir()), mine);
    QVERIFY(!QFile::exists(BesideProgram()));
  }

  // A file of an older version, whose names are Big5, keeps them: they
  // are saved back in UTF-8.
  void OldBig5NamesSurvive() {
    WriteBytes(InCurrentDir(), "[Tessel]\nFile1=\xB3\x5C\xA6\x68.txt\n");
    Fixture f;
    QVERIFY(f.window.close());
    QVERIFY(ReadBytes(BesideProgram()).contains("\nFile1=許多.txt\n"));
  }

  // Where the settings live and what a bare name means: beside a portable
  // copy as ever; in the user's configuration folder and home folder for an
  // installed one.
  void SettingsPlaces() {
    const struct {
      const char* name;
      const char* program_dir;
      bool writable;
      const char* config_home;
      const char* read;  // '.' the current directory
      const char* write;
      const char* start;
    } rows[] = {
        {"portable", "/p/bin", true, "/x", "./tessel.ini", "/p/bin/tessel.ini",
         "/p/bin/"},
        {"unwritable", "/opt/t", false, "/x", "/x/tessel/tessel.ini",
         "/x/tessel/tessel.ini", "/h/"},
        {"no XDG_CONFIG_HOME", "/opt/t", false, "",
         "/h/.config/tessel/tessel.ini", "/h/.config/tessel/tessel.ini", "/h/"},
        {"relative XDG_CONFIG_HOME", "/opt/t", false, "cfg",
         "/h/.config/tessel/tessel.ini", "/h/.config/tessel/tessel.ini", "/h/"},
        {"/usr/bin, even for root", "/usr/bin", true, "/x",
         "/x/tessel/tessel.ini", "/x/tessel/tessel.ini", "/h/"},
    };
    for (const auto& row : rows) {
      const SettingsPlace place = ChooseSettingsPlace(
          {row.program_dir, row.writable, row.config_home, "/h", "."});
      QVERIFY2(place.read_path == row.read, row.name);
      QVERIFY2(place.write_path == row.write, row.name);
      QVERIFY2(place.start_dir == row.start, row.name);
    }
  }

  // An installed copy through the window: it reads and writes the file in
  // the configuration folder, creating the folder, shows where it is, and
  // completes bare names with the home folder. Nothing goes beside the
  // program or into the current directory.
  void InstalledCopy() {
    QTemporaryDir config;
    QTemporaryDir home;
    const QString ini = config.filePath("tessel/tessel.ini");
    WriteBytes(InCurrentDir(), "[Tessel]\nFile1=here\n");
    const SettingsPlace place = ChooseSettingsPlace(
        {"/usr/bin", false, config.path(), home.path(), QDir::currentPath()});
    {
      SetupDialog setup;
      MainWindow window;
      window.SetSettingsPlace(place);
      window.SetSetupDialog(&setup);
      window.show();
      const WindowControls c = Controls(window);
      QCOMPARE(c.source1_field->text(), QString());
      QCOMPARE(setup.findChild<QLineEdit*>("settingsPath")->text(), ini);
      c.source1_field->setText("a.txt");
      c.source2_field->setText("b.txt");
      BoxRecorder boxes;
      window.CheckInput();  // stops at the empty result field
      QCOMPARE(c.source1_field->text(), home.filePath("a.txt"));
      QVERIFY(window.close());
    }
    QVERIFY(ReadBytes(ini).startsWith("[Tessel]\nFileNum=0\nFile1=" +
                                      home.filePath("a.txt").toUtf8()));
    QVERIFY(!QFile::exists(BesideProgram()));
    QCOMPARE(ReadBytes(InCurrentDir()), "[Tessel]\nFile1=here\n");
    MainWindow window;
    window.SetSettingsPlace(place);
    window.show();
    QCOMPARE(Controls(window).source1_field->text(), home.filePath("a.txt"));
  }

  // Every control back as it was; a text beyond 2047 bytes is cut there,
  // before the character that the cut would split.
  void RoundTrip() {
    const QString long_text(1000, QChar(u'許'));  // 3 bytes each
    {
      Fixture f;
      f.c.source_count_group->Item(1)->click();
      const QStringList texts = {"/文本/許 a", " lead", "trail ", "\"q\"",
                                 "'",          "a=b;c", long_text};
      for (int i = 0; i < texts.size(); ++i) {
        FileFields(f.window)[i]->setText(texts[i]);
      }
      f.c.sign_file_field->setText("許.txt");
      f.c.fold_notations_box->setChecked(false);
      f.c.diff_limit_box->setChecked(true);
      f.c.diff_limit_field->setText("100 ");
      f.c.look_ahead_field->setText("");
      f.sc.use_program2->click();
      f.sc.program1_field->setText("/bin/a");
      f.sc.program2_field->setText("b c");
      QVERIFY(f.window.close());
    }
    QVERIFY(QFile::copy(BesideProgram(), InCurrentDir()));
    Fixture f;
    QCOMPARE(State(f.window, f.setup),
             "mode:1 files:/文本/許 a, lead,trail ,\"q\",',a=b;c," +
                 long_text.left(682) +
                 " sign:F:許.txt lose:0 limit:1:100  num: setup:0010 "
                 "ap:/bin/a,b c,");
    QVERIFY(f.c.diff_limit_field->isEnabled());
  }

  // The first write fails: the question, and nothing at all written. The
  // target is under a regular file, or the old file is beyond a size limit.
  void Unwritable() {
    const struct {
      const char* answer;
      bool size_limit;
      bool closes;
    } rows[] = {{"&Yes", false, true},
                {"&No", false, false},
                {"", false, false},  // closed without an answer
                {"&Yes", true, true}};
    const Bytes old = "[Tessel]\nFile1=" + Bytes(300, 'o') + "\n";
    for (const auto& row : rows) {
      QTemporaryDir dir;
      WriteBytes(dir.filePath("file"), "x");
      WriteBytes(BesideProgram(), old);
      Fixture f;
      if (!row.size_limit)
        f.window.run_control().IniPath = dir.filePath("file/tessel.ini");
      f.c.source1_field->setText("kept");
      BoxAnswer boxes(row.answer);
      {
        FileSizeLimit limit(row.size_limit ? 100 : RLIM_INFINITY);
        f.window.close();
      }
      QCOMPARE(boxes.texts,
               QStringList{"警告 : tessel.ini 無法寫入! 是否確定結束?"});
      QVERIFY2(f.window.isVisible() == !row.closes, row.answer);
      QCOMPARE(f.c.source1_field->text(), QString("kept"));
      QCOMPARE(ReadBytes(BesideProgram()), old);
    }
  }

  // A later write fails: the error box names the file, the window stays
  // open, and the keys before it stay written.
  void LaterWriteFails() {
    Fixture f;
    f.c.source1_field->setText(QString(3000, 'x'));
    BoxRecorder boxes;
    {
      FileSizeLimit limit(1000);
      f.window.close();
    }
    QCOMPARE(boxes.texts, QStringList{"Unable to write to " + BesideProgram()});
    QCOMPARE(boxes.icons.value(0), QMessageBox::Critical);
    QVERIFY(f.window.isVisible());
    QCOMPARE(ReadBytes(BesideProgram()), Bytes("[Tessel]\nFileNum=0\n"));
  }
};

}  // namespace tessel::app::testing

TESSEL_APP_TEST_MAIN(tessel::app::testing::SettingsTest)
#include "SettingsTest.moc"
