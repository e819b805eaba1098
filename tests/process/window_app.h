#pragma once

#include <sys/stat.h>

#include <filesystem>
#include <memory>
#include <sstream>

#include "e2e/e2e_job.h"

namespace vantrel::testing {

// The window program copied alone into the job's home folder (so that folder is its ExeFolder),
// with a runtime folder of the test's own, so copies of other tests never meet it.
class WindowApp {
 public:
  explicit WindowApp(E2eJob& job) : job_(job) {
    std::filesystem::copy_file(kBin + "/vantrel", job.home.PathOf("vantrel"));
    ::chmod(runtime_.path().c_str(), 0700);
    ::setenv("XDG_RUNTIME_DIR", runtime_.path().c_str(), 1);
  }

  std::unique_ptr<ChildProcess> Start(std::vector<std::string> args = {}) {
    args.insert(args.begin(), job_.home.PathOf("vantrel"));
    return std::make_unique<ChildProcess>(args);
  }

  // Visible windows whose name matches, of one process or of any.
  static std::vector<std::string> Windows(const std::string& name, pid_t pid = 0) {
    std::vector<std::string> argv = {"/usr/bin/xdotool", "search", "--onlyvisible"};
    // Conditions are or-ed unless --all is given.
    if (pid > 0) argv.insert(argv.end(), {"--all", "--pid", std::to_string(pid)});
    argv.insert(argv.end(), {"--name", name});
    ChildProcess search(argv);
    search.Wait(5000);
    std::istringstream lines(search.out());
    std::vector<std::string> ids;
    for (std::string id; lines >> id;) ids.push_back(id);
    return ids;
  }

  // Waits for a window of the process to appear, at most timeoutMs.
  static bool WaitForWindow(const std::string& name, pid_t pid, int timeoutMs = 10000) {
    for (int waited = 0; waited < timeoutMs; waited += 50) {
      if (!Windows(name, pid).empty()) return true;
      ::usleep(50000);
    }
    return false;
  }

  // Presses OK in the process's "vtl" box once it shows.
  static bool PressOk(pid_t pid, int timeoutMs = 20000) {
    if (!WaitForWindow("^vtl$", pid, timeoutMs)) return false;
    const auto ids = Windows("^vtl$", pid);
    ChildProcess key({"/usr/bin/xdotool", "windowfocus", "--sync", ids.front(), "key", "Return"});
    return key.Wait(5000) == 0;
  }

  // The boxes the program showed, from the lines it prints for them.
  static bool Showed(ChildProcess& app, const std::string& text) {
    return app.err().find("vantrel: " + text + "\n") != std::string::npos;
  }

 private:
  E2eJob& job_;
  TempFolder runtime_;
};

}  // namespace vantrel::testing
