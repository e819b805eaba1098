#pragma once

#include <cstdint>
#include <functional>

#include "core/step.h"
#include "core/step_context.h"
#include "job/block_progress.h"

namespace vantrel {

class AdjustBitRate;
class TransferControlProgram;
class LoadUserProgram;
class WriteBlocks;
class VerifyBlocks;
class VerifyBlocksByRead;
class InquirySequence;
struct ControlProgram;

// The step operations one job runs, owned by the job.
struct SequenceOperations {
  // Loads the write-control file of the chosen CPU type; StepDone or StepFailed.
  std::function<StepResult()> loadControlProgram;
  AdjustBitRate& adjustBitRate;
  TransferControlProgram& transferControlProgram;
  LoadUserProgram& loadUserProgram;
  WriteBlocks& writeBlocks;
  VerifyBlocks& verifyBlocks;
  VerifyBlocksByRead& verifyBlocksByRead;
  InquirySequence& inquirySequence;
  // Writes CpuInf.txt after the inquiries (always after a failure).
  std::function<void(bool failed)> writeCpuInfoReport;
  const ControlProgram& controlProgram;
};

// The step machine that runs one programming job, one bounded piece of work per timer tick.
class ProgrammingSequence {
 public:
  enum Step : std::int32_t {
    Idle = 0,
    Start = 1,
    AdjustRate = 2,
    ChooseProtocol = 3,
    StartTransfer = 4,
    Transfer = 5,
    StartLoad = 6,
    Load = 7,
    StartWrite = 8,
    Write = 9,
    StartVerify = 10,
    Verify = 11,
    Complete = 12,
    End = 102,
    StartInquiry = 200,
    Inquiry = 201,
    InquiryDone = 202,
  };

  ProgrammingSequence(StepContext& ctx, const bool& inquiryMode, BlockProgress& progress,
                      SequenceOperations ops)
      : ctx_(ctx),
        inquiryMode_(inquiryMode),
        progress_(progress),
        ops_(ops) {}

  void SequenceTick();
  // Starts a job when idle, aborts the running one otherwise.
  void StartOrAbort();

  Step SequenceStep() const { return step_; }
  // Where the last job got to; unchanged by a job refused before it started.
  JobResultCode result() const { return result_; }
  // The next call must come a full timer period after the last one, whatever the tick driver.
  bool PacedByTimer() const;

 private:
  void StartJob();
  void EndJob();
  void SetProgress(std::uint32_t done, std::uint32_t total);
  void SetResult(JobResultCode result);

  StepContext& ctx_;
  const bool& inquiryMode_;
  BlockProgress& progress_;
  SequenceOperations ops_;
  Step step_ = Idle;
  JobResultCode result_ = JobResultCode::Completed;
  bool writeInProgress_ = false;
};

}  // namespace vantrel
