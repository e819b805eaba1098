#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/job_events.h"

namespace vantrel {
namespace {

// The status line is the window's own text: every byte, blank and width counts.
TEST(StatusText, EachPhaseGivesTheStatusLineExactly) {
  const struct {
    JobStatus status;
    const char* text;
  } cases[] = {
      {{JobPhase::ChooseFile}, "書き込むファイルを設定して下さい"},
      {{JobPhase::PressButton}, "ブートモードにして左のボタンを押して下さい"},
      {{JobPhase::LoadingControlProgram}, "書き込み制御プログラムの読み込み"},
      {{JobPhase::AdjustingBitRate}, "ビットレート調整中"},
      {{JobPhase::TransferringControlProgram}, "書き込み制御プログラムの転送中"},
      {{.phase = JobPhase::WaitingForErase, .seconds = 7}, "消去完了待ち\u3000 7/30 [秒]"},
      {{JobPhase::ReadingUserProgram, 0xFFE0}, "ファイル読み込み中：Address = 0000FFE0"},
      {{JobPhase::Writing, 0x12FE0280}, "書き込み中：Address = 12FE0280H"},
      {{JobPhase::Verifying, 0x80}, "ベリファイ中：Address = 000080H"},
      {{JobPhase::GettingCpuInfo}, "ＣＰＵ情報の取得中"},
      {{JobPhase::SelectingMat}, " マット選択中"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(StatusText(c.status), c.text) << PhaseName(c.status.phase);
  }
}

// A script keys on these names: each must be there and tell its value apart.
TEST(EventNames, EveryPhaseAndFailureHasADistinctName) {
  std::set<std::string_view> phases;
  for (int p = 0; p <= static_cast<int>(JobPhase::SelectingMat); ++p) {
    phases.insert(PhaseName(static_cast<JobPhase>(p)));
  }
  EXPECT_EQ(phases.size(), static_cast<std::size_t>(JobPhase::SelectingMat) + 1);
  EXPECT_FALSE(phases.contains("unknown"));
  std::set<std::string_view> failures;
  for (int f = 0; f <= static_cast<int>(JobFailure::InquiryAnswerTimeUp); ++f) {
    failures.insert(FailureName(static_cast<JobFailure>(f)));
  }
  EXPECT_EQ(failures.size(), static_cast<std::size_t>(JobFailure::InquiryAnswerTimeUp) + 1);
  EXPECT_FALSE(failures.contains("unknown"));
}

}  // namespace
}  // namespace vantrel
