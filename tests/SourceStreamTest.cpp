// The buffered source: stdio's end-of-file indicator, reads and seeks
// across buffer edges, 64-bit offsets, and read errors.

#include "SourceStream.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "TestSupport.h"

namespace tessel::testing {
namespace {

// Sources of both kinds with the same bytes.
std::vector<std::unique_ptr<SourceStream>> BothKinds(const TempDir& dir,
                                                     const std::string& bytes) {
  WriteFile(dir / "source", bytes);
  std::vector<std::unique_ptr<SourceStream>> sources;
  sources.push_back(SourceStream::OpenFile(dir / "source"));
  sources.push_back(SourceStream::FromBytes(bytes));
  return sources;
}

TEST(SourceStreamTest, EndOfFileIndicatorFollowsStdio) {
  TempDir dir;
  for (auto& src : BothKinds(dir, "ab")) {
    EXPECT_EQ(src->Getc(), 'a');
    EXPECT_EQ(src->Getc(), 'b');
    // Reading the last byte does not set it; reading past the end does.
    EXPECT_FALSE(src->Eof());
    EXPECT_EQ(src->Getc(), SourceStream::kEnd);
    EXPECT_TRUE(src->Eof());
    EXPECT_EQ(src->Getc(), SourceStream::kEnd);
    EXPECT_EQ(src->Tell(), 2);
    // Every seek clears it, even one to where the stream stands.
    src->SeekRelative(0);
    EXPECT_FALSE(src->Eof());
    src->SeekRelative(-1);
    EXPECT_EQ(src->Getc(), 'b');
    EXPECT_FALSE(src->Eof());
    src->Seek(10);
    EXPECT_EQ(src->Getc(), SourceStream::kEnd);
    EXPECT_TRUE(src->Eof());
    EXPECT_FALSE(src->Error());
    // Finding the length leaves position and indicator alone.
    EXPECT_EQ(src->Length(), 2);
    EXPECT_EQ(src->Tell(), 10);
    EXPECT_TRUE(src->Eof());
  }
}

TEST(SourceStreamTest, ReadLineStopsAfterLineFeedOrAtLimit) {
  TempDir dir;
  for (auto& src : BothKinds(dir, "ab\ncdef")) {
    unsigned char line[8];
    EXPECT_EQ(src->ReadLine(line, 8), 3u);
    EXPECT_EQ(std::string(line, line + 3), "ab\n");
    EXPECT_FALSE(src->Eof());
    EXPECT_EQ(src->ReadLine(line, 2), 2u);
    EXPECT_FALSE(src->Eof());
    EXPECT_EQ(src->ReadLine(line, 8), 2u);
    EXPECT_EQ(std::string(line, line + 2), "ef");
    EXPECT_TRUE(src->Eof());
    EXPECT_EQ(src->ReadLine(line, 8), 0u);
  }
}

TEST(SourceStreamTest, ReadsAndSeeksAcrossBufferEdges) {
  // Bytes that tell their own offset, over several 64 KiB buffers.
  std::string bytes(300'000, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
  }
  TempDir dir;
  for (auto& src : BothKinds(dir, bytes)) {
    for (std::int64_t at : {65535, 65536, 131071, 0, 299'999, 65530, 1}) {
      src->Seek(at);
      for (std::int64_t i = at; i < std::min<std::int64_t>(at + 12, 300'000);
           ++i) {
        ASSERT_EQ(src->Getc(), static_cast<unsigned char>(bytes[i])) << i;
      }
      // Step back over a buffer edge and read again.
      src->Seek(at);
      const int first = src->Getc();
      src->SeekRelative(-1);
      EXPECT_EQ(src->Getc(), first) << at;
      EXPECT_EQ(src->Tell(), at + 1) << at;
      EXPECT_EQ(src->PrecededByNul(), bytes[at] == 0) << at;
    }
    src->Seek(0);
    std::size_t n = 0;
    while (src->Getc() != SourceStream::kEnd) ++n;
    EXPECT_EQ(n, bytes.size());
  }
}

TEST(SourceStreamTest, SeesNulBeforeThePositionInAFreshBuffer) {
  std::string bytes(70'000, 'x');
  bytes[65536] = '\0';
  auto src = SourceStream::FromBytes(bytes);
  src->Seek(65537);
  EXPECT_TRUE(src->PrecededByNul());
  EXPECT_EQ(src->Getc(), 'x');
  src->Seek(0);
  EXPECT_FALSE(src->PrecededByNul());
}

TEST(SourceStreamTest, OffsetsBeyondFourGibibytes) {
  TempDir dir;
  const std::filesystem::path path = dir / "sparse";
  constexpr std::int64_t kFar = (std::int64_t{1} << 32) + 12345;
  {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    if (fseeko(file, kFar, SEEK_SET) != 0 || std::fputs("Z!", file) < 0) {
      std::fclose(file);
      GTEST_SKIP() << "no sparse files here";
    }
    std::fclose(file);
  }
  auto src = SourceStream::OpenFile(path);
  ASSERT_NE(src, nullptr);
  EXPECT_EQ(src->Length(), kFar + 2);
  src->Seek(kFar);
  EXPECT_EQ(src->Getc(), 'Z');
  EXPECT_EQ(src->Tell(), kFar + 1);
  EXPECT_TRUE(src->PrecededByNul() == false);
  src->Seek(kFar - 1);
  EXPECT_EQ(src->Getc(), 0);
  EXPECT_EQ(src->Getc(), 'Z');
  EXPECT_EQ(src->Getc(), '!');
  EXPECT_EQ(src->Getc(), SourceStream::kEnd);
  EXPECT_TRUE(src->Eof());
}

TEST(SourceStreamTest, ReadErrorIsNotTheEnd) {
  auto src = SourceStream::OpenFile("/proc/self/mem");
  ASSERT_NE(src, nullptr);
  EXPECT_EQ(src->Getc(), SourceStream::kEnd);
  EXPECT_TRUE(src->Error());
  EXPECT_FALSE(src->Eof());
  // A seek does not clear it.
  src->Seek(0);
  EXPECT_TRUE(src->Error());
}

TEST(SourceStreamTest, FoldersCannotBeOpened) {
  TempDir dir;
  EXPECT_EQ(SourceStream::OpenFile(dir.path()), nullptr);
  EXPECT_EQ(SourceStream::OpenFile(dir / "missing"), nullptr);
}

}  // namespace
}  // namespace tessel::testing
