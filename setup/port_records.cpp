// Standard TCP/IP port records and the port-name rule.
#include "setup/port_records.h"

#include <cstring>
#include <vector>

namespace vyx {

std::wstring MakeTcpIpPortName(const std::wstring& ip_address, const std::wstring& port_number) {
  return L"TCP_IP_" + ip_address + (port_number.empty() ? L"" : L":") + port_number;
}

bool CopyUtf16Field(char16_t* field, std::size_t capacity, const std::wstring& text) {
  std::vector<char16_t> units;
  units.reserve(text.size());
  for (wchar_t c : text) {
    const auto code = static_cast<std::uint32_t>(c);
    if (code > 0xFFFF && code <= 0x10FFFF) {  // wide characters of 32 bits: a surrogate pair
      units.push_back(static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)));
      units.push_back(static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
    } else {
      units.push_back(code > 0xFFFF ? u'\xFFFD' : static_cast<char16_t>(code));
    }
  }
  std::memset(field, 0, capacity * sizeof(char16_t));
  if (units.size() >= capacity) return false;
  if (!units.empty()) std::memcpy(field, units.data(), units.size() * sizeof(char16_t));
  return true;
}

bool FillPortData1(PORT_DATA_1& record,
                   const std::wstring& port_name,
                   const std::wstring& ip_address,
                   std::uint32_t port_number) {
  std::memset(&record, 0, sizeof record);
  // A name cut to fit would create a port under another name than the caller hands on to the printer.
  if (port_name.empty() || ip_address.empty() || !CopyUtf16Field(record.sztPortName, kMaxPortNameLength, port_name) ||
      !CopyUtf16Field(record.sztHostAddress, kMaxNetworkNameLength, ip_address) ||
      !CopyUtf16Field(record.sztIPAddress, kMaxIpAddressTextLength, ip_address)) {
    std::memset(&record, 0, sizeof record);
    return false;
  }
  record.dwVersion = 1;
  record.dwProtocol = kProtocolRaw;
  record.cbSize = sizeof(PORT_DATA_1);
  CopyUtf16Field(record.sztSNMPCommunity, kMaxSnmpCommunityLength, L"public");
  record.dwDoubleSpool = 1;
  record.dwPortNumber = port_number;
  record.dwSNMPEnabled = 0;
  record.dwSNMPDevIndex = 1;
  return true;
}

bool FillDeletePortData1(DELETE_PORT_DATA_1& record, const std::wstring& port_name) {
  std::memset(&record, 0, sizeof record);
  if (port_name.empty() || !CopyUtf16Field(record.psztPortName, kMaxPortNameLength, port_name)) return false;
  record.dwVersion = 1;
  return true;
}

}  // namespace vyx
