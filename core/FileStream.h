#pragma once

#include <cstdint>
#include <string>

#include "core/Stream.h"

namespace core {

// How TFileStream opens its file.
enum TFileMode {
  fmCreate,         // create, or truncate an existing file; read and write
  fmOpenRead,       // existing file, reading only
  fmOpenWrite,      // existing file, writing only, contents kept
  fmOpenReadWrite,  // existing file, reading and writing, contents kept
};

// A file on disk. Opening failures raise EFCreateError
// "Cannot create file "<name>". <reason>" (fmCreate) or EFOpenError
// "Cannot open file "<name>". <reason>" (the others), the reason being the
// system's text for the error.
class TFileStream : public TStream {
 public:
  TFileStream(const std::string& fileName, TFileMode mode);
  ~TFileStream() override;

  std::size_t Read(void* buffer, std::size_t count) override;
  std::size_t Write(const void* buffer, std::size_t count) override;
  std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
  std::int64_t Size() override;
  // Truncates or extends the file; raises EStreamError on failure.
  void SetSize(std::int64_t size) override;

  const std::string& FileName() const { return FFileName; }

 private:
  std::string FFileName;
  int FHandle = -1;
};

}  // namespace core
