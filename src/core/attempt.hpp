// A call to a service that raises a RuntimeError when it fails, turned into
// a value that says how it went. For code that decides on each failure and
// tells the user why (the way back), where the window's handlers go on past
// it instead (resume_next.hpp).
#pragma once

#include <optional>
#include <type_traits>

#include "core/runtime_error.hpp"

namespace corvella {

// What the call returned, or nothing when it failed.
template <typename Call>
auto ValueOf(Call&& call) -> std::optional<std::invoke_result_t<Call&>> {
  try {
    return call();
  } catch (const RuntimeError&) {
    return std::nullopt;
  }
}

// How a call that returns nothing failed; nothing when it succeeded.
template <typename Call>
std::optional<RuntimeErrorKind> FailureOf(Call&& call) {
  try {
    call();
    return std::nullopt;
  } catch (const RuntimeError& failure) {
    return failure.kind();
  }
}

}  // namespace corvella
