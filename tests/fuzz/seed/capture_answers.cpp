// Writes the seed corpora of the answer fuzzers: a good job's answers, each as the input that
// puts it back in its own place, and a little line noise at the open.
#include <cstdio>
#include <string>
#include <vector>

#include "fuzz/fuzz_job.h"

namespace {

void WriteSeed(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
}

void Capture(vantrel::fuzzing::Protocol protocol, const std::string& folder) {
  std::vector<std::vector<std::uint8_t>> answers;
  const std::uint8_t none[] = {0xFE};  // no answer is replaced: a good job
  vantrel::fuzzing::RunJobWithFuzzedAnswer(protocol, none, sizeof none, &answers);
  char name[32];
  for (std::size_t k = 0; k < answers.size() && k < 0xFF; ++k) {
    std::vector<std::uint8_t> seed{static_cast<std::uint8_t>(k)};
    seed.insert(seed.end(), answers[k].begin(), answers[k].end());
    std::snprintf(name, sizeof name, "/answer-%03zu", k);
    WriteSeed(folder + name, seed);
  }
  WriteSeed(folder + "/noise", {0xFF, 0x00, 0x00});
  std::printf("%s: %zu answers\n", folder.c_str(), answers.size());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: capture_answers CLASSIC_FOLDER INQUIRY_FOLDER\n");
    return 64;
  }
  Capture(vantrel::fuzzing::Protocol::Classic, argv[1]);
  Capture(vantrel::fuzzing::Protocol::Inquiry, argv[2]);
  return 0;
}
