// What the options dialog ("比對選項") hands over: how the sources are read
// and what a run counts as equal, as plain values, and how they become a
// run's options.

#ifndef TESSEL_APP_COMPAREOPTIONS_H_
#define TESSEL_APP_COMPAREOPTIONS_H_

#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Encoding.h"
#include "RunOptions.h"

namespace tessel::app {

// The built-in variant tables the dialog offers, in its order; each is
// named in a run's list as the engine knows it.
inline constexpr std::array<const char*, 4> kBuiltinTableNames = {
    "z", "semantic", "forms", "simplified"};

struct CompareOptions {
  // Each source's encoding; auto detects it from the file.
  std::array<EncodingChoice, 3> encodings{
      EncodingChoice::kAuto, EncodingChoice::kAuto, EncodingChoice::kAuto};
  // Makes a run of Big5 sources a Unicode run as well.
  bool unicode = false;
  // Which of kBuiltinTableNames are in use.
  std::array<bool, 4> builtin_tables{};
  // A table file of the user's, used when use_table_file is set.
  bool use_table_file = false;
  QString table_file;
  // Openers and closers of ignored stretches, separated by blanks and taken
  // two by two: "( ) < >". Empty: none.
  QString ignore_between;
  // Compare a note "(A/B)" as equal to "(B/A)".
  bool notes_unordered = false;
};

// The pairs of `text` (see CompareOptions::ignore_between): its words split
// at blanks, the first of each two an opener, the second its closer.
// Returns nullopt when the count of words is odd.
std::optional<std::vector<std::pair<QString, QString>>> ParseIgnorePairs(
    const QString& text);

// The list the engine takes ("z,semantic,/home/a/mine.txt"): the ticked
// built-in tables in their order, then the table file, as UTF-8. Empty when
// none is chosen.
std::string VariantTableList(const CompareOptions& options);

// Whether `name` can stand in that list: a comma would split it.
bool IsListableTableFile(const QString& name);

// Whether every character of `text` has a Big5 form. The openers and
// closers of ignored stretches must: the engine compares them as Big5
// bytes, and a character left out would change what they match. A memo
// that does not is handed over as Unicode text, not Big5 bytes.
bool FitsBig5(const QString& text);

// Puts `choices` into `options`: the encodings, the Unicode run, the
// variant tables, the ignored stretches (as Big5 bytes) and the unordered
// notes. Meant for choices the window has checked (ParseIgnorePairs,
// FitsBig5, IsListableTableFile); pairs that do not parse are left out.
void ApplyCompareOptions(const CompareOptions& choices, RunOptions& options);

// "Big5", "UTF-8", "UTF-16LE" or "UTF-16BE", as the window shows a
// source's encoding.
QString EncodingLabel(Encoding encoding);

}  // namespace tessel::app

#endif  // TESSEL_APP_COMPAREOPTIONS_H_
