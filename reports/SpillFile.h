// Text a writer produces now but must place later in its output, such as
// the JSON report's variant list, which the run hands over between the
// differences but which the document holds after them.
//
// It goes to an anonymous temporary file (std::tmpfile, which the system
// removes however the program ends), so memory stays bounded however long
// the list grows. Where no temporary file can be made or written, the rest
// is kept in memory instead, so nothing is lost.

#ifndef TESSEL_REPORTS_SPILLFILE_H_
#define TESSEL_REPORTS_SPILLFILE_H_

#include <cstdio>
#include <string>
#include <string_view>

#include "OutputStream.h"

namespace tessel::reports {

class SpillFile {
 public:
  SpillFile() = default;
  SpillFile(const SpillFile&) = delete;
  SpillFile& operator=(const SpillFile&) = delete;
  ~SpillFile();

  void Append(std::string_view text);

  // Writes everything appended since the last call to `out`, in order, and
  // empties the spill. Returns false when the temporary file could not be
  // read back whole: `out` then lacks part of the text.
  bool MoveTo(OutputStream& out);

 private:
  // Appended text held until it fills a write to the file.
  static constexpr std::size_t kFileChunk = 64 * 1024;

  void WriteChunk();

  std::FILE* file_ = nullptr;
  bool file_failed_ = false;
  // Text not yet in the file; all of it once the file failed.
  std::string memory_;
  std::size_t file_bytes_ = 0;
};

}  // namespace tessel::reports

#endif  // TESSEL_REPORTS_SPILLFILE_H_
