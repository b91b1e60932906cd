// Copied text handed over in batches of pieces: every writer must write
// exactly what it writes when handed the same pieces one call at a time.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "HtmlReportPage.h"
#include "HtmlReportWriter.h"
#include "JsonReportWriter.h"
#include "SyntheticRun.h"
#include "TeiWriter.h"

namespace tessel::testing {
namespace {

struct Piece {
  std::string text;
  bool ignored;
  bool verbatim = false;
};
using Pieces = std::vector<Piece>;
using MakeWriter =
    std::function<std::unique_ptr<DifferenceSink>(OutputStream&)>;

// Plays `pieces` to source 1 and then source 2, one call a piece or all in
// one batch, between the run's begin and end.
std::string Written(const MakeWriter& make, const Pieces& pieces,
                    bool batched) {
  std::string bytes;
  auto out = OutputStream::ToString(&bytes, OutputStream::Mode::kBinary);
  std::unique_ptr<DifferenceSink> writer = make(*out);
  SyntheticRun run(2, {"，"});
  writer->BeginRun(run.description);
  std::string text;
  std::vector<CopiedPiece> ends;
  for (const Piece& piece : pieces) {
    text += piece.text;
    ends.push_back({static_cast<std::uint32_t>(text.size()), piece.ignored,
                    piece.verbatim});
  }
  for (int k = 0; k < 2; ++k) {
    if (batched) {
      writer->CopyPieces(k, CopiedPieces{text, ends});
    } else {
      for (const Piece& piece : pieces) {
        writer->CopyText(k, piece.text, piece.ignored);
      }
    }
  }
  writer->EndRun(run.end);
  out->Close();
  return bytes;
}

// Short verbatim pieces, ignored and not by turns, past several flushes of
// the HTML's pending text, so that items end inside a row of them.
Pieces ManyShortVerbatimPieces() {
  Pieces pieces;
  for (int i = 0; i < 20000; ++i) {
    pieces.push_back({"道可", false, true});
    pieces.push_back({i % 3 == 0 ? "，。" : "，", true, true});
  }
  return pieces;
}

TEST(CopyPiecesTest, ABatchWritesWhatItsPiecesWriteOneByOne) {
  const std::string mark(reports::kIgnoredMark);
  const std::vector<std::pair<const char*, Pieces>> cases = {
      {"alternating", {{"道可", false}, {"，", true}, {"道\n", false}}},
      {"same kind twice",
       {{"道", false}, {"可", false}, {"\n", true}, {"，", true}}},
      {"the page's mark in the text",
       {{"a" + mark + "b", false}, {"，", true}, {mark, false}}},
      // Verbatim pieces are copied as they are, the others escaped.
      {"verbatim pieces",
       {{"道可", false, true},
        {"，", true, true},
        {"<&\"\n", false},
        {"道\n", false},
        {"非常", false, true}}},
      {"beyond the flush size",
       {{std::string(reports::kHtmlFlushBytes + 7, 'x'), false},
        {"，", true},
        {std::string(reports::kHtmlFlushBytes, 'y'), false}}},
      {"short verbatim pieces beyond the flush size",
       ManyShortVerbatimPieces()},
  };
  const std::vector<std::pair<const char*, MakeWriter>> writers = {
      {"html",
       [](OutputStream& out) {
         return std::make_unique<reports::HtmlReportWriter>(out, "t");
       }},
      {"tei",
       [](OutputStream& out) {
         return std::make_unique<reports::TeiWriter>(out, "t");
       }},
      {"json",
       [](OutputStream& out) {
         return std::make_unique<reports::JsonReportWriter>(out, "t");
       }},
  };
  for (const auto& [name, pieces] : cases) {
    for (const auto& [writer, make] : writers) {
      const std::string one_by_one = Written(make, pieces, false);
      EXPECT_EQ(Written(make, pieces, true), one_by_one)
          << name << ", " << writer;
      // The pieces reached the page at all.
      if (std::string(writer) != "json") {
        EXPECT_GT(one_by_one.size(), Written(make, {}, false).size())
            << name << ", " << writer;
      }
    }
  }
}

}  // namespace
}  // namespace tessel::testing
