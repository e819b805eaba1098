#include "cli/view/view_server.h"

#include <httplib.h>

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <future>
#include <thread>

namespace vantrel::cli {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

bool Within(std::chrono::milliseconds limit, const std::function<bool()>& done) {
  for (const auto end = Clock::now() + limit; Clock::now() < end; std::this_thread::sleep_for(5ms))
    if (done()) return true;
  return done();
}

// A browser on /events, on a thread of its own: it keeps what it read until that holds `until`,
// then reads no more (a stalled browser) until it goes. `status` is the answer's, once it ended.
struct Follower {
  Follower(int port, std::string until) {
    status = std::async(std::launch::async, [this, port, until] {
      const auto result = httplib::Client("127.0.0.1", port)
                              .Get("/events", [&](const char* data, std::size_t size) {
                                std::unique_lock lock(mutex);
                                read.append(data, size);
                                // Only the new bytes can complete it: a long stream stays quick.
                                const std::size_t from = read.size() > size + until.size()
                                                             ? read.size() - size - until.size()
                                                             : 0;
                                if (read.find(until, from) == std::string::npos) return true;
                                stalled = true;
                                gone.wait_for(lock, 20s, [&] { return leaving; });
                                return false;
                              });
      return result ? result->status : -1;
    });
  }
  template <typename F>
  auto Read(F f) {
    std::lock_guard lock(mutex);
    return f();
  }
  ~Follower() {
    Read([&] { return leaving = true; });
    gone.notify_all();
  }
  std::mutex mutex;
  std::condition_variable gone;
  std::string read;
  bool stalled = false;
  bool leaving = false;
  std::future<int> status;
};

TEST(ViewServer, ServesThePageAndItsStreamOnlyToGet) {
  ViewServer server;
  ASSERT_EQ(server.Start("127.0.0.1", 0), "");
  httplib::Client client("127.0.0.1", server.Port());
  const auto page = client.Get("/");
  ASSERT_TRUE(page);
  EXPECT_EQ(page->status, 200);
  EXPECT_EQ(page->get_header_value("Content-Type"), "text/html; charset=utf-8");
  EXPECT_NE(page->body.find("new EventSource(\"/events\")"), std::string::npos);
  struct Case {
    const char* method;
    const char* path;
    int status;
  };
  const Case cases[] = {
      {"GET", "/index.html", 404}, {"GET", "/events/x", 404}, {"GET", "/%2e%2e/etc/passwd", 404},
      {"POST", "/", 405},          {"PUT", "/events", 405},   {"DELETE", "/", 405},
      {"OPTIONS", "/", 405},       {"PATCH", "/events", 405}, {"POST", "/x", 404}};
  for (const auto& c : cases) {
    httplib::Request req;
    req.method = c.method;
    req.path = c.path;
    const auto res = client.send(req);
    ASSERT_TRUE(res) << c.method << " " << c.path;
    EXPECT_EQ(res->status, c.status) << c.method << " " << c.path;
  }
}

TEST(ViewServer, AClientGetsTheStateAsItIsThenEveryEventOnce) {
  ViewServer server;
  ASSERT_EQ(server.Start("127.0.0.1", 0), "");
  server.Publish(R"({"port": "A", "kind": "board", "serial": "S1"})");
  server.Publish(R"({"port": "A", "kind": "status", "phase": "writing"})");
  Follower follower(server.Port(), "\"live\"");
  ASSERT_TRUE(Within(5s, [&] { return server.Clients() == 1; }));
  server.Publish("{\"port\": \"A\",\n \"kind\": \"live\"}");
  ASSERT_TRUE(Within(5s, [&] { return follower.Read([&] { return follower.stalled; }); }));
  const std::string read = follower.Read([&] { return follower.read; });
  EXPECT_EQ(read.substr(read.find("data: {\"port\"")),
            "data: {\"port\": \"A\", \"kind\": \"board\", \"serial\": \"S1\"}\n\n"
            "data: {\"port\": \"A\", \"kind\": \"status\", \"phase\": \"writing\"}\n\n"
            "data: {\"port\": \"A\",\ndata:  \"kind\": \"live\"}\n\n");
}

TEST(ViewServer, RefusesTheClientPastTheLimit) {
  ViewServer server;
  ASSERT_EQ(server.Start("127.0.0.1", 0), "");
  std::vector<std::unique_ptr<Follower>> followers;
  for (std::size_t n = 0; n < ViewServer::kMaxClients; ++n)
    followers.push_back(std::make_unique<Follower>(server.Port(), "snapshot"));
  ASSERT_TRUE(Within(10s, [&] { return server.Clients() == ViewServer::kMaxClients; }));
  Follower refused(server.Port(), "snapshot");
  ASSERT_EQ(refused.status.wait_for(5s), std::future_status::ready);
  EXPECT_EQ(refused.status.get(), 503);
  EXPECT_EQ(server.Clients(), ViewServer::kMaxClients);
}

TEST(ViewServer, DropsAClientThatStopsReadingWithoutWaitingForIt) {
  ViewServer server;
  ASSERT_EQ(server.Start("127.0.0.1", 0), "");
  Follower stalled(server.Port(), "snapshot");
  ASSERT_TRUE(Within(
      5s, [&] { return stalled.Read([&] { return stalled.stalled; }) && server.Clients() == 1; }));
  const std::string event =
      R"({"port": "A", "kind": "notice", "text": ")" + std::string(4000, 'x') + "\"}";
  const auto start = Clock::now();
  // Far more than the socket buffers hold: the queue fills whatever they take.
  for (int n = 0; n < 5000; ++n) server.Publish(event);
  EXPECT_LT(Clock::now() - start, 2s);
  EXPECT_EQ(server.Clients(), 0u);
}

TEST(ViewServer, KeepsAClientThatReadsThroughABoardsBurstOfStatus) {
  ViewServer server;
  ASSERT_EQ(server.Start("127.0.0.1", 0), "");
  Follower follower(server.Port(), "\"end\"");
  ASSERT_TRUE(Within(5s, [&] { return server.Clients() == 1; }));
  // Far more than a client's queue holds.
  for (int n = 0; n < 10000; ++n) {
    server.Publish(R"({"port": "A", "kind": "status", "address": )" + std::to_string(n) + "}");
    server.Publish(R"({"port": "B", "kind": "progress", "permille": )" + std::to_string(n) + "}");
  }
  server.Publish(R"({"port": "A", "kind": "end"})");
  ASSERT_TRUE(Within(30s, [&] { return follower.Read([&] { return follower.stalled; }); }));
  EXPECT_EQ(server.Clients(), 1u);
  const std::string read = follower.Read([&] { return follower.read; });
  const auto last = read.find("\"address\": 9999}");
  ASSERT_NE(last, std::string::npos);
  EXPECT_LT(last, read.find("\"kind\": \"end\""));
  EXPECT_NE(read.find("\"permille\": 9999}"), std::string::npos);
}

TEST(ViewServer, APortInUseOrAForeignAddressIsAnError) {
  ViewServer first;
  ASSERT_EQ(first.Start("127.0.0.1", 0), "");
  ViewServer second;
  const std::string port = std::to_string(first.Port());
  EXPECT_EQ(second.Start("127.0.0.1", first.Port()),
            "127.0.0.1:" + port + " is in use by another program");
  ViewServer third;
  EXPECT_NE(third.Start("192.0.2.1", first.Port()).find("cannot be listened on"),
            std::string::npos);
}

}  // namespace
}  // namespace vantrel::cli
