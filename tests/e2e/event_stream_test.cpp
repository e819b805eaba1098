#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "e2e/e2e_job.h"
#include "support/case_name.h"

namespace vantrel::testing {
namespace {

// Every line of the stream against the schema of its kind, the order of the kinds, and the end
// against the report. Prints what is wrong, then "OUTCOME EXITCODE FAILURES".
constexpr const char* kCheck = R"(
import json, re, sys
common = {"board": int, "port": str, "time": str, "kind": str}
required = {"running": {"running": bool}, "status": {"phase": str, "text": str},
            "progress": {"permille": int}, "rate": {"rate": str}, "beep": {},
            "failure": {"failure": str, "text": str}, "notice": {"notice": str, "text": str},
            "result": {"result": int}, "end": {"result": int, "outcome": str, "exitCode": int}}
optional = {"status": {"address": int, "seconds": int},
            "failure": {"address": int, "headerPosition": int, "code": str, "detail": str,
                        "answer": int, "firstBlock": bool}}
events = []
for n, line in enumerate(open(sys.argv[1], encoding="utf-8"), 1):
    e = json.loads(line)
    kind = e.get("kind")
    if kind not in required:
        print(n, "kind", kind)
        continue
    need = {**common, **required[kind]}
    for name, value in e.items():
        if type(value) is not {**need, **optional.get(kind, {})}.get(name):
            print(n, kind, "field", name)
    for name in need.keys() - e.keys():
        print(n, kind, "lacks", name)
    if not re.fullmatch(r"\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}Z", e["time"]):
        print(n, "time", e["time"])
    if kind == "progress" and not 0 <= e["permille"] <= 1000:
        print(n, "permille", e["permille"])
    if events and {**events[-1], "time": 0} == {**e, "time": 0} and kind in ("status", "progress"):
        print(n, "repeats the line before")
    events.append(e)
kinds = [e["kind"] for e in events]
if events[0] != {**events[0], "kind": "running", "running": True}:
    print("first", events[0])
# The job closes the port last, and only its progress bar goes back to 0 after that.
stop = len(kinds) - 1 - kinds[::-1].index("running")
if events[stop]["running"] or set(kinds[stop + 1:-1]) - {"progress"} or kinds.count("end") != 1:
    print("ends", kinds[stop:])
if [e["result"] for e in events if e["kind"] == "result"][-1] != events[-1]["result"]:
    print("result", events[-1])
end, record = events[-1], json.load(open(sys.argv[2], encoding="utf-8"))[0]
if (end["outcome"], end["exitCode"]) != (record["result"], record["exitCode"]):
    print("end", end, "report", record["result"], record["exitCode"])
print(end["outcome"], end["exitCode"], [e["failure"] for e in events if e["kind"] == "failure"])
)";

std::string ExampleFile(const std::string& name) {
  std::ifstream in(kSource + "/examples/" + name);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

struct StreamCase {
  const char* name;
  const char* cpu;
  const char* program;
  std::vector<std::string> targetOptions;
  const char* summary;  // what the check prints last
};

class EventStream : public ::testing::TestWithParam<StreamCase> {};

TEST_P(EventStream, EveryLineKeepsTheSchemaAndTheEndIsTheReports) {
  const auto& c = GetParam();
  E2eJob job;
  for (const char* file : {"Baud.ini", "VTC-100.mot", "VTR-100.inf"}) {
    job.home.Write(std::string("CTRL_MOT/") + file, ExampleFile(std::string("CTRL_MOT/") + file));
  }
  const std::string device = job.home.Write("target.dev", ExampleFile("target/sample.dev"));
  std::vector<std::string> options = c.targetOptions;
  if (std::string(c.cpu) == "VTR-100.inf") options.insert(options.end(), {"--device", device});
  ASSERT_TRUE(job.StartTarget(options));
  const std::string events = job.home.PathOf("events.jsonl");
  const std::string report = job.home.PathOf("report.json");
  job.RunCliWith({"--home", CliPath(job.home.path()), "--port", job.port, "--cpu", c.cpu,
                  "--verify", "--events", CliPath(events), "--report", CliPath(report),
                  CliPath(kSource + "/examples/programs/" + c.program)},
                 60000);
  ChildProcess check({"/usr/bin/env", "python3", "-c", kCheck, events, report});
  ASSERT_EQ(check.Wait(10000), 0) << check.err() << job.cliErr;
  EXPECT_EQ(check.out(), std::string(c.summary) + "\n") << job.home.Read("events.jsonl");
}

INSTANTIATE_TEST_SUITE_P(Jobs, EventStream,
                         ::testing::Values(StreamCase{"Classic",
                                                      "VTC-100.mot",
                                                      "demo_app.mot",
                                                      {"--protocol", "classic", "--erase-ms",
                                                       "100"},
                                                      "verified 0 []"},
                                           StreamCase{"Inquiry",
                                                      "VTR-100.inf",
                                                      "demo_app_inquiry.mot",
                                                      {"--protocol", "inquiry"},
                                                      "verified 0 []"},
                                           StreamCase{"NoSync",
                                                      "VTC-100.mot",
                                                      "demo_app.mot",
                                                      {"--fault-no-sync"},
                                                      "failed 1 ['no-bit-rate-sync']"}),
                         CaseName());

}  // namespace
}  // namespace vantrel::testing
