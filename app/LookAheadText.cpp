#include "LookAheadText.h"

#include <optional>

#include "IntegerText.h"

namespace tessel::app {

std::variant<LookAheadChoice, LookAheadFault> ParseLookAhead(
    const QString& text) {
  const QString word = text.trimmed().toLower();
  const QString auto_word = QStringLiteral("auto");
  if (word.startsWith(auto_word)) {
    LookAheadChoice choice;
    choice.auto_window = true;
    const QString rest = word.mid(auto_word.size()).trimmed();
    if (rest.isEmpty()) return choice;
    if (!rest.startsWith(QLatin1Char(':'))) return LookAheadFault::kNotNumber;
    const std::optional<std::int32_t> maximum =
        ParseIntegerText(rest.mid(1).trimmed().toStdString());
    if (!maximum || *maximum < kLeastAutoMaxWindow ||
        *maximum > kMostAutoMaxWindow) {
      return LookAheadFault::kBadAutoMaximum;
    }
    choice.max_window = *maximum;
    return choice;
  }
  const std::optional<std::int32_t> window =
      ParseIntegerText(text.toStdString());
  if (!window) return LookAheadFault::kNotNumber;
  if (*window < kMinWindowSize || *window > kMaxWindowSize) {
    return LookAheadFault::kOutOfRange;
  }
  LookAheadChoice choice;
  choice.window_size = *window;
  return choice;
}

}  // namespace tessel::app
