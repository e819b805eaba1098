#include "core/format.h"
#include "core/job_events.h"
#include "core/status_texts.h"

namespace vantrel {

std::string StatusText(const JobStatus& s) {
  switch (s.phase) {
    case JobPhase::ChooseFile:
      return kChooseFileText;
    case JobPhase::PressButton:
      return "ブートモードにして左のボタンを押して下さい";
    case JobPhase::LoadingControlProgram:
      return "書き込み制御プログラムの読み込み";
    case JobPhase::AdjustingBitRate:
      return "ビットレート調整中";
    case JobPhase::TransferringControlProgram:
      return "書き込み制御プログラムの転送中";
    case JobPhase::WaitingForErase:
      return Format(kEraseWaitFormat, static_cast<int>(s.seconds));
    case JobPhase::ReadingUserProgram:
      return Format("ファイル読み込み中：Address = %08X", static_cast<unsigned>(s.address));
    case JobPhase::Writing:
      return Format("書き込み中：Address = %06XH", static_cast<unsigned>(s.address));
    case JobPhase::Verifying:
      return Format(kVerifyingFormat, static_cast<unsigned>(s.address));
    case JobPhase::GettingCpuInfo:
      return "ＣＰＵ情報の取得中";
    case JobPhase::SelectingMat:
      return " マット選択中";
  }
  return {};
}

std::string_view PhaseName(JobPhase phase) {
  switch (phase) {
    case JobPhase::ChooseFile:
      return "choose-file";
    case JobPhase::PressButton:
      return "press-button";
    case JobPhase::LoadingControlProgram:
      return "loading-control-program";
    case JobPhase::AdjustingBitRate:
      return "adjusting-bit-rate";
    case JobPhase::TransferringControlProgram:
      return "transferring-control-program";
    case JobPhase::WaitingForErase:
      return "waiting-for-erase";
    case JobPhase::ReadingUserProgram:
      return "reading-user-program";
    case JobPhase::Writing:
      return "writing";
    case JobPhase::Verifying:
      return "verifying";
    case JobPhase::GettingCpuInfo:
      return "getting-cpu-info";
    case JobPhase::SelectingMat:
      return "selecting-mat";
  }
  return "unknown";
}

std::string_view FailureName(JobFailure failure) {
  switch (failure) {
    case JobFailure::NoUserProgram:
      return "no-user-program";
    case JobFailure::ControlFileNotOpened:
      return "control-file-not-opened";
    case JobFailure::ControlProgramError:
      return "control-program-error";
    case JobFailure::PortNotOpened:
      return "port-not-opened";
    case JobFailure::NoBitRateSync:
      return "no-bit-rate-sync";
    case JobFailure::ControlTransferFailed:
      return "control-transfer-failed";
    case JobFailure::UserProgramNotOpened:
      return "user-program-not-opened";
    case JobFailure::RecordFormatError:
      return "record-format-error";
    case JobFailure::WriteFailed:
      return "write-failed";
    case JobFailure::VerifyMismatch:
      return "verify-mismatch";
    case JobFailure::VerifyUnanswered:
      return "verify-unanswered";
    case JobFailure::VerifyAddressEcho:
      return "verify-address-echo";
    case JobFailure::VerifyTimeUp:
      return "verify-time-up";
    case JobFailure::VerifyCommunication:
      return "verify-communication";
    case JobFailure::VerifyAnswerHeader:
      return "verify-answer-header";
    case JobFailure::InquiryCommunication:
      return "inquiry-communication";
    case JobFailure::InquiryNewBitRate:
      return "inquiry-new-bit-rate";
    case JobFailure::InquiryDeviceName:
      return "inquiry-device-name";
    case JobFailure::InquiryClockMode:
      return "inquiry-clock-mode";
    case JobFailure::InquiryErrorResponse:
      return "inquiry-error-response";
    case JobFailure::InquiryAnswerTimeUp:
      return "inquiry-answer-time-up";
  }
  return "unknown";
}

}  // namespace vantrel
