// The records the Standard TCP/IP port monitor takes through XcvData ("AddPort", "DeletePort"), declared here
// with the monitor's published layout because the cross compiler's headers lack them, and the port-name rule.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vyx {

inline constexpr std::size_t kMaxPortNameLength = 64;  // characters, the terminating zero included
inline constexpr std::size_t kMaxNetworkNameLength = 49;
inline constexpr std::size_t kMaxSnmpCommunityLength = 33;
inline constexpr std::size_t kMaxQueueNameLength = 33;
inline constexpr std::size_t kMaxIpAddressTextLength = 16;

inline constexpr std::uint32_t kProtocolRaw = 1;

struct PORT_DATA_1 {
  char16_t sztPortName[kMaxPortNameLength];
  std::uint32_t dwVersion;
  std::uint32_t dwProtocol;
  std::uint32_t cbSize;
  std::uint32_t dwReserved;
  char16_t sztHostAddress[kMaxNetworkNameLength];
  char16_t sztSNMPCommunity[kMaxSnmpCommunityLength];
  std::uint32_t dwDoubleSpool;
  char16_t sztQueue[kMaxQueueNameLength];
  char16_t sztIPAddress[kMaxIpAddressTextLength];
  std::uint8_t Reserved[540];
  std::uint32_t dwPortNumber;
  std::uint32_t dwSNMPEnabled;
  std::uint32_t dwSNMPDevIndex;
};
static_assert(sizeof(PORT_DATA_1) == 964, "PORT_DATA_1 must keep the monitor's layout");
static_assert(offsetof(PORT_DATA_1, sztHostAddress) == 144 && offsetof(PORT_DATA_1, dwDoubleSpool) == 308 &&
              offsetof(PORT_DATA_1, sztIPAddress) == 378 && offsetof(PORT_DATA_1, dwPortNumber) == 952);

struct DELETE_PORT_DATA_1 {
  char16_t psztPortName[kMaxPortNameLength];
  std::uint8_t Reserved[98];
  std::uint32_t dwVersion;
  std::uint32_t dwReserved;
};
static_assert(sizeof(DELETE_PORT_DATA_1) == 236, "DELETE_PORT_DATA_1 must keep the monitor's layout");
static_assert(offsetof(DELETE_PORT_DATA_1, dwVersion) == 228);

// "TCP_IP_" with the address, then ":" and the port number text when that is not empty:
// "TCP_IP_192.168.0.1:9100", "TCP_IP_192.168.0.1".
std::wstring MakeTcpIpPortName(const std::wstring& ip_address, const std::wstring& port_number);

// The "AddPort" record for a raw port on `port_number` of `ip_address` (SNMP off, community "public", double spool
// on). False, with the record zeroed, when the name or the address do not fit their fields or are empty.
bool FillPortData1(PORT_DATA_1& record,
                   const std::wstring& port_name,
                   const std::wstring& ip_address,
                   std::uint32_t port_number);

// The "DeletePort" record; false when the name is empty or does not fit.
bool FillDeletePortData1(DELETE_PORT_DATA_1& record, const std::wstring& port_name);

// Copies text as UTF-16 into a field of `capacity` units with its terminating zero; false (field left zero) when
// it does not fit.
bool CopyUtf16Field(char16_t* field, std::size_t capacity, const std::wstring& text);

}  // namespace vyx
