#include "SignFile.h"

#include <cstdint>

namespace tessel {

bool LoadSignFile(TokenReader& reader, SourceStream& file, SignSet& signs) {
  signs.Clear();
  for (Code code = reader.ReadToken(file); code != kEndOfSource;
       code = reader.ReadToken(file)) {
    if (file.Tell() > static_cast<std::int64_t>(kMaxWholeFileSize)) {
      return false;
    }
    if (code != kLineFeed && code != kCarriageReturn) signs.Append(code);
  }
  return true;
}

}  // namespace tessel
