// Bringing a stored printer settings record (the device-mode record with the driver's private block) to the
// private layout this driver version expects, as bytes, whatever the record claims about its own sizes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace vyx {

// Public part of the device-mode record: byte offsets of the fields used here.
inline constexpr std::size_t kDmDriverVersionAt = 66;
inline constexpr std::size_t kDmSizeAt = 68;
inline constexpr std::size_t kDmDriverExtraAt = 70;
inline constexpr std::size_t kDmFieldsAt = 72;
inline constexpr std::size_t kDmDisplayFrequencyAt = 184;
inline constexpr std::size_t kDmMinimumPublicSize = kDmFieldsAt + 4;  // a public part must reach the field flags

inline constexpr std::uint32_t kDmPrintQuality = 0x400;
inline constexpr std::uint32_t kUpgradedFields = 0x091F;  // orientation, paper size/length/width, scale, copies, colour
inline constexpr std::uint16_t kUpgradedDriverVersion = 0x0500;

// Private block of this driver version.
inline constexpr std::size_t kPrivateBlockSize = 256;
inline constexpr std::uint32_t kPrivateLayoutVersion = 0x1003;
inline constexpr std::array<std::uint8_t, 4> kPrivateSignature = {'Z', 'V', 'Y', 'X'};

// The private block with its default values.
std::array<std::uint8_t, kPrivateBlockSize> DefaultPrivateBlock();

enum class EDevmodeUpgrade {
  kCurrent,  // already in this layout: only the display frequency and the marker word changed
  kRebuilt,  // a new record: public part, old private bytes over the defaults, version, sizes and flags set
  kInvalid,  // the record's sizes do not fit the bytes present; nothing to write
};

struct CDevmodeUpgradeResult {
  EDevmodeUpgrade outcome = EDevmodeUpgrade::kInvalid;
  bool signature_repaired = false;   // the old private block had a foreign signature (the caller warns)
  std::vector<std::uint8_t> record;  // what to store: public size + 256 bytes
};

// `bytes` are the bytes available from the record's start (the record may claim more than that). A record is
// invalid when its public part is shorter than the field flags or longer than the bytes present; a private block
// claimed longer than the bytes present is rebuilt from the bytes that are there. Nothing outside `bytes` is read.
CDevmodeUpgradeResult UpgradeDevmodeRecord(std::span<const std::uint8_t> bytes);

}  // namespace vyx
