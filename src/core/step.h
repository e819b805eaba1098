#pragma once

namespace vantrel {

// The argument of every step operation.
enum StepPhase : int {
  PhaseStart = 0,
  PhaseContinue = 1,
  PhaseFinish = 2,  // block writing only: bring an interrupted exchange to an orderly end
};

// Reads a step operation makes at most in one call while it takes in a run of data bytes: enough
// for the fastest rate at a 10 ms tick.
inline constexpr int kDataReadsPerCall = 200;

// What a step operation reports; StepFailed means it has already reported the failure.
enum StepResult : int {
  StepBusy = 3,
  StepDone = 4,
  StepFailed = 5,
};

}  // namespace vantrel
