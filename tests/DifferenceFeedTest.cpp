// The run's hand-over to its sinks: exact records, every byte of every
// source handed over once and in order, and result files untouched by the
// presence of sinks.

#include "DifferenceFeed.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Big5Utf8.h"
#include "ComparisonRun.h"
#include "TestSupport.h"
#include "UnicodeText.h"

namespace tessel::testing {
namespace {

using namespace std::string_literals;

// Big5 bytes of the characters the cases use.
#define DAO "\xB9\x44"
#define KE "\xA5\x69"
#define FEI "\xAB\x44"
#define CHANG "\xB1\x60"
#define HUI "\xB7\x7C"  // its second byte is '|'
#define MING "\xA6\x57"
#define COMMA "\xA1\x41"
#define ZHOU "\xA6\x7B"    // its second byte is '{'
#define LI_OLD "\xF9\xD8"  // 裏, a semantic variant of
#define LI_NEW "\xB8\xCC"  // 裡

// Everything a run tells a sink, with each source's text in the order the
// sink received it, spans included.
struct RecordingSink : DifferenceSink {
  int begun = 0, ended = 0;
  RunDescription run;
  std::vector<std::string> records;  // "number: line/offset/length/text..."
  std::array<std::string, kMaxReportSources> texts, compared;
  std::string ignored;  // every ignored piece, in order
  // Every span as handed over, by source.
  struct Span {
    int source;
    std::int64_t offset, length;
    std::string text;
  };
  std::vector<Span> spans;
  RunEnd end;
  std::vector<std::array<int, kMaxReportSources>> same_as;
  // "number: line/offset/length/text/character..." per variant, and per
  // source the variant text its next copied text must start with.
  std::vector<std::string> variants;
  std::array<std::string, kMaxReportSources> awaited;
  int misplaced = 0;
  // Which sources' copied text the sink asks for.
  std::array<bool, kMaxReportSources> wants{true, true, true};
  // Bytes in pieces called verbatim, and of those pieces the ones that
  // hold a character some report escapes or marks.
  std::size_t verbatim_bytes = 0;
  int false_verbatim = 0;

  bool WantsCopiedText(int k) const override { return wants[k]; }
  void CopyPieces(int k, const CopiedPieces& copied) override {
    std::uint32_t start = 0;
    for (const CopiedPiece& piece : copied.pieces) {
      if (piece.verbatim) {
        const std::string_view text =
            copied.text.substr(start, piece.end - start);
        verbatim_bytes += text.size();
        false_verbatim += !AllCopyVerbatim(text);
      }
      start = piece.end;
    }
    DifferenceSink::CopyPieces(k, copied);
  }

  void BeginRun(const RunDescription& r) override {
    ++begun;
    run = r;
  }
  void CopyText(int k, std::string_view text, bool is_ignored) override {
    if (!awaited[k].empty()) {
      misplaced += text != awaited[k] || is_ignored;
      awaited[k].clear();
    }
    texts[k] += text;
    if (is_ignored) ignored += text;
  }
  void Difference(const DifferenceRecord& r) override {
    same_as.push_back(r.same_as);
    std::string line = std::to_string(r.number) + ":";
    for (int k = 0; k < run.source_count; ++k) {
      const DifferenceSpan& s = r.spans[k];
      line += " " + std::to_string(s.line) + "/" +
              std::to_string(s.byte_offset) + "/" +
              std::to_string(s.byte_length) + "/" + std::string(s.text) + "/" +
              std::to_string(s.compared_count);
      texts[k] += s.text;
      compared[k] += s.compared;
      spans.push_back({k, s.byte_offset, s.byte_length, std::string(s.text)});
    }
    records.push_back(line);
  }
  void Variant(const VariantRecord& r) override {
    std::string line = std::to_string(r.number) + ":";
    for (int k = 0; k < run.source_count; ++k) {
      const VariantPlace& p = r.places[k];
      misplaced += !awaited[k].empty();
      awaited[k] = p.text;
      line += " " + std::to_string(p.line) + "/" +
              std::to_string(p.byte_offset) + "/" +
              std::to_string(p.byte_length) + "/" + std::string(p.text) + "/" +
              std::to_string(static_cast<std::uint32_t>(p.character));
    }
    variants.push_back(line);
  }
  void EndRun(const RunEnd& e) override {
    ++ended;
    end = e;
  }
};

std::string Utf8(std::string_view big5) {
  std::string text;
  AppendBig5AsUtf8(big5, text);
  return text;
}

class FeedTest : public ::testing::Test {
 protected:
  void Sources(const std::vector<std::string>& texts) {
    sources_ = texts;
    RunOptions& o = host_.options;
    o.three_files = texts.size() == 3;
    o.use_sign_memo = true;
    o.sign_memo = COMMA;
    for (std::size_t k = 0; k < texts.size(); ++k) {
      const std::string n = std::to_string(k + 1);
      WriteFile(dir_ / ("s" + n), texts[k]);
      o.sources[k] = dir_ / ("s" + n);
      o.results[k] = dir_ / ("r" + n);
    }
    o.difference = dir_ / "d";
  }

  // Runs with and without the sink; the files must come out the same.
  RunStatus Run() {
    host_.passes = 0;
    NotationTable plain_notations;
    ComparisonRun plain(host_, plain_notations);
    const RunStatus without = plain.RunComparison(host_.options);
    const std::vector<std::string> names{"r1", "r2", "r3", "d"};
    std::vector<std::string> files;
    for (const auto& name : names) {
      files.push_back(std::filesystem::exists(dir_ / name)
                          ? ReadFile(dir_ / name)
                          : std::string());
    }
    host_.passes = 0;
    ComparisonRun run(host_, notations_, {&sink_});
    const RunStatus with = run.RunComparison(host_.options);
    EXPECT_EQ(with.outcome, without.outcome);
    for (std::size_t i = 0; i < names.size(); ++i) {
      const std::string now = std::filesystem::exists(dir_ / names[i])
                                  ? ReadFile(dir_ / names[i])
                                  : std::string();
      EXPECT_EQ(BytesText(now), BytesText(files[i])) << names[i];
    }
    EXPECT_EQ(sink_.begun, 1);
    EXPECT_EQ(sink_.ended, 1);
    return with;
  }

  TempDir dir_;
  NotationTable notations_;
  RecordingHost host_;
  RecordingSink sink_;
  std::vector<std::string> sources_;
};

TEST_F(FeedTest, RecordsHoldLinesOffsetsLengthsAndUnicodeTexts) {
  Sources({DAO KE DAO COMMA FEI CHANG DAO "\n" HUI MING,
           DAO KE DAO COMMA "&x-975E;" CHANG DAO "\n\n" MING});
  const RunStatus status = Run();
  EXPECT_EQ(status.outcome, RunOutcome::kCompleted);
  EXPECT_EQ(sink_.run.sources[0].encoding, "big5");
  EXPECT_EQ(sink_.run.sources[1].byte_size, 24);
  EXPECT_EQ(sink_.run.ignored_symbols, std::vector<std::string>{"，"});
  EXPECT_EQ(sink_.records,
            (std::vector<std::string>{"1: 1/8/6/非常道/3 1/8/12/&x-975E;常道/3",
                                      "2: 2/15/4/會名/2 3/22/2/名/1"}));
  EXPECT_EQ(sink_.end.outcome, ReportOutcome::kCompleted);
  EXPECT_EQ(sink_.end.difference_count, 2);
  EXPECT_EQ(sink_.end.lines[0], 2);
  EXPECT_EQ(sink_.end.lines[1], 3);
  EXPECT_TRUE(sink_.end.source_ended[0] && sink_.end.source_ended[1]);
  EXPECT_EQ(sink_.ignored, "，，\n\n\n");
}

// A 0x1A is read as an end and shown nowhere: a span that reaches one
// holds neither its text nor its byte.
TEST_F(FeedTest, ASpanEndsBeforeWhatEndsItsSource) {
  Sources({DAO FEI "\x1A" KE, ""});
  EXPECT_EQ(Run().outcome, RunOutcome::kCompleted);
  EXPECT_EQ(sink_.records,
            (std::vector<std::string>{"1: 1/0/4/道非/2 1/0/0//0",
                                      "2: 1/5/2/可/1 1/0/0//0"}));
}

// Whatever the run meets, each source reaches the sinks whole and once.
TEST_F(FeedTest, EverySourceReachesTheSinksWholeAndInOrder) {
  struct Case {
    const char* name;
    std::vector<std::string> sources;
    bool fast;
    // What the sinks must receive, where it is not the sources converted
    // whole.
    std::vector<std::string> texts = {};
    std::vector<std::pair<std::string, std::string>> ignore_between = {};
    bool notes_unordered = false;
  };
  const std::string long_run(3000, 'x');
  // Plain text beyond a piece of copied text, with a difference inside.
  std::string plain;
  for (int i = 0; i < 12000; ++i) plain += DAO KE COMMA "\n";
  const Case cases[] = {
      {"two", {DAO KE "\r\n" FEI, DAO "\n" KE CHANG}, false},
      {"three",
       {DAO HUI ZHOU MING, DAO ZHOU MING CHANG, KE HUI ZHOU MING},
       false},
      {"fast shortcuts",
       {long_run + FEI + long_run, long_run + CHANG + long_run},
       true},
      // The reader takes a lead byte before a line end as a character of
      // its own, and drops a NUL after one, as the result files do.
      {"lone high byte before a line feed",
       {"a\x81\nb", "a\x81\nc"},
       false,
       {"a\xEF\xBF\xBD\nb", "a\xEF\xBF\xBD\nc"}},
      {"high byte before a NUL",
       {"a\xA4\x00"
        "b"s,
        "ab"},
       false,
       {"a\xEF\xBF\xBD"
        "b",
        "ab"}},
      {"lone high byte at the end", {"a\xA4", "a"}, false, {"a", "a"}},
      {"empty source", {"", DAO}, false},
      {"plain text", {plain + FEI + plain, plain + CHANG + plain}, false},
      {"notation", {"[" DAO "*" KE "]" MING, "&x-656B;" MING}, false},
      {"ignored stretches",
       {DAO "(" KE FEI ")" CHANG MING, DAO "(" HUI ")" MING},
       false,
       {},
       {{"(", ")"}}},
      {"unordered notes",
       {DAO "(" KE "/" FEI ")" MING, DAO "(" FEI "/" KE ")" CHANG},
       false,
       {},
       {},
       true},
      // A note's text reads as the reader paired its bytes: 0xFF 0xFF is
      // one character.
      {"a note over bytes that lead nothing",
       {DAO "(\xFF\xFF/" KE ")" MING, DAO "(" KE "/\xFF\xFF)" MING},
       false,
       {"道(\xEF\xBF\xBD/可)名", "道(可/\xEF\xBF\xBD)名"},
       {},
       true},
  };
  std::size_t verbatim_bytes = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    sink_ = RecordingSink{};
    host_.fast = c.fast;
    Sources(c.sources);
    host_.options.ignore_between = c.ignore_between;
    host_.options.notes_unordered = c.notes_unordered;
    const RunStatus status = Run();
    EXPECT_EQ(status.outcome, RunOutcome::kCompleted);
    for (std::size_t k = 0; k < c.sources.size(); ++k) {
      const std::string expected =
          c.texts.empty() ? Utf8(c.sources[k]) : c.texts[k];
      EXPECT_EQ(sink_.texts[k], expected) << "source " << k + 1;
      EXPECT_TRUE(sink_.end.source_ended[k]) << "source " << k + 1;
    }
    EXPECT_EQ(sink_.false_verbatim, 0);
    verbatim_bytes += sink_.verbatim_bytes;
    // A source no sink wants is passed over unread; its spans stay exact.
    const std::vector<std::string> records = sink_.records;
    sink_ = RecordingSink{};
    sink_.wants = {false, true, false};
    Run();
    EXPECT_EQ(sink_.records, records);
    std::string spans_only;
    for (const RecordingSink::Span& span : sink_.spans) {
      if (span.source == 0) spans_only += span.text;
    }
    EXPECT_EQ(sink_.texts[0], spans_only);
  }
  // Plain Big5 text is handed over as verbatim pieces.
  EXPECT_GT(verbatim_bytes, 0u);
}

// Each variant reaches the sinks where it stands: after the text before
// it, just before its own characters, which come as copied text of their
// own; a folded notation is its spelling and the character it names.
TEST_F(FeedTest, VariantsComeJustBeforeTheirCharacters) {
  struct Case {
    const char* name;
    std::vector<std::string> sources;
    std::vector<std::string> variants;
    std::vector<std::string> records;
  };
  const Case cases[] = {
      {"two",
       {DAO LI_OLD COMMA KE "\n" LI_NEW FEI, DAO LI_NEW KE "\n" LI_OLD CHANG},
       {"1: 1/2/2/裏/35023 1/2/2/裡/35041", "2: 2/9/2/裡/35041 2/7/2/裏/35023"},
       {"1: 2/11/2/非/1 2/9/2/常/1"}},
      {"notation",
       {DAO "&x-88CF;" MING, DAO LI_NEW MING},
       {"1: 1/2/8/&x-88CF;/35023 1/2/2/裡/35041"},
       {}},
      {"three, one source differing",
       {LI_OLD DAO, LI_OLD DAO, LI_NEW DAO},
       {"1: 1/0/2/裏/35023 1/0/2/裏/35023 1/0/2/裡/35041"},
       {}},
      // A Unicode run: offsets and lengths in each file's own bytes.
      {"utf-8 pair",
       {"道裏，可\n裡非", "道裡可\n裏常"},
       {"1: 1/3/3/裏/35023 1/3/3/裡/35041",
        "2: 2/13/3/裡/35041 2/10/3/裏/35023"},
       {"1: 2/16/3/非/1 2/13/3/常/1"}},
      {"big5 against utf-8",
       {DAO LI_OLD MING, "道裡名"},
       {"1: 1/2/2/裏/35023 1/3/3/裡/35041"},
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    sink_ = RecordingSink{};
    Sources(c.sources);
    host_.options.variant_tables = "semantic";
    const RunStatus status = Run();
    EXPECT_EQ(sink_.run.variant_tables, std::vector<std::string>{"semantic"});
    EXPECT_EQ(sink_.variants, c.variants);
    EXPECT_EQ(sink_.records, c.records);
    EXPECT_EQ(sink_.misplaced, 0);
    EXPECT_EQ(sink_.end.variant_count, status.variant_count);
    EXPECT_EQ(status.variant_count,
              static_cast<std::int64_t>(c.variants.size()));
    for (std::size_t k = 0; k < c.sources.size(); ++k) {
      const bool utf8 = sink_.run.sources[k].encoding == "utf-8";
      EXPECT_EQ(sink_.texts[k], utf8 ? c.sources[k] : Utf8(c.sources[k]))
          << "source " << k + 1;
    }
  }
  host_.options.variant_tables.clear();
}

TEST_F(FeedTest, ACutOffOrStoppedRunHandsOverWhatWasRead) {
  const std::string xs(20, 'x'), ys(20, 'y');
  Sources({DAO FEI + xs + HUI + ys, DAO CHANG + xs + MING + ys});
  host_.options.diff_limit = 1;
  EXPECT_EQ(Run().outcome, RunOutcome::kCutOffLimit);
  EXPECT_EQ(sink_.end.outcome, ReportOutcome::kCutOffLimit);
  EXPECT_EQ(sink_.texts[0], "道非");
  EXPECT_EQ(sink_.texts[1], "道常");
  EXPECT_FALSE(sink_.end.source_ended[0]);

  sink_ = RecordingSink{};
  host_.options.diff_limit = kNoDiffLimit;
  host_.stop_at_pass = 2;
  EXPECT_EQ(Run().outcome, RunOutcome::kStopped);
  EXPECT_EQ(sink_.end.outcome, ReportOutcome::kStopped);
  for (int k = 0; k < 2; ++k) {
    EXPECT_FALSE(sink_.texts[k].empty());
    EXPECT_EQ(Utf8(sources_[k]).rfind(sink_.texts[k], 0), 0u) << k;
  }
}

TEST_F(FeedTest, ARunThatCannotStartTellsNoSink) {
  Sources({DAO, DAO});
  host_.options.results[1] = host_.options.sources[0];
  ComparisonRun run(host_, notations_, {&sink_});
  EXPECT_EQ(run.RunComparison(host_.options).outcome, RunOutcome::kFailed);
  EXPECT_EQ(sink_.begun, 0);
  EXPECT_EQ(sink_.ended, 0);
}

TEST_F(FeedTest, AReportNamingAnInputOrAnOutputIsRefused) {
  Sources({DAO, DAO});
  for (const auto& clash : {host_.options.sources[1], host_.options.results[0],
                            host_.options.difference}) {
    host_.options.report_outputs = {dir_ / "report.html", clash};
    ComparisonRun run(host_, notations_, {&sink_});
    const RunStatus status = run.RunComparison(host_.options);
    ASSERT_EQ(status.errors.size(), 1u) << clash;
    EXPECT_EQ(status.errors[0].kind, RunErrorKind::kWouldOverwrite);
    EXPECT_EQ(status.errors[0].file, RunFile::kReport);
  }
}

std::string Utf16(const std::string& utf8, Encoding encoding) {
  return ConvertText(utf8, Encoding::kUtf8, encoding);
}

// A Unicode run hands its sinks UTF-8 whatever the encodings, with spans
// in the bytes of each file: a byte-order mark counts in the offsets and
// is never text.
TEST_F(FeedTest, UnicodeRecordsCountTheSourcesOwnBytes) {
  Sources({"\xFF\xFE" + Utf16("甲，乙\n丙丁庚辛壬", Encoding::kUtf16Le),
           "甲乙\n\n戊丁庚辛壬"});
  EXPECT_EQ(Run().outcome, RunOutcome::kCompleted);
  EXPECT_EQ(sink_.run.sources[0].encoding, "utf-16le");
  EXPECT_EQ(sink_.run.sources[1].encoding, "utf-8");
  EXPECT_EQ(sink_.run.sources[0].byte_size, 20);
  EXPECT_EQ(sink_.run.ignored_symbols, std::vector<std::string>{"，"});
  EXPECT_EQ(sink_.records,
            std::vector<std::string>{"1: 2/10/2/丙/1 3/8/3/戊/1"});
  EXPECT_EQ(sink_.texts[0], "甲，乙\n丙丁庚辛壬");
  EXPECT_EQ(sink_.ignored, "，\n\n\n");
  EXPECT_EQ(sink_.end.lines[1], 3);
}

// Which sources are the same goes by the run's comparison, not the texts:
// a note with its halves swapped is the same note.
TEST_F(FeedTest, SourcesAreTheSameAsTheRunComparesThem) {
  Sources({"甲乙(閏餘/成歲)丙丁\n", "甲乙(閏餘/成戊)丙丁\n",
           "甲乙(成歲/閏餘)丙丁\n"});
  host_.options.notes_unordered = true;
  EXPECT_EQ(Run().outcome, RunOutcome::kCompleted);
  ASSERT_EQ(sink_.same_as.size(), 1u);
  EXPECT_EQ(sink_.same_as[0], (std::array<int, kMaxReportSources>{0, 1, 0}));
}

// The ignored symbols name each text once, and a stretch is none.
TEST_F(FeedTest, TheIgnoredSymbolsAreListedOnceEach) {
  Sources({"甲乙丙丁", "甲乙戊丁"});
  host_.options.ignore_between = {{"\xA1\x69", "\xA1\x6A"}};  // 【 】
  EXPECT_EQ(Run().outcome, RunOutcome::kCompleted);
  EXPECT_EQ(sink_.run.ignored_symbols, std::vector<std::string>{"，"});

  // Two Big5 codes the page lacks both read as U+FFFD.
  Sources({DAO KE, DAO FEI});
  host_.options.sign_memo = COMMA "\x81\x40\x81\x41";
  sink_ = RecordingSink();
  EXPECT_EQ(Run().outcome, RunOutcome::kCompleted);
  EXPECT_EQ(sink_.run.ignored_symbols,
            (std::vector<std::string>{"\xEF\xBF\xBD", "，"}));
}

// Every source reaches the sinks whole, once and in order, and each span's
// bytes, sliced from the file, read as its text.
TEST_F(FeedTest, UnicodeSpansAreExactlyTheirBytes) {
  struct Case {
    const char* name;
    std::vector<std::string> sources;
    std::array<EncodingChoice, 3> encodings{};
  };
  const auto be = [](const std::string& utf8) {
    return "\xFE\xFF" + Utf16(utf8, Encoding::kUtf16Be);
  };
  // What the feed reads straight from the buffer, and what stops it:
  // characters some report escapes or marks (U+2028, U+FDD0), a notation,
  // a compatibility ideograph (compared as its unified form, written as
  // itself).
  std::string plain;
  for (int i = 0; i < 4000; ++i) {
    plain += "甲乙，丙\nab<\xE2\x80\xA8\xEF\xB7\x90&x-4BB6;[\xEF\xA4\x80";
  }
  const Case cases[] = {
      {"utf-8 pair", {"甲乙丙丁戊", "甲己丙庚戊"}},
      {"big5 notation against the character it names",
       {DAO KE "&x-4BB6;" FEI MING, "道可䮶常名"}},
      {"utf-8 with a mark against utf-16be with a lone surrogate",
       {"\xEF\xBB\xBF甲乙丙", be("甲") + "\xD8\x00" + be("丙").substr(2)}},
      {"ill-formed utf-8",
       {"a\xE4\xB8"
        "b甲",
        "ab乙"},
       {EncodingChoice::kUtf8, EncodingChoice::kUtf8}},
      {"a U+001A goes on", {"甲\x1A乙丙", "甲\x1A丁丙"}},
      {"utf-8 text beyond a piece",
       {plain + "甲" + plain, plain + "乙" + plain}},
      {"three encodings",
       {"天地玄黃", "\xFF\xFE" + Utf16("天地黃", Encoding::kUtf16Le),
        "\xA4\xD1\xA6\x61\xA5\xC8"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    sink_ = RecordingSink{};
    Sources(c.sources);
    host_.options.encodings = c.encodings;
    EXPECT_EQ(Run().outcome, RunOutcome::kCompleted);
    EXPECT_FALSE(sink_.spans.empty());
    EXPECT_EQ(sink_.false_verbatim, 0);
    for (std::size_t k = 0; k < c.sources.size(); ++k) {
      const std::string& bytes = c.sources[k];
      Encoding encoding = Encoding::kBig5;
      for (Encoding e : {Encoding::kBig5, Encoding::kUtf8, Encoding::kUtf16Le,
                         Encoding::kUtf16Be}) {
        if (EncodingName(e) == sink_.run.sources[k].encoding) encoding = e;
      }
      EXPECT_EQ(sink_.texts[k], ConvertText(bytes, encoding, Encoding::kUtf8))
          << "source " << k + 1;
      for (const auto& span : sink_.spans) {
        if (span.source != static_cast<int>(k)) continue;
        ASSERT_LE(span.offset + span.length,
                  static_cast<std::int64_t>(bytes.size()));
        EXPECT_GE(span.offset,
                  static_cast<std::int64_t>(ByteOrderMarkLength(encoding, {})));
        const std::string slice =
            bytes.substr(static_cast<std::size_t>(span.offset),
                         static_cast<std::size_t>(span.length));
        EXPECT_EQ(ConvertText(slice, encoding, Encoding::kUtf8), span.text)
            << "source " << k + 1 << " at " << span.offset;
      }
    }
  }
}

// A Unicode run cut off or stopped hands over what it read, from after
// the byte-order mark.
TEST_F(FeedTest, ACutOffUnicodeRunHandsOverWhatWasRead) {
  const std::string tail = "天地玄黃宇宙洪荒日月盈昃辰宿列張";
  const std::string s1 = "甲" + tail + "乙" + tail;
  const std::string s2 = "丙" + tail + "丁" + tail;
  Sources({"\xFE\xFF" + Utf16(s1, Encoding::kUtf16Be), s2});
  host_.options.diff_limit = 1;
  EXPECT_EQ(Run().outcome, RunOutcome::kCutOffLimit);
  EXPECT_EQ(sink_.end.outcome, ReportOutcome::kCutOffLimit);
  EXPECT_EQ(sink_.records,
            std::vector<std::string>{"1: 1/2/2/甲/1 1/0/3/丙/1"});
  EXPECT_EQ(sink_.texts[0], "甲");
  EXPECT_FALSE(sink_.end.source_ended[0]);

  sink_ = RecordingSink{};
  host_.options.diff_limit = kNoDiffLimit;
  host_.stop_at_pass = 3;
  EXPECT_EQ(Run().outcome, RunOutcome::kStopped);
  EXPECT_EQ(sink_.end.outcome, ReportOutcome::kStopped);
  for (const auto& [k, whole] : {std::pair{0, s1}, std::pair{1, s2}}) {
    EXPECT_FALSE(sink_.texts[k].empty()) << k;
    EXPECT_EQ(whole.rfind(sink_.texts[k], 0), 0u) << k;
  }
}

TEST(Big5Utf8Test, ConvertsPairsAndReplacesWhatMapsToNothing) {
  struct Case {
    const char* name;
    std::string big5, utf8;
  };
  const Case cases[] = {
      {"ascii and pairs", "a" HUI ZHOU, "a會州"},
      {"lone lead byte at the end", "a\xA4", "a\xEF\xBF\xBD"},
      {"byte that leads nothing",
       "\x80"
       "a",
       "\xEF\xBF\xBD"
       "a"},
      {"user-defined area", "\xFA\x40", "\xEF\xBF\xBD"},
  };
  for (const Case& c : cases) {
    std::string out;
    AppendBig5AsUtf8(c.big5, out);
    EXPECT_EQ(out, c.utf8) << c.name;
  }
}

// The feed looks characters up in a table; it must say what the
// conversion says, for every code that stands for one or two bytes.
TEST(Big5Utf8Test, TheCodeTableAgreesWithTheConversion) {
  const NotationTable notations;
  const auto& table = CodeUtf8Table();
  int compared = 0;
  for (Code code = kEndOfSource + 1; code < kCodeLimit; ++code) {
    if (!IsSingleByteCode(code) && !IsDoubleByteCode(code)) {
      EXPECT_EQ(table[code].length, CodeUtf8::kNotACharacterCode) << code;
      continue;
    }
    std::string expected;
    AppendCodeAsUtf8(code, notations, expected);
    ASSERT_EQ(std::string(table[code].bytes, table[code].length), expected)
        << code;
    // The feed hands plain double-byte text over as verbatim.
    if (IsDoubleByteCode(code)) {
      ASSERT_TRUE(AllCopyVerbatim(expected)) << code;
    }
    ++compared;
  }
  EXPECT_GT(compared, 30000);
}

}  // namespace
}  // namespace tessel::testing
