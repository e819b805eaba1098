#include "cli/view/view_state.h"

#include <optional>

#include "cli/records/job_report.h"
#include "cli/view/json_members.h"

namespace vantrel::cli {
namespace {

using Members = std::map<std::string, std::string, std::less<>>;

std::string Member(const Members& members, std::string_view name, std::string_view otherwise) {
  const auto it = members.find(name);
  return it == members.end() ? std::string(otherwise) : it->second;
}

}  // namespace

ViewState::Port& ViewState::PortOf(const std::string& port) {
  for (auto& p : ports_)
    if (p.port == port) return p;
  ports_.push_back({port, {}});
  return ports_.back();
}

std::string ViewState::FinishedLine(const Port& port, const std::string& end) {
  const Members none;
  const auto board = JsonMembers(port.latest[kBoard]).value_or(none);
  const auto ended = JsonMembers(end).value_or(none);
  const auto failure = JsonMembers(port.latest[kFailure]).value_or(none);
  std::string line = "{\"kind\": \"finished\", \"port\": " + port.port;
  line += ", \"board\": " + Member(ended, "board", "null");
  line += ", \"serial\": " + Member(board, "serial", "null");
  line += ", \"time\": " + Member(ended, "time", "null");
  line += ", \"outcome\": " + Member(ended, "outcome", "null");
  line += ", \"exitCode\": " + Member(ended, "exitCode", "null");
  line += ", \"failure\": " + Member(failure, "failure", "null");
  line += ", \"text\": " + Member(failure, "text", "null");
  return line + "}";
}

std::vector<ViewLine> ViewState::Fold(std::string_view event) {
  const auto members = JsonMembers(event);
  if (!members) return {};
  const std::string kind = JsonStringValue(Member(*members, "kind", ""));
  if (kind.empty()) return {};
  const auto portField = members->find("port");
  std::vector<ViewLine> lines{
      {std::string(event), portField == members->end() ? "" : portField->second, kind}};
  std::lock_guard lock(mutex_);
  if (kind == "station") {
    station_ = event;
    return lines;
  }
  if (portField == members->end()) return lines;
  Port& port = PortOf(portField->second);
  auto keep = [&](Slot slot) { port.latest[slot] = event; };
  if (kind == "board") {
    port.latest = {};
    keep(kBoard);
  } else if (kind == "running") {
    if (Member(*members, "running", "") == "true") {
      // A job that starts after an end is the port's next board, named or not.
      if (!port.latest[kEnd].empty()) {
        const std::string board = port.latest[kBoard];
        port.latest = {};
        port.latest[kBoard] = board;
      }
      keep(kStart);
    } else {
      keep(kStop);
    }
  } else if (kind == "status") {
    keep(kStatus);
  } else if (kind == "progress") {
    keep(kProgress);
  } else if (kind == "rate") {
    keep(kRate);
  } else if (kind == "failure") {
    keep(kFailure);
  } else if (kind == "hint") {
    keep(kHint);
  } else if (kind == "notice") {
    keep(kNotice);
  } else if (kind == "result") {
    keep(kResult);
  } else if (kind == "end") {
    keep(kEnd);
    lines.push_back({FinishedLine(port, port.latest[kEnd]), port.port, "finished"});
    finished_.push_back(lines.back().text);
    if (finished_.size() > kLastBoards) finished_.pop_front();
  }
  return lines;
}

std::vector<std::string> ViewState::Snapshot(std::string_view now) const {
  std::vector<std::string> lines{"{\"kind\": \"snapshot\", \"time\": " + JsonString(now) + "}"};
  std::lock_guard lock(mutex_);
  if (!station_.empty()) lines.push_back(station_);
  lines.insert(lines.end(), finished_.begin(), finished_.end());
  for (const auto& port : ports_)
    for (const auto& event : port.latest)
      if (!event.empty()) lines.push_back(event);
  return lines;
}

}  // namespace vantrel::cli
