#include "cli/view/view_state.h"

#include <gtest/gtest.h>

#include "cli/view/json_members.h"

namespace vantrel::cli {
namespace {

std::string Ev(std::string_view port, std::string_view kind, std::string_view fields = "") {
  std::string e =
      "{\"port\": \"" + std::string(port) + "\", \"kind\": \"" + std::string(kind) + "\"";
  return e + (fields.empty() ? "" : ", ") + std::string(fields) + "}";
}

std::vector<std::string> Kinds(const ViewState& state) {
  std::vector<std::string> kinds;
  for (const auto& line : state.Snapshot("now")) {
    const auto members = JsonMembers(line).value();
    const auto port = members.find("port");
    kinds.push_back(JsonStringValue(members.at("kind")) +
                    (port == members.end() ? "" : "@" + JsonStringValue(port->second)));
  }
  return kinds;
}

TEST(ViewState, KeepsWhatANewClientNeedsToDrawTheStation) {
  struct Case {
    const char* what;
    std::vector<std::string> events;
    std::vector<std::string> snapshot;
  };
  const std::string run = Ev("A", "running", "\"running\": true");
  const std::string end = Ev("A", "end", "\"outcome\": \"verified\", \"exitCode\": 0");
  const Case cases[] = {
      {"the latest of each kind",
       {Ev("A", "board"), run, Ev("A", "status"), Ev("A", "progress"), Ev("A", "status"),
        Ev("A", "progress"), Ev("A", "beep")},
       {"snapshot", "board@A", "running@A", "status@A", "progress@A"}},
      {"a job's start and stop both",
       {run, Ev("A", "running", "\"running\": false"), end},
       {"snapshot", "finished@A", "running@A", "running@A", "end@A"}},
      {"a new board clears its port",
       {Ev("A", "board"), run, end, Ev("A", "board")},
       {"snapshot", "finished@A", "board@A"}},
      {"a start after an end is the next board",
       {Ev("A", "board"), run, Ev("A", "failure"), end, run},
       {"snapshot", "finished@A", "board@A", "running@A"}},
      {"ports in the order they first spoke",
       {Ev("B", "status"), Ev("A", "status"), Ev("B", "progress")},
       {"snapshot", "status@B", "progress@B", "status@A"}},
      {"the station first, its latest only",
       {Ev("A", "hint"), "{\"kind\": \"station\", \"n\": 1}", "{\"kind\": \"station\", \"n\": 2}"},
       {"snapshot", "station", "hint@A"}},
      {"no object, no kind",
       {"board", "{\"port\": \"A\"}", "{\"kind\": \"status\"", "[]"},
       {"snapshot"}},
  };
  for (const auto& c : cases) {
    ViewState state;
    for (const auto& e : c.events) state.Fold(e);
    EXPECT_EQ(Kinds(state), c.snapshot) << c.what;
  }
}

TEST(ViewState, ABoardsEndAddsItsLineToTheLastTwenty) {
  ViewState state;
  for (int n = 1; n <= 25; ++n) {
    state.Fold(Ev("A", "board", "\"serial\": \"S" + std::to_string(n) + "\""));
    if (n == 25)
      state.Fold(Ev("A", "failure", R"("failure": "no-bit-rate-sync", "text": "no sync")"));
    const auto lines =
        state.Fold(Ev("A", "end", "\"board\": 3, \"outcome\": \"failed\", \"exitCode\": 1"));
    ASSERT_EQ(lines.size(), 2u);
    if (n < 25) continue;
    // The board's serial number, the end's outcome and the failure, in one line.
    EXPECT_EQ(
        lines[1].text,
        R"({"kind": "finished", "port": "A", "board": 3, "serial": "S25", "time": null, )"
        R"("outcome": "failed", "exitCode": 1, "failure": "no-bit-rate-sync", "text": "no sync"})");
  }
  const auto snapshot = state.Snapshot("now");
  ASSERT_EQ(snapshot.size(), 1 + ViewState::kLastBoards + 3);
  EXPECT_EQ(JsonMembers(snapshot[1])->at("serial"), "\"S6\"");
  EXPECT_EQ(JsonMembers(snapshot[20])->at("serial"), "\"S25\"");
}

TEST(JsonMembers, GivesEachValueAsItsTextOrRefusesTheObject) {
  const auto m = JsonMembers(R"( {"a": [1, {"b": "]"}], "s": "<script>\"x\"</script>",
                                   "n": -1.5e3, "t": true, "o": {}} )");
  ASSERT_TRUE(m);
  EXPECT_EQ(m->at("a"), R"([1, {"b": "]"}])");
  EXPECT_EQ(m->at("n"), "-1.5e3");
  EXPECT_EQ(JsonStringValue(m->at("s")), "<script>\"x\"</script>");
  for (const char* bad : {"", "{", "{\"a\"}", "{\"a\": }", "{\"a\": 1,}", "{\"a\": 1} x", "[1]",
                          "{\"a\": \"\n\"}", "{\"a\": 01x}", "{\"a\": tru}"})
    EXPECT_FALSE(JsonMembers(bad)) << bad;
  EXPECT_FALSE(JsonMembers("{\"a\": " + std::string(100, '[') + std::string(100, ']') + "}"));
}

TEST(JsonMembers, DecodesTheEscapesOfAString) {
  const std::pair<const char*, const char*> cases[] = {
      {R"("a\"\\\/\b\f\n\r\t")", "a\"\\/\b\f\n\r\t"},
      {R"("\u003cb\u003e \u00e9 \u30c6")", "<b> \xc3\xa9 \xe3\x83\x86"},
      {R"("\ud83d\ude00")", "\xf0\x9f\x98\x80"},
      {R"("\udc00!")", "\xef\xbf\xbd!"},
      {R"("\x")", ""},
      {"12", ""}};
  for (const auto& [json, text] : cases) EXPECT_EQ(JsonStringValue(json), text) << json;
}

}  // namespace
}  // namespace vantrel::cli
