// The main window between runs: its first show, layout and tab order, the
// two-file mode, the linked controls, the default symbols, the file
// pickers and the About box.

#include <QTemporaryDir>

#include "AppTestSupport.h"
#include "FileNames.h"
#include "Helpunit.h"
#include "RadioAlternatives.h"
#include "Setup.h"
#include "SignSet.h"
#include "Tesselunit.h"

namespace tessel::app::testing {
namespace {

// A shown window whose pickers use a scripted dialog.
struct Fixture {
  Fixture() {
    auto owned = std::make_unique<ScriptedDialog>();
    dialog = owned.get();
    window.SetOpenDialog(std::move(owned));
    window.show();
  }
  MainWindow window;
  const WindowControls c = Controls(window);
  ScriptedDialog* dialog;
};

QList<QWidget*> ThirdSource(MainWindow& w) {
  const WindowControls c = Controls(w);
  return {c.source3_field, c.source3_picker, c.source3_label,
          c.result3_field, c.result3_picker, c.result3_label};
}

// The names the real file dialog lists once it has read `expected`.
QStringList Listed(QFileDialog* dialog, const QString& expected) {
  auto* view = dialog->findChild<QListView*>("listView");
  QStringList names;
  static_cast<void>(QTest::qWaitFor([&] {
    names.clear();
    for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row) {
      names
          << view->model()->index(row, 0, view->rootIndex()).data().toString();
    }
    return names.contains(expected);
  }));
  names.sort();
  return names;
}

}  // namespace

class WindowTest : public QObject {
  Q_OBJECT

 private slots:
  void FirstShow() {
    Fixture f;
    const QString start_dir = QCoreApplication::applicationDirPath() + "/";
    QCOMPARE(f.window.run_control().StartDir, start_dir);
    QCOMPARE(f.dialog->start_directory, start_dir);
    for (QWidget* w : ThirdSource(f.window)) QVERIFY(w->isHidden());
    QVERIFY(!f.c.diff_limit_field->isEnabled());
    QVERIFY(f.c.stop_button->isVisible() && !f.c.stop_button->isEnabled());
    QCOMPARE(f.c.logo->pixmap().size(), QSize(76, 55));
    QCOMPARE(f.window.windowIcon().actualSize(QSize(32, 32)), QSize(32, 32));
  }

  // A caption cut off by its control or by the window's edge is a fault of
  // the layout or of the fonts found.
  void TextsFitTheirControls() {
    Fixture f;
    f.c.source_count_group->Item(1)->click();
    for (QWidget* w : f.window.findChildren<QWidget*>()) {
      int needed = 0;
      QString text;
      if (auto* label = qobject_cast<QLabel*>(w)) {
        text = label->text();
        needed = label->fontMetrics().horizontalAdvance(text);
      } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        text = button->text();
        needed = qobject_cast<QPushButton*>(w)
                     ? button->fontMetrics().horizontalAdvance(text)
                     : button->sizeHint().width();
      }
      if (text.isEmpty() || w->window() != &f.window) continue;
      QVERIFY2(needed <= w->width(), qPrintable(text));
      QVERIFY2(f.window.rect().contains(
                   QRect(w->mapTo(&f.window, QPoint()), w->size())),
               qPrintable(text));
    }
  }

  void TwoFileModeHidesTheThirdSource() {
    Fixture f;
    f.c.source3_field->setText("c.txt");
    for (int item : {1, 0, 1}) {
      f.c.source_count_group->Item(item)->click();
      for (QWidget* w : ThirdSource(f.window)) {
        QVERIFY2(w->isVisible() == (item == 1), qPrintable(w->objectName()));
      }
    }
    QCOMPARE(f.c.source3_field->text(), QString("c.txt"));
  }

  void TypingSelectsTheSymbolSource() {
    Fixture f;
    for (QWidget* field : {static_cast<QWidget*>(f.c.sign_file_field),
                           static_cast<QWidget*>(f.c.sign_memo)}) {
      field->setFocus();
      // One key event with Chinese text, as QTest's key clicks cannot.
      QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, "許");
      QApplication::sendEvent(field, &key);
      const bool file = field == f.c.sign_file_field;
      QVERIFY2(f.c.use_sign_file_button->isChecked() == file,
               qPrintable(field->objectName()));
      QVERIFY2(f.c.use_sign_memo_button->isChecked() == !file,
               qPrintable(field->objectName()));
    }
  }

  void LinkedControls() {
    Fixture f;
    QRadioButton* file = f.c.use_sign_file_button;
    QRadioButton* memo = f.c.use_sign_memo_button;
    memo->click();
    memo->click();  // a click never clears
    QVERIFY(memo->isChecked() && !file->isChecked());
    file->click();
    QVERIFY(file->isChecked() && !memo->isChecked());
    file->setChecked(false);  // by program: neither
    QVERIFY(!file->isChecked() && !memo->isChecked());

    f.c.fast_mode_box->click();
    QVERIFY(!f.c.stop_button->isVisible());
    f.c.fast_mode_box->click();
    QVERIFY(f.c.stop_button->isVisible() && !f.c.stop_button->isEnabled());
    f.c.diff_limit_field->setText("7");
    f.c.diff_limit_box->click();
    QVERIFY(f.c.diff_limit_field->isEnabled());
    f.c.diff_limit_box->click();
    QVERIFY(!f.c.diff_limit_field->isEnabled());
    QCOMPARE(f.c.diff_limit_field->text(), QString("7"));
  }

  // The memo's text, as the run receives it, holds exactly the default
  // symbols' bytes (A1 40 and F9 F8 among them) in front of the old text.
  void DefaultSymbolsGoInFront() {
    Fixture f;
    f.c.sign_memo->setPlainText("「」");
    f.c.use_sign_file_button->setChecked(true);
    f.c.default_signs_button->click();
    QVERIFY(f.c.use_sign_memo_button->isChecked());
    f.c.default_signs_button->click();
    const std::string defaults(kDefaultSigns);
    QCOMPARE(ToBig5(f.c.sign_memo->toPlainText()),
             defaults + defaults + "\xA1\x75\xA1\x76");
  }

  void PickerStartsAtTheField_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("directory");  // '@' stands for StartDir
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("sign_name");  // the sign-file picker's
    QTest::newRow("empty") << ""
                           << "@"
                           << ""
                           << "";
    QTest::newRow("bare") << "a.txt"
                          << "@"
                          << "a.txt"
                          << "a.txt";
    QTest::newRow("absolute") << "/t/a.txt"
                              << "/t/"
                              << "a.txt"
                              << "/t/a.txt";
    QTest::newRow("relative") << "t/a.txt"
                              << "t/"
                              << "a.txt"
                              << "t/a.txt";
    QTest::newRow("folder") << "/t/"
                            << "/t/"
                            << ""
                            << "/t/";
    QTest::newRow("許") << "/許/許.txt"
                        << "/許/"
                        << "許.txt"
                        << "/許/許.txt";
  }

  void PickerStartsAtTheField() {
    QFETCH(QString, text);
    QFETCH(QString, directory);
    QFETCH(QString, name);
    QFETCH(QString, sign_name);
    Fixture f;
    directory.replace('@', f.window.run_control().StartDir);
    f.c.difference_field->setText(text);
    f.c.difference_picker->click();
    QCOMPARE(f.dialog->start_directory, directory);
    QCOMPARE(f.dialog->start_name, name);
    f.c.sign_file_field->setText(text);
    f.c.use_sign_memo_button->setChecked(true);
    f.c.sign_file_picker->click();  // cancelled: nothing changes
    QCOMPARE(f.dialog->start_directory, directory);
    QCOMPARE(f.dialog->start_name, sign_name);
    QCOMPARE(f.c.sign_file_field->text(), text);
    QVERIFY(f.c.use_sign_memo_button->isChecked());
  }

  void EachPickerFillsItsField() {
    const QStringList pairs = {
        "source1Picker source1Field",       "source2Picker source2Field",
        "source3Picker source3Field",       "result1Picker result1Field",
        "result2Picker result2Field",       "result3Picker result3Field",
        "differencePicker differenceField", "signFilePicker signFileField"};
    for (const QString& pair : pairs) {
      Fixture f;
      const QList<QLineEdit*> fields = f.window.findChildren<QLineEdit*>();
      for (QLineEdit* field : fields) field->setText("/old");
      f.c.use_sign_memo_button->setChecked(true);
      f.dialog->answer = "/old";  // the same text: the choice still counts
      f.window.findChild<QPushButton*>(pair.section(' ', 0, 0))->click();
      f.dialog->answer = "/new";
      f.window.findChild<QPushButton*>(pair.section(' ', 0, 0))->click();
      for (QLineEdit* field : fields) {
        const bool picked = field->objectName() == pair.section(' ', 1);
        QVERIFY2(field->text() == (picked ? "/new" : "/old"), qPrintable(pair));
      }
      const bool sign = pair.startsWith("signFile");
      QVERIFY2(f.c.use_sign_file_button->isChecked() == sign, qPrintable(pair));
    }
  }

  // The real dialog, driven as a user would: the all-files filter lists a
  // name without a dot, and the filter of a confirmed run, not of a
  // cancelled one, is preselected next time.
  void RealDialogFilters() {
    QTemporaryDir dir;
    WriteBytes(dir.filePath("a.txt"), "a");
    WriteBytes(dir.filePath("README"), "r");
    QWidget parent;
    QtOpenFileDialog dialog(&parent, {"純文字檔 (*.txt)", "所有檔案 (*.*)"},
                            "所有檔案 (*.*)");
    dialog.SetStartDirectory(dir.path());
    dialog.SetStartFileName("");
    // Each run records what it saw, and the checks come after it has
    // closed, so that a failure cannot leave it open.
    QStringList seen;
    const auto run = [&](int key, const char* typed) {
      WhenModal([&seen, key, typed](QWidget* modal) {
        auto* d = qobject_cast<QFileDialog*>(modal);
        seen << d->selectedNameFilter() << Listed(d, "a.txt").join(',');
        if (key != 0) {
          QTest::keyClick(d->findChild<QComboBox*>("fileTypeCombo"), key);
        }
        if (key == Qt::Key_Down) seen << Listed(d, "README").join(',');
        d->findChild<QLineEdit*>("fileNameEdit")->setText(typed);
        if (typed[0] != '\0') static_cast<QDialog*>(d)->accept();
        if (d->isVisible()) d->reject();
      });
      return dialog.Run();
    };
    QCOMPARE(run(Qt::Key_Down, "new.txt"), dir.filePath("new.txt"));
    QCOMPARE(run(Qt::Key_Up, ""), std::nullopt);
    QCOMPARE(run(0, ""), std::nullopt);
    QCOMPARE(seen, (QStringList{"純文字檔 (*.txt)", "a.txt", "README,a.txt",
                                "所有檔案 (*.*)", "README,a.txt",
                                "所有檔案 (*.*)", "README,a.txt"}));
  }

  // The shared dialog offers the name it is given, and no name when given
  // none, never the one picked last time.
  void RealDialogOffersNoNameForAnEmptyField() {
    QTemporaryDir dir;
    QWidget parent;
    QtOpenFileDialog dialog(&parent, {"所有檔案 (*.*)"}, "所有檔案 (*.*)");
    dialog.SetStartDirectory(dir.path());
    QStringList offered;
    for (const QString name : {"a.txt", "", "b.txt", ""}) {
      dialog.SetStartFileName(name);
      WhenModal([&offered](QWidget* modal) {
        offered << modal->findChild<QLineEdit*>("fileNameEdit")->text();
        static_cast<QDialog*>(modal)->reject();
      });
      QCOMPARE(dialog.Run(), std::nullopt);
    }
    QCOMPARE(offered, (QStringList{"a.txt", "", "b.txt", ""}));
  }

  void AboutBoxStaysUnmodal() {
    Fixture f;
    AboutBox help;
    f.window.SetAboutBox(&help);
    f.c.about_button->click();
    QVERIFY(help.isVisible() && !help.isModal());
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    const QString text = Controls(help).credits->toPlainText();
    QCOMPARE(text.count('\n'), 12);
    QVERIFY(text.contains("\nTessel V1.3  專為格式相異之文件比較所設計\n"));
    QTest::keyClick(&help, Qt::Key_Return);
    QVERIFY(help.isHidden());
    f.c.about_button->click();
    QVERIFY(help.isVisible());
    QCOMPARE(Controls(help).credits->toPlainText(), text);
  }

  // Enter presses the focused button, as Space does, in the main window as
  // in the dialogs.
  void EnterPressesTheFocusedButton() {
    for (const int key : {Qt::Key_Return, Qt::Key_Enter}) {
      Fixture f;
      AboutBox about;
      f.window.SetAboutBox(&about);
      f.c.default_signs_button->setFocus();
      QTest::keyClick(f.c.default_signs_button, Qt::Key(key));
      QVERIFY2(f.c.sign_memo->toPlainText() == FromBig5(kDefaultSigns),
               "default symbols");
      f.dialog->start_directory.clear();
      f.c.difference_picker->setFocus();
      QTest::keyClick(f.c.difference_picker, Qt::Key(key));
      QVERIFY2(!f.dialog->start_directory.isEmpty(), "picker");
      f.c.about_button->setFocus();
      QTest::keyClick(f.c.about_button, Qt::Key(key));
      QVERIFY2(about.isVisible(), "About box");
    }
  }

  // The About box and the setup dialog stay on top; a message shown while
  // either is open must come up above it, not hidden under it.
  void MessageBoxAboveDialogsThatStayOnTop() {
    Fixture f;
    AboutBox about;
    SetupDialog setup;
    f.window.SetAboutBox(&about);
    f.window.SetSetupDialog(&setup);
    f.c.about_button->click();
    f.c.setup_button->click();
    QVERIFY(about.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    bool on_top = false;
    WhenModal([&](QWidget* box) {
      on_top = box->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
      static_cast<QDialog*>(box)->reject();
    });
    f.c.run_button->click();  // every field empty: a message
    QVERIFY(on_top);
  }

  // The arrow keys select in a radio group, and so choosing three sources
  // with the keyboard shows the third source's fields.
  void ArrowKeysSelectInRadioGroups() {
    Fixture f;
    QAbstractButton* two = f.c.source_count_group->Item(0);
    QAbstractButton* three = f.c.source_count_group->Item(1);
    two->setFocus();
    QTest::keyClick(two, Qt::Key_Right);
    QVERIFY(three->isChecked() && !two->isChecked() &&
            f.window.focusWidget() == three);
    QVERIFY(f.c.source3_field->isVisible());
    QTest::keyClick(three, Qt::Key_Up);
    QVERIFY(two->isChecked() && f.c.source3_field->isHidden());
    QTest::keyClick(two, Qt::Key_Left);  // round to the last
    QVERIFY(three->isChecked());

    f.c.use_sign_memo_button->setFocus();
    QTest::keyClick(f.c.use_sign_memo_button, Qt::Key_Down);
    QVERIFY(f.c.use_sign_file_button->isChecked() &&
            !f.c.use_sign_memo_button->isChecked());

    SetupDialog setup;
    setup.show();
    const SetupControls s = Controls(setup);
    s.use_default_program->setFocus();
    QTest::keyClick(s.use_default_program, Qt::Key_Down);
    QTest::keyClick(s.use_program1, Qt::Key_Down);
    QVERIFY(s.use_program2->isChecked() && !s.use_default_program->isChecked());
  }

  // Tab walks the controls in the order they are drawn, and each radio
  // group is one stop: its selected button.
  void TabOrderIsTheDrawnOrder() {
    Fixture f;
    const auto walk = [&f](QWidget* start) {
      QStringList seen;
      QWidget* at = start;
      at->setFocus();
      do {
        auto* button = qobject_cast<QAbstractButton*>(at);
        seen << (at->objectName().isEmpty() && button ? button->text()
                                                      : at->objectName());
        QTest::keyClick(at, Qt::Key_Tab);
        at = f.window.focusWidget();
      } while (at != start && seen.size() < 100);
      return seen.join(' ');
    };
    QCOMPARE(walk(f.c.source_count_group->Item(0)),
             QString("二檔 setupButton source1Field source1Picker "
                     "source2Field source2Picker result1Field result1Picker "
                     "result2Field result2Picker differenceField "
                     "differencePicker signFileField signFilePicker "
                     "useSignMemoButton defaultSignsButton signMemo "
                     "foldNotationsBox diffLimitBox lookAheadField runButton "
                     "exitButton aboutButton fastModeBox optionsButton"));
    f.c.source_count_group->Item(1)->click();
    f.c.use_sign_file_button->click();
    f.c.diff_limit_box->click();
    QCOMPARE(walk(f.c.source_count_group->Item(1)),
             QString("三檔 setupButton source1Field source1Picker "
                     "source2Field source2Picker source3Field source3Picker "
                     "result1Field result1Picker result2Field result2Picker "
                     "result3Field result3Picker differenceField "
                     "differencePicker useSignFileButton signFileField "
                     "signFilePicker defaultSignsButton signMemo "
                     "foldNotationsBox diffLimitBox diffLimitField "
                     "lookAheadField runButton exitButton aboutButton "
                     "fastModeBox optionsButton"));
  }

  // What a screen reader says for each control, through Qt's accessibility
  // tree: a file field its label's text, a "..." button its field's, and
  // no control that takes the focus goes unnamed.
  void ScreenReaderNames() {
    Fixture f;
    SetupDialog setup;
    f.window.SetSetupDialog(&setup);
    f.c.source_count_group->Item(1)->click();  // all fields shown
    setup.show();
    const std::pair<const char*, const char*> named[] = {
        {"source1Field", "來源檔一"},
        {"source3Field", "來源檔三"},
        {"result2Field", "結果檔二"},
        {"differenceField", "差異檔"},
        {"lookAheadField", "最大比對字數"},
        {"signFileField", "使用忽略符號檔"},
        {"signMemo", "使用下列符號"},
        {"diffLimitField", "差異數目超過此即中斷程式"},
        {"source2Picker", "來源檔二 ..."},
        {"differencePicker", "差異檔 ..."},
        {"signFilePicker", "使用忽略符號檔 ..."},
        {"sourceCountGroup", "比對檔案數"},
        {"signSourceGroup", "忽略符號來源"},
        {"progressBar", "進度 :"},
        {"program2Field", "自訂2"},
        {"program3Picker", "自訂3 ..."},
        {"settingsPath", "設定檔 :"},
    };
    const auto name = [](QWidget* w) {
      return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name);
    };
    for (const auto& [object, expected] : named) {
      QWidget* w = f.window.findChild<QWidget*>(object);
      if (w == nullptr) w = setup.findChild<QWidget*>(object);
      QVERIFY2(w != nullptr, object);
      QVERIFY2(name(w) == QString(expected), object);
    }
    for (QWidget* form :
         {static_cast<QWidget*>(&f.window), static_cast<QWidget*>(&setup)}) {
      for (QWidget* w : form->findChildren<QWidget*>()) {
        if (w->window() != form || !w->isVisible() ||
            !(w->focusPolicy() & Qt::TabFocus)) {
          continue;
        }
        QVERIFY2(!name(w).isEmpty() && name(w) != "...",
                 qPrintable(w->objectName()));
      }
    }
  }

  void ExitClosesWhenIdle() {
    Fixture f;
    f.c.exit_button->click();
    QVERIFY(!f.window.isVisible());
  }
};

}  // namespace tessel::app::testing

TESSEL_APP_TEST_MAIN(tessel::app::testing::WindowTest)
#include "WindowTest.moc"
