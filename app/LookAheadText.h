// The look-ahead field (最大比對字數): a fixed number of characters, or
// "auto" for the look-ahead that grows while no common stretch is found,
// with an optional largest size as tessel-cli takes it ("auto:MAX").

#ifndef TESSEL_APP_LOOKAHEADTEXT_H_
#define TESSEL_APP_LOOKAHEADTEXT_H_

#include <QString>
#include <cstdint>
#include <variant>

#include "AnchorRules.h"
#include "RunOptions.h"

namespace tessel::app {

struct LookAheadChoice {
  bool auto_window = false;
  // The fixed look-ahead; unused with auto_window.
  std::int32_t window_size = kDefaultWindowSize;
  // The largest growing look-ahead; unused without auto_window.
  std::int32_t max_window = kDefaultAutoMaxWindow;
};

// Why a field's text is no look-ahead.
enum class LookAheadFault {
  kNotNumber,       // neither a number nor auto
  kOutOfRange,      // a number outside kMinWindowSize..kMaxWindowSize
  kBadAutoMaximum,  // "auto:" without a number in
                    // kLeastAutoMaxWindow..kMostAutoMaxWindow
};

// Reads the field's text. A number is read by the integer-text rule, as it
// always was. "auto" and "auto:MAX" ignore the case of the letters and
// blanks around them; MAX is read by the integer-text rule too.
std::variant<LookAheadChoice, LookAheadFault> ParseLookAhead(
    const QString& text);

}  // namespace tessel::app

#endif  // TESSEL_APP_LOOKAHEADTEXT_H_
