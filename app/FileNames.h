// How the window turns its fields' Unicode text into what the engine
// takes: file names in the system's form and Big5 (code page 950) bytes.

#ifndef TESSEL_APP_FILENAMES_H_
#define TESSEL_APP_FILENAMES_H_

#include <QString>
#include <filesystem>
#include <string>
#include <string_view>

namespace tessel::app {

// The directory part of a field's text: everything up to and including its
// last path delimiter ('/' on POSIX systems; '\\', '/' and ':' on Windows),
// or the empty text when there is none. Fields hold characters, not bytes,
// so a Big5 character whose second byte is 0x5C can never look like a
// delimiter.
QString DirectoryPart(const QString& text);

// What follows the directory part.
QString NamePart(const QString& text);

// The file that a field's text names, by the system's rule for turning text
// into a file name.
std::filesystem::path FieldFileName(const QString& text);

// `text` as Big5 (code page 950) bytes. A character that has no Big5 form
// cannot occur in a Big5 source either, so it is left out.
std::string ToBig5(const QString& text);

// Big5 (code page 950) bytes as text. A byte sequence that is not Big5
// becomes U+FFFD.
QString FromBig5(std::string_view bytes);

}  // namespace tessel::app

#endif  // TESSEL_APP_FILENAMES_H_
