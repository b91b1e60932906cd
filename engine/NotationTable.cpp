#include "NotationTable.h"

namespace tessel {

NotationTable& NotationTable::Process() {
  static NotationTable* table = new NotationTable;  // never destroyed
  return *table;
}

std::string FoldNotationCase(std::string_view text) {
  std::string folded(text);
  for (std::size_t i = 0; i < folded.size(); ++i) {
    const auto b = static_cast<unsigned char>(folded[i]);
    if (IsCp950LeadByte(b)) {
      ++i;  // the second byte is part of the character, never a letter
    } else {
      folded[i] = static_cast<char>(FoldAsciiLetter(b));
    }
  }
  return folded;
}

Code NotationTable::InternNotation(std::string_view text) {
  std::string key = FoldNotationCase(text);
  auto found = index_.find(key);
  if (found != index_.end()) return CodeOfIndex(found->second);
  if (entries_.size() >= kCapacity) return kEndOfSource;
  const std::size_t index = entries_.size();
  entries_.emplace_back(text);
  index_.emplace(std::move(key), index);
  return CodeOfIndex(index);
}

}  // namespace tessel
