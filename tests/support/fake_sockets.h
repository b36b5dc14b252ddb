// A scripted socket table on a fake clock: host addresses, failing calls and replies that arrive at given moments,
// with a record of what the search did. Nothing touches the network.
#pragma once

#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "setup/socket_calls.h"

namespace vyx::testing {

class CFakeSockets : public CSocketCalls {
 public:
  struct CReply {
    std::uint64_t at_ms;  // arrival on the fake clock
    std::string bytes;
  };
  struct CSend {
    std::uint32_t local_address;
    std::uint16_t local_port;
    std::uint32_t address;
    std::uint16_t port;
    std::string bytes;
  };

  // Script.
  int startup_error = 0;
  bool host_name_fails = false;
  bool resolve_fails = false;
  int error_code = 10050;
  std::vector<std::uint32_t> host_addresses = {0xC0A80A05u};  // 192.168.10.5
  std::string fail_call;  // "socket", "bind", "setsockopt", "ioctlsocket", "sendto", "recvfrom", "select"
  std::map<std::uint32_t, std::vector<CReply>> replies;  // by local address of the adapter

  // Record.
  std::vector<CSend> sends;
  std::vector<int> waits;  // the time-out of every wait
  int opened = 0, closed = 0, cleanups = 0;
  std::uint64_t now_ms = 0;

  int Startup() override { return startup_error; }
  void Cleanup() override { ++cleanups; }
  bool GetHostName(std::string& name) override {
    name = "labelhost";
    return !host_name_fails;
  }
  bool ResolveHost(const std::string&, std::vector<std::uint32_t>& addresses) override {
    addresses = host_addresses;
    return !resolve_fails;
  }
  SocketHandle OpenUdpSocket() override {
    if (fail_call == "socket") return kInvalidSocket;
    m_sockets.push_back({});
    ++opened;
    return m_sockets.size() - 1;
  }
  bool Bind(SocketHandle s, std::uint32_t address, std::uint16_t port) override {
    m_sockets[s].address = address;
    m_sockets[s].port = port;
    return fail_call != "bind";
  }
  bool EnableBroadcast(SocketHandle) override { return fail_call != "setsockopt"; }
  bool SetNonBlocking(SocketHandle) override { return fail_call != "ioctlsocket"; }
  bool SendTo(SocketHandle s, const void* data, std::size_t size, std::uint32_t address, std::uint16_t port) override {
    if (fail_call == "sendto") return false;
    sends.push_back(
        {m_sockets[s].address, m_sockets[s].port, address, port, std::string(static_cast<const char*>(data), size)});
    m_sockets[s].pending = replies[m_sockets[s].address];
    return true;
  }
  int WaitReadable(const std::vector<SocketHandle>& sockets, int timeout_ms, std::vector<bool>& readable) override {
    waits.push_back(timeout_ms);
    if (fail_call == "select") return -1;
    std::uint64_t first = UINT64_MAX;
    for (SocketHandle s : sockets) {
      const auto& pending = m_sockets[s].pending;
      if (!pending.empty() && pending.front().at_ms < first) first = pending.front().at_ms;
    }
    if (first > now_ms + static_cast<std::uint64_t>(timeout_ms)) {
      now_ms += static_cast<std::uint64_t>(timeout_ms);
      return 0;
    }
    if (first > now_ms) now_ms = first;
    int ready = 0;
    for (std::size_t i = 0; i < sockets.size(); ++i) {
      const auto& pending = m_sockets[sockets[i]].pending;
      readable[i] = !pending.empty() && pending.front().at_ms <= now_ms;
      ready += readable[i] ? 1 : 0;
    }
    return ready;
  }
  long ReceiveFrom(SocketHandle s, void* buffer, std::size_t capacity) override {
    if (fail_call == "recvfrom") return -1;
    auto& pending = m_sockets[s].pending;
    if (pending.empty()) return -1;
    const std::string bytes = pending.front().bytes;
    pending.erase(pending.begin());
    const std::size_t n = bytes.size() < capacity ? bytes.size() : capacity;
    std::memcpy(buffer, bytes.data(), n);
    return static_cast<long>(n);
  }
  void Close(SocketHandle) override { ++closed; }
  int LastError() override { return error_code; }
  bool IsWouldBlock(int error) override { return error == 10035; }
  std::wstring SystemMessage(int error) override { return L"socket error " + std::to_wstring(error); }
  std::uint64_t NowMs() override { return now_ms; }

 private:
  struct CSocket {
    std::uint32_t address = 0;
    std::uint16_t port = 0;
    std::vector<CReply> pending;
  };
  std::vector<CSocket> m_sockets;
};

}  // namespace vyx::testing
