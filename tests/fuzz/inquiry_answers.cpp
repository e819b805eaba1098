// The inquiry/selection boot loader's answers, one of them written by the fuzzer, through a whole
// job: every inquiry answer and its parser, the selections' acknowledgements, the bit-rate
// change, the erase, the mat selection, the programming frames and the read-back.
#include "fuzz/fuzz_job.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vantrel::fuzzing::RunJobWithFuzzedAnswer(vantrel::fuzzing::Protocol::Inquiry, data, size);
  return 0;
}
