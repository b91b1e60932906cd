// The checks before a run: their order, messages and focus, and the
// completions of bare file names, which stay after a failed check.

#include "AppTestSupport.h"
#include "RadioAlternatives.h"
#include "Tesselunit.h"

namespace tessel::app::testing {
namespace {

// The fields the checks read, in this order; a row gives their texts
// separated by '|'. In the texts after the checks '@' stands for StartDir.
const char* const kFields[] = {
    "source1Field",  "source2Field",  "source3Field",    "result1Field",
    "result2Field",  "result3Field",  "differenceField", "lookAheadField",
    "signFileField", "diffLimitField"};
constexpr int kNoLimit = 2147483647;

struct Row {
  const char* name;
  int mode;  // item of the source-count group, -1 for none
  const char* fields;
  const char* options;  // 'm': symbols from the memo; 'l': limit ticked
  const char* message;  // "" when the checks pass
  const char* after;
  const char* focus;         // after a failure
  bool three_files = false;  // after a pass
  int diff_limit = 0;
  int max_window = 0;  // after a pass: the growing look-ahead's, 0 fixed
};

const Row kRows[] = {
    // The order of the checks, and the completions made before a failure.
    {"all empty", 0, "|||||||100||", "", "第一個比對檔該欄不可為空白!",
     "|||||||100||", "source1Field"},
    {"source 2 empty", 0, "a.txt||||||||x|", "", "第二個比對檔該欄不可為空白!",
     "@a.txt||||||||x|", "source2Field"},
    {"a blank is not empty", 0, " ||||||||x|", "",
     "第二個比對檔該欄不可為空白!", "@ ||||||||x|", "source2Field"},
    {"result 1 empty", 0, "a.txt|b.txt|c.txt|||||100|x|", "",
     "第一個結果檔該欄不可為空白!", "@a.txt|@b.txt|c.txt|||||100|x|",
     "result1Field"},
    {"result 2 empty", 0, "a.txt|b.txt||r1||||100|x|", "",
     "第二個結果檔該欄不可為空白!", "@a.txt|@b.txt||@r1||||100|x|",
     "result2Field"},
    {"result 3 empty", 1, "a.txt|b.txt|c.txt|r1|r2||d|100|x|", "",
     "第三個結果檔該欄不可為空白!", "@a.txt|@b.txt|c.txt|@r1|@r2||d|100|x|",
     "result3Field"},
    {"difference empty", 0, "a|b||r1|r2|||100|x|", "",
     "差異結果檔該欄不可為空白!", "@a|@b||@r1|@r2|||100|x|", "differenceField"},
    {"sign file empty", 0, "a|b||r1|r2||d|100||", "",
     "請輸入自訂的忽略符號檔名!", "@a|@b||@r1|@r2||@d|100||", "signFileField"},
    {"limit empty", 0, "a|b||r1|r2||d|100|x|", "l",
     "最大差異數字該欄必需為數字!", "@a|@b||@r1|@r2||@d|100|@x|",
     "diffLimitField"},
    {"memo chosen, no sign file", 0, "a|b||r1|r2||d|100||", "m", "",
     "@a|@b||@r1|@r2||@d|100||", "", false, kNoLimit},
    // The look-ahead, by the integer-text rule, then its range.
    {"window abc", 0, "a|b||r1|r2||d|abc|x|", "", "最大比對數字該欄必需為數字!",
     "@a|@b||@r1|@r2||@d|abc|x|", "lookAheadField"},
    {"window trailing blank", 0, "a|b||r1|r2||d|100 |x|", "",
     "最大比對數字該欄必需為數字!", "@a|@b||@r1|@r2||@d|100 |x|",
     "lookAheadField"},
    {"window eleven digits", 0, "a|b||r1|r2||d|12345678901|x|", "",
     "最大比對數字該欄必需為數字!", "@a|@b||@r1|@r2||@d|12345678901|x|",
     "lookAheadField"},
    {"window 1", 0, "a|b||r1|r2||d|1|x|", "",
     "最大比對數字該欄必需介於 2 ~ 65535 之間!", "@a|@b||@r1|@r2||@d|1|x|",
     "lookAheadField"},
    {"window 65536", 0, "a|b||r1|r2||d|65536|x|", "",
     "最大比對數字該欄必需介於 2 ~ 65535 之間!", "@a|@b||@r1|@r2||@d|65536|x|",
     "lookAheadField"},
    {"window leading blank", 0, "a|b||r1|r2||d| 100|x|", "", "",
     "@a|@b||@r1|@r2||@d| 100|@x|", "", false, kNoLimit},
    {"window 65535, limit off", 0, "a|b||r1|r2||d|65535|x|abc", "", "",
     "@a|@b||@r1|@r2||@d|65535|@x|abc", "", false, kNoLimit},
    {"window $64, limit 0", 0, "a|b||r1|r2||d|$64|x|0", "l", "",
     "@a|@b||@r1|@r2||@d|$64|@x|0", "", false, 0},
    {"limit -3", 0, "a|b||r1|r2||d|100|x|-3", "l", "",
     "@a|@b||@r1|@r2||@d|100|@x|-3", "", false, -3},
    // The growing look-ahead, with or without its largest size.
    {"window auto", 0, "a|b||r1|r2||d|auto|x|", "", "",
     "@a|@b||@r1|@r2||@d|auto|@x|", "", false, kNoLimit, 1048576},
    {"window AUTO : 400, blanks", 0, "a|b||r1|r2||d| AUTO : 400 |x|", "", "",
     "@a|@b||@r1|@r2||@d| AUTO : 400 |@x|", "", false, kNoLimit, 400},
    {"window auto:16777216", 0, "a|b||r1|r2||d|auto:16777216|x|", "", "",
     "@a|@b||@r1|@r2||@d|auto:16777216|@x|", "", false, kNoLimit, 16777216},
    {"window auto:99", 0, "a|b||r1|r2||d|auto:99|x|", "",
     "最大比對字數該欄可填 auto, 或 auto: 加上介於 100 ~ 16777216 的上限!",
     "@a|@b||@r1|@r2||@d|auto:99|x|", "lookAheadField"},
    {"window auto:", 0, "a|b||r1|r2||d|auto:|x|", "",
     "最大比對字數該欄可填 auto, 或 auto: 加上介於 100 ~ 16777216 的上限!",
     "@a|@b||@r1|@r2||@d|auto:|x|", "lookAheadField"},
    {"window autox", 0, "a|b||r1|r2||d|autox|x|", "",
     "最大比對數字該欄必需為數字!", "@a|@b||@r1|@r2||@d|autox|x|",
     "lookAheadField"},
    // Two or three files; the third source is never completed.
    {"three files", 1, "a|b|c|r1|r2|r3|d|100|x|", "", "",
     "@a|@b|c|@r1|@r2|@r3|@d|100|@x|", "", true, kNoLimit},
    {"no item is three files", -1, "a|b|c|r1|r2|r3|d|100|x|", "", "",
     "@a|@b|c|@r1|@r2|@r3|@d|100|@x|", "", true, kNoLimit},
    {"two files ignore the third", 0, "a|b|c|r1|r2|r3|d|100|x|", "", "",
     "@a|@b|c|@r1|@r2|r3|@d|100|@x|", "", false, kNoLimit},
    {"three files, source 3 empty", 1, "a|b||r1|r2||d|100|x|", "", "",
     "@a|@b||@r1|@r2||@d|100|@x|", "", false, kNoLimit},
    // Names with a folder part stay as typed; only '/' divides a name here.
    {"folder parts", 0, "sub/a|/abs/b||./r1|r2||d|100|x|", "", "",
     "sub/a|/abs/b||./r1|@r2||@d|100|@x|", "", false, kNoLimit},
    {"許 (B3 5C) and backslash", 0, "許多.txt|sub\\b||C:r1|r2||d|100|x|", "",
     "", "@許多.txt|@sub\\b||@C:r1|@r2||@d|100|@x|", "", false, kNoLimit},
};

}  // namespace

class CheckInputTest : public QObject {
  Q_OBJECT

 private slots:
  void Checks_data() {
    QTest::addColumn<int>("row");
    for (int i = 0; i < int(std::size(kRows)); ++i) {
      QTest::newRow(kRows[i].name) << i;
    }
  }

  void Checks() {
    QFETCH(int, row);
    const Row& r = kRows[row];
    MainWindow window;
    window.show();  // the first show sets StartDir
    const QString start_dir = window.run_control().StartDir;
    QCOMPARE(start_dir, QCoreApplication::applicationDirPath() + "/");

    // A click, as a user would choose; no item is what a settings file can
    // leave.
    const WindowControls c = Controls(window);
    RadioGroup* const count = c.source_count_group;
    if (r.mode >= 0) {
      count->Item(r.mode)->click();
    } else {
      count->SetItemIndex(r.mode);
    }
    const QStringList fields = QString(r.fields).split('|');
    for (int i = 0; i < fields.size(); ++i) {
      window.findChild<QLineEdit*>(kFields[i])->setText(fields[i]);
    }
    const QString options = r.options;
    (options.contains('m') ? c.use_sign_memo_button : c.use_sign_file_button)
        ->setChecked(true);
    c.diff_limit_box->setChecked(options.contains('l'));
    Controls(window)
        .run_button->setFocus();  // never a field that a check names

    BoxRecorder boxes;
    const bool passed = window.CheckInput();
    const QString message = r.message;
    QCOMPARE(boxes.texts,
             message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(passed, message.isEmpty());
    if (passed) {
      QCOMPARE(window.run_control().ThreeFiles, r.three_files);
      QCOMPARE(window.run_control().DiffLimit, r.diff_limit);
      QCOMPARE(window.run_control().AutoWindow, r.max_window != 0);
      if (r.max_window != 0) {
        QCOMPARE(window.run_control().MaxWindow, r.max_window);
      }
    } else {
      QCOMPARE(window.focusWidget()->objectName(), QString(r.focus));
    }
    const QStringList after =
        QString(r.after).replace('@', start_dir).split('|');
    for (int i = 0; i < after.size(); ++i) {
      QCOMPARE(window.findChild<QLineEdit*>(kFields[i])->text(), after[i]);
    }
  }
};

}  // namespace tessel::app::testing

TESSEL_APP_TEST_MAIN(tessel::app::testing::CheckInputTest)
#include "CheckInputTest.moc"
