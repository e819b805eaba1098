#pragma once

#include <array>
#include <deque>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel::cli {

// What the station view shows, folded from the station's events (JSON objects, one each): the
// board jobs' events of docs/events.md, keyed by their port, and the view's own:
//   {"kind": "station", "cpuType": ..., "files": [{"path": ..., "sha256": ...}],
//    "totals": {"passed": N, "failed": N, "yield": N, "boardsPerHour": N}}
//   {"kind": "board", "board": N, "port": ..., "serial": ...}  a new board on that port
//   {"kind": "hint", "board": N, "port": ..., "text": ...}     what to do about its failure
// A board's end adds {"kind": "finished", ...} to the last boards. Safe from any thread.
// A line for the clients, with the port (as JSON text; empty for the station's lines) and kind
// it is about.
struct ViewLine {
  std::string text;
  std::string port;
  std::string kind;
};

class ViewState {
 public:
  static constexpr std::size_t kLastBoards = 20;

  // Folds one event in and gives the lines every client is to get for it: the event itself and
  // the finished line its end makes; nothing for a text that is no JSON object with a kind.
  std::vector<ViewLine> Fold(std::string_view event);

  // What a client that comes now needs to draw the station as it is, in order: a
  // {"kind": "snapshot", "time": NOW} line that tells it to start afresh, the station, the last
  // boards (oldest first), then each port's latest events.
  std::vector<std::string> Snapshot(std::string_view now) const;

 private:
  // One slot per kind kept; a running job has its start and its stop in slots of their own, so
  // that its time can be told from a snapshot.
  enum Slot {
    kBoard,
    kStart,
    kStatus,
    kProgress,
    kRate,
    kFailure,
    kHint,
    kNotice,
    kResult,
    kStop,
    kEnd,
    kSlots
  };
  struct Port {
    std::string port;  // as JSON text
    std::array<std::string, kSlots> latest;
  };

  Port& PortOf(const std::string& port);
  static std::string FinishedLine(const Port& port, const std::string& end);

  mutable std::mutex mutex_;
  std::string station_;
  std::vector<Port> ports_;  // in the order they first spoke
  std::deque<std::string> finished_;
};

}  // namespace vantrel::cli
