// The signed integer with which the loader or a step ends: 0 goes on, any
// other value ends the run. OutcomeReport maps each to an exit code and a box.
#pragma once

#include <cstdint>

namespace kvr {

using Outcome = std::int32_t;

namespace outcome {
constexpr Outcome kSuccess = 0;
constexpr Outcome kSettingsUnusable = 2;
constexpr Outcome kProductRunning = 4;
constexpr Outcome kVersionMismatch = 5;
constexpr Outcome kNotConfirmed = 7;
constexpr Outcome kNotInstalled = 8;
constexpr Outcome kAlreadyRunning = 9;
constexpr Outcome kOrsaInstalled = 10;
constexpr Outcome kOrsaMissing = 11;
constexpr Outcome kAlreadyApplied = 12;
constexpr Outcome kBadParameter = 13;
constexpr Outcome kFileNotWritten = 20;
constexpr Outcome kRegistryFailed = 30;
constexpr Outcome kUnexpected = -1;
}  // namespace outcome

// A non-zero Outcome raised by PrepareRun or ApplySequence to the entry point.
struct RaisedOutcome {
  Outcome value;
};

// Ends the loader or a step with `value`; caught by CatchAtEdge.
[[noreturn]] inline void RaiseOutcome(Outcome value) {
  throw RaisedOutcome{value};
}

// Runs `body`, an Outcome-returning piece of the loader or a step, and turns an
// Outcome raised inside it into its value and any other exception into -1.
template <typename Body>
Outcome CatchAtEdge(Body&& body) noexcept {
  try {
    return body();
  } catch (const RaisedOutcome& raised) {
    return raised.value;
  } catch (...) {
    return outcome::kUnexpected;
  }
}

}  // namespace kvr
