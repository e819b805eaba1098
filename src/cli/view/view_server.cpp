#include "cli/view/view_server.h"

#include <httplib.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <ctime>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "cli/view/view_page.h"
#include "cli/view/view_state.h"

namespace vantrel::cli {
namespace {

using namespace std::chrono_literals;

// Nothing for this long: the stream says it is alive, and a closed client is found out.
constexpr auto kPingEvery = 3s;
// One thread per stream, and some for the page and the refusals.
constexpr std::size_t kThreads = ViewServer::kMaxClients + 8;

std::string UtcNowText() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  const auto ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  std::tm utc{};
#ifdef _WIN32
  gmtime_s(&utc, &seconds);
#else
  gmtime_r(&seconds, &utc);
#endif
  char text[40];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &utc);
  return std::string(text) + "." + std::to_string(1000 + ms).substr(1) + "Z";
}

// An event's lines, each a data line, as server-sent events want them.
std::string SseMessage(std::string_view line) {
  std::string out;
  for (;;) {
    const auto end = line.find('\n');
    out += "data: ";
    out.append(line.substr(0, end));
    out += '\n';
    if (end == std::string_view::npos) break;
    line.remove_prefix(end + 1);
  }
  return out + '\n';
}

// Another program listening on the same port must make ours fail, so no SO_REUSEPORT (the
// library's default on Linux), and on Windows no port taken over.
void ExclusivePort(socket_t sock) {
  int yes = 1;
#ifdef _WIN32
  setsockopt(sock, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<char*>(&yes), sizeof yes);
#else
  setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
#endif
}

// A board sends its status and progress in bursts (hundreds in a millisecond while its program
// is read), and only the latest of each counts: one not sent yet gives way to the newer, unless
// another line of that port lies between them.
bool Replaced(std::deque<ViewLine>& queue, const ViewLine& line) {
  if (line.kind != "status" && line.kind != "progress") return false;
  for (auto it = queue.rbegin(); it != queue.rend(); ++it) {
    if (it->port != line.port) continue;
    if (it->kind == line.kind) {
      it->text = line.text;
      return true;
    }
    if (it->kind != "status" && it->kind != "progress") return false;
  }
  return false;
}

bool LastErrorWasInUse() {
#ifdef _WIN32
  return WSAGetLastError() == WSAEADDRINUSE;
#else
  return errno == EADDRINUSE;
#endif
}

}  // namespace

struct ViewServer::Impl {
  struct Client {
    std::deque<ViewLine> queue;
    bool dropped = false;
  };

  httplib::Server server;
  std::thread thread;
  int port = 0;
  ViewState state;
  // Held while folding and queueing, and while a new client takes its snapshot, so that it
  // gets every event exactly once.
  mutable std::mutex mutex;
  std::condition_variable wake;
  std::vector<std::shared_ptr<Client>> clients;
  bool stopping = false;

  void Drop(const std::shared_ptr<Client>& client) {
    client->dropped = true;
    std::erase(clients, client);
  }

  void Stream(httplib::Response& res) {
    auto client = std::make_shared<Client>();
    {
      std::lock_guard lock(mutex);
      if (clients.size() >= kMaxClients || stopping) {
        res.status = 503;
        res.set_content("too many views of this station\n", "text/plain");
        return;
      }
      for (auto& line : state.Snapshot(UtcNowText())) client->queue.push_back({std::move(line)});
      clients.push_back(client);
    }
    res.set_header("Cache-Control", "no-store");
    res.set_chunked_content_provider(
        "text/event-stream",
        [this, client](std::size_t, httplib::DataSink& sink) {
          std::deque<ViewLine> lines;
          {
            std::unique_lock lock(mutex);
            wake.wait_for(lock, kPingEvery,
                          [&] { return stopping || client->dropped || !client->queue.empty(); });
            if (stopping || client->dropped) return false;
            lines.swap(client->queue);
          }
          std::string out = lines.empty() ? std::string("event: ping\ndata: \n\n") : std::string();
          for (const auto& line : lines) out += SseMessage(line.text);
          return sink.write(out.data(), out.size());
        },
        [this, client](bool) {
          std::lock_guard lock(mutex);
          Drop(client);
        });
  }
};

ViewServer::ViewServer() : impl_(std::make_unique<Impl>()) {
  auto& server = impl_->server;
  server.new_task_queue = [] { return new httplib::ThreadPool(kThreads); };
  server.set_socket_options(ExclusivePort);
  server.set_keep_alive_timeout(1);
  server.set_read_timeout(5);
  server.set_write_timeout(2);
  server.set_pre_routing_handler([](const httplib::Request& req, httplib::Response& res) {
    if (req.path != "/" && req.path != "/events") {
      res.status = 404;
    } else if (req.method != "GET" && req.method != "HEAD") {
      res.status = 405;
      res.set_header("Allow", "GET, HEAD");
    } else {
      return httplib::Server::HandlerResponse::Unhandled;
    }
    return httplib::Server::HandlerResponse::Handled;
  });
  server.Get("/", [](const httplib::Request&, httplib::Response& res) {
    res.set_header("Cache-Control", "no-store");
    // Everything the page needs is in it; it may only talk to us.
    res.set_header("Content-Security-Policy",
                   "default-src 'none'; style-src 'unsafe-inline'; script-src 'unsafe-inline'; "
                   "connect-src 'self'; img-src data:");
    res.set_header("X-Content-Type-Options", "nosniff");
    res.set_content(std::string(kViewPage), "text/html; charset=utf-8");
  });
  server.Get("/events",
             [this](const httplib::Request&, httplib::Response& res) { impl_->Stream(res); });
}

ViewServer::~ViewServer() {
  Stop();
}

std::string ViewServer::Start(const std::string& address, int port) {
  auto& server = impl_->server;
  errno = 0;
  const int bound = port == 0 ? server.bind_to_any_port(address)
                              : (server.bind_to_port(address, port) ? port : -1);
  if (bound < 0) {
    const std::string where = address + ":" + std::to_string(port);
    return LastErrorWasInUse()
               ? where + " is in use by another program"
               : where + " cannot be listened on (not an address of this computer?)";
  }
  impl_->port = bound;
  impl_->thread = std::thread([&server] { server.listen_after_bind(); });
  // stop() only ends a server that runs.
  for (int n = 0; n < 5000 && !server.is_running(); ++n) std::this_thread::sleep_for(1ms);
  return {};
}

int ViewServer::Port() const {
  return impl_->port;
}

void ViewServer::Publish(std::string_view event) {
  std::lock_guard lock(impl_->mutex);
  const auto lines = impl_->state.Fold(event);
  if (lines.empty()) return;
  for (auto client : std::vector(impl_->clients)) {
    for (const auto& line : lines) {
      if (Replaced(client->queue, line)) continue;
      if (client->queue.size() >= kQueueLines) {
        impl_->Drop(client);
        break;
      }
      client->queue.push_back(line);
    }
  }
  impl_->wake.notify_all();
}

std::size_t ViewServer::Clients() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->clients.size();
}

void ViewServer::Stop() {
  {
    std::lock_guard lock(impl_->mutex);
    impl_->stopping = true;
  }
  impl_->wake.notify_all();
  if (impl_->thread.joinable()) {
    impl_->server.stop();
    impl_->thread.join();
  }
}

}  // namespace vantrel::cli
