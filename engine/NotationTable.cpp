#include "NotationTable.h"

namespace tessel {

NotationTable& NotationTable::Process() {
  static NotationTable* table = new NotationTable;  // never destroyed
  return *table;
}

void FoldNotationCase(std::string_view text, char* folded) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto b = static_cast<unsigned char>(text[i]);
    folded[i] = static_cast<char>(FoldAsciiLetter(b));
    if (IsCp950LeadByte(b) && i + 1 < text.size()) {
      // The second byte is part of the character, never a letter.
      ++i;
      folded[i] = text[i];
    }
  }
}

Code NotationTable::InternNotation(std::string_view text) {
  // Notations are short; a longer text folds on the heap.
  char local[128];
  std::string heap;
  char* folded = local;
  if (text.size() > sizeof local) {
    heap.resize(text.size());
    folded = heap.data();
  }
  FoldNotationCase(text, folded);
  const std::string_view key(folded, text.size());
  if (auto found = index_.find(key); found != index_.end()) {
    return CodeOfIndex(found->second);
  }
  if (entries_.size() >= kCapacity) return kEndOfSource;
  const std::size_t index = entries_.size();
  entries_.emplace_back(text);
  index_.emplace(std::string(key), index);
  return CodeOfIndex(index);
}

}  // namespace tessel
