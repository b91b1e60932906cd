// The pieces under the window: splitting and converting field texts, the
// message boxes, and the application object's exception guard.

#include <stdexcept>

#include "AppTestSupport.h"
#include "FileNames.h"
#include "OpenFileDialog.h"

namespace tessel::app::testing {
namespace {

// An object whose every event handler fails.
struct Throwing : QObject {
  bool event(QEvent*) override { throw std::runtime_error("handler failed"); }
};

}  // namespace

class SupportTest : public QObject {
  Q_OBJECT

 private slots:
  void SplitsAtTheLastDelimiter_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("directory");
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("bare name") << "a.txt"
                               << "";
    QTest::newRow("absolute") << "/texts/a.txt"
                              << "/texts/";
    QTest::newRow("ends in delimiter") << "/texts/"
                                       << "/texts/";
    QTest::newRow("許 is one character") << "許/許"
                                         << "許/";
    // Only '/' divides a name on POSIX systems.
    QTest::newRow("backslash") << "sub\\a.txt"
                               << "";
    QTest::newRow("colon") << "C:a.txt"
                           << "";
  }

  void SplitsAtTheLastDelimiter() {
    QFETCH(QString, text);
    QFETCH(QString, directory);
    QCOMPARE(DirectoryPart(text), directory);
    QCOMPARE(DirectoryPart(text) + NamePart(text), text);
  }

  void ConvertsToBig5_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("big5");
    QTest::newRow("ASCII, line feed") << "a 1\n" << QByteArray("a 1\n");
    QTest::newRow("許, second byte 5C") << "許" << QByteArray("\xB3\x5C");
    QTest::newRow("full-width space") << "　" << QByteArray("\xA1\x40");
    QTest::newRow("double bar") << "║" << QByteArray("\xF9\xF8");
    QTest::newRow("no Big5 form: left out")
        << "a\u00E9b\U0001F600c" << QByteArray("abc");
  }

  void ConvertsToBig5() {
    QFETCH(QString, text);
    QFETCH(QByteArray, big5);
    QCOMPARE(QByteArray::fromStdString(ToBig5(text)), big5);
    if (text.size() == 1) QCOMPARE(FromBig5(big5.toStdString()), text);
  }

  // The boxes shown for real, answered by keys as a user would.
  void Boxes_data() {
    QTest::addColumn<bool>("confirm");  // else the simple box
    QTest::addColumn<int>("key");       // 0: closed by its title bar
    QTest::addColumn<bool>("yes");
    QTest::newRow("simple box, Enter") << false << int(Qt::Key_Return) << false;
    QTest::newRow("confirm, Enter is Yes")
        << true << int(Qt::Key_Return) << true;
    QTest::newRow("confirm, Escape is No")
        << true << int(Qt::Key_Escape) << false;
    QTest::newRow("confirm, closed is No") << true << 0 << false;
  }

  void Boxes() {
    QFETCH(bool, confirm);
    QFETCH(int, key);
    QFETCH(bool, yes);
    QString seen;
    WhenModal([&](QWidget* widget) {
      auto* box = qobject_cast<QMessageBox*>(widget);
      seen = box->windowTitle() + "|" + QString::number(box->icon());
      for (QAbstractButton* button : box->buttons())
        seen += "|" + button->text();
      key != 0 ? QTest::keyClick(box, Qt::Key(key)) : void(box->close());
      // Had the key done nothing, the box gets the wrong answer.
      for (QAbstractButton* button : box->buttons()) {
        if (box->isVisible() && button->text() == (yes ? "&No" : "&Yes")) {
          button->click();
        }
      }
    });
    if (confirm) {
      QCOMPARE(AskConfirmation(nullptr, "是否確定結束?"), yes);
      QCOMPARE(seen, QString("Confirm|%1|&Yes|&No").arg(QMessageBox::Question));
    } else {
      ShowSimpleMessage(nullptr, "完成 !");
      QCOMPARE(seen, QString("檔案比對程式|%1|OK").arg(QMessageBox::NoIcon));
    }
  }

  // Qt's file dialog, used and closed, leaves no settings file of its own
  // in the user's configuration folder: tessel.ini is the only one.
  void NoSecondSettingsFile() {
    const QString qt_file =
        qEnvironmentVariable("XDG_CONFIG_HOME") + "/QtProject.conf";
    {
      QWidget parent;
      QtOpenFileDialog dialog(&parent, {"所有檔案 (*.*)"}, "所有檔案 (*.*)");
      WhenModal([](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); });
      QCOMPARE(dialog.Run(), std::nullopt);
    }
    QVERIFY(!QFile::exists(qt_file));
  }

  // The file dialog speaks Chinese, like the window, where the system has
  // Qt's translation (Debian's qt6-translations-l10n).
  void QtTextsInChinese() {
    const QString catalog =
        QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_zh_TW.qm";
    if (!QFile::exists(catalog)) QSKIP("Qt's translation is not installed");
    QCOMPARE(QCoreApplication::translate("QFileDialog", "Look in:"),
             QString("尋找於："));
  }

  void ExceptionInAHandlerIsShown() {
    Throwing throwing;
    BoxRecorder boxes;
    QEvent event(QEvent::User);
    QCOMPARE(QCoreApplication::sendEvent(&throwing, &event), false);
    QCOMPARE(boxes.texts, QStringList{"handler failed"});
    QCOMPARE(boxes.icons.value(0), QMessageBox::Critical);
    // The loop goes on: later events are still delivered.
    bool delivered = false;
    QCoreApplication::postEvent(&throwing, new QEvent(QEvent::User));
    QTimer::singleShot(0, qApp, [&] { delivered = true; });
    QTRY_VERIFY(delivered);
    QCOMPARE(boxes.texts.size(), 2);
  }
};

}  // namespace tessel::app::testing

TESSEL_APP_TEST_MAIN(tessel::app::testing::SupportTest)
#include "SupportTest.moc"
