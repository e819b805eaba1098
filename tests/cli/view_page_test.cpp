#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <regex>
#include <thread>

#include "cli/view/view_server.h"
#include "support/child_process.h"

namespace vantrel::cli {
namespace {

using namespace std::chrono_literals;

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

// The page as headless Chromium draws it from the stream, once the station has gone: the
// browser's clock only runs on while no request is open.
std::string PageAfterTheStation(const std::vector<std::string>& events, const char* language) {
  ViewServer server;
  EXPECT_EQ(server.Start("127.0.0.1", 0), "");
  for (const auto& e : events) server.Publish(e);
  testing::ChildProcess chromium({"/usr/bin/chromium", "--headless", "--no-sandbox",
                                  "--disable-gpu", std::string("--accept-lang=") + language,
                                  "--virtual-time-budget=4000", "--dump-dom",
                                  "http://127.0.0.1:" + std::to_string(server.Port()) + "/"});
  for (int n = 0; n < 600 && server.Clients() == 0; ++n) std::this_thread::sleep_for(50ms);
  EXPECT_EQ(server.Clients(), 1u);
  std::this_thread::sleep_for(500ms);
  server.Stop();
  EXPECT_EQ(chromium.Wait(60000), 0);
  return chromium.out();
}

TEST(ViewPage, DrawsEveryPortAndTheStationAsText) {
  if (::access("/usr/bin/chromium", X_OK) != 0) GTEST_SKIP() << "no chromium (scripts/setup)";
  const std::vector<std::string> events = {
      R"({"kind": "station", "cpuType": "VTC-100", "files": [{"path": "app.mot", "sha256": "ab12"}],
          "totals": {"passed": 7, "failed": 2, "yield": 77.78, "boardsPerHour": 41}})",
      R"({"board": 0, "port": "P0", "kind": "board", "serial": "S-100"})",
      R"({"board": 0, "port": "P0", "kind": "status", "phase": "writing", "address": 4096})",
      R"({"board": 1, "port": "P1", "kind": "board", "serial": "<script>alert(1)</script>"})",
      R"({"board": 1, "port": "P1", "kind": "end", "outcome": "verified", "exitCode": 0})",
      R"({"board": 2, "port": "P2", "kind": "failure", "failure": "x", "text": "<b>no sync</b>"})",
      R"({"board": 2, "port": "P2", "kind": "hint", "text": "check the cable"})",
      R"({"board": 2, "port": "P2", "kind": "end", "outcome": "failed", "exitCode": 1})"};
  const std::string en = PageAfterTheStation(events, "en-US");
  EXPECT_EQ(Count(en, "<div class=\"port\">"), 3u);
  EXPECT_EQ(Count(en, "<div class=\"tile pass\""), 1u);
  EXPECT_EQ(Count(en, "<div class=\"tile fail\""), 1u);
  EXPECT_EQ(Count(en, "<script"), 1u);
  EXPECT_EQ(Count(en, "<b>"), 0u);
  for (const char* shown : {"Writing  00001000H", "S/N: &lt;script&gt;alert(1)&lt;/script&gt;",
                            ">PASS<", ">FAIL<", "&lt;b&gt;no sync&lt;/b&gt;", "check the cable",
                            ">VTC-100<", ">ab12<", ">77.8 %<", ">41<", "Station lost"})
    EXPECT_NE(en.find(shown), std::string::npos) << shown;
  // The last boards: the newest first.
  EXPECT_TRUE(std::regex_search(en, std::regex("class=\"recent\".*FAIL.*PASS")));
  const std::string ja = PageAfterTheStation(events, "ja");
  for (const char* shown : {"書き込み中", ">合格<", ">不合格<", "歩留まり"})
    EXPECT_NE(ja.find(shown), std::string::npos) << shown;
}

}  // namespace
}  // namespace vantrel::cli
