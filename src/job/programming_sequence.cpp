#include "job/programming_sequence.h"

#include "inquiry/inquiry_sequence.h"
#include "job/adjust_bit_rate.h"
#include "job/classic_bytes.h"
#include "job/load_user_program.h"
#include "job/transfer_control_program.h"
#include "job/verify_blocks.h"
#include "job/verify_blocks_by_read.h"
#include "job/write_blocks.h"
#include "objfile/program_image.h"
#include "serial/comm_ctrl.h"
#include "serial/open_port.h"
#include "core/status_texts.h"

namespace vantrel {
namespace {

constexpr const char* kWrittenMessage = " ユーザプログラム・書き込み完了 ";
constexpr const char* kVerifiedMessage = " ユーザープログラム・書き込み＆ベリファイ完了 ";
constexpr int kLinesPerTick = 100;

}  // namespace

void ProgrammingSequence::StartOrAbort() {
  if (step_ == Idle) {
    step_ = Start;
    return;
  }
  ctx_.events.Beep();
  step_ = End;
}

void ProgrammingSequence::SetResult(JobResultCode result) {
  result_ = result;
  ctx_.events.Result(result);
}

void ProgrammingSequence::SetProgress(std::uint32_t done, std::uint32_t total) {
  ctx_.events.Progress(
      total == 0 ? 0 : static_cast<std::int32_t>(static_cast<std::uint32_t>(done * 1000u) / total));
}

void ProgrammingSequence::StartJob() {
  if (!ctx_.inputs.HasUserProgram()) {
    ReportFailure(ctx_.events, {JobFailure::NoUserProgram, kChooseFileText});
    step_ = Idle;
    return;
  }
  ctx_.events.Running(true);
  ctx_.events.Status({JobPhase::LoadingControlProgram});
  SetResult(JobResultCode::NotCompleted);
  if (ops_.loadControlProgram() == StepFailed) {
    step_ = End;
    return;
  }
  OpenPort(ctx_.port, ctx_.events, ctx_.inputs.PortName(), ctx_.inputs.BaudBoot(), false);
  ctx_.events.Status({JobPhase::AdjustingBitRate});
  ops_.adjustBitRate.Run(PhaseStart);
  step_ = AdjustRate;
}

void ProgrammingSequence::EndJob() {
  if (writeInProgress_) {
    // Bounded by the block answer's and the end frame's own time-outs. A call that found the port
    // empty sleeps on it until a byte comes or that time-out runs out, instead of spinning.
    for (;;) {
      const std::uint64_t emptyReads = ctx_.port.activity().emptyReads;
      if (ops_.writeBlocks.Run(PhaseFinish) != StepBusy) break;
      if (ctx_.port.activity().emptyReads == emptyReads) continue;
      const std::int32_t left = ctx_.timeout.TimeoutRemaining();
      if (left > 0) ctx_.port.WaitForInput(static_cast<std::uint32_t>(left), ctx_.timeout.clock());
    }
    writeInProgress_ = false;
  }
  step_ = Idle;
  ctx_.port.Close();
  if (ops_.loadUserProgram.FileOpen()) ops_.loadUserProgram.CloseFile();
  ctx_.events.Running(false);
  ops_.transferControlProgram.ResetControlBytesSent();
  ctx_.events.Progress(0);
  ctx_.events.Ended(result_);
}

bool ProgrammingSequence::PacedByTimer() const {
  // The zero bytes of the adjustment are the loader's measure of the rate, and the target needs
  // a timer period after acknowledging the new rate before it listens at that rate.
  return step_ == AdjustRate || (step_ == Inquiry && ops_.inquirySequence.subState() ==
                                                         InquirySequence::Step::SwitchBitRate);
}

void ProgrammingSequence::SequenceTick() {
  switch (step_) {
    case Idle:
      writeInProgress_ = false;
      ctx_.events.Status(
          {ctx_.inputs.HasUserProgram() ? JobPhase::PressButton : JobPhase::ChooseFile});
      break;

    case Start:
      StartJob();
      break;

    case AdjustRate: {
      const StepResult r = ops_.adjustBitRate.Run(PhaseContinue);
      if (r == StepDone) step_ = ChooseProtocol;
      if (r == StepFailed) step_ = End;
      break;
    }

    case ChooseProtocol:
      step_ = inquiryMode_ ? StartInquiry : StartTransfer;
      break;

    case StartTransfer:
      ctx_.events.Status({JobPhase::TransferringControlProgram});
      ops_.transferControlProgram.Run(PhaseStart);
      step_ = Transfer;
      break;

    case Transfer: {
      const StepResult r = ops_.transferControlProgram.Run(PhaseContinue);
      SetProgress(ops_.transferControlProgram.ControlBytesSent(), ops_.controlProgram.length);
      if (r == StepDone) step_ = StartLoad;
      if (r == StepFailed) step_ = End;
      break;
    }

    case StartLoad:
      ctx_.events.Progress(0);
      step_ = ops_.loadUserProgram.Run(PhaseStart) == StepFailed ? End : Load;
      break;

    case Load:
      for (int i = 0; i < kLinesPerTick; ++i) {
        const StepResult r = ops_.loadUserProgram.Run(PhaseContinue);
        if (r == StepDone) step_ = StartWrite;
        if (r == StepFailed) step_ = End;
        if (r != StepBusy) break;
      }
      break;

    case StartWrite:
      // The inquiry sequence has already moved the port to the new bit rate.
      if (!inquiryMode_) {
        ctx_.port.Close();
        OpenPort(ctx_.port, ctx_.events, ctx_.inputs.PortName(), ctx_.inputs.BaudProg(), false);
      }
      writeInProgress_ = true;
      ops_.writeBlocks.Run(PhaseStart);
      step_ = Write;
      break;

    case Write: {
      const StepResult r = ops_.writeBlocks.Run(PhaseContinue);
      if (r != StepBusy) writeInProgress_ = false;
      SetProgress(progress_.BlocksDone, progress_.BlocksTotal);
      if (r == StepDone) step_ = StartVerify;
      if (r == StepFailed) step_ = End;
      break;
    }

    case StartVerify:
      if (ctx_.inputs.Verify()) {
        if (inquiryMode_) {
          ops_.verifyBlocksByRead.Run(PhaseStart);
        } else {
          ops_.verifyBlocks.Run(PhaseStart);
        }
        step_ = Verify;
        break;
      }
      if (!inquiryMode_) ctx_.port.PutByte(kEndOfJob);
      SetResult(JobResultCode::Completed);
      ctx_.events.Beep();
      ctx_.events.Notice(JobNotice::Written, kWrittenMessage);
      step_ = End;
      break;

    case Verify: {
      const StepResult r = inquiryMode_ ? ops_.verifyBlocksByRead.Run(PhaseContinue)
                                        : ops_.verifyBlocks.Run(PhaseContinue);
      if (r == StepDone) SetResult(JobResultCode::Completed);
      if (r == StepFailed) SetResult(JobResultCode::VerifyFailed);
      SetProgress(progress_.BlocksDone, progress_.BlocksTotal);
      if (r == StepDone) step_ = Complete;
      if (r == StepFailed) step_ = End;
      break;
    }

    case Complete:
      ctx_.port.PutByte(kEndOfJob);
      ctx_.events.Beep();
      ctx_.events.Notice(JobNotice::Verified, kVerifiedMessage);
      step_ = End;
      break;

    case End:
      EndJob();
      break;

    case StartInquiry:
      ctx_.events.Status({JobPhase::GettingCpuInfo});
      ops_.inquirySequence.Run(PhaseStart);
      step_ = Inquiry;
      break;

    case Inquiry: {
      const StepResult r = ops_.inquirySequence.Run(PhaseContinue);
      if (r == StepDone) {
        ops_.writeCpuInfoReport(false);
        step_ = InquiryDone;
      }
      if (r == StepFailed) {
        ops_.writeCpuInfoReport(true);
        step_ = End;
      }
      break;
    }

    case InquiryDone:
      step_ = StartLoad;
      break;

    default:
      break;
  }
}

}  // namespace vantrel
