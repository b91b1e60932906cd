#include "NoteTable.h"

#include <utility>

namespace tessel {

namespace {

// The low bytes a notation code never has, in the order notes take them.
constexpr Code kLowBytesBelow = 39;                     // 1..39
constexpr Code kLowBytesPerHigh = kLowBytesBelow + 16;  // and 240..255
constexpr Code kFirstNoteHighByte = 3;
constexpr Code kFirstUpperLowByte = 240;

}  // namespace

std::u32string NoteHalves::CanonicalKey() const {
  const bool swap = halves_[1] < halves_[0];
  const std::u32string& first = swap ? halves_[1] : halves_[0];
  const std::u32string& second = swap ? halves_[0] : halves_[1];
  std::u32string key;
  key.reserve(first.size() + 1 + second.size());
  key += first;
  // No compared character has key 0, so the halves cannot run together.
  key.push_back(0);
  key += second;
  return key;
}

std::ptrdiff_t NoteTable::Intern(const std::u32string& key) {
  if (auto found = index_.find(key); found != index_.end()) {
    return static_cast<std::ptrdiff_t>(found->second);
  }
  if (index_.size() >= capacity_) return -1;
  const std::size_t index = index_.size();
  index_.emplace(key, index);
  return static_cast<std::ptrdiff_t>(index);
}

Code NoteTable::Big5Code(std::size_t index) {
  const Code high =
      kFirstNoteHighByte + static_cast<Code>(index) / kLowBytesPerHigh;
  const Code slot = static_cast<Code>(index) % kLowBytesPerHigh;
  const Code low = slot < kLowBytesBelow
                       ? 1 + slot
                       : kFirstUpperLowByte + slot - kLowBytesBelow;
  return high * 256 + low;
}

}  // namespace tessel
