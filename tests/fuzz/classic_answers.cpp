// The classic boot loader's answers, one of them written by the fuzzer, through a whole job: the
// echoes of the write-control program, the erase answer, the block answers and the read-back.
#include "fuzz/fuzz_job.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vantrel::fuzzing::RunJobWithFuzzedAnswer(vantrel::fuzzing::Protocol::Classic, data, size);
  return 0;
}
