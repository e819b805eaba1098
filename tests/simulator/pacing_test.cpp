#include <gtest/gtest.h>

#include "simulator/model_harness.h"

namespace vantrel::testing {
namespace {

simulator::TargetOptions Paced() {
  simulator::TargetOptions options;
  options.pacing = true;
  return options;
}

TEST(Pacing, AnswerComesOneCharacterAfterTheLastZeroHasArrived) {
  ModelHarness h(Paced());
  // Three zeros at 9600 take 3 x 1042 us to arrive; the answer takes one more character.
  EXPECT_EQ(h.Send({0x00, 0x00, 0x00}), Bytes{});
  EXPECT_EQ(h.model.NextOutputUs(), std::nullopt);
  // What the pty target waits for before anything is due out: the next byte to arrive.
  EXPECT_EQ(h.model.NextInputUs(), 1042u);
  h.now = 3 * 1042;
  EXPECT_EQ(h.Take(), Bytes{});
  EXPECT_EQ(h.model.NextOutputUs(), 4 * 1042u);
  EXPECT_EQ(h.model.NextInputUs(), std::nullopt);
  h.now = 4 * 1042 - 1;
  EXPECT_EQ(h.model.OutputDue(h.now), 0u);
  EXPECT_EQ(h.Take(), Bytes{});
  h.now = 4 * 1042;
  EXPECT_EQ(h.model.OutputDue(h.now), 1u);
  EXPECT_EQ(h.Take(), Bytes{0x00});
}

TEST(Pacing, EchoesLeaveOneCharacterApart) {
  ModelHarness h(Paced());
  h.Send({0x00, 0x00, 0x00, 0x55}, 115200);
  h.now = 10'000;
  ASSERT_EQ(h.Take(115200), (Bytes{0x00, 0xAA}));
  // Length and a 16-byte chunk: 18 bytes in, each echoed as it arrives.
  Bytes chunk = Concat({0x00, 0x10}, Block(16, 1));
  h.model.Receive(chunk, 115200, h.now);
  Bytes got;
  std::vector<std::uint64_t> times;
  for (std::uint64_t t = h.now; t <= h.now + 3000; ++t) {
    std::array<std::uint8_t, 32> buffer{};
    const std::size_t n = h.model.Transmit(buffer, 115200, t);
    for (std::size_t i = 0; i < n; ++i) {
      got.push_back(buffer[i]);
      times.push_back(t);
    }
  }
  EXPECT_EQ(got, chunk);
  ASSERT_EQ(times.size(), 18u);
  // The first echo is due two characters after the host started sending (87 us each).
  EXPECT_EQ(times.front(), 10'000u + 2 * 87);
  for (std::size_t i = 1; i < times.size(); ++i) EXPECT_EQ(times[i] - times[i - 1], 87u);
}

}  // namespace
}  // namespace vantrel::testing
