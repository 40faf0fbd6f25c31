#include "core/FileStream.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/Exception.h"
#include "core/Format.h"

namespace core {

TFileStream::TFileStream(const std::string& fileName, TFileMode mode) : FFileName(fileName) {
  int flags = O_CLOEXEC;
  switch (mode) {
    case fmCreate: flags |= O_RDWR | O_CREAT | O_TRUNC; break;
    case fmOpenRead: flags |= O_RDONLY; break;
    case fmOpenWrite: flags |= O_WRONLY; break;
    case fmOpenReadWrite: flags |= O_RDWR; break;
  }
  do {
    FHandle = ::open(fileName.c_str(), flags, 0666);
  } while (FHandle < 0 && errno == EINTR);
  if (FHandle < 0) {
    int error = errno;
    // Windows refuses a folder as "permission denied"; say what it is.
    struct stat folder;
    if (error == EACCES && ::stat(fileName.c_str(), &folder) == 0 && S_ISDIR(folder.st_mode)) error = EISDIR;
    if (mode == fmCreate)
      throw EFCreateError(Format("Cannot create file \"%s\". %s", fileName, std::strerror(error)));
    throw EFOpenError(Format("Cannot open file \"%s\". %s", fileName, std::strerror(error)));
  }
  // Opening a directory for reading succeeds on this system; reading it
  // would then fail with a less helpful error, so refuse it here.
  struct stat info;
  if (::fstat(FHandle, &info) == 0 && S_ISDIR(info.st_mode)) {
    ::close(FHandle);
    FHandle = -1;
    const char* reason = std::strerror(EISDIR);
    if (mode == fmCreate) throw EFCreateError(Format("Cannot create file \"%s\". %s", fileName, reason));
    throw EFOpenError(Format("Cannot open file \"%s\". %s", fileName, reason));
  }
}

TFileStream::~TFileStream() {
  if (FHandle >= 0) ::close(FHandle);
}

std::size_t TFileStream::Read(void* buffer, std::size_t count) {
  auto* bytes = static_cast<char*>(buffer);
  std::size_t done = 0;
  while (done < count) {
    ssize_t got = ::read(FHandle, bytes + done, count - done);
    if (got < 0) {
      if (errno == EINTR) continue;
      if (done > 0) break;
      throw EReadError("Stream read error");
    }
    if (got == 0) break;
    done += std::size_t(got);
  }
  return done;
}

std::size_t TFileStream::Write(const void* buffer, std::size_t count) {
  const auto* bytes = static_cast<const char*>(buffer);
  std::size_t done = 0;
  while (done < count) {
    ssize_t put = ::write(FHandle, bytes + done, count - done);
    if (put < 0) {
      if (errno == EINTR) continue;
      break;  // the caller sees the short count; WriteBuffer raises
    }
    if (put == 0) break;
    done += std::size_t(put);
  }
  return done;
}

std::int64_t TFileStream::Seek(std::int64_t offset, TSeekOrigin origin) {
  int whence = origin == soFromBeginning ? SEEK_SET : origin == soFromCurrent ? SEEK_CUR : SEEK_END;
  off_t result = ::lseek(FHandle, off_t(offset), whence);
  if (result < 0) throw EStreamError("Stream seek error");
  return std::int64_t(result);
}

std::int64_t TFileStream::Size() {
  struct stat info;
  if (::fstat(FHandle, &info) != 0) throw EStreamError("Stream seek error");
  return std::int64_t(info.st_size);
}

void TFileStream::SetSize(std::int64_t size) {
  int error = size < 0 ? EINVAL : (::ftruncate(FHandle, off_t(size)) != 0 ? errno : 0);
  if (error != 0)
    throw EStreamError(Format("Cannot set the size of file \"%s\". %s", FFileName, std::strerror(error)));
}

}  // namespace core
