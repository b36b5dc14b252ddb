// The settings record rewrite: the upgrade rule on well-formed records, and records whose sizes lie.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "setup/devmode_upgrade.h"

namespace vyx {
namespace {

constexpr std::size_t kPublic = 220;  // the public part of today's records

std::uint32_t Word(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

void PutWord(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

void PutHalf(std::vector<std::uint8_t>& bytes, std::size_t at, std::size_t value) {
  bytes[at] = static_cast<std::uint8_t>(value);
  bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

// A record with a public part of `public_size` bytes, a private block of `extra` bytes (each byte its offset plus
// 0x40, so that kept bytes can be told from defaults) and the given signature, version and flags.
std::vector<std::uint8_t> Record(std::size_t public_size,
                                 std::size_t extra,
                                 const char* signature = "ZVYX",
                                 std::uint32_t version = kPrivateLayoutVersion,
                                 std::uint32_t fields = 0x0913) {
  std::vector<std::uint8_t> bytes(public_size + extra);
  for (std::size_t i = 0; i < public_size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + 1);
  PutHalf(bytes, kDmSizeAt, public_size);
  PutHalf(bytes, kDmDriverExtraAt, extra);
  PutWord(bytes, kDmFieldsAt, fields);
  if (public_size >= kDmDisplayFrequencyAt + 4) PutWord(bytes, kDmDisplayFrequencyAt, 60);
  for (std::size_t i = 0; i < extra; ++i) bytes[public_size + i] = static_cast<std::uint8_t>(i + 0x40);
  if (extra >= 4) std::memcpy(bytes.data() + public_size, signature, 4);
  if (extra >= 8) PutWord(bytes, public_size + 4, version);
  return bytes;
}

// Runs the rewrite on a heap copy of exactly the bytes given, so that any read beyond them is caught.
CDevmodeUpgradeResult Upgrade(const std::vector<std::uint8_t>& bytes) {
  std::unique_ptr<std::uint8_t[]> exact(new std::uint8_t[bytes.size() + (bytes.empty() ? 1 : 0)]);
  if (!bytes.empty()) std::memcpy(exact.get(), bytes.data(), bytes.size());
  return UpgradeDevmodeRecord(std::span<const std::uint8_t>(exact.get(), bytes.size()));
}

std::size_t MarkerAt(std::size_t public_size) {
  return ((public_size + kPrivateBlockSize) & ~std::size_t{3}) - 8;
}

TEST(DevmodeUpgrade, DefaultPrivateBlockHoldsTheDriversDefaults) {
  const auto block = DefaultPrivateBlock();
  const std::vector<std::uint8_t> bytes(block.begin(), block.end());
  EXPECT_EQ(0, std::memcmp(bytes.data(), "ZVYX", 4));
  const std::pair<std::size_t, std::uint32_t> words[] = {
      {4, 0x1003}, {8, 13},          {12, 24},         {16, 0x27100000}, {20, 0x27102710}, {24, 0x27100000},
      {28, 0},     {44, 0},          {48, 59},         {52, 59},         {56, 94},         {60, 20},
      {64, 15},    {68, 0x01010101}, {72, 0x01000101}, {76, 1},          {80, 0},          {252, 0}};
  for (const auto& [at, value] : words) EXPECT_EQ(value, Word(bytes, at)) << "offset " << at;
}

TEST(DevmodeUpgrade, CurrentRecordOnlyGainsTheFrequencyStepAndTheMarker) {
  const auto before = Record(kPublic, 256);
  const CDevmodeUpgradeResult result = Upgrade(before);
  ASSERT_EQ(EDevmodeUpgrade::kCurrent, result.outcome);
  EXPECT_FALSE(result.signature_repaired);
  auto expected = before;
  PutWord(expected, kDmDisplayFrequencyAt, 61);
  PutWord(expected, MarkerAt(kPublic), 0xFFFFFFFF);
  EXPECT_EQ(expected, result.record);
}

TEST(DevmodeUpgrade, ShortPrivateBlockKeepsItsBytesAndGainsTheDefaultsAfterThem) {
  const auto before = Record(kPublic, 200, "ABCD", 0x1002);
  const CDevmodeUpgradeResult result = Upgrade(before);
  ASSERT_EQ(EDevmodeUpgrade::kRebuilt, result.outcome);
  EXPECT_TRUE(result.signature_repaired);
  const auto& after = result.record;
  ASSERT_EQ(kPublic + 256, after.size());
  EXPECT_EQ(0x0500u, Word(after, 64) >> 16);  // driver version
  EXPECT_EQ(256u, Word(after, 68) >> 16);     // driver extra
  EXPECT_EQ(0x091Fu, Word(after, kDmFieldsAt));
  EXPECT_EQ(61u, Word(after, kDmDisplayFrequencyAt));
  EXPECT_EQ(0, std::memcmp(after.data() + kPublic, "ZVYX", 4));
  EXPECT_EQ(0x1003u, Word(after, kPublic + 4));
  const auto defaults = DefaultPrivateBlock();
  for (std::size_t i = 8; i < 256; ++i) {
    if (kPublic + i >= MarkerAt(kPublic) && kPublic + i < MarkerAt(kPublic) + 4) continue;
    const std::uint8_t want = i < 200 ? static_cast<std::uint8_t>(i + 0x40) : defaults[i];
    ASSERT_EQ(want, after[kPublic + i]) << "private byte " << i;
  }
  EXPECT_EQ(0xFFFFFFFFu, Word(after, MarkerAt(kPublic)));
  // The public part is the old one apart from the fields the upgrade sets.
  for (std::size_t i = 0; i < kPublic; ++i) {
    if ((i >= 66 && i < 76) || (i >= kDmDisplayFrequencyAt && i < kDmDisplayFrequencyAt + 4)) continue;
    ASSERT_EQ(before[i], after[i]) << "public byte " << i;
  }
}

TEST(DevmodeUpgrade, WhatMakesARecordOutOfDate) {
  struct CCase {
    const char* what;
    std::size_t extra;
    std::uint32_t version;
    std::uint32_t fields;
    EDevmodeUpgrade outcome;
  };
  const CCase cases[] = {
      {"current", 256, 0x1003, 0x0913, EDevmodeUpgrade::kCurrent},
      {"print quality flag", 256, 0x1003, 0x0913 | kDmPrintQuality, EDevmodeUpgrade::kRebuilt},
      {"older version", 256, 0x1002, 0x0913, EDevmodeUpgrade::kRebuilt},
      {"longer private block", 300, 0x1003, 0x0913, EDevmodeUpgrade::kRebuilt},
      {"no private block", 0, 0, 0x0913, EDevmodeUpgrade::kRebuilt},
  };
  for (const CCase& c : cases) {
    SCOPED_TRACE(c.what);
    const CDevmodeUpgradeResult result = Upgrade(Record(kPublic, c.extra, "ZVYX", c.version, c.fields));
    EXPECT_EQ(c.outcome, result.outcome);
    ASSERT_EQ(kPublic + 256, result.record.size());
    EXPECT_FALSE(result.signature_repaired);
    if (c.outcome == EDevmodeUpgrade::kRebuilt) {
      EXPECT_EQ(0x091Fu, Word(result.record, kDmFieldsAt));
    }
  }
}

TEST(DevmodeUpgrade, RecordsWhoseSizesDoNotFitTheBytesPresent) {
  struct CCase {
    const char* what;
    std::vector<std::uint8_t> bytes;
    EDevmodeUpgrade outcome;
  };
  auto claims = [](std::vector<std::uint8_t> bytes, std::size_t public_size, std::size_t extra) {
    PutHalf(bytes, kDmSizeAt, public_size);
    PutHalf(bytes, kDmDriverExtraAt, extra);
    return bytes;
  };
  const CCase cases[] = {
      {"nothing", {}, EDevmodeUpgrade::kInvalid},
      {"shorter than the field flags", std::vector<std::uint8_t>(75, 0), EDevmodeUpgrade::kInvalid},
      {"public size 8", claims(Record(kPublic, 0), 8, 0), EDevmodeUpgrade::kInvalid},
      {"public size 0", claims(Record(kPublic, 256), 0, 256), EDevmodeUpgrade::kInvalid},
      {"public size beyond the bytes", claims(Record(kPublic, 0), kPublic + 1, 0), EDevmodeUpgrade::kInvalid},
      {"public size 65535", claims(Record(kPublic, 256), 65535, 256), EDevmodeUpgrade::kInvalid},
      {"private block beyond the bytes", claims(Record(kPublic, 100), kPublic, 256), EDevmodeUpgrade::kRebuilt},
      {"private block 65535", claims(Record(kPublic, 0), kPublic, 65535), EDevmodeUpgrade::kRebuilt},
      {"smallest public part", Record(76, 3), EDevmodeUpgrade::kRebuilt},
      {"odd public size", Record(221, 256), EDevmodeUpgrade::kCurrent},
  };
  for (const CCase& c : cases) {
    SCOPED_TRACE(c.what);
    const CDevmodeUpgradeResult result = Upgrade(c.bytes);
    EXPECT_EQ(c.outcome, result.outcome);
    if (c.outcome == EDevmodeUpgrade::kInvalid) {
      EXPECT_TRUE(result.record.empty());
      continue;
    }
    const std::size_t public_size = c.bytes[kDmSizeAt] | c.bytes[kDmSizeAt + 1] << 8;
    ASSERT_EQ(public_size + 256, result.record.size());
    EXPECT_EQ(0xFFFFFFFFu, Word(result.record, MarkerAt(public_size)));
    EXPECT_EQ(0x1003u, Word(result.record, public_size + 4));
  }
}

TEST(DevmodeUpgrade, PrivateBlockClaimedLongerThanPresentUsesOnlyThePresentBytes) {
  auto bytes = Record(kPublic, 100, "ZVYX", 0x1003);
  PutHalf(bytes, kDmDriverExtraAt, 256);
  const CDevmodeUpgradeResult result = Upgrade(bytes);
  ASSERT_EQ(EDevmodeUpgrade::kRebuilt, result.outcome);
  const auto defaults = DefaultPrivateBlock();
  EXPECT_EQ(0x40 + 99, result.record[kPublic + 99]);
  EXPECT_EQ(defaults[100], result.record[kPublic + 100]);
  EXPECT_EQ(defaults[140], result.record[kPublic + 140]);
}

TEST(DevmodeUpgrade, OldShortPublicPartKeepsTheBytesWhereTheFrequencyWouldBe) {
  // A record of an old layout ends its public part before the display frequency: those bytes are private ones.
  const auto before = Record(156, 256, "ZVYX", 0x1003);
  const CDevmodeUpgradeResult result = Upgrade(before);
  ASSERT_EQ(EDevmodeUpgrade::kCurrent, result.outcome);
  EXPECT_EQ(Word(before, kDmDisplayFrequencyAt), Word(result.record, kDmDisplayFrequencyAt));
}

TEST(DevmodeUpgrade, FrequencyStepWrapsAround) {
  auto bytes = Record(kPublic, 256);
  PutWord(bytes, kDmDisplayFrequencyAt, 0xFFFFFFFF);
  EXPECT_EQ(0u, Word(Upgrade(bytes).record, kDmDisplayFrequencyAt));
}

}  // namespace
}  // namespace vyx
