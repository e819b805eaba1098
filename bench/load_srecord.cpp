// Time to load S-record files of 64 KiB and 1 MiB (16- and 32-byte records) into the memory
// image, the way the programming sequence's load step reads them: 100 lines a tick, the ticks
// back to back in fast mode and one every 10 ms with the window's original timer. Both are
// measured in the same run. Target: a 1 MiB file in under 0.5 s in fast mode.
//
// usage: load_srecord [--no-cadence]
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include <unistd.h>

#include "core/shared_timeout.h"
#include "core/step_context.h"
#include "job/load_user_program.h"
#include "platform/clock.h"
#include "serial/comm_ctrl.h"

namespace {

using namespace vantrel;

class LoudFailures final : public JobEvents {
 public:
  void Failed(const JobFailureEvent& f) override {
    std::fprintf(stderr, "load_srecord: %s\n", f.text.c_str());
  }
};

std::string Record(int address, const unsigned char* data, int n) {
  char line[128];
  int sum = n + 3 + (address >> 16) + ((address >> 8) & 0xFF) + (address & 0xFF);
  int at = std::snprintf(line, sizeof line, "S2%02X%06X", n + 4, address);
  for (int i = 0; i < n; ++i) {
    at += std::snprintf(line + at, sizeof line - at, "%02X", data[i]);
    sum += data[i];
  }
  std::snprintf(line + at, sizeof line - at, "%02X\r\n", ~sum & 0xFF);
  return line;
}

// A file of `size` bytes of data in records of `perRecord` bytes; returns its path.
std::string WriteProgram(const std::filesystem::path& folder, int size, int perRecord) {
  const auto path =
      folder / ("p" + std::to_string(size) + "-" + std::to_string(perRecord) + ".mot");
  std::FILE* f = std::fopen(path.c_str(), "wb");
  unsigned char data[64];
  unsigned seed = 12345;
  for (int address = 0; address < size; address += perRecord) {
    for (int i = 0; i < perRecord; ++i)
      data[i] = static_cast<unsigned char>((seed = seed * 1103515245 + 12345) >> 16);
    const std::string line = Record(address, data, perRecord);
    std::fwrite(line.data(), 1, line.size(), f);
  }
  std::fputs("S804000000FB\r\n", f);
  std::fclose(f);
  return path.string();
}

// Seconds to load the file, with `tickGapMs` between ticks of 100 lines.
double Load(const std::string& path, std::uint32_t tickGapMs) {
  platform::MonotonicClock clock;
  SharedTimeout timeout(clock);
  JobSettings settings;
  settings.blockSize = 128;
  settings.userProgram = path;
  FixedInputs inputs(settings);
  LoudFailures events;
  CommCtrl port;
  StepContext ctx{port, timeout, inputs, events};
  auto image = std::make_unique<ProgramImage>();
  LoadUserProgram load(ctx, *image);
  const auto start = std::chrono::steady_clock::now();
  StepResult r = load.Run(PhaseStart);
  while (r == StepBusy) {
    if (tickGapMs != 0) platform::SleepMs(tickGapMs);
    for (int i = 0; i < 100; ++i) {
      r = load.Run(PhaseContinue);
      if (r != StepBusy) break;
    }
  }
  const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (r != StepDone) std::exit(1);
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  const bool cadence = !(argc > 1 && std::strcmp(argv[1], "--no-cadence") == 0);
  const auto folder =
      std::filesystem::temp_directory_path() / ("vantrel-load-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  std::printf("%-24s %10s %9s %12s\n", "file", "fast", "MB/s", cadence ? "10 ms timer" : "");
  for (const int size : {64 * 1024, 1024 * 1024}) {
    for (const int perRecord : {16, 32}) {
      const std::string path = WriteProgram(folder, size, perRecord);
      const double fast = Load(path, 0);
      char label[64];
      std::snprintf(label, sizeof label, "%4d KiB, %2d-byte records", size / 1024, perRecord);
      std::printf("%-24s %7.0f ms %9.1f", label, fast * 1000, size / fast / 1e6);
      if (cadence) std::printf(" %9.0f ms", Load(path, 10) * 1000);
      std::printf("\n");
      std::fflush(stdout);
    }
  }
  std::filesystem::remove_all(folder);
  return 0;
}
