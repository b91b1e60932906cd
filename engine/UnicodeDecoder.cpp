#include "UnicodeDecoder.h"

namespace tessel {

namespace {

// What a lead byte allows: the sequence's length and the range of its second
// byte; the third and fourth are always 80..BF. Length 0: not a lead byte.
struct LeadRule {
  std::uint8_t length;
  unsigned char second_low;
  unsigned char second_high;
};

// The second-byte limits are what exclude overlong forms (E0, F0),
// surrogates (ED) and values above U+10FFFF (F4).
LeadRule RuleOf(unsigned char lead) {
  if (lead >= 0xC2 && lead <= 0xDF) return {2, 0x80, 0xBF};
  if (lead == 0xE0) return {3, 0xA0, 0xBF};
  if (lead == 0xED) return {3, 0x80, 0x9F};
  if (lead >= 0xE1 && lead <= 0xEF) return {3, 0x80, 0xBF};
  if (lead == 0xF0) return {4, 0x90, 0xBF};
  if (lead >= 0xF1 && lead <= 0xF3) return {4, 0x80, 0xBF};
  if (lead == 0xF4) return {4, 0x80, 0x8F};
  return {0, 0, 0};
}

bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// Whether the first `n` bytes at `p` agree with `rule` (n <= its length).
bool FollowsRule(const unsigned char* p, std::size_t n, LeadRule rule) {
  if (n >= 2 && (p[1] < rule.second_low || p[1] > rule.second_high)) {
    return false;
  }
  for (std::size_t i = 2; i < n; ++i) {
    if (!IsContinuation(p[i])) return false;
  }
  return true;
}

}  // namespace

bool IsUtf8Prefix(const unsigned char* p, std::size_t n) {
  if (n == 0) return false;
  const LeadRule rule = RuleOf(p[0]);
  return n < rule.length && FollowsRule(p, n, rule);
}

DecodedChar DecodeUtf8Slow(const unsigned char* p, const unsigned char* end) {
  const unsigned char b0 = p[0];
  if (b0 < 0x80) return {b0, 1, false};
  const LeadRule rule = RuleOf(b0);
  const std::size_t available = static_cast<std::size_t>(end - p);
  if (rule.length == 0 || available < rule.length ||
      !FollowsRule(p, rule.length, rule)) {
    return {b0, 1, true};
  }
  // The lead byte keeps 7 - length bits (5 for two bytes), each follower 6.
  char32_t value = b0 & (0x7F >> rule.length);
  for (std::size_t i = 1; i < rule.length; ++i) {
    value = value << 6 | (p[i] & 0x3F);
  }
  return {value, rule.length, false};
}

}  // namespace tessel
