// Winsock behind the printer search.
#include "setup/socket_calls_win32.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include "common/failure_message_win32.h"

namespace vyx {
namespace {

SOCKET Sock(SocketHandle socket) {
  return static_cast<SOCKET>(socket);
}

sockaddr_in MakeAddress(std::uint32_t address, std::uint16_t port) {
  sockaddr_in a = {};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(address);
  a.sin_port = htons(port);
  return a;
}

}  // namespace

int CWinsockCalls::Startup() {
  WSADATA data = {};
  return WSAStartup(MAKEWORD(2, 2), &data);
}

void CWinsockCalls::Cleanup() {
  WSACleanup();
}

bool CWinsockCalls::GetHostName(std::string& name) {
  char buffer[128] = {};
  if (gethostname(buffer, sizeof buffer - 1) != 0) return false;
  name = buffer;
  return true;
}

bool CWinsockCalls::ResolveHost(const std::string& name, std::vector<std::uint32_t>& addresses) {
  addresses.clear();
  const hostent* host = gethostbyname(name.c_str());
  if (host == nullptr) return false;
  if (host->h_addrtype != AF_INET || host->h_length != 4) return true;
  for (char** a = host->h_addr_list; a != nullptr && *a != nullptr; ++a) {
    in_addr address;
    memcpy(&address, *a, sizeof address);
    addresses.push_back(ntohl(address.s_addr));
  }
  return true;
}

SocketHandle CWinsockCalls::OpenUdpSocket() {
  const SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
  return s == INVALID_SOCKET ? kInvalidSocket : static_cast<SocketHandle>(s);
}

bool CWinsockCalls::Bind(SocketHandle socket, std::uint32_t address, std::uint16_t port) {
  const sockaddr_in a = MakeAddress(address, port);
  return bind(Sock(socket), reinterpret_cast<const sockaddr*>(&a), sizeof a) == 0;
}

bool CWinsockCalls::EnableBroadcast(SocketHandle socket) {
  const BOOL on = TRUE;
  return setsockopt(Sock(socket), SOL_SOCKET, SO_BROADCAST, reinterpret_cast<const char*>(&on), sizeof on) == 0;
}

bool CWinsockCalls::SetNonBlocking(SocketHandle socket) {
  u_long on = 1;
  return ioctlsocket(Sock(socket), FIONBIO, &on) == 0;
}

bool CWinsockCalls::SendTo(SocketHandle socket,
                           const void* data,
                           std::size_t size,
                           std::uint32_t address,
                           std::uint16_t port) {
  const sockaddr_in a = MakeAddress(address, port);
  const int sent = sendto(Sock(socket), static_cast<const char*>(data), static_cast<int>(size), 0,
                          reinterpret_cast<const sockaddr*>(&a), sizeof a);
  if (sent == SOCKET_ERROR) return false;
  if (static_cast<std::size_t>(sent) != size) {
    WSASetLastError(WSAEMSGSIZE);
    return false;
  }
  return true;
}

int CWinsockCalls::WaitReadable(const std::vector<SocketHandle>& sockets, int timeout_ms, std::vector<bool>& readable) {
  readable.assign(sockets.size(), false);
  if (sockets.size() > FD_SETSIZE) {
    WSASetLastError(WSAEINVAL);
    return -1;
  }
  fd_set set;
  FD_ZERO(&set);
  for (SocketHandle s : sockets) FD_SET(Sock(s), &set);
  timeval timeout = {timeout_ms / 1000, (timeout_ms % 1000) * 1000};
  const int ready = select(0, &set, nullptr, nullptr, &timeout);
  if (ready == SOCKET_ERROR) return -1;
  for (std::size_t i = 0; i < sockets.size(); ++i) readable[i] = FD_ISSET(Sock(sockets[i]), &set) != 0;
  return ready;
}

long CWinsockCalls::ReceiveFrom(SocketHandle socket, void* buffer, std::size_t capacity) {
  sockaddr_in from = {};
  int length = sizeof from;
  const int n = recvfrom(Sock(socket), static_cast<char*>(buffer), static_cast<int>(capacity), 0,
                         reinterpret_cast<sockaddr*>(&from), &length);
  if (n != SOCKET_ERROR) return n;
  // A datagram longer than the buffer fills it and is reported as an error; its start is what is read.
  if (WSAGetLastError() == WSAEMSGSIZE) return static_cast<long>(capacity);
  return -1;
}

void CWinsockCalls::Close(SocketHandle socket) {
  closesocket(Sock(socket));
}

int CWinsockCalls::LastError() {
  return WSAGetLastError();
}

bool CWinsockCalls::IsWouldBlock(int error) {
  // WSAECONNRESET: an earlier datagram of this socket was answered by "port unreachable"; nothing to read.
  return error == WSAEWOULDBLOCK || error == WSAECONNRESET;
}

std::wstring CWinsockCalls::SystemMessage(int error) {
  return GetSystemMessageText(static_cast<unsigned long>(error));
}

std::uint64_t CWinsockCalls::NowMs() {
  return GetTickCount64();
}

}  // namespace vyx
