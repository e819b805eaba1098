#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>

#include "e2e/e2e_job.h"
#include "support/lines.h"

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

// Headless Chromium on the page; its clock stands while the stream is open, so it draws the page
// once the station has gone.
ChildProcess Browser(int port, const char* language) {
  return ChildProcess({"/usr/bin/chromium", "--headless", "--no-sandbox", "--disable-gpu",
                       std::string("--accept-lang=") + language, "--virtual-time-budget=5000",
                       "--dump-dom", "http://127.0.0.1:" + std::to_string(port) + "/"});
}

// Under Wine a --repeat station never sees its first board (Wine's GetDefaultCommConfigA fails for
// every COM port of the prefix), so what is shown there is the page and its stream reaching Linux.
TEST(StationView, UnderWineThePageAndItsStreamReachALinuxClient) {
  if (!kUnderWine) GTEST_SKIP() << "the browsers' test below covers the Linux build";
  E2eJob job;
  job.CpuType("CLS.mot", 128, "0");
  job.program.Fill(0, 300, 41);
  const std::string board = job.StartAnotherTarget("flash.bin", {"--erase-ms", "100"});
  ASSERT_FALSE(board.empty());
  const std::string program = job.home.Write("app.mot", job.program.Text());
  const int port = FreePort();
  ChildProcess station(
      CliCommand({"--home", CliPath(job.home.path()), "--cpu", "CLS.mot", "--port", board,
                  "--repeat", "--view", std::to_string(port), CliPath(program)}));
  ChildProcess client(
      {"/usr/bin/env", "python3", "-c",
       "import sys, time, urllib.request as u\n"
       "url = 'http://127.0.0.1:' + sys.argv[1]\n"
       "for _ in range(150):\n"
       "    try: page = u.urlopen(url + '/', timeout=5).read().decode(); break\n"
       "    except OSError: time.sleep(0.2)\n"
       "s = u.urlopen(url + '/events', timeout=10)\n"
       "print('<title>Vantrel station</title>' in page, s.headers['Content-Type'],\n"
       "      s.readline().decode().startswith('data: {'))\n",
       std::to_string(port)});
  ASSERT_EQ(client.Wait(60000), 0) << client.err() << station.err();
  EXPECT_EQ(client.out(), "True text/event-stream True\n") << station.err();
  station.Signal(SIGINT);
}

TEST(StationView, BrowsersSeeEveryBoardAndTheTotalsOfTheLogAsText) {
  if (kUnderWine) GTEST_SKIP() << "a --repeat station never sees a board under Wine (above)";
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
  // Markup in a name the page shows must stay text (Windows names cannot hold it).
  const std::string name = kUnderWine ? "app.mot" : "<img src=x onerror=alert(1)>.mot";
  const std::string program = job.home.Write(name, job.program.Text());
  const std::string log = job.home.PathOf("station.jsonl");
  const int port = FreePort();
  std::vector<std::string> args = {"--home", CliPath(job.home.path()), "--cpu", "CLS.mot"};
  for (const auto& p : ports) args.insert(args.end(), {"--port", p});
  args.insert(args.end(), {"--repeat", "--view", std::to_string(port), "--log", CliPath(log),
                           "--serial", "0x2000:1000", CliPath(program)});
  ChildProcess station(CliCommand(args));
  for (int n = 0; n < 3; ++n) ASSERT_TRUE(station.ReadLine(30000)) << station.err();

  ChildProcess english = Browser(port, "en-US");
  ChildProcess japanese = Browser(port, "ja");
  for (int n = 0; n < 600 && Connected(port) < 2; ++n)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  ASSERT_GE(Connected(port), 2) << "the browsers never came";
  std::this_thread::sleep_for(std::chrono::seconds(2));
  station.Signal(SIGINT);
  EXPECT_EQ(station.Wait(10000), 1) << station.err();
  ASSERT_EQ(english.Wait(60000), 0) << english.err();
  ASSERT_EQ(japanese.Wait(60000), 0) << japanese.err();
  const std::string page = english.out();

  // The totals as the log has them.
  const std::string logged = job.home.Read("station.jsonl");
  const std::size_t passed = Count(logged, "\"exitCode\": 0");
  EXPECT_EQ(passed, 2u);
  EXPECT_EQ(Count(logged, "\n"), 3u);
  EXPECT_EQ(Count(page, "<div class=\"port\">"), 3u);
  EXPECT_EQ(Count(page, "<div class=\"tile pass\">"), 2u);
  EXPECT_NE(page.find("<div class=\"tile fail\"><div class=\"port\">" + ports[1] + "</div>"),
            std::string::npos);
  EXPECT_EQ(Count(page, "<script"), 1u);
  EXPECT_EQ(Count(page, "<img"), 0u);
  for (const std::string& text :
       {"id=\"passed\">" + std::to_string(passed) + "<",
        "id=\"failed\">" + std::to_string(3 - passed) + "<", std::string("id=\"yield\">66.7 %<"),
        std::string(">CLS.mot<"), std::string("S/N: 1000"), std::string("S/N: 1002"),
        std::string(kUnderWine ? "app.mot<" : "&lt;img src=x onerror=alert(1)&gt;.mot<"),
        std::string("Station lost"),
        // The failed board's message and the hint under it.
        std::string("<div class=\"message\">ビットレートの調整が出来ませんでした</div>"
                    "<div class=\"hint\">hint: ")})
    EXPECT_NE(page.find(text), std::string::npos) << text << "\n" << page;
  for (const char* text : {">合格<", ">不合格<", "歩留まり", "シリアル: 1001"})
    EXPECT_NE(japanese.out().find(text), std::string::npos) << text << "\n" << japanese.out();
}

}  // namespace
}  // namespace vantrel::testing
