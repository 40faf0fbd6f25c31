#pragma once

// What the portable code takes from POSIX and the Windows C runtime lacks.
// The Windows build includes this header ahead of every C++ file, so that
// the portable code needs no system conditionals.

#include <fcntl.h>
#include <io.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

// Handles are not inherited by child processes.
#ifndef O_CLOEXEC
#define O_CLOEXEC _O_NOINHERIT
#endif
// Opening a folder fails on Windows whatever the flags; code that opens one
// only to flush it carries on without.
#ifndef O_DIRECTORY
#define O_DIRECTORY 0
#endif

// Flushes the file's data to the disk.
inline int fsync(int handle) { return _commit(handle); }
// Windows keeps only the read-only bit, and a new file has none: nothing to
// carry over.
inline int fchmod(int, mode_t) { return 0; }

inline int setenv(const char* name, const char* value, int overwrite) {
  if (!overwrite && getenv(name)) return 0;
  return _putenv_s(name, value);
}
// An empty value removes the variable on Windows.
inline int unsetenv(const char* name) { return _putenv_s(name, ""); }

namespace ostvane_crt {
// Files are bytes: without this the runtime opens them in text mode, which
// turns CR LF into LF and ends reading at the first Ctrl+Z. Every file of the
// program carries this initialisation, so it runs before main whichever
// files a program links.
inline const int BinaryFileMode = (_fmode = _O_BINARY);
}  // namespace ostvane_crt

#include <direct.h>
#include <errno.h>
#include <string.h>

// Makes a new folder from a template ending in XXXXXX; the template holds
// the name on success.
inline char* mkdtemp(char* pattern) {
  const size_t length = strlen(pattern);
  if (length < 6 || strcmp(pattern + length - 6, "XXXXXX") != 0) {
    errno = EINVAL;
    return nullptr;
  }
  char base[6];
  memcpy(base, pattern + length - 6, 6);
  for (int attempt = 0; attempt < 100; ++attempt) {
    memcpy(pattern + length - 6, base, 6);
    if (_mktemp_s(pattern, length + 1) != 0) return nullptr;
    if (_mkdir(pattern) == 0) return pattern;
    if (errno != EEXIST) return nullptr;
  }
  return nullptr;
}
