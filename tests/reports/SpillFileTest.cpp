// The spill gives back what was appended, in order, whatever the sizes of
// the pieces against its file chunks, and can be used again once emptied.

#include "SpillFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tessel::testing {
namespace {

TEST(SpillFileTest, GivesBackEveryPieceInOrder) {
  const std::size_t chunk = 64 * 1024;
  struct Case {
    const char* name;
    std::vector<std::size_t> pieces;  // sizes
  };
  const Case cases[] = {
      {"nothing", {}},
      {"empty piece", {0}},
      {"small pieces", {1, 7, 300}},
      {"exactly one chunk", {chunk}},
      {"across chunks", {chunk - 1, 2, 3 * chunk + 5, 10}},
  };
  reports::SpillFile spill;
  for (int round = 0; round < 2; ++round) {
    for (const Case& c : cases) {
      std::string expected;
      for (std::size_t i = 0; i < c.pieces.size(); ++i) {
        std::string piece(c.pieces[i], '\0');
        for (std::size_t j = 0; j < piece.size(); ++j) {
          piece[j] = static_cast<char>('a' + (i * 7 + j) % 26);
        }
        spill.Append(piece);
        expected += piece;
      }
      std::string out;
      auto stream = OutputStream::ToString(&out, OutputStream::Mode::kBinary);
      EXPECT_TRUE(spill.MoveTo(*stream)) << c.name;
      stream->Close();
      EXPECT_EQ(out.size(), expected.size()) << c.name << ", round " << round;
      EXPECT_TRUE(out == expected) << c.name << ", round " << round;
    }
  }
}

}  // namespace
}  // namespace tessel::testing
