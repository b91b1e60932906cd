#include "SignFile.h"

namespace tessel {

void LoadSignFile(TokenReader& reader, SourceStream& file, SignSet& signs) {
  signs.Clear();
  for (Code code = reader.ReadToken(file); code != kEndOfSource;
       code = reader.ReadToken(file)) {
    if (code != kLineFeed && code != kCarriageReturn) signs.Append(code);
  }
}

}  // namespace tessel
