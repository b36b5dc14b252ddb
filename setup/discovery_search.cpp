// The printer search: requests from every usable local address, replies read until the network is quiet.
#include "setup/discovery_search.h"

#include <algorithm>

namespace vyx {
namespace {

void ShowSocketFailure(CSocketCalls& calls, CMessageSink& sink, int error, const std::wstring& caption) {
  if (error != 0) sink.Show(calls.SystemMessage(error), caption, kMbOk);
}

// Opens, binds and prepares the adapter's socket and sends the request; on failure the socket is closed again and
// the failing call reported.
bool SendRequest(CSocketCalls& calls, CMessageSink& sink, const CDiscoveryOptions& options, CNetworkAdapter& adapter) {
  const char* failed = nullptr;
  adapter.socket = calls.OpenUdpSocket();
  if (adapter.socket == kInvalidSocket) {
    failed = "socket";
  } else if (!calls.Bind(adapter.socket, adapter.address, adapter.local_port)) {
    failed = "bind";
  } else if (!calls.EnableBroadcast(adapter.socket)) {
    failed = "setsockopt";
  } else if (!calls.SetNonBlocking(adapter.socket)) {
    failed = "ioctlsocket";
  } else if (!calls.SendTo(adapter.socket, kDiscoveryRequest, kDiscoveryRequestSize, options.destination,
                           options.destination_port)) {
    failed = "sendto";
  }
  if (failed == nullptr) return true;
  ShowSocketFailure(calls, sink, calls.LastError(), MakeSocketFailureCaption(failed, adapter.address_text));
  if (adapter.socket != kInvalidSocket) calls.Close(adapter.socket);
  adapter.socket = kInvalidSocket;
  return false;
}

bool StopRequested(const std::atomic<bool>* stop) {
  return stop != nullptr && stop->load(std::memory_order_relaxed);
}

// Reads the replies until no socket has been readable for the current wait; returns when all is read.
void CollectReplies(CSocketCalls& calls,
                    CMessageSink& sink,
                    const CDiscoveryOptions& options,
                    std::vector<CNetworkAdapter*> waiting,
                    const std::atomic<bool>* stop) {
  const std::uint64_t started = calls.NowMs();
  const std::uint64_t last_moment = started + static_cast<std::uint64_t>(std::max(options.longest_search_ms, 0));
  std::uint64_t quiet_until = started + static_cast<std::uint64_t>(std::max(options.first_wait_ms, 0));
  std::vector<std::uint8_t> buffer(kMaxReplySize);
  std::vector<SocketHandle> sockets;
  std::vector<bool> readable;
  std::vector<DEVICE_DATA> reply;
  while (!waiting.empty() && !StopRequested(stop)) {
    const std::uint64_t now = calls.NowMs();
    const std::uint64_t until = std::min(quiet_until, last_moment);
    if (now >= until) break;
    const int slice = static_cast<int>(std::min<std::uint64_t>(until - now, std::max(options.wait_slice_ms, 1)));
    sockets.clear();
    for (const CNetworkAdapter* adapter : waiting) sockets.push_back(adapter->socket);
    readable.assign(sockets.size(), false);
    const int ready = calls.WaitReadable(sockets, slice, readable);
    if (ready < 0) {
      ShowSocketFailure(calls, sink, calls.LastError(), L"FindDevicesInNetwork: select");
      break;
    }
    if (ready == 0) continue;
    std::vector<CNetworkAdapter*> still_waiting;
    for (std::size_t i = 0; i < waiting.size(); ++i) {
      CNetworkAdapter& adapter = *waiting[i];
      if (i >= readable.size() || !readable[i]) {
        still_waiting.push_back(&adapter);
        continue;
      }
      const long n = calls.ReceiveFrom(adapter.socket, buffer.data(), buffer.size());
      if (n < 0) {
        const int error = calls.LastError();
        if (calls.IsWouldBlock(error)) {
          still_waiting.push_back(&adapter);
        } else {
          ShowSocketFailure(calls, sink, error, MakeSocketFailureCaption("recvfrom", adapter.address_text));
        }
        continue;
      }
      reply.clear();
      ParseDiscoveryReply(buffer.data(), std::min<std::size_t>(static_cast<std::size_t>(n), buffer.size()), reply);
      for (const DEVICE_DATA& device : reply) AddNewDevice(adapter.devices, device, kMaxDevicesPerAdapter);
      quiet_until = calls.NowMs() + static_cast<std::uint64_t>(std::max(options.later_wait_ms, 0));
      still_waiting.push_back(&adapter);
    }
    waiting.swap(still_waiting);
  }
}

}  // namespace

std::wstring MakeSocketFailureCaption(const char* call, const std::string& address_text) {
  // The call's name first, then the address: "%s: %S() failed".
  std::wstring caption;
  for (const char* c = call; *c != '\0'; ++c) caption += static_cast<wchar_t>(*c);
  caption += L": ";
  caption.append(address_text.begin(), address_text.end());
  return caption + L"() failed";
}

int FindDevicesInNetwork(CSocketCalls& calls,
                         CMessageSink& sink,
                         const CDiscoveryOptions& options,
                         std::vector<DEVICE_DATA>& devices,
                         const std::atomic<bool>* stop) {
  devices.clear();
  if (const int error = calls.Startup()) {
    ShowSocketFailure(calls, sink, error, L"FindDevicesInNetwork: WSAStartup");
    return kSearchNoSocketLibrary;
  }
  std::vector<std::uint32_t> addresses = options.local_addresses;
  if (addresses.empty()) {
    std::string host;
    if (!calls.GetHostName(host)) {
      ShowSocketFailure(calls, sink, calls.LastError(), L"FindDevicesInNetwork: gethostname");
      calls.Cleanup();
      return kSearchNoHostName;
    }
    if (!calls.ResolveHost(host, addresses)) {
      ShowSocketFailure(calls, sink, calls.LastError(), L"FindDevicesInNetwork: gethostbyname");
      calls.Cleanup();
      return kSearchNoHostAddresses;
    }
  }

  std::vector<CNetworkAdapter> adapters(addresses.size());
  std::vector<CNetworkAdapter*> waiting;
  for (std::size_t k = 0; k < addresses.size(); ++k) {
    CNetworkAdapter& adapter = adapters[k];
    adapter.address = addresses[k];
    adapter.address_text = FormatIpv4(addresses[k]);
    adapter.usable = adapter.address_text.rfind("169.", 0) != 0;
    // One socket per adapter, and no more than one wait can watch.
    if (!adapter.usable || waiting.size() >= kMaxWaitSockets) continue;
    const std::size_t port = options.first_local_port == 0 ? 0 : options.first_local_port + k;
    adapter.local_port = port <= 0xFFFF ? static_cast<std::uint16_t>(port) : 0;
    if (SendRequest(calls, sink, options, adapter)) waiting.push_back(&adapter);
  }

  CollectReplies(calls, sink, options, waiting, stop);

  for (auto adapter = adapters.rbegin(); adapter != adapters.rend(); ++adapter) {
    devices.insert(devices.end(), adapter->devices.begin(), adapter->devices.end());
    if (adapter->socket != kInvalidSocket) calls.Close(adapter->socket);
  }
  RemoveDuplicateDevices(devices);
  calls.Cleanup();
  return kSearchDone;
}

}  // namespace vyx
