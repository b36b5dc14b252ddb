// The socket calls behind the printer search, as a table the platforms fill (Winsock, POSIX) and tests override,
// for example to send the broadcast to a simulated printer on the loopback address instead.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vyx {

using SocketHandle = std::uintptr_t;
inline constexpr SocketHandle kInvalidSocket = ~SocketHandle{0};

class CSocketCalls {
 public:
  virtual ~CSocketCalls() = default;
  // Starts the socket library (version 2.2); 0 or the error code. Cleanup undoes a successful start.
  virtual int Startup() = 0;
  virtual void Cleanup() = 0;
  // The local host name (at most 127 characters); false with LastError() set when it cannot be read.
  virtual bool GetHostName(std::string& name) = 0;
  // The IPv4 addresses of a host name (see FormatIpv4); false with LastError() set when it cannot be resolved.
  virtual bool ResolveHost(const std::string& name, std::vector<std::uint32_t>& addresses) = 0;

  // Each returns false (or kInvalidSocket) on failure with LastError() set.
  virtual SocketHandle OpenUdpSocket() = 0;
  virtual bool Bind(SocketHandle socket, std::uint32_t address, std::uint16_t port) = 0;
  virtual bool EnableBroadcast(SocketHandle socket) = 0;
  virtual bool SetNonBlocking(SocketHandle socket) = 0;
  // Sends one whole datagram.
  virtual bool SendTo(SocketHandle socket,
                      const void* data,
                      std::size_t size,
                      std::uint32_t address,
                      std::uint16_t port) = 0;
  // Waits up to `timeout_ms` for any of the sockets to become readable: the number of readable ones with
  // `readable` set per socket, 0 on time-out, -1 on failure.
  virtual int WaitReadable(const std::vector<SocketHandle>& sockets, int timeout_ms, std::vector<bool>& readable) = 0;
  // Receives one datagram into the buffer: its length (a longer datagram is cut to `capacity`), or -1.
  virtual long ReceiveFrom(SocketHandle socket, void* buffer, std::size_t capacity) = 0;
  virtual void Close(SocketHandle socket) = 0;

  virtual int LastError() = 0;
  // Whether an error only says that nothing is there to read yet.
  virtual bool IsWouldBlock(int error) = 0;
  // The system's text for a socket error code.
  virtual std::wstring SystemMessage(int error) = 0;
  // A monotonic clock in milliseconds.
  virtual std::uint64_t NowMs() = 0;
};

}  // namespace vyx
