#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "e2e/e2e_job.h"

namespace vantrel::testing {
namespace {

// A port no one listens on now.
int FreePort() {
  const int s = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof a;
  ::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
  ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &size);
  ::close(s);
  return ntohs(a.sin_port);
}

// Connections to the port that are open now (the browser's), as the kernel lists them.
int Connected(int port) {
  std::ifstream tcp("/proc/net/tcp");
  char local[8];
  std::snprintf(local, sizeof local, ":%04X", port);
  int n = 0;
  for (std::string line; std::getline(tcp, line);) {
    std::istringstream fields(line);
    std::string slot, from, to, state;
    fields >> slot >> from >> to >> state;
    if (from.ends_with(local) && state == "01") ++n;
  }
  return n;
}

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

TEST(StationView, ABrowserSeesEveryBoardAndTheTotalsOfTheLog) {
  if (::access("/usr/bin/chromium", X_OK) != 0) GTEST_SKIP() << "no chromium (scripts/setup)";
  E2eJob job;
  job.CpuType("CLS.mot", 128, "0");
  job.program.Fill(0, 300, 41);
  std::vector<std::string> ports;
  for (const char* fault : {"", "--fault-no-sync", ""}) {
    std::vector<std::string> options = {"--erase-ms", "100"};
    if (*fault) options.push_back(fault);
    ports.push_back(
        job.StartAnotherTarget("flash-" + std::to_string(ports.size()) + ".bin", options));
    ASSERT_FALSE(ports.back().empty());
  }
  const std::string program = job.WriteProgram();
  const std::string log = job.home.PathOf("station.jsonl");
  const int port = FreePort();
  std::vector<std::string> args = {"--home", CliPath(job.home.path()), "--cpu", "CLS.mot"};
  for (const auto& p : ports) args.insert(args.end(), {"--port", p});
  args.insert(args.end(), {"--repeat", "--view", std::to_string(port), "--log", CliPath(log),
                           "--serial", "0x2000:1000", CliPath(program)});
  ChildProcess station(CliCommand(args));
  for (int n = 0; n < 3; ++n) ASSERT_TRUE(station.ReadLine(30000)) << station.err();

  ChildProcess browser({"/usr/bin/chromium", "--headless", "--no-sandbox", "--disable-gpu",
                        "--accept-lang=en-US", "--virtual-time-budget=5000", "--dump-dom",
                        "http://127.0.0.1:" + std::to_string(port) + "/"});
  for (int n = 0; n < 600 && Connected(port) == 0; ++n)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  ASSERT_GT(Connected(port), 0) << "the browser never came";
  // Its clock stands while the stream is open: the station must go for it to finish.
  std::this_thread::sleep_for(std::chrono::seconds(2));
  station.Signal(SIGINT);
  EXPECT_EQ(station.Wait(10000), 1) << station.err();
  ASSERT_EQ(browser.Wait(60000), 0) << browser.err();
  const std::string page = browser.out();

  const std::string logged = job.home.Read("station.jsonl");
  EXPECT_EQ(Count(logged, "\n"), 3u);
  EXPECT_EQ(Count(logged, "\"exitCode\": 0"), 2u);
  EXPECT_EQ(Count(page, "<div class=\"port\">"), 3u);
  EXPECT_EQ(Count(page, "<div class=\"tile pass\">"), 2u);
  EXPECT_EQ(Count(page, "<div class=\"tile fail\">"), 1u);
  const std::vector<std::string> shown = {"id=\"passed\">2<",
                                          "id=\"failed\">1<",
                                          "id=\"yield\">66.7 %<",
                                          ">CLS.mot<",
                                          "S/N: 1000",
                                          "S/N: 1001",
                                          "S/N: 1002",
                                          "<div class=\"port\">" + ports[1] + "</div>",
                                          "Station lost"};
  for (const auto& text : shown)
    EXPECT_NE(page.find(text), std::string::npos) << text << "\n" << page;
  // The failed board's message, as the log has it, and a hint under it.
  const auto message = logged.find("\"message\": \"", logged.find("\"exitCode\": 1"));
  ASSERT_NE(message, std::string::npos);
  std::string said = logged.substr(message + 12, logged.find('"', message + 12) - message - 12);
  for (const std::string blank : {" ", "\u3000"}) {
    while (said.starts_with(blank)) said.erase(0, blank.size());
    while (said.ends_with(blank)) said.erase(said.size() - blank.size());
  }
  EXPECT_NE(page.find("<div class=\"message\">" + said), std::string::npos) << said << "\n" << page;
  EXPECT_NE(page.find("<div class=\"hint\">hint: "), std::string::npos) << page;
}

}  // namespace
}  // namespace vantrel::testing
