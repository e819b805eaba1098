#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/enter_key.h"

namespace vantrel::cli {

// Tells the next board from the one still connected: the port of each must have gone (the board
// unplugged, its adapter with it) and be there again.
class ReplugWatch {
 public:
  // goneAlready: the ports have no board yet, so their coming counts as the next board.
  explicit ReplugWatch(std::size_t ports, bool goneAlready = false) : gone_(ports, goneAlready) {}

  // One look at every port; true once each has been missing and all are there now.
  bool Look(const std::vector<bool>& present);

 private:
  std::vector<bool> gone_;
};

// Says that it waits and waits for the next board on the ports: each unplugged and plugged in
// again, or Enter on the key (what was typed during the job does not count). False when Ctrl-C
// came first.
bool WaitForNextBoard(const std::vector<std::string>& ports, platform::EnterKey& key);

// Before the first board: waits only while a port is missing, so that a station started before
// its board is plugged in does not count a failed board first. False when Ctrl-C came first.
bool WaitForFirstBoard(const std::vector<std::string>& ports, platform::EnterKey& key);

// Why one of the ports can never be a port (a mistyped path would be waited for forever).
std::optional<std::string> PortNeverThere(const std::vector<std::string>& ports);

}  // namespace vantrel::cli
