#pragma once

#include <cstddef>
#include <cstdint>

namespace core {

// Where Seek counts its offset from.
enum TSeekOrigin { soFromBeginning, soFromCurrent, soFromEnd };

// A sequence of bytes with a position. Read and Write move as many bytes as
// they can and report how many; ReadBuffer and WriteBuffer insist on all of
// them.
class TStream {
 public:
  TStream() = default;
  virtual ~TStream() = default;
  TStream(const TStream&) = delete;
  TStream& operator=(const TStream&) = delete;

  // Reads up to count bytes at the position and advances past them; returns
  // the number read, 0 at the end. Errors of the medium raise EReadError.
  virtual std::size_t Read(void* buffer, std::size_t count) = 0;
  // Writes up to count bytes at the position; returns the number written,
  // fewer (possibly 0) when the medium refuses the rest.
  virtual std::size_t Write(const void* buffer, std::size_t count) = 0;
  // Moves the position and returns the new one. Seek(0, soFromCurrent) asks
  // for the position without moving. A position before the start raises
  // EStreamError "Stream seek error"; one past the end is allowed where the
  // medium allows it (a later Write fills the gap with zeros).
  virtual std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) = 0;

  std::int64_t Position() { return Seek(0, soFromCurrent); }
  void SetPosition(std::int64_t position) { Seek(position, soFromBeginning); }
  // The default measures by seeking to the end and back.
  virtual std::int64_t Size();
  // The default raises EStreamError "Invalid stream operation".
  virtual void SetSize(std::int64_t size);

  // Raise EReadError "Stream read error" / EWriteError "Stream write error"
  // when fewer than count bytes move.
  void ReadBuffer(void* buffer, std::size_t count);
  void WriteBuffer(const void* buffer, std::size_t count);

  // Copies count bytes from source's position; count 0 copies the whole
  // source from its beginning. Returns the number of bytes copied.
  std::int64_t CopyFrom(TStream& source, std::int64_t count);

 protected:
  // The position a seek asks for in a stream at position of size bytes;
  // raises EStreamError "Stream seek error" before the start or on overflow.
  static std::int64_t SeekTarget(std::int64_t position, std::int64_t size, std::int64_t offset,
                                 TSeekOrigin origin);
};

}  // namespace core
