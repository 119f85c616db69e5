// Error traps of the inner operations: an error raised inside one is caught at
// its boundary, reported once as a warning, and the operation returns its
// empty result.
#pragma once

#include <new>
#include <string>
#include <utility>

#include "guarded.h"
#include "vantorel/engine.h"

namespace vantorel::engine {

// Shows a warning through the sink, when there is one.
void Warn(const WarningSink& warn, const std::string& title, const std::string& text);

// The common tail of the operations' warnings (two spaces come between the
// sentences, because the lead-in already ends with one).
constexpr const char* kInUseHint = " Please make sure neither of the specified files are in use.";
constexpr const char* kTreeLocateText = "An error occurred while locating the resource tree. ";
constexpr const char* kIconLocateText = "An error occurred while locating the icon resources. ";
constexpr const char* kModifyText = "An error occurred while modifying the resource directories. ";

inline void WarnDescribed(const WarningSink& warn, const char* lead_in, int32_t number) {
  Warn(warn, ProgramName() + " - " + ErrorDescription(number), std::string(lead_in) + kInUseHint);
}

// Runs `body`; on an error shows the described warning and returns `empty`.
template <typename Body, typename Result = decltype(std::declval<Body>()())>
Result Trap(const WarningSink& warn, const char* lead_in, Body body, Result empty = Result{}) {
  try {
    return body();
  } catch (const EngineError& e) {
    WarnDescribed(warn, lead_in, e.number());
  } catch (const std::bad_alloc&) {
    WarnDescribed(warn, lead_in, kOutOfMemory);
  }
  return empty;
}

// As Trap, with the warning that names the function and the error's number.
template <typename Body>
auto TrapNumbered(const WarningSink& warn, const char* function, Body body) -> decltype(body()) {
  try {
    return body();
  } catch (const EngineError& e) {
    Warn(warn, ProgramName() + " - Error",
         std::string("Error in ") + function + " function: " + std::to_string(e.number()) + ": " +
             ErrorDescription(e.number()));
  }
  return decltype(body()){};
}

}  // namespace vantorel::engine
