// The desktop program's command line: which arguments become sources, which
// are answered without a window, which are refused; and how named sources
// fill the window over its settings.

#include "AppTestSupport.h"
#include "RadioAlternatives.h"
#include "StartupArguments.h"
#include "Tesselunit.h"

namespace tessel::app::testing {
namespace {

// One line for what a command line asks: "help", "version", "too many",
// "refused: <why>", or "window" followed by " <source>" for each source.
QString Outcome(const StartupArguments& parsed) {
  using Action = StartupArguments::Action;
  switch (parsed.action) {
    case Action::kHelp:
      return "help";
    case Action::kVersion:
      return "version";
    case Action::kUsageError:
      return "refused: " + parsed.error;
    case Action::kOpenWindow:
      break;
  }
  if (parsed.too_many_sources) return "too many";
  QString line = "window";
  for (const QString& source : parsed.sources) line += " " + source;
  return line;
}

}  // namespace

class StartupArgumentsTest : public QObject {
  Q_OBJECT

 private slots:
  void Parses_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("outcome");
    QTest::newRow("nothing") << QStringList{} << "window";
    QTest::newRow("relative names from the current folder")
        << QStringList{"a.txt", "sub/b.txt"}
        << "window /texts/a.txt /texts/sub/b.txt";
    QTest::newRow("absolute names kept, dot-dot left to the file system")
        << QStringList{"/x/a.txt", "/x/y/../b.txt", "c.txt"}
        << "window /x/a.txt /x/y/../b.txt /texts/c.txt";
    QTest::newRow("four files take none")
        << QStringList{"a", "b", "c", "d"} << "too many";
    QTest::newRow("help wins after files")
        << QStringList{"a.txt", "--help"} << "help";
    QTest::newRow("version") << QStringList{"--version"} << "version";
    QTest::newRow("unknown option")
        << QStringList{"a.txt", "-x"} << "refused: unknown option -x";
    QTest::newRow("a lone dash is a name")
        << QStringList{"-"} << "window /texts/-";
    QTest::newRow("after -- options are names")
        << QStringList{"--", "--help", "-x"}
        << "window /texts/--help /texts/-x";
    QTest::newRow("empty name")
        << QStringList{"a.txt", ""} << "refused: an empty file name";
  }
  void Parses() {
    QFETCH(QStringList, args);
    QFETCH(QString, outcome);
    QCOMPARE(Outcome(ParseStartupArguments(args, "/texts")), outcome);
  }

  // Each row starts from settings in the other mode with every source
  // field filled, so that a field or mode left alone shows.
  void FillsTheSources_data() {
    QTest::addColumn<int>("mode_before");
    QTest::addColumn<QStringList>("sources");
    QTest::addColumn<QString>("fields");
    QTest::addColumn<int>("mode_after");
    QTest::newRow("none: nothing changes")
        << 1 << QStringList{} << "old1|old2|old3" << 1;
    QTest::newRow("one: the first source, the mode kept")
        << 1 << QStringList{"/t/a"} << "/t/a|old2|old3" << 1;
    QTest::newRow("two: two-file mode")
        << 1 << QStringList{"/t/a", "/t/b"} << "/t/a|/t/b|old3" << 0;
    QTest::newRow("three: three-file mode")
        << 0 << QStringList{"/t/a", "/t/b", "/t/c"} << "/t/a|/t/b|/t/c" << 1;
  }
  void FillsTheSources() {
    QFETCH(int, mode_before);
    QFETCH(QStringList, sources);
    QFETCH(QString, fields);
    QFETCH(int, mode_after);
    MainWindow window;
    window.show();
    const WindowControls c = Controls(window);
    c.source1_field->setText("old1");
    c.source2_field->setText("old2");
    c.source3_field->setText("old3");
    c.source_count_group->Item(mode_before)->click();

    FillStartupSources(window, sources);

    QCOMPARE(QStringList({c.source1_field->text(), c.source2_field->text(),
                          c.source3_field->text()})
                 .join('|'),
             fields);
    QCOMPARE(c.source_count_group->ItemIndex(), mode_after);
    QCOMPARE(c.source3_field->isVisible(), mode_after == 1);
    QCOMPARE(c.result3_field->isVisible(), mode_after == 1);
  }
};

}  // namespace tessel::app::testing

TESSEL_APP_TEST_MAIN(tessel::app::testing::StartupArgumentsTest)

#include "StartupArgumentsTest.moc"
