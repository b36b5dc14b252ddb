// The settings record rewrite: little-endian fields read and written byte by byte, so that records of any public
// size (odd ones included) are handled alike, and never beyond the bytes present.
#include "setup/devmode_upgrade.h"

#include <algorithm>
#include <cstring>

namespace vyx {
namespace {

std::uint32_t Read16(const std::uint8_t* at) {
  return static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8;
}

std::uint32_t Read32(const std::uint8_t* at) {
  return Read16(at) | Read16(at + 2) << 16;
}

void Write16(std::uint8_t* at, std::uint32_t value) {
  at[0] = static_cast<std::uint8_t>(value);
  at[1] = static_cast<std::uint8_t>(value >> 8);
}

void Write32(std::uint8_t* at, std::uint32_t value) {
  Write16(at, value);
  Write16(at + 2, value >> 16);
}

}  // namespace

std::array<std::uint8_t, kPrivateBlockSize> DefaultPrivateBlock() {
  std::array<std::uint8_t, kPrivateBlockSize> block{};
  std::copy(kPrivateSignature.begin(), kPrivateSignature.end(), block.begin());
  struct CWord {
    std::size_t at;
    std::uint32_t value;
  };
  constexpr CWord kWords[] = {
      {4, kPrivateLayoutVersion},
      {8, 13},
      {12, 24},
      {16, 0x27100000},  // halves 0 and 10000
      {20, 0x27102710},
      {24, 0x27100000},
      {48, 59},
      {52, 59},
      {56, 94},
      {60, 20},
      {64, 15},
      {68, 0x01010101},  // flag bytes 1, 1, 1, 1
      {72, 0x01000101},  // flag bytes 1, 1, 0, 1
      {76, 1},
  };
  for (const CWord& word : kWords) Write32(block.data() + word.at, word.value);
  return block;
}

CDevmodeUpgradeResult UpgradeDevmodeRecord(std::span<const std::uint8_t> bytes) {
  CDevmodeUpgradeResult result;
  if (bytes.size() < kDmMinimumPublicSize) return result;
  const std::size_t public_size = Read16(bytes.data() + kDmSizeAt);
  if (public_size < kDmMinimumPublicSize || public_size > bytes.size()) return result;
  const std::size_t claimed_extra = Read16(bytes.data() + kDmDriverExtraAt);
  const std::size_t present_extra = std::min(claimed_extra, bytes.size() - public_size);
  const std::uint8_t* old_private = bytes.data() + public_size;

  const bool current = claimed_extra == kPrivateBlockSize && present_extra == kPrivateBlockSize &&
                       (Read32(bytes.data() + kDmFieldsAt) & kDmPrintQuality) == 0 &&
                       Read32(old_private + 4) == kPrivateLayoutVersion;

  std::vector<std::uint8_t>& record = result.record;
  record.assign(public_size + kPrivateBlockSize, 0);
  std::uint8_t* new_private = record.data() + public_size;
  if (current) {
    std::memcpy(record.data(), bytes.data(), record.size());
    result.outcome = EDevmodeUpgrade::kCurrent;
  } else {
    std::memcpy(record.data(), bytes.data(), public_size);
    const auto defaults = DefaultPrivateBlock();
    std::memcpy(new_private, defaults.data(), defaults.size());
    // Old private values win; the defaults stay where the old block was shorter.
    std::memcpy(new_private, old_private, std::min(present_extra, kPrivateBlockSize));
    if (!std::equal(kPrivateSignature.begin(), kPrivateSignature.end(), new_private)) {
      std::copy(kPrivateSignature.begin(), kPrivateSignature.end(), new_private);
      result.signature_repaired = true;
    }
    Write32(new_private + 4, kPrivateLayoutVersion);
    Write16(record.data() + kDmDriverExtraAt, kPrivateBlockSize);
    Write16(record.data() + kDmDriverVersionAt, kUpgradedDriverVersion);
    Write32(record.data() + kDmFieldsAt, kUpgradedFields);
    result.outcome = EDevmodeUpgrade::kRebuilt;
  }
  // The driver reads these two as "settings were upgraded by setup". A short public part (an old record layout)
  // has no display frequency field: its place belongs to the private block then and stays untouched.
  if (public_size >= kDmDisplayFrequencyAt + 4) {
    std::uint8_t* frequency = record.data() + kDmDisplayFrequencyAt;
    Write32(frequency, Read32(frequency) + 1);
  }
  const std::size_t end = record.size() & ~static_cast<std::size_t>(3);
  Write32(record.data() + end - 8, 0xFFFFFFFFu);
  return result;
}

}  // namespace vyx
