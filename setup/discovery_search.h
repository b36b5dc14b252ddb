// The printer search of the TCP/IP port dialog: one discovery request from every usable local address, then the
// replies until the network has been quiet for a while.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "common/seams/message_sink.h"
#include "setup/discovery_reply.h"
#include "setup/socket_calls.h"

namespace vyx {

// FindDevicesInNetwork results.
inline constexpr int kSearchDone = 1;
inline constexpr int kSearchNoSocketLibrary = -2;
inline constexpr int kSearchNoHostName = -3;
inline constexpr int kSearchNoHostAddresses = -4;

inline constexpr std::uint16_t kFirstLocalPort = 27015;  // adapter k sends from 27015 + k
inline constexpr std::size_t kMaxWaitSockets = 64;
// A reply may hold three devices, but no network may grow the list without end.
inline constexpr std::size_t kMaxDevicesPerAdapter = 64;

// One IPv4 address of the local host.
struct CNetworkAdapter {
  std::string address_text;  // dotted decimal
  std::uint32_t address = 0;
  std::uint16_t local_port = 0;
  SocketHandle socket = kInvalidSocket;
  bool usable = false;  // false for a link-local address ("169.")
  std::vector<DEVICE_DATA> devices;
};

struct CDiscoveryOptions {
  std::uint32_t destination = kLimitedBroadcast;
  std::uint16_t destination_port = kDiscoveryPort;
  // Adapter k binds to first_local_port + k; 0 lets the system choose.
  std::uint16_t first_local_port = kFirstLocalPort;
  // When not empty, these addresses are used instead of the host's own (0 is any address).
  std::vector<std::uint32_t> local_addresses;
  int first_wait_ms = 10000;  // for the first reply
  int later_wait_ms = 5000;   // after each reply
  // The search ends at the latest this long after the requests were sent, however busy the network is.
  int longest_search_ms = 60000;
  // The waits are cut into slices so that a stop request is seen soon.
  int wait_slice_ms = 250;
};

// Sends the requests, collects the replies and returns the devices found: the adapters from the last to the first,
// each in arrival order, a device whose MAC address was listed before left out. Socket failures are shown through
// `sink` and skip the adapter. Returns kSearchDone, or kSearchNoSocketLibrary, kSearchNoHostName or
// kSearchNoHostAddresses after their message. `stop`, when set by another thread, ends the wait early.
int FindDevicesInNetwork(CSocketCalls& calls,
                         CMessageSink& sink,
                         const CDiscoveryOptions& options,
                         std::vector<DEVICE_DATA>& devices,
                         const std::atomic<bool>* stop = nullptr);

// The caption of a socket failure on one adapter, the call's name first: "sendto: 192.168.0.10() failed".
std::wstring MakeSocketFailureCaption(const char* call, const std::string& address_text);

}  // namespace vyx
