#pragma once
// Writing the output box to a text file: one byte per character
// (ISO-8859-1, so the degree sign is the single byte 0xB0), the text followed
// by CR LF, the file created or replaced at once (through a temporary file
// beside it, so a failure leaves the old file as it was).

#include <string>

namespace vlt {

// UTF-8 to ISO-8859-1; a character outside that set becomes "?" and a byte
// that is not valid UTF-8 is taken as the ISO-8859-1 character it codes.
std::string Utf8ToLatin1(const std::string& utf8);

// Writes text + CR LF to path (WriteFileAtomically: a symbolic link there is
// replaced, not followed).  Returns an empty text on success, else the
// system's description of the failure (a full disk included: the data is
// flushed to the device before success is reported).
std::string WriteOutputFile(const std::string& path, const std::string& utf8Text);

}  // namespace vlt
