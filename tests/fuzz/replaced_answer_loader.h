#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "simulator/boot_loader.h"

namespace vantrel::fuzzing {

// A simulated boot loader whose answers pass through untouched, except one: the bytes the fuzzer
// chose go out in its place. An answer is what the loader sends between two bytes of the host.
class ReplacedAnswerLoader final : public simulator::BootLoader {
 public:
  ReplacedAnswerLoader(std::unique_ptr<simulator::BootLoader> inner, std::size_t replaced,
                       std::span<const std::uint8_t> answer)
      : inner_(std::move(inner)), replaced_(replaced), answer_(answer) {}

  std::uint8_t HandshakeAnswer() const override { return inner_->HandshakeAnswer(); }
  void OnByte(std::uint8_t byte, std::uint64_t nowUs, simulator::Line& line) override {
    hostSpoke_ = true;
    Filter filter(*this, line);
    inner_->OnByte(byte, nowUs, filter);
  }
  void Advance(std::uint64_t nowUs, simulator::Line& line) override {
    Filter filter(*this, line);
    inner_->Advance(nowUs, filter);
  }
  bool JobEnded() const override { return inner_->JobEnded(); }

  // Keeps every answer as it was sent, for seeding the corpus.
  void RecordInto(std::vector<std::vector<std::uint8_t>>* answers) { record_ = answers; }

 private:
  class Filter final : public simulator::Line {
   public:
    Filter(ReplacedAnswerLoader& owner, simulator::Line& line) : owner_(owner), line_(line) {}
    using simulator::Line::Send;
    void Send(std::uint8_t byte) override { owner_.Pass(byte, line_); }
    std::uint32_t ListeningBaud() const override { return line_.ListeningBaud(); }
    void SetListeningBaud(std::uint32_t baud) override { line_.SetListeningBaud(baud); }
    void HangUp() override { line_.HangUp(); }

   private:
    ReplacedAnswerLoader& owner_;
    simulator::Line& line_;
  };

  void Pass(std::uint8_t byte, simulator::Line& line) {
    if (hostSpoke_) {
      hostSpoke_ = false;
      if (answers_++ == replaced_) line.Send(answer_);
      if (record_ != nullptr) record_->emplace_back();
    }
    if (record_ != nullptr && !record_->empty()) record_->back().push_back(byte);
    if (answers_ != replaced_ + 1) line.Send(byte);
  }

  std::unique_ptr<simulator::BootLoader> inner_;
  std::size_t replaced_;
  std::span<const std::uint8_t> answer_;
  std::vector<std::vector<std::uint8_t>>* record_ = nullptr;
  std::size_t answers_ = 0;
  bool hostSpoke_ = false;
};

}  // namespace vantrel::fuzzing
