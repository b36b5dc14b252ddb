// The printer search's socket calls on POSIX systems, for vyxq5 and the native tests.
#pragma once

#include "setup/socket_calls.h"

namespace vyx {

class CPosixSocketCalls : public CSocketCalls {
 public:
  int Startup() override { return 0; }
  void Cleanup() override {}
  bool GetHostName(std::string& name) override;
  // The local host's own addresses come from its network interfaces (up, IPv4, not loopback): the host name
  // alone often resolves to a loopback address only. Any other name is resolved through getaddrinfo.
  bool ResolveHost(const std::string& name, std::vector<std::uint32_t>& addresses) override;
  SocketHandle OpenUdpSocket() override;
  bool Bind(SocketHandle socket, std::uint32_t address, std::uint16_t port) override;
  bool EnableBroadcast(SocketHandle socket) override;
  bool SetNonBlocking(SocketHandle socket) override;
  bool SendTo(SocketHandle socket,
              const void* data,
              std::size_t size,
              std::uint32_t address,
              std::uint16_t port) override;
  int WaitReadable(const std::vector<SocketHandle>& sockets, int timeout_ms, std::vector<bool>& readable) override;
  long ReceiveFrom(SocketHandle socket, void* buffer, std::size_t capacity) override;
  void Close(SocketHandle socket) override;
  int LastError() override { return m_error; }
  bool IsWouldBlock(int error) override;
  std::wstring SystemMessage(int error) override;
  std::uint64_t NowMs() override;

 private:
  bool Fail();  // keeps errno, returns false
  int m_error = 0;
};

}  // namespace vyx
