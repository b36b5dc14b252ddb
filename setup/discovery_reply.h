// The printer discovery datagrams: the request every printer of the model answers, and the reader of its replies,
// which come from the network and are trusted for nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vyx {

// "Discover Zavo Printer" and its terminating zero: 22 bytes.
inline constexpr char kDiscoveryRequest[] = "Discover Zavo Printer";
inline constexpr std::size_t kDiscoveryRequestSize = sizeof kDiscoveryRequest;
static_assert(kDiscoveryRequestSize == 22);

inline constexpr std::uint16_t kDiscoveryPort = 50020;
inline constexpr std::uint32_t kLimitedBroadcast = 0xFFFFFFFFu;  // 255.255.255.255

// A reply holds up to three device entries of 256 bytes back to back; the rest of a longer datagram is not read.
inline constexpr std::size_t kReplyEntrySize = 256;
inline constexpr std::size_t kMaxReplyEntries = 3;
inline constexpr std::size_t kMaxReplySize = kReplyEntrySize * kMaxReplyEntries;  // 768
// Offsets of the fields inside one entry.
inline constexpr std::size_t kEntryAddressOffset = 32;  // IPv4 address, network byte order
inline constexpr std::size_t kEntryMacOffset = 48;      // 6 bytes
inline constexpr std::size_t kEntryValueOffset = 64;    // 32-bit value kept with the device
// An entry counts only when every field it is read for lies inside the datagram.
inline constexpr std::size_t kEntryFieldsEnd = kEntryValueOffset + 4;  // 68

// One printer that answered.
struct DEVICE_DATA {
  char ip[16];   // dotted decimal, zero-terminated
  char mac[18];  // "%02x:%02x:%02x:%02x:%02x:%02x", zero-terminated
  std::uint32_t value;

  std::string Ip() const { return ip; }
  std::string Mac() const { return mac; }
};

// IPv4 addresses travel through the program as 32-bit numbers, a.b.c.d being (a << 24) | (b << 16) | (c << 8) | d.
std::string FormatIpv4(std::uint32_t address);
// Reads a dotted-decimal address of exactly four numbers from 0 to 255; false for anything else.
bool ParseIpv4(const std::string& text, std::uint32_t& address);

// Appends the device entries of one datagram of `size` bytes to `devices`: at most three, and only those whose
// fields all lie inside the datagram. Returns how many were appended.
std::size_t ParseDiscoveryReply(const std::uint8_t* data, std::size_t size, std::vector<DEVICE_DATA>& devices);

// Appends `device` unless one with the same MAC address is listed already or the list holds `limit` devices;
// true when it was appended.
bool AddNewDevice(std::vector<DEVICE_DATA>& devices, const DEVICE_DATA& device, std::size_t limit);

// Removes every device whose MAC address text equals that of an earlier one, keeping the order of the rest.
void RemoveDuplicateDevices(std::vector<DEVICE_DATA>& devices);

}  // namespace vyx
