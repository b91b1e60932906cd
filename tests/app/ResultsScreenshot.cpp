// Saves a picture of the results view over a real run, for the
// documentation: the run's result files are replayed into the window's
// sink (ResultReplay.h), and the view shows difference ROW.
//
//   results-screenshot OUT.png ROW SIGNS SOURCE1 RESULT1 SOURCE2 RESULT2
//                      [SOURCE3 RESULT3]

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "NotationTable.h"
#include "ResultReplay.h"
#include "ResultsSink.h"
#include "ResultsWindow.h"
#include "RunOptions.h"
#include "ShellLauncher.h"
#include "SignFile.h"
#include "SignSet.h"
#include "SourceStream.h"
#include "TesselApplication.h"

namespace {

using namespace tessel;

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// The window must be drawn before it is grabbed.
constexpr int kDrawDelayMs = 1500;

}  // namespace

int main(int argc, char** argv) {
  app::TesselApplication application(argc, argv);
  const QStringList args = QCoreApplication::arguments().mid(1);
  if (args.size() != 7 && args.size() != 9) {
    std::fprintf(stderr,
                 "usage: results-screenshot OUT.png ROW SIGNS SOURCE1 RESULT1 "
                 "SOURCE2 RESULT2 [SOURCE3 RESULT3]\n");
    return 2;
  }
  const QString out = args[0];
  const int row = args[1].toInt();
  NotationTable notations;
  SignSet signs;
  TokenReader reader(notations, signs, true);
  auto sign_file = SourceStream::OpenFile(args[2].toStdString());
  if (sign_file == nullptr) return 1;
  LoadSignFile(reader, *sign_file, signs);

  RunDescription description;
  description.source_count = (static_cast<int>(args.size()) - 3) / 2;
  description.window_size = kDefaultWindowSize;
  description.diff_limit = kNoReportLimit;
  std::vector<std::string> results;
  for (int k = 0; k < description.source_count; ++k) {
    const std::string source = args[3 + 2 * k].toStdString();
    description.sources[k].name =
        std::filesystem::path(source).filename().string();
    description.sources[k].encoding = "big5";
    description.sources[k].byte_size =
        static_cast<std::int64_t>(ReadBytes(source).size());
    results.push_back(ReadBytes(args[4 + 2 * k].toStdString()));
  }
  app::ResultsSink kept;
  const std::string error =
      testing::ReplayResults(results, reader, description, kept);
  if (!error.empty()) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }

  app::SystemShellLauncher launcher;
  app::ResultsWindow view(kept, launcher);
  view.show();
  view.ShowDifference(row);
  bool saved = false;
  QTimer::singleShot(kDrawDelayMs, &view, [&] {
    saved = view.grab().save(out);
    QCoreApplication::quit();
  });
  application.exec();
  return saved ? 0 : 1;
}
