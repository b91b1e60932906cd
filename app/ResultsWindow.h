// The results view: a window of its own, shown after a run, with the list
// of differences on the left and the editions side by side on the right.
// Choosing a difference in the list shows it, highlighted, in every
// edition. A button writes the HTML report of the run and opens it in the
// system's browser.
//
// Each edition pane holds only an excerpt of its edition around the chosen
// difference (kContextBytes either side), and the list makes its rows on
// demand, so the view opens at once on editions of megabytes with tens of
// thousands of differences.

#ifndef TESSEL_APP_RESULTSWINDOW_H_
#define TESSEL_APP_RESULTSWINDOW_H_

#include <QString>
#include <QWidget>
#include <array>
#include <cstddef>
#include <memory>
#include <optional>

#include "DifferenceSink.h"

class QLabel;
class QListView;
class QPlainTextEdit;
class QPushButton;

namespace tessel::app {

class DifferenceListModel;
class ResultsSink;
class ShellLauncher;

// A pane's excerpt of one edition around one difference.
struct EditionExcerpt {
  QString text;
  // Where the difference's span lies in `text`, in UTF-16 units.
  int highlight_start = 0;
  int highlight_length = 0;
};

// The excerpt of `text` (UTF-8) around the bytes [start, start + length):
// up to `context` bytes either side, widened to whole characters and, where
// a line break lies within the context, starting at a line's start. Line
// ends come out as "\n" alone (CR LF and a lone CR included), as a text
// pane shows them, and the highlight counts in that text.
EditionExcerpt ExcerptAround(std::string_view text, std::size_t start,
                             std::size_t length, std::size_t context);

class ResultsWindow : public QWidget {
  Q_OBJECT

 public:
  // Bytes of an edition shown either side of the chosen difference.
  static constexpr std::size_t kContextBytes = 6 * 1024;

  // `results` must have been started and must outlive the window, and so
  // must `launcher`, which opens the report.
  ResultsWindow(const ResultsSink& results, ShellLauncher& launcher,
                QWidget* parent = nullptr);
  ~ResultsWindow() override;

  // Shows difference `row` (from 0) in the list and in every edition.
  void ShowDifference(int row);
  // The row shown, or -1 before any.
  int CurrentRow() const { return current_row_; }

  // Writes the HTML report into a new file in the system's temporary
  // folder and opens it with the system's browser. Returns the file's
  // path, or nothing after telling the user why it failed.
  std::optional<QString> OpenHtmlReport();

 private:
  void ShowSummary();

  const ResultsSink& results_;
  ShellLauncher& launcher_;
  std::unique_ptr<DifferenceListModel> model_;
  QLabel* summary_;
  QListView* list_;
  std::array<QLabel*, kMaxReportSources> edition_titles_{};
  std::array<QPlainTextEdit*, kMaxReportSources> editions_{};
  QPushButton* report_button_;
  int current_row_ = -1;
};

}  // namespace tessel::app

#endif  // TESSEL_APP_RESULTSWINDOW_H_
