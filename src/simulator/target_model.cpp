#include "simulator/target_model.h"

#include <algorithm>
#include <string>
#include <utility>

#include "simulator/classic_boot_loader.h"
#include "simulator/uart_rate.h"

namespace vantrel::simulator {

class TargetModel::ModelLine final : public Line {
 public:
  explicit ModelLine(TargetModel& model) : model_(model) {}
  using Line::Send;
  void Send(std::uint8_t byte) override { model_.Queue(byte, model_.uartBaud_); }
  std::uint32_t ListeningBaud() const override { return model_.uartBaud_; }
  void SetListeningBaud(std::uint32_t baud) override {
    model_.followHost_ = baud == kHostsRate;
    if (!model_.followHost_) model_.uartBaud_ = baud;
  }
  void HangUp() override {
    if (!model_.hungUp_) model_.Trace("hang up");
    model_.hungUp_ = true;
  }

 private:
  TargetModel& model_;
};

TargetModel::TargetModel(TargetOptions options)
    : options_(std::move(options)),
      flash_(options_.flashBase, options_.flashSize),
      line_(std::make_unique<ModelLine>(*this)) {
  BackToBootMode();
}

TargetModel::~TargetModel() = default;

void TargetModel::BackToBootMode() {
  if (options_.makeLoader) {
    loader_ = options_.makeLoader(flash_);
  } else {
    loader_ = std::make_unique<ClassicBootLoader>(flash_, options_.classic);
  }
  mode_ = Mode::BitRateAdjust;
  uartBaud_ = 0;
  followHost_ = false;
  zeros_ = 0;
  hostSpoke_ = false;
  answered_ = 0;
  cutting_ = false;
}

void TargetModel::Reset() {
  incoming_.clear();
  outgoing_.clear();
  hungUp_ = false;
  jobEnded_ = false;
  inFreeUs_ = outFreeUs_ = nowUs_;
  heldUntilUs_ = 0;
  BackToBootMode();
}

bool TargetModel::TakeJobEnded() {
  return std::exchange(jobEnded_, false);
}

void TargetModel::HostOpened(std::uint64_t nowUs) {
  Advance(nowUs);
  if (hungUp_ || mode_ != Mode::BitRateAdjust || hostSpoke_ || options_.noise.empty()) return;
  for (auto b : options_.noise) Queue(b, 0);
  Trace("line noise sent");
}

void TargetModel::Receive(std::span<const std::uint8_t> bytes, std::uint32_t hostBaud,
                          std::uint64_t nowUs) {
  // A port at rate 0 carries nothing (and 0 marks line noise inside the model).
  if (hungUp_ || hostBaud == 0) return;
  for (auto b : bytes) {
    std::uint64_t at = nowUs;
    if (options_.pacing) {
      // A byte has fully arrived one character time after the line was free to carry it.
      at = std::max(nowUs, inFreeUs_) + CharTimeUs(hostBaud);
      inFreeUs_ = at;
    }
    incoming_.push_back({b, hostBaud, at});
  }
  Advance(nowUs);
}

void TargetModel::Advance(std::uint64_t nowUs) {
  while (!incoming_.empty() && incoming_.front().atUs <= nowUs && !hungUp_) {
    const Pending in = incoming_.front();
    incoming_.pop_front();
    AdvanceLoader(std::max(in.atUs, nowUs_));
    if (hungUp_) break;
    ProcessByte(in);
  }
  if (hungUp_) incoming_.clear();
  AdvanceLoader(std::max(nowUs, nowUs_));
}

void TargetModel::AdvanceLoader(std::uint64_t nowUs) {
  nowUs_ = nowUs;
  cutting_ = false;  // a cut ends with the answer it fell in
  if (hungUp_ || mode_ != Mode::Loader) return;
  loader_->Advance(nowUs, *line_);
  CheckJobEnd();
}

void TargetModel::ProcessByte(const Pending& in) {
  hostSpoke_ = true;
  cutting_ = false;
  switch (mode_) {
    case Mode::BitRateAdjust:
      // The boot loader measures the low time of a zero byte; anything else tells it nothing.
      if (options_.noSync) return;
      if (in.value != 0x00) {
        zeros_ = 0;
        return;
      }
      if (!SameRate(in.baud, uartBaud_)) {
        uartBaud_ = in.baud;
        zeros_ = 0;
      }
      if (++zeros_ < std::max<std::uint32_t>(options_.syncZeros, 1)) return;
      Queue(0x00, uartBaud_);
      mode_ = Mode::Handshake;
      Trace("bit rate adjusted to " + std::to_string(uartBaud_));
      return;
    case Mode::Handshake: {
      const auto v = ReceiveAcrossRates(in.value, in.baud, uartBaud_);
      if (!v || *v != 0x55) return;  // further zero bytes and garbage are ignored
      Queue(options_.handshakeAnswer.value_or(loader_->HandshakeAnswer()), uartBaud_);
      mode_ = Mode::Loader;
      Trace("handshake answered");
      return;
    }
    case Mode::Loader: {
      if (followHost_) uartBaud_ = in.baud;
      const auto v = ReceiveAcrossRates(in.value, in.baud, uartBaud_);
      if (!v) return;
      loader_->OnByte(*v, nowUs_, *line_);
      CheckJobEnd();
      return;
    }
  }
}

void TargetModel::CheckJobEnd() {
  if (hungUp_ || !loader_->JobEnded()) return;
  jobEnded_ = true;
  Trace("job ended");
  BackToBootMode();
}

void TargetModel::Queue(std::uint8_t byte, std::uint32_t baud) {
  if (hungUp_) return;
  if (baud != 0 && LostOnTheLine()) return;
  std::uint64_t at = std::max(nowUs_, heldUntilUs_);
  if (options_.pacing && baud != 0) {
    at = std::max(at, outFreeUs_) + CharTimeUs(baud);
    outFreeUs_ = at;
  }
  outgoing_.push_back({byte, baud, at});
}

bool TargetModel::LostOnTheLine() {
  const LineFaults& f = options_.line;
  const std::uint32_t k = ++answered_;
  if (k == f.stallByte) {
    heldUntilUs_ = nowUs_ + std::uint64_t{f.stallMs} * 1000;
    Trace("line stalled for " + std::to_string(f.stallMs) + " ms");
  }
  if (k == f.cutByte) cutting_ = true;
  return cutting_ || k == f.dropByte;
}

std::size_t TargetModel::Transmit(std::span<std::uint8_t> out, std::uint32_t hostBaud,
                                  std::uint64_t nowUs) {
  Advance(nowUs);
  std::size_t n = 0;
  while (n < out.size() && !outgoing_.empty()) {
    const Pending& p = outgoing_.front();
    if (p.atUs > nowUs) break;  // paced, or held by a stalled line
    const auto v = ReceiveAcrossRates(p.value, p.baud, hostBaud);
    if (v) out[n++] = *v;
    outgoing_.pop_front();
  }
  return n;
}

std::size_t TargetModel::OutputDue(std::uint64_t nowUs) {
  Advance(nowUs);
  std::size_t n = 0;
  while (n < outgoing_.size() && outgoing_[n].atUs <= nowUs) ++n;
  return n;
}

std::optional<std::uint64_t> TargetModel::NextOutputUs() const {
  if (outgoing_.empty()) return std::nullopt;
  return outgoing_.front().atUs;
}

std::optional<std::uint64_t> TargetModel::NextInputUs() const {
  if (incoming_.empty() || hungUp_) return std::nullopt;
  return incoming_.front().atUs;
}

std::optional<std::uint64_t> TargetModel::LastOutputUs() const {
  if (outgoing_.empty()) return std::nullopt;
  return outgoing_.back().atUs;
}

std::optional<std::uint64_t> TargetModel::LastInputUs() const {
  if (incoming_.empty() || hungUp_) return std::nullopt;
  return incoming_.back().atUs;
}

void TargetModel::Trace(std::string_view text) const {
  if (options_.trace) options_.trace(text);
}

}  // namespace vantrel::simulator
