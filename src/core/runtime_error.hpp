// The one kind of failure that the program's statements raise. Handlers
// either let it pass to their caller or swallow it step by step
// (see resume_next.hpp).
#pragma once

#include <stdexcept>
#include <string>

namespace corvella {

enum class RuntimeErrorKind {
  Overflow,            // signed 32- or 16-bit result out of range
  DivisionByZero,      // integer division or remainder by zero
  FloatingPointFault,  // invalid operation, division by zero or overflow in floating point
  TypeMismatch,        // a text that is no number
  ServiceFailure,      // a platform or runtime service failed
  DiskFull,            // a file could not be written for want of room on its disk
  OutOfMemory,         // an allocation failed
};

class RuntimeError : public std::runtime_error {
 public:
  RuntimeError(RuntimeErrorKind kind, const std::string& what) : std::runtime_error(what), kind_(kind) {}

  [[nodiscard]] RuntimeErrorKind kind() const noexcept { return kind_; }

 private:
  RuntimeErrorKind kind_;
};

// A runtime service that failed, for failures that no system error code
// explains.
[[noreturn]] inline void ThrowServiceFailure(const std::string& what) {
  throw RuntimeError(RuntimeErrorKind::ServiceFailure, what);
}

}  // namespace corvella
