#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <string_view>

#include "platform/single_instance.h"

namespace vantrel::qt {

// Receives the command lines of later copies on the window's thread, one at a time as they
// arrive, and answers each sender once its text has been handled.
class CommandListener final : public QObject {
 public:
  using Handler = std::function<void(std::string_view bytes)>;
  CommandListener(std::unique_ptr<platform::FirstCopy> first, Handler handler);
  ~CommandListener() override;

 private:
  void AcceptWaiting();

  std::unique_ptr<platform::FirstCopy> first_;
  Handler handler_;
};

}  // namespace vantrel::qt
