// The document opener and the setup dialog: what a double-click asks of
// the shell, what each result tells the user, the system's launcher and its
// checks, and the dialog's choices and picker.

#include "AppTestSupport.h"
#include "RadioAlternatives.h"
#include "Setup.h"
#include "ShellLauncher.h"
#include "Tesselunit.h"

namespace tessel::app::testing {
namespace {

// Records each request in one line and answers with `result`.
struct RecordingLauncher : ShellLauncher {
  int Open(QWidget* owner, const ShellOpenRequest& r) override {
    requests << QString("%1|%2|%3|%4|%5|%6")
                    .arg(r.verb, r.file, r.parameters, r.directory)
                    .arg(r.show_command)
                    .arg(r.is_program ? "program" : "document");
    owners << owner;
    return result;
  }
  QStringList requests;
  QList<QWidget*> owners;
  int result = kShellStarted;
};

struct Fixture {
  explicit Fixture(bool record = true) {
    if (record) {
      auto owned = std::make_unique<RecordingLauncher>();
      launcher = owned.get();
      window.SetLauncher(std::move(owned));
    }
    window.SetSetupDialog(&setup);
    window.show();
  }
  SetupDialog setup;
  const SetupControls sc = Controls(setup);
  MainWindow window;
  const WindowControls c = Controls(window);
  RecordingLauncher* launcher = nullptr;
};

// A script that records its working directory and arguments, one a line,
// in `out`.
QString RecordingScript(const QString& dir, const QString& out) {
  const QString path = dir + "/record";
  WriteBytes(path, QString("#!/bin/sh\n{ pwd -P; for a; do printf '%s\\n' "
                           "\"$a\"; done; } >'%1.tmp' && mv '%1.tmp' '%1'\n")
                       .arg(out)
                       .toUtf8());
  QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner);
  return path;
}

QByteArray WaitForRecord(const QString& out) {
  return QTest::qWaitFor([&] { return QFile::exists(out); }, 10000)
             ? ReadBytes(out)
             : "<nothing recorded>";
}

}  // namespace

class OpenerTest : public QObject {
  Q_OBJECT

 private slots:
  void Requests() {
    const struct {
      const char* choice;  // the setup dialog's radio button
      const char* field;
      const char* text;
      const char* request;
    } rows[] = {
        {"useDefaultProgram", "source1Field", "/t/a.txt",
         "open|/t/a.txt||/t/|5|document"},
        {"useProgram2", "differenceField", "/t/a.txt",
         "open|/b/2|/t/a.txt|/t/|5|program"},
        {"useDefaultProgram", "result3Field", "a.txt",
         "open|a.txt|||5|document"},
        {"useProgram1", "signFileField", "/t x/a b",
         "open|/b/1|/t x/a b|/t x/|5|program"},
        {"useProgram3", "source2Field", "", "open||||5|program"},
    };
    for (const auto& row : rows) {
      Fixture f;
      f.setup.findChild<QRadioButton*>(row.choice)->click();
      f.sc.program1_field->setText("/b/1");
      f.sc.program2_field->setText("/b/2");
      f.c.source_count_group->Item(1)->click();  // all eight
                                                 // fields shown
      f.c.source1_field->setText("other");
      auto* edit = f.window.findChild<QLineEdit*>(row.field);
      edit->setText(row.text);
      BoxRecorder boxes;
      QTest::mouseDClick(edit, Qt::LeftButton);
      QVERIFY2(f.launcher->requests == QStringList{row.request}, row.field);
      QCOMPARE(f.launcher->owners.value(0), &f.window);
      QCOMPARE(boxes.texts, QStringList());
    }
  }

  void Results() {
    const std::pair<int, const char*> rows[] = {
        {33, nullptr},
        {0, "系統記憶體或資源不足, 無法順利開啟!"},
        {2, "找不到檔案!"},
        {3, "SE_Err:3 無法開啟此檔!"},
        {8, "記憶體不足, 無法順利開啟!"},
        {31, "此類檔案無登記, 無法順利開啟!"},
        {32, "SE_Err:32 無法開啟此檔!"}};
    Fixture f;
    for (const auto& [result, message] : rows) {
      f.launcher->result = result;
      BoxRecorder boxes;
      QTest::mouseDClick(f.c.source1_field, Qt::LeftButton);
      QVERIFY2(boxes.texts == (message ? QStringList{message} : QStringList()),
               qPrintable(QString::number(result)));
    }
  }

  // A middle-button double-click is X11's paste, twice; it must not open
  // the file as well. Nor does the right button.
  void OnlyTheLeftButtonOpens() {
    Fixture f;
    for (const Qt::MouseButton button : {Qt::MiddleButton, Qt::RightButton}) {
      QTest::mouseDClick(f.c.source1_field, button);
    }
    QCOMPARE(f.launcher->requests, QStringList());
    QTest::mouseDClick(f.c.source1_field, Qt::LeftButton);
    QCOMPARE(f.launcher->requests.size(), 1);
  }

  void NoProgramChosen() {
    Fixture f;
    f.sc.use_default_program->setChecked(false);
    BoxRecorder boxes;
    QTest::mouseDClick(f.c.source1_field, Qt::LeftButton);
    QCOMPARE(f.launcher->requests, QStringList());
    QCOMPARE(boxes.texts, QStringList{"請先在「設定」中選擇開啟檔案的程式!"});
  }

  // Changes count at once and survive hiding; "確定" and the title bar's
  // close button only hide the dialog.
  void SetupChoicesCountAtOnce() {
    Fixture f;
    f.c.setup_button->click();
    QVERIFY(f.setup.isVisible() && !f.setup.isModal());
    QCOMPARE(f.setup.pos(), QPoint(244, 190));
    f.sc.use_program1->click();
    f.sc.program1_field->setText("/bin/one");
    QTest::mouseDClick(f.c.source1_field, Qt::LeftButton);
    QVERIFY(f.setup.close());
    QVERIFY(f.setup.isHidden() && f.sc.use_program1->isChecked());
    QTest::mouseDClick(f.c.source1_field, Qt::LeftButton);
    f.c.setup_button->click();
    f.sc.use_program3->click();
    f.sc.ok_button->click();
    QVERIFY(f.setup.isHidden());
    QTest::mouseDClick(f.c.source1_field, Qt::LeftButton);
    const QString one = "open|/bin/one|||5|program";
    QCOMPARE(f.launcher->requests,
             (QStringList{one, one, "open||||5|program"}));
  }

  void ProgramPicker() {
    Fixture f;
    auto owned = std::make_unique<ScriptedDialog>();
    ScriptedDialog* dialog = owned.get();
    f.setup.SetOpenDialog(std::move(owned));
    dialog->answer = "/opt/x/prog";
    f.sc.program1_picker->click();
    QCOMPARE(dialog->start_directory, f.window.run_control().StartDir);
    QCOMPARE(f.sc.program1_field->text(), QString("/opt/x/prog"));
    QVERIFY(f.sc.use_default_program->isChecked() &&
            !f.sc.use_program1->isChecked());
    dialog->answer.reset();  // cancelled
    f.sc.program3_field->setText("/usr/bin/vi");
    f.sc.program3_picker->click();
    QCOMPARE(dialog->start_directory, QString("/usr/bin/"));
    QCOMPARE(dialog->start_name, QString("vi"));
    QCOMPARE(f.sc.program3_field->text(), QString("/usr/bin/vi"));
  }

  // The executable filter comes first, its patterns divided at ';'.
  void ProgramFilter() {
    SetupDialog s;
    QFileDialog* dialog =
        static_cast<QtOpenFileDialog&>(s.OpenDialog()).dialog();
    QCOMPARE(dialog->selectedNameFilter(),
             QString("可執行檔 (*.exe; *.com; *.bat)"));
    QCOMPARE(dialog->findChild<QFileSystemModel*>()->nameFilters(),
             (QStringList{"*.exe", "*.com", "*.bat"}));
  }

  // What the system's launcher refuses before starting anything.
  void SystemLauncherChecks() {
    const struct {
      bool program;
      const char* file;  // '@' stands for a folder holding a.txt
      const char* directory;
      int result;
    } rows[] = {
        {false, "@/a.txt", "/no/such/", 3},
        {true, "/bin/sh", "@/a.txt", 3},
        {false, "@/none.txt", "", 2},
        {false, "", "", 2},
        {true, "@/none", "@/", 2},
        {true, "no-such-tessel-prog", "", 2},
        {true, "", "", 2},
        {false, "@/a.txt", "", 31},
        {true, "@/a.txt", "", 0},  // not executable
    };
    QTemporaryDir dir;
    WriteBytes(dir.filePath("a.txt"), "a");
    SystemShellLauncher launcher("no-such-tessel-opener");
    for (const auto& row : rows) {
      ShellOpenRequest r;
      r.file = QString(row.file).replace('@', dir.path());
      r.directory = QString(row.directory).replace('@', dir.path());
      r.is_program = row.program;
      QVERIFY2(launcher.Open(nullptr, r) == row.result, row.file);
    }
  }

  // A document goes to the opener by its full path, in its folder.
  void SystemLauncherOpensDocument() {
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("sub");
    WriteBytes(dir.filePath("sub/-a b.txt"), "a");
    const QString out = dir.filePath("out");
    SystemShellLauncher launcher(RecordingScript(dir.path(), out));
    const QString here = QDir::currentPath();
    QDir::setCurrent(dir.path());
    ShellOpenRequest r;
    r.file = "sub/-a b.txt";
    r.directory = "sub/";
    const int result = launcher.Open(nullptr, r);
    QDir::setCurrent(here);
    QVERIFY(result > 32);
    const QString sub = QDir(dir.filePath("sub")).canonicalPath();
    QCOMPARE(WaitForRecord(out), (sub + "\n" + sub + "/-a b.txt\n").toUtf8());
  }

  // A real launch from the window: the field's text reaches the chosen
  // program as plain words, in the field's folder.
  void WindowStartsProgram() {
    QTemporaryDir dir;
    const QString out = dir.filePath("out");
    Fixture f(false);
    f.sc.program2_field->setText(RecordingScript(dir.path(), out));
    f.sc.use_program2->click();
    f.c.difference_field->setText(dir.path() + "/a.txt; rm -rf ~ $(id) 'q r'");
    BoxRecorder boxes;
    QTest::mouseDClick(f.c.difference_field, Qt::LeftButton);
    QCOMPARE(boxes.texts, QStringList());
    QCOMPARE(WaitForRecord(out),
             (QDir(dir.path()).canonicalPath() + "\n" + dir.path() +
              "/a.txt;\nrm\n-rf\n~\n$(id)\n'q\nr'\n")
                 .toUtf8());
  }
};

}  // namespace tessel::app::testing

TESSEL_APP_TEST_MAIN(tessel::app::testing::OpenerTest)
#include "OpenerTest.moc"
