// Loading the ignored-symbol set from a file. The file is read as a source
// is, through a token reader, so it lives apart from SignSet, which the
// reader itself consults.

#ifndef TESSEL_ENGINE_SIGNFILE_H_
#define TESSEL_ENGINE_SIGNFILE_H_

#include "SignSet.h"
#include "SourceStream.h"
#include "TokenReader.h"

namespace tessel {

// Builds `signs` afresh from an ignored-symbol file: every code that
// `reader` yields for `file`, line feeds and carriage returns left out.
// Notations are folded when the reader folds them, and enter the notation
// table even after the set has ended. A read error ends the file early;
// the caller finds it in file.Error().
void LoadSignFile(TokenReader& reader, SourceStream& file, SignSet& signs);

}  // namespace tessel

#endif  // TESSEL_ENGINE_SIGNFILE_H_
