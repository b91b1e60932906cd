// Variant tables: reading table files, merging classes, combining lists,
// and the built-in tables as generated.

#include "VariantTable.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace tessel::testing {
namespace {

using namespace std::string_literals;
using Kind = VariantTableError::Kind;

// A few code page 950 codes with their characters: enough for the Big5
// rows, so these tests do not wait for the full table.
char32_t TestCp950(std::uint16_t code) {
  switch (code) {
    case 0xBBA1:
      return U'說';
    case 0xF9D8:
      return U'裏';
    case 0xB8CC:
      return U'裡';
    case 0xACB0:
      return U'為';
    case 0xA140:
      return U'\u3000';
    default:
      return 0;
  }
}

std::string Utf8(char32_t c) {
  std::string out;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
  return out;
}

// The classes as text, members in file order, classes joined by "|".
std::string ClassesText(const VariantClassList& classes) {
  std::string text;
  for (char32_t c : classes.members) text += c == 0 ? "|"s : Utf8(c);
  return text;
}

struct FileCase {
  std::string name;
  std::string bytes;
  std::string classes;  // when it reads
  Kind kind = Kind::kNone;
  std::size_t line = 0;
};

class ReadVariantClassesTest : public ::testing::TestWithParam<FileCase> {};

TEST_P(ReadVariantClassesTest, ReadsClassesOrNamesTheLine) {
  const FileCase& c = GetParam();
  VariantClassList classes;
  const VariantTableError error =
      ReadVariantClasses(c.bytes, TestCp950, classes);
  EXPECT_EQ(error.kind, c.kind) << BytesText(c.bytes);
  EXPECT_EQ(error.line, c.line) << BytesText(c.bytes);
  EXPECT_EQ(ClassesText(classes), c.classes) << BytesText(c.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadVariantClassesTest,
    ::testing::Values(
        FileCase{"Empty", "", ""},
        FileCase{"OneClassALine", "爲為\n說説\n", "爲為|說説|"},
        FileCase{"NoFinalLineEnd", "爲為", "爲為|"},
        FileCase{"BlanksBetween", " 爲\t為　爲 \n", "爲為爲|"},
        FileCase{"CrLfAndLoneCr", "爲為\r\n說説\r眞真", "爲為|說説|眞真|"},
        FileCase{"OneMemberAddsNothing", "爲\n\n為 \n", ""},
        FileCase{"CommentLines", "# 爲為\n  # 說説\n眞真\n", "眞真|"},
        FileCase{"CommentAfterABlank", "爲為 # from the Song editions\n",
                 "爲為|"},
        FileCase{"HashRightAfterAMemberIsOne", "＃#\n", "＃#|"},
        FileCase{"ByteOrderMarkSkipped", "\xEF\xBB\xBF# note\n爲為\n", "爲為|"},
        FileCase{"ByteOrderMarkInsideIsABlank",
                 "爲\xEF\xBB\xBF為\n\xEF\xBB\xBF說説\n", "爲為|說説|"},
        FileCase{"OutsideTheBasicPlane", "玄𤣥\n", "玄𤣥|"},
        // 0x1A ends a table as it ends a source.
        FileCase{"EndOfFileByte", "爲為\n\x1A說説\n", "爲為|"},
        FileCase{"Big5", "\xBB\xA1 \xAC\xB0\r\n\xF9\xD8\xA1\x40\xB8\xCC\r\n",
                 "說為|裏裡|"},
        FileCase{"Big5CommentAndAscii", "# \xBB\xA1\n\xBB\xA1 x\n", "說x|"},
        // Faults name the line.
        FileCase{"NulInALine", "爲為\n爲\0為\n"s, "", Kind::kControlCharacter,
                 2},
        FileCase{"Utf16", "\xFF\xFE\x32\x72"s, "", Kind::kBadEncoding, 1},
        FileCase{"Big5LeadWithoutTrail", "\xBB\xA1\xAC\xB0\n\xBB\n", "",
                 Kind::kBadEncoding, 2},
        FileCase{"Big5CodeWithNoCharacter", "\xBB\xA1\n\n\xA4\x40\n", "",
                 Kind::kBadEncoding, 3},
        FileCase{"BadUtf8AfterAByteOrderMark", "\xEF\xBB\xBF爲為\n\xC0\xAF\n",
                 "", Kind::kBadEncoding, 2},
        FileCase{"SurrogateInUtf8", "\xEF\xBB\xBF\xED\xA0\x80\n", "",
                 Kind::kBadEncoding, 1}),
    [](const auto& info) { return info.param.name; });

TEST(ReadVariantClassesTest, WithoutACp950TableBig5IsRefused) {
  VariantClassList classes;
  const VariantTableError error =
      ReadVariantClasses("# Big5\n\xBB\xA1 \xAC\xB0\n", nullptr, classes);
  EXPECT_EQ(error.kind, Kind::kBadEncoding);
  EXPECT_EQ(error.line, 2u);
}

// Builds a table from table texts given in order.
VariantTable TableOf(const std::vector<std::string>& texts) {
  VariantTableBuilder builder(TestCp950);
  for (const std::string& text : texts) {
    EXPECT_TRUE(builder.AddText(text, "test").ok()) << text;
  }
  return builder.Build();
}

TEST(VariantTableTest, EmptyTableKeepsEveryCharacter) {
  const VariantTable table;
  for (char32_t c : {U'\0', U'A', U'爲', U'𤣥', char32_t{0x10FFFF},
                     char32_t{0x110000}, char32_t{0xFFFFFFFF}}) {
    EXPECT_EQ(table.Representative(c), c) << static_cast<std::uint32_t>(c);
  }
  EXPECT_TRUE(table.empty());
}

TEST(VariantTableTest, ClassesMergeThroughSharedMembers) {
  // 甲乙 and 丙丁 are joined by 乙丙, in another file: one class.
  const VariantTable table = TableOf({"乙甲\n丙丁\n", "丁戊\n", "丙乙\n"});
  EXPECT_EQ(table.class_count(), 1u);
  EXPECT_EQ(table.member_count(), 5u);
  for (char32_t c : {U'甲', U'乙', U'丙', U'丁', U'戊'}) {
    // 甲 U+7532 is not the smallest: 丁 U+4E01 is.
    EXPECT_EQ(table.Representative(c), U'丁') << Utf8(c);
  }
  EXPECT_FALSE(table.Equal(U'甲', U'己'));
}

TEST(VariantTableTest, RepresentativeIsTheSmallestWhateverTheOrder) {
  const std::vector<std::string> lines = {"爲為\n", "說説\n", "為偽\n",
                                          "説悅\n"};
  const VariantTable forward = TableOf(lines);
  const VariantTable backward = TableOf({lines.rbegin(), lines.rend()});
  for (char32_t c : {U'爲', U'為', U'偽', U'說', U'説', U'悅', U'眞'}) {
    EXPECT_EQ(forward.Representative(c), backward.Representative(c)) << Utf8(c);
  }
  EXPECT_EQ(forward.Representative(U'爲'), U'偽');  // U+507D
  EXPECT_EQ(forward.Representative(U'說'), U'悅');  // U+6085
  EXPECT_EQ(forward.class_count(), 2u);
}

TEST(VariantTableTest, MembersInManyBlocksAndPlanes) {
  const VariantTable table = TableOf({"A\xEF\xBC\xA1\n", "玄𤣥\n", "a𪜀\n"});
  EXPECT_TRUE(table.Equal(U'A', U'Ａ'));
  EXPECT_TRUE(table.Equal(U'玄', U'𤣥'));
  EXPECT_TRUE(table.Equal(U'𪜀', U'a'));
  EXPECT_FALSE(table.Equal(U'A', U'a'));
  EXPECT_EQ(table.Representative(U'B'), U'B');
}

TEST(VariantTableTest, AFileAtFaultAddsNothing) {
  VariantTableBuilder builder(TestCp950);
  const VariantTableError error =
      builder.AddText("爲為\n說\x01説\n", "mine.txt");
  EXPECT_EQ(error.kind, Kind::kControlCharacter);
  EXPECT_EQ(error.file, "mine.txt");
  EXPECT_EQ(error.line, 2u);
  EXPECT_TRUE(builder.Build().empty());
}

class VariantListTest : public ::testing::Test {
 protected:
  // Runs in the temporary folder, so list items name files there.
  void SetUp() override {
    saved_ = std::filesystem::current_path();
    std::filesystem::current_path(dir_.path());
    WriteFile(dir_ / "taboo.txt", "# taboo forms\n玄𤣥\n");
    WriteFile(dir_ / "big5.txt", "\xF9\xD8 \xB8\xCC\r\n");
    WriteFile(dir_ / "bad.txt", "玄𤣥\n\n玄\xFF\n");
    WriteFile(dir_ / "z", "甲乙\n");
  }
  void TearDown() override { std::filesystem::current_path(saved_); }

  TempDir dir_;
  std::filesystem::path saved_;
};

TEST_F(VariantListTest, CombinesBuiltinTablesAndFiles) {
  VariantTableBuilder builder(TestCp950);
  ASSERT_TRUE(builder.AddList("z,taboo.txt,big5.txt").ok());
  const VariantTable table = builder.Build();
  EXPECT_TRUE(table.Equal(U'說', U'説'));
  EXPECT_TRUE(table.Equal(U'玄', U'𤣥'));
  EXPECT_TRUE(table.Equal(U'裏', U'裡'));
  // The built-in name wins over the file "z"; "./z" is the file.
  EXPECT_FALSE(table.Equal(U'甲', U'乙'));
  ASSERT_TRUE(builder.AddList("./z").ok());
  EXPECT_TRUE(builder.Build().Equal(U'甲', U'乙'));
}

TEST_F(VariantListTest, RefusesAFileAboveTheLimit) {
  // Classes all the way, so only the size can fail it.
  std::string bytes;
  while (bytes.size() <= kMaxVariantTableFileSize) bytes += "爲為\n";
  WriteFile(dir_ / "huge.txt", bytes);
  VariantTableBuilder builder;
  const VariantTableError error = builder.AddList("z,huge.txt");
  EXPECT_EQ(error.kind, Kind::kTooLarge);
  EXPECT_EQ(error.file, "huge.txt");
  bytes.resize(kMaxVariantTableFileSize - kMaxVariantTableFileSize % 7);
  WriteFile(dir_ / "huge.txt", bytes);
  EXPECT_TRUE(builder.AddList("huge.txt").ok());
}

struct ListCase {
  std::string name;
  std::string list;
  Kind kind;
  std::string file;
  std::size_t line;
};

class VariantListFaultTest : public VariantListTest,
                             public ::testing::WithParamInterface<ListCase> {};

TEST_P(VariantListFaultTest, NamesTheTableAndLine) {
  const ListCase& c = GetParam();
  VariantTableBuilder builder(TestCp950);
  const VariantTableError error = builder.AddList(c.list);
  EXPECT_EQ(error.kind, c.kind) << c.list;
  EXPECT_EQ(error.file, c.file) << c.list;
  EXPECT_EQ(error.line, c.line) << c.list;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, VariantListFaultTest,
    ::testing::Values(
        ListCase{"Empty", "", Kind::kEmptyName, "", 0},
        ListCase{"EmptyItem", "z,,semantic", Kind::kEmptyName, "", 0},
        ListCase{"TrailingComma", "z,", Kind::kEmptyName, "", 0},
        ListCase{"MisspeltName", "z,semantc", Kind::kCannotRead, "semantc", 0},
        ListCase{"Folder", ".", Kind::kCannotRead, ".", 0},
        ListCase{"BadLine", "taboo.txt,bad.txt", Kind::kBadEncoding, "bad.txt",
                 3}),
    [](const auto& info) { return info.param.name; });

// Builds one built-in table.
VariantTable Builtin(std::string_view name) {
  VariantTableBuilder builder;
  EXPECT_TRUE(builder.AddBuiltin(name)) << name;
  return builder.Build();
}

TEST(BuiltinVariantTablesTest, SizesAsGenerated) {
  struct Size {
    std::string_view name;
    std::size_t classes, members;
  };
  // The figures the generator writes at the head of its output.
  for (const Size& s :
       {Size{"z", 66, 139}, Size{"semantic", 1575, 3529},
        Size{"forms", 1756, 3970}, Size{"simplified", 6231, 12552}}) {
    const VariantTable table = Builtin(s.name);
    EXPECT_EQ(table.class_count(), s.classes) << s.name;
    EXPECT_EQ(table.member_count(), s.members) << s.name;
  }
  EXPECT_FALSE(IsBuiltinVariantTable("Z"));
  EXPECT_FALSE(VariantTableBuilder().AddBuiltin("traditional"));
}

TEST(BuiltinVariantTablesTest, KnownPairs) {
  struct Pair {
    char32_t a, b;
    bool z, semantic, forms, simplified;
  };
  const VariantTable z = Builtin("z"), semantic = Builtin("semantic"),
                     forms = Builtin("forms"),
                     simplified = Builtin("simplified");
  for (const Pair& p : {
           Pair{U'說', U'説', true, true, true, false},
           Pair{U'爲', U'為', false, true, true, false},
           Pair{U'乘', U'乗', false, false, true, false},
           Pair{U'德', U'徳', false, false, true, false},
           Pair{U'虛', U'虚', false, false, true, true},
           Pair{U'說', U'说', false, false, false, true},
           // Kept out of the variant tables; merged in simplified by design.
           Pair{U'于', U'於', false, false, false, true},
           Pair{U'后', U'後', false, false, false, true},
           Pair{U'云', U'雲', false, false, false, true},
           Pair{U'玄', U'𤣥', false, false, false, false},
       }) {
    const std::string row = Utf8(p.a) + "/" + Utf8(p.b);
    EXPECT_EQ(z.Equal(p.a, p.b), p.z) << row;
    EXPECT_EQ(semantic.Equal(p.a, p.b), p.semantic) << row;
    EXPECT_EQ(forms.Equal(p.a, p.b), p.forms) << row;
    EXPECT_EQ(simplified.Equal(p.a, p.b), p.simplified) << row;
  }
}

// Every pair of the exclusion list stays apart in forms, which holds
// semantic and z: the generator promises it, this checks what it wrote.
TEST(BuiltinVariantTablesTest, NoExcludedPairMeets) {
  std::ifstream list(TESSEL_VARIANT_EXCLUSIONS);
  ASSERT_TRUE(list) << TESSEL_VARIANT_EXCLUSIONS;
  const VariantTable forms = Builtin("forms");
  std::string line;
  int pairs = 0;
  while (std::getline(list, line)) {
    if (line.empty() || line[0] == '#' || line[0] == '=') continue;
    VariantClassList classes;
    // The first two characters of the line, read as a table line.
    const std::size_t second = line.find(' ', line.find(' ') + 1);
    ASSERT_TRUE(
        ReadVariantClasses(line.substr(0, second), nullptr, classes).ok())
        << line;
    ASSERT_EQ(classes.members.size(), 3u) << line;
    EXPECT_FALSE(forms.Equal(classes.members[0], classes.members[1])) << line;
    ++pairs;
  }
  EXPECT_GT(pairs, 100);
}

}  // namespace
}  // namespace tessel::testing
