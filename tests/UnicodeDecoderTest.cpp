// The UTF-8 and UTF-16 readers and the writers: which bytes make a
// character, which are raw, and that writing back gives the bytes again.

#include "UnicodeDecoder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "UnicodeEncoder.h"

namespace tessel::testing {
namespace {

using namespace std::string_literals;

using Decoder = DecodedChar (*)(const unsigned char*, const unsigned char*);

// Every character of `bytes`, as "4E00" for a scalar value and "r:E4" for a
// raw byte or unit, separated by blanks; each character's length follows
// after a "/" when it is not what its form implies.
std::string Describe(Decoder decode, std::string_view bytes) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const auto* const end = p + bytes.size();
  std::string text;
  while (p < end) {
    const DecodedChar c = decode(p, end);
    char item[32];
    std::snprintf(item, sizeof item, "%s%s%04X/%u", text.empty() ? "" : " ",
                  c.raw ? "r:" : "", static_cast<unsigned>(c.value),
                  static_cast<unsigned>(c.length));
    text += item;
    p += c.length;
  }
  return text;
}

struct DecodeCase {
  const char* name;
  std::string bytes;
  const char* chars;
};

TEST(UnicodeDecoderTest, Utf8CharactersAndRawBytes) {
  const DecodeCase cases[] = {
      {"ascii and controls", "A\x1A\n\0"s, "0041/1 001A/1 000A/1 0000/1"},
      {"two three four bytes", "\xC2\x80\xE4\xB8\x80\xF0\x9F\x98\x80",
       "0080/2 4E00/3 1F600/4"},
      {"edges of each length",
       "\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF\xF4\x8F\xBF\xBF",
       "07FF/2 0800/3 FFFF/3 10FFFF/4"},
      {"planes 2 and 3", "\xF0\xA0\x80\x80\xF0\xB2\x8E\xAF", "20000/4 323AF/4"},
      {"byte order mark is a character", "\xEF\xBB\xBF", "FEFF/3"},
      {"overlong two bytes", "\xC0\x80\xC1\xBF",
       "r:00C0/1 r:0080/1 r:00C1/1 r:00BF/1"},
      {"overlong three bytes", "\xE0\x80\x80", "r:00E0/1 r:0080/1 r:0080/1"},
      {"overlong four bytes", "\xF0\x8F\xBF\xBF",
       "r:00F0/1 r:008F/1 r:00BF/1 r:00BF/1"},
      {"surrogates in UTF-8", "\xED\xA0\x80\xED\xBF\xBF\xED\x9F\xBF",
       "r:00ED/1 r:00A0/1 r:0080/1 r:00ED/1 r:00BF/1 r:00BF/1 D7FF/3"},
      {"above U+10FFFF", "\xF4\x90\x80\x80",
       "r:00F4/1 r:0090/1 r:0080/1 r:0080/1"},
      {"bytes F5 to FF", "\xF5\xF8\xFC\xFE\xFF",
       "r:00F5/1 r:00F8/1 r:00FC/1 r:00FE/1 r:00FF/1"},
      {"lone continuation",
       "\x80"
       "A\xBF",
       "r:0080/1 0041/1 r:00BF/1"},
      {"cut by the end", "A\xE4\xB8", "0041/1 r:00E4/1 r:00B8/1"},
      {"cut by another character",
       "\xE4\xB8"
       "A\xF0\x9F\x98\xE4\xB8\x80",
       "r:00E4/1 r:00B8/1 0041/1 r:00F0/1 r:009F/1 r:0098/1 4E00/3"},
      {"Big5 read as UTF-8", "\xA4\xA4\xA4\xE5",
       "r:00A4/1 r:00A4/1 r:00A4/1 r:00E5/1"},
  };
  for (const DecodeCase& c : cases) {
    EXPECT_EQ(Describe(DecodeUtf8, c.bytes), c.chars) << c.name;
  }
}

TEST(UnicodeDecoderTest, Utf16CharactersAndRawUnits) {
  struct Case {
    const char* name;
    std::string little;  // the big-endian input is the same with each
                         // pair of bytes swapped
    const char* chars;
  };
  const Case cases[] = {
      {"BMP", "A\0\x00\x4E\x1A\0"s, "0041/2 4E00/2 001A/2"},
      {"pairs up to plane 3", "\x40\xD8\x00\xDC\x88\xD8\xAF\xDF"s,
       "20000/4 323AF/4"},
      {"lone high at the end", "A\0\x40\xD8"s, "0041/2 r:D840/2"},
      {"lone low",
       "\x00\xDC"
       "A\0"s,
       "r:DC00/2 0041/2"},
      {"high before a non-low",
       "\x40\xD8"
       "A\0"s,
       "r:D840/2 0041/2"},
      {"two highs then a low", "\x40\xD8\x40\xD8\x00\xDC"s, "r:D840/2 20000/4"},
      {"byte order mark", "\xFF\xFE"s, "FEFF/2"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Describe(DecodeUtf16Le, c.little), c.chars) << c.name;
    std::string big = c.little;
    for (std::size_t i = 0; i + 1 < big.size(); i += 2) {
      std::swap(big[i], big[i + 1]);
    }
    EXPECT_EQ(Describe(DecodeUtf16Be, big), c.chars) << c.name << " (BE)";
  }
  // A last odd byte is a raw byte; its order does not matter.
  EXPECT_EQ(Describe(DecodeUtf16Le, "A\0B"s), "0041/2 r:0042/1");
  EXPECT_EQ(Describe(DecodeUtf16Be, "\0AB"s), "0041/2 r:0042/1");
}

// The inline path must agree with the general one on every three-byte
// input it could take.
TEST(UnicodeDecoderTest, FastPathAgreesWithTheGeneralRule) {
  unsigned char bytes[3];
  for (unsigned b0 = 0xE0; b0 <= 0xEF; ++b0) {
    for (unsigned b1 = 0; b1 < 256; ++b1) {
      for (unsigned b2 = 0; b2 < 256; ++b2) {
        bytes[0] = static_cast<unsigned char>(b0);
        bytes[1] = static_cast<unsigned char>(b1);
        bytes[2] = static_cast<unsigned char>(b2);
        const DecodedChar fast = DecodeUtf8(bytes, bytes + 3);
        const DecodedChar slow = DecodeUtf8Slow(bytes, bytes + 3);
        if (fast.value != slow.value || fast.length != slow.length ||
            fast.raw != slow.raw) {
          FAIL() << std::hex << b0 << " " << b1 << " " << b2;
        }
      }
    }
  }
}

TEST(UnicodeDecoderTest, EveryScalarValueRoundTrips) {
  const struct {
    Encoding encoding;
    Decoder decode;
  } forms[] = {{Encoding::kUtf8, DecodeUtf8},
               {Encoding::kUtf16Le, DecodeUtf16Le},
               {Encoding::kUtf16Be, DecodeUtf16Be}};
  for (const auto& form : forms) {
    for (char32_t c = 0; c <= kLastScalarValue; ++c) {
      if (IsSurrogate(c)) continue;
      char out[kMaxEncodedLength];
      const std::size_t n = EncodeScalar(c, form.encoding, out);
      const auto* p = reinterpret_cast<const unsigned char*>(out);
      const DecodedChar back = form.decode(p, p + n);
      if (back.raw || back.value != c || back.length != n) {
        FAIL() << EncodingName(form.encoding) << " U+" << std::hex
               << static_cast<unsigned>(c);
      }
    }
  }
}

// Whatever the bytes, decoding and writing back every character gives them
// again: nothing ill-formed is lost or changed.
TEST(UnicodeDecoderTest, AnyBytesComeBackWhole) {
  const struct {
    Encoding encoding;
    Decoder decode;
  } forms[] = {{Encoding::kUtf8, DecodeUtf8},
               {Encoding::kUtf16Le, DecodeUtf16Le},
               {Encoding::kUtf16Be, DecodeUtf16Be}};
  for (const auto& form : forms) {
    for (unsigned pair = 0; pair < 0x10000; ++pair) {
      // Two bytes, then a byte that may cut or continue them.
      for (const unsigned char tail : {0x80, 0xDC, 0x41}) {
        const unsigned char in[4] = {static_cast<unsigned char>(pair >> 8),
                                     static_cast<unsigned char>(pair), tail,
                                     0xBF};
        std::string back;
        for (const unsigned char* p = in; p < in + 4;) {
          const DecodedChar c = form.decode(p, in + 4);
          char out[kMaxEncodedLength];
          back.append(out, EncodeDecoded(c, form.encoding, out));
          p += c.length;
        }
        if (back != std::string(reinterpret_cast<const char*>(in), 4)) {
          FAIL() << EncodingName(form.encoding) << " " << std::hex << pair
                 << " " << unsigned{tail};
        }
      }
    }
  }
}

TEST(UnicodeEncoderTest, WritesExactBytes) {
  struct Case {
    char32_t c;
    Encoding encoding;
    std::string bytes;
  };
  const Case cases[] = {
      {0x1A, Encoding::kUtf8, "\x1A"},
      {0x4E00, Encoding::kUtf8, "\xE4\xB8\x80"},
      {0x323AF, Encoding::kUtf8, "\xF0\xB2\x8E\xAF"},
      {0x323AF, Encoding::kUtf16Le, "\x88\xD8\xAF\xDF"},
      {0x323AF, Encoding::kUtf16Be, "\xD8\x88\xDF\xAF"},
      {0x4E00, Encoding::kUtf16Le, "\x00\x4E"s},
      {0x41, Encoding::kBig5, "A"},
      {0x1A, Encoding::kBig5, "\x1A"},
      {0x4E00, Encoding::kBig5, "\xA4\x40"},
      {0x3000, Encoding::kBig5, "\xA1\x40"},
      {0x2551, Encoding::kBig5, "\xF9\xF8"},
      // Two codes give these; the standard rows win over the F9 row and
      // the ideograph rows over the numerals.
      {0x2550, Encoding::kBig5, "\xA2\xA4"},
      {0x5341, Encoding::kBig5, "\xA4\x51"},
      {0x5345, Encoding::kBig5, "\xA4\xCA"},
      {0xFA0C, Encoding::kBig5, "\xC9\x4A"},
      {0x5140, Encoding::kBig5, "\xA4\x61"},
      // What the page lacks: upper-case hex, at least four digits.
      {0x80, Encoding::kBig5, "&x-0080;"},
      {0x4BB6, Encoding::kBig5, "&x-4BB6;"},
      {0xFFFD, Encoding::kBig5, "&x-FFFD;"},
      {0x20000, Encoding::kBig5, "&x-20000;"},
      {0x10FFFF, Encoding::kBig5, "&x-10FFFF;"},
  };
  for (const Case& c : cases) {
    char out[kMaxEncodedLength];
    const std::size_t n = EncodeScalar(c.c, c.encoding, out);
    EXPECT_EQ(std::string(out, n), c.bytes)
        << EncodingName(c.encoding) << " U+" << std::hex
        << static_cast<unsigned>(c.c);
  }
}

}  // namespace
}  // namespace tessel::testing
