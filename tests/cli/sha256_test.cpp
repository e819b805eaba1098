#include "cli/records/sha256.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "cli/board/board_job.h"

namespace vantrel::cli {
namespace {

std::span<const std::uint8_t> Bytes(const std::string& s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

struct Vector {
  std::string text;
  const char* digest;
};

TEST(Sha256, KnownDigestsWholeAndInPieces) {
  const Vector vectors[] = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      // 56 bytes: the length no longer fits into the first padding block.
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {std::string(1000000, 'a'),
       "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"}};
  for (const auto& v : vectors) {
    Sha256 whole;
    whole.Update(Bytes(v.text));
    EXPECT_EQ(whole.HexDigest(), v.digest) << v.text.size();
    Sha256 pieces;
    for (std::size_t at = 0; at < v.text.size(); at += 37) {
      pieces.Update(Bytes(v.text.substr(at, 37)));
    }
    EXPECT_EQ(pieces.HexDigest(), v.digest) << v.text.size();
  }
}

TEST(WrittenDataSha256, HashesTheMarkedBlocksInAddressOrder) {
  auto image = std::make_unique<ProgramImage>();
  image->memory.bytes.fill(0xFF);
  image->blocks.flags.fill(0);
  image->memory.bytes[0x80 * 3] = 0x12;
  image->memory.bytes[0x80 * 9 + 5] = 0x34;
  image->blocks.flags[9] = image->blocks.flags[3] = 1;
  std::string expected(256, '\xFF');
  expected[0] = 0x12;
  expected[128 + 5] = 0x34;
  Sha256 hash;
  hash.Update(Bytes(expected));
  EXPECT_EQ(WrittenDataSha256(*image, 128), hash.HexDigest());
}

}  // namespace
}  // namespace vantrel::cli
