// vyxq5 discover [--to ADDRESS[:PORT]] [--timeout S]: the setup wizard's printer search from any system; one line
// per printer that answers: its address and MAC address.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "setup/discovery_search.h"
#include "tools/posix/raw_tcp_posix.h"
#include "tools/posix/socket_calls_posix.h"
#include "tools/vyxq5/commands.h"

namespace vyxq5 {
namespace {

constexpr std::string_view kName = "discover";

std::string Narrow(const std::wstring& text) {
  std::string out;
  for (wchar_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

// Socket failures of the search, one line each on standard error.
class CSearchMessages : public vyx::CMessageSink {
 public:
  int Show(const std::wstring& text, const std::wstring& caption, unsigned) override {
    Fail(kName, Narrow(caption) + ": " + Narrow(text));
    return vyx::kIdOk;
  }
};

struct CDiscoverArgs {
  std::string to;
  double seconds = 10;
};

int RunDiscover(const CDiscoverArgs& a) {
  vyx::CDiscoveryOptions options;
  if (!a.to.empty()) {
    std::string host;
    std::uint16_t port = vyx::kDiscoveryPort;
    if (!vyx::SplitHostPort(a.to, host, port) || !vyx::ParseIpv4(host, options.destination)) {
      return FailUsage(kName, "--to takes an IPv4 address, optionally with :PORT (1 to 65535)");
    }
    options.destination_port = port;
    // One socket on any local address reaches a single printer.
    options.local_addresses = {0};
  }
  if (!(a.seconds > 0 && a.seconds <= 3600)) return FailUsage(kName, "--timeout takes seconds, more than 0 up to 3600");
  const int wait_ms = std::max(1, static_cast<int>(std::lround(a.seconds * 1000)));
  options.first_wait_ms = wait_ms;
  options.later_wait_ms = std::min(wait_ms, options.later_wait_ms);
  options.longest_search_ms = std::max(options.longest_search_ms, wait_ms);
  options.first_local_port = 0;  // the system picks free ones

  vyx::CPosixSocketCalls calls;
  CSearchMessages messages;
  std::vector<vyx::DEVICE_DATA> devices;
  if (vyx::FindDevicesInNetwork(calls, messages, options, devices) != vyx::kSearchDone) return kExitFailure;
  for (const vyx::DEVICE_DATA& device : devices) std::printf("%-15s  %s\n", device.ip, device.mac);
  if (devices.empty()) return Fail(kName, "no printer answered");
  return 0;
}

}  // namespace

void AddDiscoverCommand(CCommandSet& commands) {
  auto a = std::make_shared<CDiscoverArgs>();
  CLI::App& cmd = commands.Add("discover",
                               "Searches the local network for VYX-Q5 printers as the setup wizard does and prints "
                               "one line per printer: its IP address and MAC address.",
                               [a] { return RunDiscover(*a); });
  cmd.add_option("--to", a->to,
                 "send the request to this IPv4 address (ADDRESS or ADDRESS:PORT) instead of the limited broadcast");
  cmd.add_option("--timeout", a->seconds, "seconds to wait for the first answer, and up to 5 after each answer");
}

}  // namespace vyxq5
