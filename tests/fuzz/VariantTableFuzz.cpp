// Variant table files over arbitrary bytes, read as UTF-8 or, where they
// are not, as Big5 through a made-up code page. Reading either fails with a
// line inside the file and nothing kept, or yields classes of two or more
// real characters, none a blank or a control. The table built from them
// gives every member its class's smallest member, whatever order the
// classes come in, and every other character itself.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "VariantTable.h"
#include "VariantTableFile.h"

namespace tessel::fuzz {
namespace {

// Gives most double-byte codes a CJK character and some none, so both
// outcomes of a Big5 lookup are met.
char32_t FakeCp950(std::uint16_t code) {
  if (code % 7 == 0) return 0;
  return 0x4E00 + code % 0x5200;
}

using Classes = std::vector<std::vector<char32_t>>;

Classes Split(const VariantClassList& list) {
  Classes classes(1);
  for (char32_t c : list.members) {
    if (c == 0) {
      classes.emplace_back();
    } else {
      classes.back().push_back(c);
    }
  }
  if (!classes.back().empty()) Fail("the last class is not ended");
  classes.pop_back();
  return classes;
}

void CheckMembers(const Classes& classes) {
  for (const auto& members : classes) {
    if (members.size() < 2) Fail("a class of fewer than two");
    for (char32_t c : members) {
      if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) Fail("not a scalar");
      if (c < 0x20 || c == 0x7F) Fail("a control character kept");
      if (c == 0x20 || c == 0x3000) Fail("a blank kept");
    }
  }
}

// The smallest member of each class once classes sharing a member are
// joined, found the slow way.
char32_t SlowRepresentative(const Classes& classes, char32_t c) {
  std::vector<char32_t> reached = {c};
  for (bool grew = true; grew;) {
    grew = false;
    for (const auto& members : classes) {
      const bool touches =
          std::any_of(members.begin(), members.end(), [&](char32_t m) {
            return std::find(reached.begin(), reached.end(), m) !=
                   reached.end();
          });
      if (!touches) continue;
      for (char32_t m : members) {
        if (std::find(reached.begin(), reached.end(), m) == reached.end()) {
          reached.push_back(m);
          grew = true;
        }
      }
    }
  }
  return *std::min_element(reached.begin(), reached.end());
}

VariantTable Build(const Classes& classes) {
  std::string text;
  for (const auto& members : classes) {
    // Written back as UTF-8 lines, members side by side: a '#' is never
    // first in a class read from a file, so it never starts a comment here.
    for (char32_t c : members) {
      if (c < 0x80) {
        text += static_cast<char>(c);
      } else if (c < 0x800) {
        text += static_cast<char>(0xC0 | (c >> 6));
        text += static_cast<char>(0x80 | (c & 0x3F));
      } else if (c < 0x10000) {
        text += static_cast<char>(0xE0 | (c >> 12));
        text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (c & 0x3F));
      } else {
        text += static_cast<char>(0xF0 | (c >> 18));
        text += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (c & 0x3F));
      }
    }
    text += '\n';
  }
  VariantTableBuilder builder;
  if (!builder.AddText(text, "rewritten").ok()) Fail("rewritten table fails");
  return builder.Build();
}

}  // namespace
}  // namespace tessel::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  using namespace tessel;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  VariantClassList list;
  const VariantTableError error =
      ReadVariantClasses(bytes, fuzz::FakeCp950, list);
  if (!error.ok()) {
    const auto lines = static_cast<std::size_t>(
        std::count(bytes.begin(), bytes.end(), '\n') +
        std::count(bytes.begin(), bytes.end(), '\r') + 1);
    if (error.line < 1 || error.line > lines) fuzz::Fail("line out of range");
    if (!list.members.empty()) fuzz::Fail("classes kept after an error");
    return 0;
  }
  const fuzz::Classes classes = fuzz::Split(list);
  fuzz::CheckMembers(classes);
  const VariantTable forward = fuzz::Build(classes);
  const VariantTable backward =
      fuzz::Build(fuzz::Classes(classes.rbegin(), classes.rend()));
  std::vector<char32_t> all;
  for (const auto& members : classes)
    all.insert(all.end(), members.begin(), members.end());
  std::sort(all.begin(), all.end());
  for (char32_t c : all) {
    const char32_t want = fuzz::SlowRepresentative(classes, c);
    if (forward.Representative(c) != want ||
        backward.Representative(c) != want) {
      fuzz::Fail("representative of U+" + std::to_string(c));
    }
    // A character in no class stands for itself.
    const char32_t next = c + 1;
    if (!std::binary_search(all.begin(), all.end(), next) &&
        forward.Representative(next) != next) {
      fuzz::Fail("U+" + std::to_string(next) + " is in no class");
    }
  }
  return 0;
}
