// Programs and verifies one board through the job engine, printing each phase and message.
//   program_board PORT HOME CPU-TYPE PROGRAM.mot    (HOME holds CTRL_MOT/CPU-TYPE)
#include <cstdio>

#include "job/job_engine.h"

using namespace vantrel;

class Printer final : public JobEvents {
 public:
  void Status(const JobStatus& s) override {
    if (s.phase != last_) std::printf("%s\n", StatusText(s).c_str());
    last_ = s.phase;
  }
  void Failed(const JobFailureEvent& f) override {
    std::printf("%s: %s\n", FailureName(f.failure).data(), f.text.c_str());
  }
  void Notice(JobNotice, std::string_view text) override {
    std::printf("%.*s\n", static_cast<int>(text.size()), text.data());
  }

 private:
  JobPhase last_ = JobPhase::ChooseFile;
};

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: %s PORT HOME CPU-TYPE PROGRAM.mot\n", argv[0]);
    return 64;
  }
  FixedInputs inputs({.port = argv[1],
                      .baudBoot = "9600",
                      .baudProg = "57600",
                      .verify = true,
                      .cpuType = argv[3],
                      .userProgram = argv[4],
                      .exeFolder = argv[2]});
  Printer events;
  platform::MonotonicClock clock;
  ProgrammingJob job(inputs, events, clock, platform::MakeSystemSerialDevice());
  TickDriver driver(job, clock, TickMode::Fast);
  job.Start();
  while (job.Running()) driver.Wait(driver.Run());
  return static_cast<int>(job.result());
}
