// The printer search's socket calls through Winsock.
#pragma once

#include "setup/socket_calls.h"

namespace vyx {

class CWinsockCalls : public CSocketCalls {
 public:
  int Startup() override;
  void Cleanup() override;
  bool GetHostName(std::string& name) override;
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
  int LastError() override;
  bool IsWouldBlock(int error) override;
  std::wstring SystemMessage(int error) override;
  std::uint64_t NowMs() override;
};

}  // namespace vyx
