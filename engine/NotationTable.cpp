#include "NotationTable.h"

namespace tessel {

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
  // Once a text has a code it keeps it, so a remembered answer stays true.
  std::size_t slot_hash = text.size();
  for (char c : text)
    slot_hash = slot_hash * 31 + static_cast<unsigned char>(c);
  Recent& recent = recent_[slot_hash % kRecentSlots];
  if (recent.code != 0 && recent.text == text) return recent.code;
  const Code code = LookUpOrAppend(text);
  if (code != kEndOfSource) {
    recent.text.assign(text);
    recent.code = code;
  }
  return code;
}

Code NotationTable::LookUpOrAppend(std::string_view text) {
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
