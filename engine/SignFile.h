// Loading the ignored-symbol set from a file. The file is read as a source
// is, through a token reader, so it lives apart from SignSet, which the
// reader itself consults.

#ifndef TESSEL_ENGINE_SIGNFILE_H_
#define TESSEL_ENGINE_SIGNFILE_H_

#include "PlatformFile.h"
#include "SignSet.h"
#include "SourceStream.h"
#include "TokenReader.h"

namespace tessel {

// Builds `signs` afresh from an ignored-symbol file: every code that
// `reader` yields for `file`, line feeds and carriage returns left out.
// Notations are folded when the reader folds them, and enter the notation
// table even after the set has ended. A read error ends the file early;
// the caller finds it in file.Error(). Returns false, the set loaded from
// what was read, when the file goes on past kMaxWholeFileSize bytes (an
// endless device such as /dev/zero is no list of symbols).
bool LoadSignFile(TokenReader& reader, SourceStream& file, SignSet& signs);

}  // namespace tessel

#endif  // TESSEL_ENGINE_SIGNFILE_H_
