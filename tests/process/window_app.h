#pragma once

#include <sys/stat.h>

#include <filesystem>
#include <memory>
#include <sstream>

#include "e2e/e2e_job.h"

namespace vantrel::testing {

// The window program copied alone into the job's home folder (so that folder is its ExeFolder),
// started and looked at the way a person would: the Linux window with a runtime folder of the
// test's own, or (test_process_wine) vantrel.exe under Wine, seen through window-probe.exe.
class WindowApp {
 public:
  explicit WindowApp(E2eJob& job) : job_(job) {
    const std::string name = kUnderWine ? "vantrel.exe" : "vantrel";
    std::filesystem::copy_file(Bin() + "/" + name, job.home.PathOf(name));
    exe_ = job.home.PathOf(name);
    ::chmod(runtime_.path().c_str(), 0700);
    ::setenv("XDG_RUNTIME_DIR", runtime_.path().c_str(), 1);
    // As on a Japanese Windows: the ANSI code page is 932 (Shift-JIS).
    if (kUnderWine) ::setenv("VANTREL_WINE_LOCALE", "ja_JP.UTF-8", 1);
  }

  std::unique_ptr<ChildProcess> Start(std::vector<std::string> args = {}) {
    args.insert(args.begin(), exe_);
    if (kUnderWine) args.insert(args.begin(), WineRun());
    return std::make_unique<ChildProcess>(args);
  }

  // The main window of the process is up, within timeoutMs.
  static bool WaitForMainWindow(pid_t pid, int timeoutMs = 20000) {
    if (kUnderWine && Probe({"wait"}).first != 0) return false;
    // Under Wine too: shown on the display, and so ready for the keyboard and the mouse.
    return WaitFor(kCaption, kUnderWine ? 0 : pid, timeoutMs);
  }
  // A "vtl" box of the process is open, within timeoutMs.
  static bool WaitForBox(pid_t pid, int timeoutMs = 20000) {
    if (kUnderWine) return Probe({"box"}).first == 0;
    return WaitFor("^vtl$", pid, timeoutMs);
  }
  // Presses OK in the process's "vtl" box once it shows.
  static bool PressOk(pid_t pid) {
    if (kUnderWine) return Probe({"press"}).first == 0;
    if (!WaitFor("^vtl$", pid, 20000)) return false;  // pid 0: any process's
    const auto ids = Windows("^vtl$", pid);
    ChildProcess key({"/usr/bin/xdotool", "windowfocus", "--sync", ids.front(), "key", "Return"});
    return key.Wait(5000) == 0;
  }
  static std::size_t MainWindows() {
    if (kUnderWine) return std::stoul("0" + Probe({"count"}).second);
    return Windows(kCaption).size();
  }
  // Closes the window as its close box does.
  static void Close(ChildProcess& app) {
    if (kUnderWine) {
      Probe({"close"});
    } else {
      app.Signal(SIGTERM);
    }
  }

  // Drives the display as a person does (xdotool): keys go to the window that has the focus.
  static ::testing::AssertionResult Xdo(std::vector<std::string> args) {
    args.insert(args.begin(), "/usr/bin/xdotool");
    ChildProcess xdo(args);
    if (xdo.Wait(20000) == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << xdo.err();
  }
  // The X window of the process's main window, or of its "vtl" box (under Wine: of any process).
  static std::string WindowId(pid_t pid, bool box = false) {
    const auto ids = Windows(box ? "^vtl$" : kCaption, kUnderWine ? 0 : pid);
    return ids.empty() ? std::string() : ids.front();
  }

  // The boxes the program showed, from the lines it prints for them.
  static bool Showed(ChildProcess& app, const std::string& text) {
    return CliText(app.err()).find("vantrel: " + text + "\n") != std::string::npos;
  }

  // A path written with "/" as the program takes it: under Wine, on drive Z:.
  static std::string AppPath(const std::string& path) { return CliPath(path); }

 private:
  static constexpr const char* kCaption = "^ Vantrel Ver\\.0\\.39b1$";

  static std::string Bin() {
#ifdef VANTREL_E2E_WINE
    return VANTREL_WINDOWS_BIN_DIR;
#else
    return kBin;
#endif
  }
  static std::string WineRun() {
    return std::string(VANTREL_SOURCE_DIR) + "/scripts/wine-run";
  }

  // Runs window-probe.exe; its exit code and what it printed.
  static std::pair<int, std::string> Probe(std::vector<std::string> args) {
    args.insert(args.begin(), {WineRun(), Bin() + "/../tests/window-probe.exe"});
    ChildProcess probe(args);
    const auto code = probe.Wait(30000);
    return {code.value_or(-1), CliText(probe.out())};
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
  static bool WaitFor(const std::string& name, pid_t pid, int timeoutMs) {
    for (int waited = 0; waited < timeoutMs; waited += 50) {
      if (!Windows(name, pid).empty()) return true;
      ::usleep(50000);
    }
    return false;
  }

  E2eJob& job_;
  std::string exe_;
  TempFolder runtime_;
};

}  // namespace vantrel::testing
