// What the fuzz targets share: how a broken invariant ends the input.

#ifndef TESSEL_TESTS_FUZZ_FUZZSUPPORT_H_
#define TESSEL_TESTS_FUZZ_FUZZSUPPORT_H_

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace tessel::fuzz {

// Says which invariant broke, then aborts, so that libFuzzer keeps the
// input as a crash.
[[noreturn]] inline void Fail(const std::string& what) {
  std::fprintf(stderr, "\n*** invariant broken: %s\n", what.c_str());
  std::fflush(stderr);
  std::abort();
}

inline void Require(const std::string& error, const std::string& context) {
  if (!error.empty()) Fail(context + ": " + error);
}

}  // namespace tessel::fuzz

#endif  // TESSEL_TESTS_FUZZ_FUZZSUPPORT_H_
