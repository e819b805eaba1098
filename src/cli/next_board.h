#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/enter_key.h"

namespace vantrel::cli {

// Tells the next board from the one still connected: the port of each must have gone (the board
// unplugged, its adapter with it) and be there again.
class ReplugWatch {
 public:
  explicit ReplugWatch(std::size_t ports) : gone_(ports, false) {}

  // One look at every port; true once each has been missing and all are there now.
  bool Look(const std::vector<bool>& present);

 private:
  std::vector<bool> gone_;
};

// Says that it waits and waits for the next board on the ports: each unplugged and plugged in
// again, or Enter on the key (what was typed during the job does not count). False when Ctrl-C
// came first.
bool WaitForNextBoard(const std::vector<std::string>& ports, platform::EnterKey& key);

}  // namespace vantrel::cli
