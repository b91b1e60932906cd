// The results view: the window's sink keeps a run whole (its replay writes
// the same report as the run itself), the view shows the chosen difference
// highlighted in every edition, stays lazy on a run of corpus size, and
// opens its HTML report through the shell.

#include "AppTestSupport.h"
#include "DifferenceListModel.h"
#include "HtmlReportWriter.h"
#include "OutputStream.h"
#include "ReportCases.h"
#include "ResultsSink.h"
#include "ResultsWindow.h"
#include "ShellLauncher.h"
#include "SyntheticRun.h"
#include "Tesselunit.h"

namespace tessel::app::testing {

namespace {

using tessel::testing::GenerateRun;
using tessel::testing::SmallVariantRun;
using tessel::testing::SyntheticRun;
using tessel::testing::ThreeSourceVariantRun;

std::string HtmlOf(const std::function<void(DifferenceSink&)>& play) {
  std::string html;
  auto out = OutputStream::ToString(&html, OutputStream::Mode::kBinary);
  reports::HtmlReportWriter writer(*out, "Tessel");
  play(writer);
  out->Close();
  return html;
}

struct RecordingLauncher : ShellLauncher {
  int Open(QWidget*, const ShellOpenRequest& request) override {
    requests.push_back(request);
    return result;
  }
  QList<ShellOpenRequest> requests;
  int result = kShellStarted;
};

// Two editions with CR LF line ends whose second difference ("爲" against
// "為") stands on line 2 of source 1 and line 3 of source 2, between
// ignored symbols.
SyntheticRun SmallRun(int sources) {
  SyntheticRun run(sources, {"，"});
  run.Same("天地玄黃");
  run.Differ(sources == 3 ? std::vector<std::string>{"宇", "", "宇"}
                          : std::vector<std::string>{"宇", ""});
  run.Same("宙洪荒\r\n");
  run.Own(1, "\r\n");
  run.Same("日月，");
  run.Differ(sources == 3 ? std::vector<std::string>{"爲", "為", "為"}
                          : std::vector<std::string>{"爲", "為"});
  run.Same("盈昃\n");
  run.Finish(ReportOutcome::kCompleted);
  return run;
}

// What edition pane k highlights, and the whole text it holds.
struct Highlighted {
  QString span;
  QString pane;
};
Highlighted HighlightOf(ResultsWindow& view, int k) {
  auto* edition =
      view.findChild<QPlainTextEdit*>(QStringLiteral("edition%1").arg(k + 1));
  if (edition == nullptr || edition->extraSelections().size() != 1) return {};
  return {edition->extraSelections()[0].cursor.selectedText(),
          edition->toPlainText()};
}

}  // namespace

class ResultsViewTest : public QObject {
  Q_OBJECT

 private slots:
  // The report is written from the kept run after it is over: any piece
  // the sink lost, merged wrongly or reordered shows in the bytes.
  void ReplayWritesTheSameReportAsTheRun_data() {
    QTest::addColumn<int>("sources");
    QTest::addColumn<int>("outcome");
    QTest::newRow("two, completed") << 2 << int(ReportOutcome::kCompleted);
    QTest::newRow("three, completed") << 3 << int(ReportOutcome::kCompleted);
    QTest::newRow("two, cut off") << 2 << int(ReportOutcome::kCutOffNoAnchor);
    QTest::newRow("three, stopped") << 3 << int(ReportOutcome::kStopped);
  }

  void ReplayWritesTheSameReportAsTheRun() {
    QFETCH(int, sources);
    QFETCH(int, outcome);
    const SyntheticRun run =
        GenerateRun(7, sources, 300, 12, static_cast<ReportOutcome>(outcome));
    ResultsSink kept;
    run.Play(kept);
    QVERIFY(kept.started() && kept.ended());
    QCOMPARE(kept.size(), std::size_t{300});
    for (int k = 0; k < sources; ++k) {
      QCOMPARE(std::string(kept.Text(k)), run.texts[k]);
    }
    QVERIFY(HtmlOf([&](DifferenceSink& s) { kept.Replay(s); }) ==
            HtmlOf([&](DifferenceSink& s) { run.Play(s); }));
  }

  // Variants come back in their places among the texts and differences,
  // so the report written later marks them as the run's own would.
  void ReplayKeepsTheVariants_data() {
    QTest::addColumn<int>("sources");
    QTest::newRow("two") << 2;
    QTest::newRow("three, stopped") << 3;
  }

  void ReplayKeepsTheVariants() {
    QFETCH(int, sources);
    const SyntheticRun run =
        sources == 2 ? SmallVariantRun() : ThreeSourceVariantRun();
    ResultsSink kept;
    run.Play(kept);
    QCOMPARE(kept.variants().size(),
             static_cast<std::size_t>(run.end.variant_count));
    const std::string replayed =
        HtmlOf([&](DifferenceSink& s) { kept.Replay(s); });
    QVERIFY(replayed.find("[-2,1,") != std::string::npos);
    QVERIFY(replayed == HtmlOf([&](DifferenceSink& s) { run.Play(s); }));
  }

  // Chosen in the list or by number, a difference is the one highlighted
  // in every edition, and each edition's title names its line.
  void ShowsTheChosenDifferenceInEveryEdition_data() {
    QTest::addColumn<int>("sources");
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("spans");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("two, an omission")
        << 2 << 0 << QStringList{"宇", ""} << QStringList{"1", "1"};
    QTest::newRow("two, a substitution")
        << 2 << 1 << QStringList{"爲", "為"} << QStringList{"2", "3"};
    QTest::newRow("three, a substitution")
        << 3 << 1 << QStringList{"爲", "為", "為"}
        << QStringList{"2", "3", "2"};
  }

  void ShowsTheChosenDifferenceInEveryEdition() {
    QFETCH(int, sources);
    QFETCH(int, row);
    QFETCH(QStringList, spans);
    QFETCH(QStringList, lines);
    ResultsSink kept;
    SmallRun(sources).Play(kept);
    RecordingLauncher launcher;
    ResultsWindow view(kept, launcher);
    view.show();
    auto* list = view.findChild<QListView*>(QStringLiteral("differenceList"));
    QVERIFY(list != nullptr);
    // Chosen as a user does: the other row first, then this one.
    list->setCurrentIndex(list->model()->index(1 - row, 0));
    list->setCurrentIndex(list->model()->index(row, 0));
    QCOMPARE(view.CurrentRow(), row);
    for (int k = 0; k < sources; ++k) {
      const Highlighted shown = HighlightOf(view, k);
      QCOMPARE(shown.span, spans[k]);
      QVERIFY2(shown.pane.contains("日月"), qPrintable(shown.pane));
      auto* title =
          view.findChild<QLabel*>(QStringLiteral("editionTitle%1").arg(k + 1));
      QVERIFY(title->text().endsWith("第 " + lines[k] + " 行"));
    }
  }

  void ListRowsSayNumberLinesAndSpans() {
    ResultsSink kept;
    SmallRun(3).Play(kept);
    DifferenceListModel model(kept);
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.RowText(0), QString("1  第 1 / 1 / 1 行  宇 | — | 宇"));
    QCOMPARE(model.RowText(1), QString("2  第 2 / 3 / 2 行  爲 | 為 | 為"));
  }

  // A run the size of the largest corpus pair: the list makes rows only on
  // demand, and each edition pane holds an excerpt, never the edition.
  void ALargeRunIsShownInExcerpts() {
    constexpr int kDifferences = 46287;
    const SyntheticRun run =
        GenerateRun(11, 2, kDifferences, 40, ReportOutcome::kCompleted);
    ResultsSink kept;
    run.Play(kept);
    QVERIFY(kept.Text(0).size() > 4 * ResultsWindow::kContextBytes);
    RecordingLauncher launcher;
    ResultsWindow view(kept, launcher);
    view.show();
    auto* list = view.findChild<QListView*>(QStringLiteral("differenceList"));
    QVERIFY(list->uniformItemSizes());
    QCOMPARE(list->model()->rowCount(), kDifferences);
    for (const int row : {0, kDifferences / 2, kDifferences - 1}) {
      view.ShowDifference(row);
      for (int k = 0; k < 2; ++k) {
        const QString pane = HighlightOf(view, k).pane;
        QVERIFY(!pane.isEmpty());
        QVERIFY(static_cast<std::size_t>(pane.size()) <=
                2 * ResultsWindow::kContextBytes + 200);
      }
    }
  }

  void ExcerptsKeepWholeCharactersAndLines_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("start");  // bytes
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("context");
    QTest::addColumn<QString>("excerpt");
    QTest::addColumn<QString>("span");
    // 天 and 地 are 3 bytes each in UTF-8.
    QTest::newRow("all within the context")
        << "天地ab" << 6 << 1 << 100 << "天地ab"
        << "a";
    QTest::newRow("context ends inside a character")
        << "天地玄黃" << 3 << 3 << 1 << "天地玄"
        << "地";
    QTest::newRow("starts at the line within the context")
        << "天地\n玄黃宇" << 13 << 3 << 8 << "玄黃宇"
        << "宇";
    QTest::newRow("CR LF and lone CR are one line break each")
        << "天\r\n地\r玄\r\n黃" << 9 << 3 << 100 << "天\n地\n玄\n黃"
        << "玄";
    QTest::newRow("an empty span at the end") << "天地" << 6 << 0 << 3 << "地"
                                              << "";
    QTest::newRow("a span past the end is cut to the text")
        << "天地" << 3 << 50 << 0 << "地"
        << "地";
  }

  void ExcerptsKeepWholeCharactersAndLines() {
    QFETCH(QString, text);
    QFETCH(int, start);
    QFETCH(int, length);
    QFETCH(int, context);
    QFETCH(QString, excerpt);
    QFETCH(QString, span);
    const std::string bytes = text.toStdString();
    const EditionExcerpt got = ExcerptAround(bytes, start, length, context);
    QCOMPARE(got.text, excerpt);
    QCOMPARE(got.text.mid(got.highlight_start, got.highlight_length), span);
  }

  // The report goes to a new file that the shell is asked to open: the
  // same bytes the run's own report would have, and a new name each time.
  void OpensTheHtmlReportInTheBrowser() {
    const SyntheticRun run =
        GenerateRun(3, 3, 40, 10, ReportOutcome::kCutOffLimit);
    ResultsSink kept;
    run.Play(kept);
    RecordingLauncher launcher;
    ResultsWindow view(kept, launcher);
    auto* button =
        view.findChild<QPushButton*>(QStringLiteral("htmlReportButton"));
    BoxRecorder boxes;
    button->click();
    const std::optional<QString> second = view.OpenHtmlReport();
    QVERIFY(second.has_value());
    QCOMPARE(launcher.requests.size(), 2);
    const QString first = launcher.requests[0].file;
    QCOMPARE(launcher.requests[0].verb, QString("open"));
    QVERIFY(first.endsWith(".html") && first != *second);
    const QByteArray expected = QByteArray::fromStdString(
        HtmlOf([&](DifferenceSink& s) { run.Play(s); }));
    QVERIFY(ReadBytes(first) == expected);
    QVERIFY(ReadBytes(*second) == expected);
    QVERIFY(boxes.texts.isEmpty());
    QFile::remove(first);
    QFile::remove(*second);

    // No browser to open it with: the user is told.
    launcher.result = kShellNoAssociation;
    const std::optional<QString> third = view.OpenHtmlReport();
    QCOMPARE(boxes.texts, QStringList{ShellResultMessage(kShellNoAssociation)});
    if (third) QFile::remove(*third);
  }

  // The main window offers the view only when a run handed results over,
  // and a new run's results replace the view of the last.
  void TheWindowOffersResultsOnlyWhenARunGaveThem() {
    MainWindow window;
    window.show();
    auto* button = window.findChild<QPushButton*>("resultsButton");
    QVERIFY(button != nullptr && button->isHidden());

    auto kept = std::make_unique<ResultsSink>();
    SmallRun(2).Play(*kept);
    window.KeepResults(std::move(kept));
    QVERIFY(!button->isHidden());
    button->click();
    QVERIFY(window.results_window() != nullptr &&
            window.results_window()->isVisible());
    QCOMPARE(HighlightOf(*window.results_window(), 0).span, QString("宇"));

    window.KeepResults(std::make_unique<ResultsSink>());
    QVERIFY(button->isHidden());
    QCOMPARE(window.results_window(), nullptr);
  }

  // Closing the main window closes its results view, else the program
  // would go on running behind a window that can start no run.
  void ClosingTheWindowClosesItsResults() {
    MainWindow window;
    window.show();
    auto kept = std::make_unique<ResultsSink>();
    SmallRun(2).Play(*kept);
    window.KeepResults(std::move(kept));
    window.ShowResults();
    QVERIFY(window.results_window()->isVisible());
    QVERIFY(window.close());
    QVERIFY(!window.results_window()->isVisible());
  }
};

}  // namespace tessel::app::testing

TESSEL_APP_TEST_MAIN(tessel::app::testing::ResultsViewTest)
#include "ResultsViewTest.moc"
