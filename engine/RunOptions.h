// What a comparison run takes from its caller at its start. The run copies
// these once and never reads them again.

#ifndef TESSEL_ENGINE_RUNOPTIONS_H_
#define TESSEL_ENGINE_RUNOPTIONS_H_

#include <array>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "AnchorRules.h"
#include "Encoding.h"

namespace tessel {

// The look-ahead the window suggests and the range it accepts.
constexpr std::int32_t kDefaultWindowSize = 100;
constexpr std::int32_t kMinWindowSize = 2;
constexpr std::int32_t kMaxWindowSize = 65535;
// The difference limit when none is set: the largest signed 32-bit value.
constexpr std::int32_t kNoDiffLimit = std::numeric_limits<std::int32_t>::max();

struct RunOptions {
  // Three sources are compared; otherwise two, and the third source and
  // result names are not used.
  bool three_files = false;
  // Fold missing-character notations such as "[xxxx]" into single
  // characters.
  bool fold_notations = true;
  // Load the ignored symbols from sign_file.
  bool use_sign_file = false;
  std::filesystem::path sign_file;
  // Load the ignored symbols from sign_memo, the memo's text as Big5 bytes.
  // With both flags set, the memo wins, as it is loaded last; the sign
  // file is still read. Neither front end sets both.
  bool use_sign_memo = false;
  std::string sign_memo;
  // The encoding of sign_memo: big5, or utf-8 for a memo that was Unicode
  // text (the front end turns UTF-16 into UTF-8).
  Encoding sign_memo_encoding = Encoding::kBig5;
  // Each source's encoding, or auto to detect it from the file. A run with
  // any Unicode source is a Unicode run.
  std::array<EncodingChoice, 3> encodings{
      EncodingChoice::kAuto, EncodingChoice::kAuto, EncodingChoice::kAuto};
  // Makes a run whose sources are all Big5 a Unicode run as well.
  bool unicode = false;
  std::array<std::filesystem::path, 3> sources;
  std::array<std::filesystem::path, 3> results;
  std::filesystem::path difference;
  // How many compared characters of each source the search reads ahead;
  // the caller has checked it lies in kMinWindowSize..kMaxWindowSize.
  std::int32_t window_size = kDefaultWindowSize;
  // The growing look-ahead instead of window_size: it starts at 100
  // characters and grows four-fold while no anchor is found, up to
  // max_window (kLeastAutoMaxWindow..kMostAutoMaxWindow).
  bool auto_window = false;
  std::int32_t max_window = kDefaultAutoMaxWindow;
  // The run is cut off once this many differences have been written.
  std::int32_t diff_limit = kNoDiffLimit;
  // Further files that no output may overwrite, such as a memo file.
  std::vector<std::filesystem::path> other_inputs;
  // The files the caller writes from the run's sinks, such as the reports.
  // The run never opens them, but refuses to start when one names an
  // input or another output, as it does for its own outputs.
  std::vector<std::filesystem::path> report_outputs;
  // The variant tables, as a list such as "z,semantic,my.txt" (see
  // VariantTable.h); empty: none, and every character is only itself.
  std::string variant_tables;
  // Stretches from an opener to the next closer on the same line, both
  // included, that are copied to the results and never compared, as the
  // sources' bytes (Big5). Empty: none.
  std::vector<std::pair<std::string, std::string>> ignore_between;
  // Compares an interlinear note "(A/B)" as one unit that equals "(B/A)":
  // its two halves count as a pair in either order, while the results keep
  // each source's own text (README, "Notes and marks").
  bool notes_unordered = false;
};

}  // namespace tessel

#endif  // TESSEL_ENGINE_RUNOPTIONS_H_
