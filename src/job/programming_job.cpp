#include "job/programming_job.h"

namespace vantrel {

ProgrammingJob::ProgrammingJob(JobInputs& inputs, JobEvents& events, platform::Clock& clock,
                               std::unique_ptr<platform::SerialDevice> device)
    : inputs_(inputs),
      timeout_(clock),
      port_(std::move(device)),
      ctx_{port_, timeout_, inputs, events},
      image_(std::make_unique<ProgramImage>()),
      loadControlProgram_(inputs, events, image_->control, inquiryMode_, bootDefinition_),
      adjustBitRate_(ctx_, inquiryMode_),
      transferControlProgram_(ctx_, image_->control),
      loadUserProgram_(ctx_, *image_),
      writeBlocks_(ctx_, inquiryMode_, *image_, progress_),
      verifyBlocks_(ctx_, *image_, progress_),
      verifyBlocksByRead_(ctx_, *image_, progress_, bootDefinition_),
      inquirySequence_(ctx_, bootDefinition_, cpuInformation_, responseBuffer_),
      sequence_(
          ctx_, inquiryMode_, progress_,
          SequenceOperations{[this] {
                               cpuInfoReportLost_ = false;
                               return loadControlProgram_.Run();
                             },
                             adjustBitRate_, transferControlProgram_, loadUserProgram_,
                             writeBlocks_, verifyBlocks_, verifyBlocksByRead_, inquirySequence_,
                             [this](bool failed) {
                               cpuInfoReportLost_ = !WriteCpuInfoReport(
                                   failed, bootDefinition_, cpuInformation_, inputs_.ExeFolder(),
                                   inputs_, cpuInfoFileName);
                             },
                             image_->control}) {
  // A dead line ends whichever wait is running at once.
  timeout_.EndWaitsWhen([this] { return port_.LineLost(); });
  image_->memory.bytes.fill(0xFF);
  image_->blocks.flags.fill(0);
}

std::size_t ProgrammingJob::ExpectedBytes() const {
  switch (step()) {
    case ProgrammingSequence::Transfer:
      return transferControlProgram_.Expecting();
    case ProgrammingSequence::Write:
      return writeBlocks_.Expecting();
    case ProgrammingSequence::Verify:
      return inquiryMode_ ? verifyBlocksByRead_.Expecting() : verifyBlocks_.Expecting();
    case ProgrammingSequence::Inquiry:
      return inquirySequence_.Expecting();
    default:
      return 0;
  }
}

void ProgrammingJob::Tick() {
  if (inTick_) return;
  struct Release {
    bool& flag;
    ~Release() { flag = false; }
  } release{inTick_ = true};
  sequence_.SequenceTick();
}

}  // namespace vantrel
