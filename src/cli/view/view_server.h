#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace vantrel::cli {

// The station view: one page, GET / , and its event stream, GET /events (server-sent events: the
// state as it is, then every event as it comes). It only shows: every other method or path is
// refused. A client that does not keep up is dropped, never waited for; at most kMaxClients
// follow the stream at once, the next are refused (503).
class ViewServer {
 public:
  static constexpr std::size_t kMaxClients = 16;
  // Lines a client may lag behind before it is dropped.
  static constexpr std::size_t kQueueLines = 256;

  ViewServer();
  ViewServer(const ViewServer&) = delete;
  ViewServer& operator=(const ViewServer&) = delete;
  ~ViewServer();  // stops

  // Listens on address:port (port 0: any free one) and serves on threads of its own; the port is
  // bound before it returns. Empty, or why it cannot listen.
  std::string Start(const std::string& address, int port);
  // The port it listens on.
  int Port() const;
  // Folds one event (a JSON object) into the state and queues it for every client; never
  // waits for one.
  void Publish(std::string_view event);
  // Clients that follow the stream now.
  std::size_t Clients() const;
  // Ends every stream and the server; waits for its threads.
  void Stop();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace vantrel::cli
