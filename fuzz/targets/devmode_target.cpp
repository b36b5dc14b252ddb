// The settings record case: invariants of the upgrade on arbitrary bytes.
#include "fuzz/targets/devmode_target.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "setup/devmode_upgrade.h"

namespace vyx::fuzz {
namespace {

[[noreturn]] void Fail(const char* what, int line) {
  std::fprintf(stderr, "devmode_target: invariant broken at line %d: %s\n", line, what);
  std::abort();
}

#define DEVMODE_CHECK(cond)             \
  do {                                  \
    if (!(cond)) Fail(#cond, __LINE__); \
  } while (0)

std::uint32_t Half(const std::uint8_t* at) {
  return static_cast<std::uint32_t>(at[0] | at[1] << 8);
}

std::uint32_t Word(const std::uint8_t* at) {
  return Half(at) | Half(at + 2) << 16;
}

bool SetByUpgrade(std::size_t at) {
  return (at >= kDmDriverVersionAt && at < kDmFieldsAt + 4) ||
         (at >= kDmDisplayFrequencyAt && at < kDmDisplayFrequencyAt + 4);
}

}  // namespace

int RunDevmodeCase(const std::uint8_t* data, std::size_t size) {
  // A private copy of exactly `size` bytes, so that the sanitizers see any read beyond them.
  std::vector<std::uint8_t> bytes(data, data + size);
  const CDevmodeUpgradeResult result = UpgradeDevmodeRecord(bytes);
  const std::size_t public_size = size >= kDmMinimumPublicSize ? Half(data + kDmSizeAt) : 0;
  const bool fits = size >= kDmMinimumPublicSize && public_size >= kDmMinimumPublicSize && public_size <= size;
  DEVMODE_CHECK(fits == (result.outcome != EDevmodeUpgrade::kInvalid));
  if (!fits) {
    DEVMODE_CHECK(result.record.empty() && !result.signature_repaired);
    return 0;
  }
  const std::vector<std::uint8_t>& record = result.record;
  DEVMODE_CHECK(record.size() == public_size + kPrivateBlockSize);
  const std::size_t marker = (record.size() & ~std::size_t{3}) - 8;
  DEVMODE_CHECK(Word(record.data() + marker) == 0xFFFFFFFFu);
  DEVMODE_CHECK(Half(record.data() + kDmSizeAt) == public_size);
  DEVMODE_CHECK(Half(record.data() + kDmDriverExtraAt) == kPrivateBlockSize);
  const std::uint8_t* private_block = record.data() + public_size;
  DEVMODE_CHECK(Word(private_block + 4) == kPrivateLayoutVersion);
  if (result.outcome == EDevmodeUpgrade::kRebuilt) {
    DEVMODE_CHECK(Word(record.data() + kDmFieldsAt) == kUpgradedFields);
    DEVMODE_CHECK(Half(record.data() + kDmDriverVersionAt) == kUpgradedDriverVersion);
    DEVMODE_CHECK(std::memcmp(private_block, kPrivateSignature.data(), 4) == 0);
  } else {
    DEVMODE_CHECK((Word(record.data() + kDmFieldsAt) & kDmPrintQuality) == 0);
    DEVMODE_CHECK(!result.signature_repaired);
  }
  // The marker lies in the private block, whatever the public size.
  for (std::size_t i = 0; i < public_size; ++i) {
    if (!SetByUpgrade(i)) DEVMODE_CHECK(record[i] == data[i]);
  }
  return 0;
}

}  // namespace vyx::fuzz
