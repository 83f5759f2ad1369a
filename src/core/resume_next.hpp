// The resume-next policy: a handler runs its statements one by one, and a
// statement that raises a RuntimeError is abandoned where it failed while the
// handler goes on with the next one. Writing each skippable statement as
// ResumeNext([&] { ... }) keeps that visible at every step.
// It is the style of the window's handlers and the two pictures, which go on
// silently past a failure; code that must tell the user why something failed
// (the way back) returns an outcome instead and lets nothing pass unsaid.
#pragma once

#include <new>
#include <optional>
#include <string>
#include <utility>

#include "core/runtime_error.hpp"

namespace corvella {

// Runs one statement; a RuntimeError ends only this statement, and so does
// running out of memory, which is one of the runtime's own errors. Returns
// the text of the error that ended it, nothing when it completed: for a
// handler that must tell the user why a step stopped.
template <typename Statement>
std::optional<std::string> ResumeNextWithFault(Statement&& statement) {
  try {
    statement();
    return std::nullopt;
  } catch (const RuntimeError& failure) {
    return failure.what();
  } catch (const std::bad_alloc&) {
    return "Out of memory";
  }
}

// The same; returns whether the statement completed.
template <typename Statement>
bool ResumeNext(Statement&& statement) {
  return !ResumeNextWithFault(std::forward<Statement>(statement)).has_value();
}

}  // namespace corvella
