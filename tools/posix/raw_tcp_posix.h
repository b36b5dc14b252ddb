// Sends a printer stream over a raw TCP connection, as a Standard TCP/IP port does (port 9100), on POSIX systems.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace vyx {

struct CRawSendResult {
  bool ok = false;
  std::uint64_t sent = 0;  // bytes the connection accepted
  std::string error;       // what went wrong, for the user
};

// Connects to host:port (a name, an IPv4 address or an IPv6 address), sends everything `input` holds unchanged,
// then closes its side and waits for the printer to close: a printer that resets the connection before it has
// taken the whole stream is a failure. Every step waits at most `timeout_ms` for the printer.
CRawSendResult SendRawStream(const std::string& host, std::uint16_t port, std::FILE* input, int timeout_ms);

// Splits "HOST", "HOST:PORT", "[IPV6]" or "[IPV6]:PORT"; the port stays `port` when none is given. False for an
// empty host or a port that is not 1 to 65535.
bool SplitHostPort(const std::string& text, std::string& host, std::uint16_t& port);

}  // namespace vyx
