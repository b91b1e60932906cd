// Tables of variant characters: classes of characters that a comparison
// counts as equal, such as 爲/為 or 說/説.
//
// A table is made from any number of built-in tables and table files (see
// VariantTableFile.h), named in a list such as "z,semantic,my.txt". Classes
// are closed under shared members: two lines, of one table or of two, that
// share a character make one class.
//
// Every class has one representative, its smallest code point, and two
// characters are equal when their representatives are. The smallest member
// is chosen because it depends on nothing but the class: the order of
// lines, files and tables in the list never changes a lookup, so "z,semantic"
// and "semantic,z" are one table.

#ifndef TESSEL_ENGINE_VARIANTTABLE_H_
#define TESSEL_ENGINE_VARIANTTABLE_H_

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "VariantTableFile.h"

namespace tessel {

// The classes, ready for lookup. The default table is empty: every
// character is its own representative.
class VariantTable {
 public:
  // Characters below this are looked up in one flat array.
  static constexpr char32_t kBmpLimit = 0x10000;
  static constexpr int kPageBits = 8;
  static constexpr char32_t kPageMask = (char32_t{1} << kPageBits) - 1;
  // One past U+10FFFF: lookups above it return the character itself.
  static constexpr char32_t kCharacterLimit = 0x110000;
  static constexpr std::size_t kPageCount = kCharacterLimit >> kPageBits;

  VariantTable();

  // The representative of `c`'s class, or `c` when it is in none. Constant
  // time: below U+10000 (nearly every character of a text) one read from
  // a flat array, above it two reads.
  char32_t Representative(char32_t c) const {
    if (c < kBmpLimit) return bmp_[c];
    if (c >= kCharacterLimit) return c;
    const char32_t r =
        entries_[(std::size_t{page_of_block_[c >> kPageBits]} << kPageBits) |
                 (c & kPageMask)];
    return r != 0 ? r : c;
  }

  bool Equal(char32_t a, char32_t b) const {
    return a == b || Representative(a) == Representative(b);
  }

  bool empty() const { return member_count_ == 0; }
  // Classes of two or more characters, and the characters in them.
  std::size_t class_count() const { return class_count_; }
  std::size_t member_count() const { return member_count_; }

 private:
  friend class VariantTableBuilder;

  // Sets the representative of member `c`; never above `c`.
  void Set(char32_t c, char32_t representative);

  // The representative of every character below U+10000. A class with a
  // member there has its smallest member there too, so 16 bits suffice.
  std::vector<std::uint16_t> bmp_;
  // Above U+FFFF, for each block of 256 code points, the page that holds
  // its entries. Page 0 is all zero and shared by every block without
  // members.
  std::vector<std::uint16_t> page_of_block_;
  // Pages of 256 representatives; 0 where the character is in no class.
  std::vector<char32_t> entries_;
  std::size_t class_count_ = 0;
  std::size_t member_count_ = 0;
};

// Gathers classes from built-in tables and files, then builds the table.
class VariantTableBuilder {
 public:
  // `cp950` reads Big5 table files; nullptr accepts UTF-8 files only.
  explicit VariantTableBuilder(Cp950Decoder cp950 = nullptr) : cp950_(cp950) {}

  // Adds every table of a comma-separated list. An item that is a built-in
  // name ("z", "semantic", "forms", "simplified") is that table, so a file
  // of such a name is given with a folder ("./z"); any other item is a file
  // name in UTF-8. Stops at the first item at fault and returns its error;
  // the builder then holds part of the list and should be dropped.
  VariantTableError AddList(std::string_view list);

  // Adds one built-in table. Returns false when there is none of that name.
  bool AddBuiltin(std::string_view name);

  // Adds the classes of a table file's bytes; `name` is what an error
  // names. On error nothing of the file is added.
  VariantTableError AddText(std::string_view bytes, std::string_view name);

  // Reads and adds a table file.
  VariantTableError AddFile(const std::filesystem::path& path);

  // Reads and adds the table file of a UTF-8 name.
  VariantTableError AddNamedFile(std::string_view name);

  // Joins every member with the character it compares as in a Unicode run,
  // its canonical singleton (CanonicalSingleton.h), so that a table that
  // names a compatibility ideograph reaches the unified form such a run
  // compares it as.
  void JoinCanonicalForms();

  // The table of every class added so far.
  VariantTable Build();

 private:
  // Union-find over the members: each root is the smallest code point of
  // its class, since a union always keeps the smaller root.
  char32_t Find(char32_t c);
  void Unite(char32_t a, char32_t b);
  void AddClasses(const VariantClassList& classes);

  Cp950Decoder cp950_;
  std::unordered_map<char32_t, char32_t> parent_;
};

// Whether `name` is a built-in table ("z", "semantic", "forms",
// "simplified").
bool IsBuiltinVariantTable(std::string_view name);

}  // namespace tessel

#endif  // TESSEL_ENGINE_VARIANTTABLE_H_
