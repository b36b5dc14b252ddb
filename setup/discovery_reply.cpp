// Discovery replies: every read stays inside the datagram, whatever its length says.
#include "setup/discovery_reply.h"

#include <cstdio>
#include <cstring>
#include <set>

namespace vyx {

std::string FormatIpv4(std::uint32_t address) {
  char text[16];
  std::snprintf(text, sizeof text, "%u.%u.%u.%u", (address >> 24) & 0xFFu, (address >> 16) & 0xFFu,
                (address >> 8) & 0xFFu, address & 0xFFu);
  return text;
}

bool ParseIpv4(const std::string& text, std::uint32_t& address) {
  std::uint32_t result = 0;
  std::size_t at = 0;
  for (int part = 0; part < 4; ++part) {
    if (part > 0) {
      if (at >= text.size() || text[at] != '.') return false;
      ++at;
    }
    const std::size_t start = at;
    unsigned value = 0;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9' && at - start < 3) {
      value = value * 10 + static_cast<unsigned>(text[at] - '0');
      ++at;
    }
    if (at == start || value > 255) return false;
    result = (result << 8) | value;
  }
  if (at != text.size()) return false;
  address = result;
  return true;
}

std::size_t ParseDiscoveryReply(const std::uint8_t* data, std::size_t size, std::vector<DEVICE_DATA>& devices) {
  if (data == nullptr) return 0;
  std::size_t added = 0;
  for (std::size_t k = 0; k < kMaxReplyEntries; ++k) {
    const std::size_t start = k * kReplyEntrySize;
    // A short last entry whose fields are cut off by the end of the datagram is dropped, not read past its end.
    if (start >= size || size - start < kEntryFieldsEnd) break;
    const std::uint8_t* entry = data + start;
    DEVICE_DATA device = {};
    const std::uint8_t* a = entry + kEntryAddressOffset;
    const std::uint32_t address =
        (std::uint32_t{a[0]} << 24) | (std::uint32_t{a[1]} << 16) | (std::uint32_t{a[2]} << 8) | std::uint32_t{a[3]};
    std::snprintf(device.ip, sizeof device.ip, "%s", FormatIpv4(address).c_str());
    const std::uint8_t* m = entry + kEntryMacOffset;
    std::snprintf(device.mac, sizeof device.mac, "%02x:%02x:%02x:%02x:%02x:%02x", m[0], m[1], m[2], m[3], m[4], m[5]);
    // The value is kept as the printer's own (little-endian) firmware wrote it.
    const std::uint8_t* v = entry + kEntryValueOffset;
    device.value =
        std::uint32_t{v[0]} | (std::uint32_t{v[1]} << 8) | (std::uint32_t{v[2]} << 16) | (std::uint32_t{v[3]} << 24);
    devices.push_back(device);
    ++added;
  }
  return added;
}

bool AddNewDevice(std::vector<DEVICE_DATA>& devices, const DEVICE_DATA& device, std::size_t limit) {
  if (devices.size() >= limit) return false;
  for (const DEVICE_DATA& known : devices) {
    if (std::strcmp(known.mac, device.mac) == 0) return false;
  }
  devices.push_back(device);
  return true;
}

void RemoveDuplicateDevices(std::vector<DEVICE_DATA>& devices) {
  std::set<std::string> seen;
  std::size_t kept = 0;
  for (std::size_t i = 0; i < devices.size(); ++i) {
    if (!seen.insert(devices[i].mac).second) continue;
    devices[kept++] = devices[i];
  }
  devices.resize(kept);
}

}  // namespace vyx
