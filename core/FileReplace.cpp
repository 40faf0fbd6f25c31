#include "core/FileReplace.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "core/Exception.h"
#include "core/Format.h"

namespace core {

namespace {

[[noreturn]] void Fail(const std::string& fileName, int error) {
  throw EFCreateError(Format("Cannot create file \"%s\". %s", fileName, std::strerror(error)));
}

// Writes every byte at the current position; the errno of a failure, or 0.
int WriteAll(int handle, std::string_view bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t put = ::write(handle, bytes.data() + done, bytes.size() - done);
    if (put < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (put == 0) return ENOSPC;
    done += std::size_t(put);
  }
  return 0;
}

// The errno of a failed write, flush or close, or 0; the handle is closed.
int FinishFile(int handle, std::string_view bytes) {
  int error = WriteAll(handle, bytes);
  if (error == 0 && ::fsync(handle) != 0 && errno != EINVAL) error = errno;
  // A delayed write error can surface only at close; Linux closes the
  // handle even then, so close is not repeated.
  if (::close(handle) != 0 && error == 0) error = errno;
  return error;
}

bool ReadAll(int handle, std::string& content) {
  char buffer[65536];
  for (;;) {
    const ssize_t got = ::read(handle, buffer, sizeof buffer);
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (got == 0) return true;
    content.append(buffer, std::size_t(got));
  }
}

// A name that leads through symbolic links is replaced where it leads, so
// that the link itself stays.
std::string ResolveLinks(const std::string& fileName) {
  std::error_code error;
  if (!std::filesystem::is_symlink(fileName, error)) return fileName;
  const std::filesystem::path target = std::filesystem::weakly_canonical(fileName, error);
  return error ? fileName : target.string();
}

// A device or pipe: nothing to keep, and renaming over it would replace it.
void WriteThrough(const std::string& fileName, const std::string& target, std::string_view bytes) {
  const int handle = ::open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
  if (handle < 0) Fail(fileName, errno);
  const int error = WriteAll(handle, bytes);
  ::close(handle);
  if (error != 0) Fail(fileName, error);
}

// The directory takes no new file: the file is rewritten where it is, and
// its old content goes back when the new one cannot be written whole.
void WriteInPlace(const std::string& fileName, const std::string& target, std::string_view bytes) {
  int handle = ::open(target.c_str(), O_RDWR | O_CLOEXEC);
  std::string old;
  const bool keepsOld = handle >= 0 && ReadAll(handle, old);
  if (handle < 0) {
    handle = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
    if (handle < 0) Fail(fileName, errno);
  }
  int error = 0;
  if (::ftruncate(handle, 0) != 0 || ::lseek(handle, 0, SEEK_SET) != 0) error = errno;
  if (error == 0) error = WriteAll(handle, bytes);
  if (error == 0 && ::fsync(handle) != 0 && errno != EINVAL) error = errno;
  if (error != 0 && keepsOld) {
    // The old content fitted before; the space it used is free again.
    if (::ftruncate(handle, 0) == 0 && ::lseek(handle, 0, SEEK_SET) == 0 && WriteAll(handle, old) == 0) {
      ::fsync(handle);
    }
  }
  if (::close(handle) != 0 && error == 0) error = errno;
  if (error != 0) Fail(fileName, error);
}

std::string TemporaryName(const std::filesystem::path& target, unsigned attempt) {
  const std::filesystem::path name =
      "." + target.filename().string() + "." + std::to_string(::getpid()) + "." + std::to_string(attempt) + ".tmp";
  return (target.parent_path() / name).string();
}

}  // namespace

void WriteFileReplacing(const std::string& fileName, std::string_view bytes) {
  const std::string target = ResolveLinks(fileName);
  struct stat info;
  const bool exists = ::stat(target.c_str(), &info) == 0;
  if (exists && !S_ISREG(info.st_mode)) {
    if (S_ISDIR(info.st_mode)) Fail(fileName, EISDIR);
    WriteThrough(fileName, target, bytes);
    return;
  }

  std::string temporary;
  int handle = -1;
  for (unsigned attempt = 0; handle < 0 && attempt < 100; ++attempt) {
    temporary = TemporaryName(target, attempt);
    do {
      handle = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    } while (handle < 0 && errno == EINTR);
    if (handle < 0 && errno != EEXIST) break;
  }
  if (handle < 0) {
    const int error = errno;
    if ((error == EACCES || error == EPERM) && exists && ::access(target.c_str(), W_OK) == 0) {
      WriteInPlace(fileName, target, bytes);
      return;
    }
    Fail(fileName, error);
  }
  // The new file keeps the permissions of the one it replaces.
  if (exists) ::fchmod(handle, info.st_mode & 07777);

  int error = FinishFile(handle, bytes);
  if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0) error = errno;
  if (error != 0) {
    ::unlink(temporary.c_str());
    Fail(fileName, error);
  }
  // The rename itself reaches the disk with its directory.
  const std::string directory = std::filesystem::path(target).parent_path().string();
  const int folder = ::open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    ::fsync(folder);
    ::close(folder);
  }
}

}  // namespace core
