// The discovery reply case: bounds and decoding of untrusted datagrams.
#include "fuzz/targets/discovery_reply_target.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "setup/discovery_reply.h"

namespace vyx::fuzz {
namespace {

[[noreturn]] void Fail(const char* what, int line) {
  std::fprintf(stderr, "discovery_reply_target: invariant broken at line %d: %s\n", line, what);
  std::abort();
}

#define REPLY_CHECK(cond)               \
  do {                                  \
    if (!(cond)) Fail(#cond, __LINE__); \
  } while (0)

bool IsLowerHex(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
}

}  // namespace

int RunDiscoveryReplyCase(const std::uint8_t* data, std::size_t size) {
  // The search hands the parser at most one receive buffer of 768 bytes; the parser must not care.
  std::vector<std::uint8_t> copy(data, data + size);  // exact size, so ASan sees any read past the end
  std::vector<DEVICE_DATA> devices;
  const std::size_t added = ParseDiscoveryReply(copy.data(), copy.size(), devices);
  std::size_t expected = 0;
  while (expected < kMaxReplyEntries && expected * kReplyEntrySize + kEntryFieldsEnd <= size) ++expected;
  REPLY_CHECK(added == expected && devices.size() == added);

  for (std::size_t k = 0; k < devices.size(); ++k) {
    const DEVICE_DATA& d = devices[k];
    const std::uint8_t* entry = copy.data() + k * kReplyEntrySize;
    std::uint32_t address = 0;
    REPLY_CHECK(ParseIpv4(d.ip, address));
    REPLY_CHECK(address == ((std::uint32_t{entry[32]} << 24) | (std::uint32_t{entry[33]} << 16) |
                            (std::uint32_t{entry[34]} << 8) | entry[35]));
    REPLY_CHECK(std::strlen(d.mac) == 17);
    for (int i = 0; i < 17; ++i) REPLY_CHECK(i % 3 == 2 ? d.mac[i] == ':' : IsLowerHex(d.mac[i]));
    REPLY_CHECK(d.value == (entry[64] | std::uint32_t{entry[65]} << 8 | std::uint32_t{entry[66]} << 16 |
                            std::uint32_t{entry[67]} << 24));
  }

  // The same reply a thousand times adds each MAC once, and never beyond the limit.
  std::vector<DEVICE_DATA> kept;
  for (int i = 0; i < 1000; ++i) {
    for (const DEVICE_DATA& d : devices) AddNewDevice(kept, d, 2);
  }
  std::vector<DEVICE_DATA> unique = devices;
  RemoveDuplicateDevices(unique);
  REPLY_CHECK(kept.size() == (unique.size() < 2 ? unique.size() : 2));
  for (std::size_t i = 0; i < unique.size(); ++i) {
    for (std::size_t j = i + 1; j < unique.size(); ++j) REPLY_CHECK(std::strcmp(unique[i].mac, unique[j].mac) != 0);
  }
  return 0;
}

}  // namespace vyx::fuzz
