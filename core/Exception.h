#pragma once

#include <stdexcept>
#include <string>

namespace core {

// The class library's errors. The message is the text a user sees in the
// application's error box, so it is written as the program says it
// ("'abc' is not a valid integer value", "compression error").
class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
};

// A text that does not convert to the value asked for.
class EConvertError : public Exception {
 public:
  using Exception::Exception;
};

// Streams: base and the file cases.
class EStreamError : public Exception {
 public:
  using Exception::Exception;
};
class EFCreateError : public EStreamError {
 public:
  using EStreamError::EStreamError;
};
class EFOpenError : public EStreamError {
 public:
  using EStreamError::EStreamError;
};
class EReadError : public EStreamError {
 public:
  using EStreamError::EStreamError;
};
class EWriteError : public EStreamError {
 public:
  using EStreamError::EStreamError;
};

// zlib streams: a failure while compressing ("error") or inflating
// ("compression error"), and a refused operation ("Invalid stream
// operation").
class ECompressionError : public Exception {
 public:
  using Exception::Exception;
};
class EDecompressionError : public Exception {
 public:
  using Exception::Exception;
};

// String lists and other containers: an index out of range.
class EListError : public Exception {
 public:
  using Exception::Exception;
};

// Components: a bad or duplicate name.
class EComponentError : public Exception {
 public:
  using Exception::Exception;
};

// A call that the object's state does not allow.
class EInvalidOperation : public Exception {
 public:
  using Exception::Exception;
};

}  // namespace core
