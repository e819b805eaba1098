#pragma once

// Everything a program needs to run a programming job of its own, with or without a window:
//
//   JobSettings settings;             // or a JobInputs of your own, read while the job runs
//   settings.port = "/dev/ttyUSB0";   // and the rates, the CPU type, the program, the folders
//   FixedInputs inputs(settings);
//   MyEvents events;                  // a JobEvents: status, progress, failures, the end
//   platform::MonotonicClock clock;
//   ProgrammingJob job(inputs, events, clock, platform::MakeSystemSerialDevice());
//   TickDriver driver(job, clock, TickMode::Fast);
//   job.Start();
//   while (job.Running()) driver.Wait(driver.Run());
//   return static_cast<int>(job.result());   // 0 written (and verified), 1 not, 2 verify failed
//
// A job never blocks: Tick does one bounded piece of work, and TickDriver says when the next is
// due, so an event loop can run it from a timer and from a watcher of the port instead.

#include "core/job_events.h"
#include "core/job_inputs.h"
#include "job/programming_job.h"
#include "job/tick_driver.h"
#include "platform/clock.h"
#include "platform/serial_device.h"
