#pragma once

#include <cstdint>

namespace vantrel::platform {

// Standard input as a key to press: a terminal, where a foot switch types Enter, or a pipe, where
// a line counts as Enter. Anything else (a file, /dev/null) is no key. Only one thread may use it.
class EnterKey {
 public:
  enum class Wait { Pressed, NotYet, Gone };

  EnterKey();

  // Forgets what was typed before now.
  void Discard();
  // Waits up to timeoutMs for Enter; at once Gone when there is no key or its input has ended.
  Wait WaitForPress(std::uint32_t timeoutMs);
  bool usable() const { return kind_ != Kind::None; }

 private:
  enum class Kind { None, Terminal, Pipe };

  Kind kind_ = Kind::None;
};

}  // namespace vantrel::platform
