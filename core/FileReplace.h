#pragma once

#include <string>
#include <string_view>

namespace core {

// Replaces the content of fileName by bytes so that a failure (a full disk,
// a quota, an I/O error) leaves the file exactly as it was.
//
// The bytes go to a new file in the directory of the file (of the file a
// symbolic link leads to), are flushed to the disk, and only then does the
// new file take the old one's name; on any failure the new file is removed.
// Where the directory allows no new file but the file exists and may be
// written, it is written in place, and its old content is written back
// when the new one does not fit. A file that is not a regular one (a
// device) is written in place.
//
// Raises EFCreateError "Cannot create file "<fileName>". <reason>", the
// reason being the system's text for the error.
void WriteFileReplacing(const std::string& fileName, std::string_view bytes);

}  // namespace core
