#include "VariantTable.h"

#include <cstdio>
#include <exception>
#include <memory>
#include <numeric>

#include "BuiltinVariantTables.h"
#include "CanonicalSingleton.h"
#include "PlatformFile.h"

namespace tessel {
namespace {

constexpr std::size_t kPageSize = std::size_t{1} << VariantTable::kPageBits;
constexpr char kListSeparator = ',';

const BuiltinVariantTable* FindBuiltin(std::string_view name) {
  for (const BuiltinVariantTable& table : BuiltinVariantTables()) {
    if (table.name == name) return &table;
  }
  return nullptr;
}

}  // namespace

VariantTable::VariantTable()
    : bmp_(kBmpLimit), page_of_block_(kPageCount, 0), entries_(kPageSize, 0) {
  std::iota(bmp_.begin(), bmp_.end(), std::uint16_t{0});
}

void VariantTable::Set(char32_t c, char32_t representative) {
  if (c < kBmpLimit) {
    bmp_[c] = static_cast<std::uint16_t>(representative);
    return;
  }
  std::uint16_t& page = page_of_block_[c >> kPageBits];
  if (page == 0) {
    page = static_cast<std::uint16_t>(entries_.size() / kPageSize);
    entries_.resize(entries_.size() + kPageSize, 0);
  }
  entries_[(std::size_t{page} << kPageBits) | (c & kPageMask)] = representative;
}

bool IsBuiltinVariantTable(std::string_view name) {
  return FindBuiltin(name) != nullptr;
}

char32_t VariantTableBuilder::Find(char32_t c) {
  auto it = parent_.find(c);
  if (it == parent_.end()) {
    parent_.emplace(c, c);
    return c;
  }
  // Path halving: each visited member skips to its grandparent.
  while (it->second != it->first) {
    auto parent = parent_.find(it->second);
    it->second = parent->second;
    it = parent_.find(it->second);
  }
  return it->first;
}

void VariantTableBuilder::Unite(char32_t a, char32_t b) {
  const char32_t ra = Find(a);
  const char32_t rb = Find(b);
  if (ra < rb) {
    parent_[rb] = ra;
  } else if (rb < ra) {
    parent_[ra] = rb;
  }
}

void VariantTableBuilder::AddClasses(const VariantClassList& classes) {
  std::size_t first = 0;  // index of the current class's first member
  for (std::size_t i = 0; i < classes.members.size(); ++i) {
    if (classes.members[i] == 0) {
      first = i + 1;
    } else if (i > first) {
      Unite(classes.members[first], classes.members[i]);
    }
  }
}

VariantTableError VariantTableBuilder::AddText(std::string_view bytes,
                                               std::string_view name) {
  VariantClassList classes;
  VariantTableError error = ReadVariantClasses(bytes, cp950_, classes);
  if (!error.ok()) {
    error.file = std::string(name);
    return error;
  }
  AddClasses(classes);
  return {};
}

bool VariantTableBuilder::AddBuiltin(std::string_view name) {
  const BuiltinVariantTable* table = FindBuiltin(name);
  if (table == nullptr) return false;
  for (std::string_view layer : table->layers) {
    // The generator writes valid UTF-8 classes only; a failure here would
    // be a broken build, which the tests of the built-in tables catch.
    AddText(layer, name);
  }
  return true;
}

VariantTableError VariantTableBuilder::AddFile(
    const std::filesystem::path& path) {
  std::string bytes;
  switch (ReadWholeFile(path, &bytes)) {
    case WholeFileRead::kRead:
      break;
    case WholeFileRead::kCannotRead:
      return {VariantTableError::Kind::kCannotRead, DisplayName(path), 0};
    case WholeFileRead::kTooLarge:
      return {VariantTableError::Kind::kTooLarge, DisplayName(path), 0};
  }
  return AddText(bytes, DisplayName(path));
}

VariantTableError VariantTableBuilder::AddNamedFile(std::string_view name) {
  std::filesystem::path path;
  try {
    path = std::filesystem::path(std::u8string(name.begin(), name.end()));
  } catch (const std::exception&) {
    // A name that is not UTF-8 has no wide form where names are wide.
    return {VariantTableError::Kind::kCannotRead, std::string(name), 0};
  }
  return AddFile(path);
}

VariantTableError VariantTableBuilder::AddList(std::string_view list) {
  while (true) {
    const std::size_t comma = list.find(kListSeparator);
    const std::string_view item = list.substr(0, comma);
    if (item.empty()) {
      return {VariantTableError::Kind::kEmptyName, "", 0};
    }
    if (!AddBuiltin(item)) {
      VariantTableError error = AddNamedFile(item);
      if (!error.ok()) {
        // Name the file as the user wrote it.
        error.file = std::string(item);
        return error;
      }
    }
    if (comma == std::string_view::npos) return {};
    list.remove_prefix(comma + 1);
  }
}

void VariantTableBuilder::JoinCanonicalForms() {
  std::vector<char32_t> members;
  members.reserve(parent_.size());
  for (const auto& [member, parent] : parent_) members.push_back(member);
  for (const char32_t member : members) {
    const char32_t compared = FoldCanonicalSingleton(member);
    if (compared != member) Unite(member, compared);
  }
}

VariantTable VariantTableBuilder::Build() {
  VariantTable table;
  for (const auto& [member, parent] : parent_) {
    const char32_t root = Find(member);
    table.Set(member, root);
    if (root == member) ++table.class_count_;
  }
  table.member_count_ = parent_.size();
  return table;
}

}  // namespace tessel
