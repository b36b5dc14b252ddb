// POSIX sockets behind the printer search: poll instead of select, so descriptors of any number can be watched.
#include "tools/posix/socket_calls_posix.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

namespace vyx {
namespace {

int Fd(SocketHandle socket) {
  return static_cast<int>(socket);
}

sockaddr_in MakeAddress(std::uint32_t address, std::uint16_t port) {
  sockaddr_in a = {};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(address);
  a.sin_port = htons(port);
  return a;
}

}  // namespace

bool CPosixSocketCalls::Fail() {
  m_error = errno;
  return false;
}

bool CPosixSocketCalls::GetHostName(std::string& name) {
  char buffer[128] = {};
  if (gethostname(buffer, sizeof buffer - 1) != 0) return Fail();
  name = buffer;
  return true;
}

bool CPosixSocketCalls::ResolveHost(const std::string& name, std::vector<std::uint32_t>& addresses) {
  addresses.clear();
  std::string own;
  if (GetHostName(own) && own == name) {
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) return Fail();
    for (const ifaddrs* i = list; i != nullptr; i = i->ifa_next) {
      if (i->ifa_addr == nullptr || i->ifa_addr->sa_family != AF_INET) continue;
      if ((i->ifa_flags & IFF_UP) == 0 || (i->ifa_flags & IFF_LOOPBACK) != 0) continue;
      addresses.push_back(ntohl(reinterpret_cast<const sockaddr_in*>(i->ifa_addr)->sin_addr.s_addr));
    }
    freeifaddrs(list);
    return true;
  }
  addrinfo hints = {};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_DGRAM;
  addrinfo* found = nullptr;
  const int result = getaddrinfo(name.c_str(), nullptr, &hints, &found);
  if (result != 0) {
    m_error = result == EAI_SYSTEM ? errno : EHOSTUNREACH;
    return false;
  }
  for (const addrinfo* a = found; a != nullptr; a = a->ai_next) {
    addresses.push_back(ntohl(reinterpret_cast<const sockaddr_in*>(a->ai_addr)->sin_addr.s_addr));
  }
  freeaddrinfo(found);
  return true;
}

SocketHandle CPosixSocketCalls::OpenUdpSocket() {
  const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_UDP);
  if (fd < 0) {
    Fail();
    return kInvalidSocket;
  }
  return static_cast<SocketHandle>(fd);
}

bool CPosixSocketCalls::Bind(SocketHandle socket, std::uint32_t address, std::uint16_t port) {
  const sockaddr_in a = MakeAddress(address, port);
  if (bind(Fd(socket), reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0) return Fail();
  return true;
}

bool CPosixSocketCalls::EnableBroadcast(SocketHandle socket) {
  const int on = 1;
  if (setsockopt(Fd(socket), SOL_SOCKET, SO_BROADCAST, &on, sizeof on) != 0) return Fail();
  return true;
}

bool CPosixSocketCalls::SetNonBlocking(SocketHandle socket) {
  const int flags = fcntl(Fd(socket), F_GETFL, 0);
  if (flags < 0 || fcntl(Fd(socket), F_SETFL, flags | O_NONBLOCK) != 0) return Fail();
  return true;
}

bool CPosixSocketCalls::SendTo(SocketHandle socket,
                               const void* data,
                               std::size_t size,
                               std::uint32_t address,
                               std::uint16_t port) {
  const sockaddr_in a = MakeAddress(address, port);
  const ssize_t sent = sendto(Fd(socket), data, size, 0, reinterpret_cast<const sockaddr*>(&a), sizeof a);
  if (sent < 0) return Fail();
  if (static_cast<std::size_t>(sent) != size) {
    m_error = EMSGSIZE;
    return false;
  }
  return true;
}

int CPosixSocketCalls::WaitReadable(const std::vector<SocketHandle>& sockets,
                                    int timeout_ms,
                                    std::vector<bool>& readable) {
  std::vector<pollfd> fds(sockets.size());
  for (std::size_t i = 0; i < sockets.size(); ++i) fds[i] = {Fd(sockets[i]), POLLIN, 0};
  int ready = 0;
  do {
    ready = poll(fds.data(), fds.size(), timeout_ms);
  } while (ready < 0 && errno == EINTR);
  if (ready < 0) {
    Fail();
    return -1;
  }
  readable.assign(sockets.size(), false);
  for (std::size_t i = 0; i < sockets.size(); ++i) {
    // An error pending on the socket is readable too: the receive reports it.
    readable[i] = (fds[i].revents & (POLLIN | POLLERR | POLLHUP)) != 0;
  }
  return ready;
}

long CPosixSocketCalls::ReceiveFrom(SocketHandle socket, void* buffer, std::size_t capacity) {
  sockaddr_in from = {};
  socklen_t length = sizeof from;
  const ssize_t n = recvfrom(Fd(socket), buffer, capacity, 0, reinterpret_cast<sockaddr*>(&from), &length);
  if (n < 0) {
    Fail();
    return -1;
  }
  return static_cast<long>(n);
}

void CPosixSocketCalls::Close(SocketHandle socket) {
  close(Fd(socket));
}

bool CPosixSocketCalls::IsWouldBlock(int error) {
  return error == EAGAIN || error == EWOULDBLOCK || error == EINTR;
}

std::wstring CPosixSocketCalls::SystemMessage(int error) {
  const char* text = std::strerror(error);
  return std::wstring(text, text + std::strlen(text));
}

std::uint64_t CPosixSocketCalls::NowMs() {
  return static_cast<std::uint64_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
          .count());
}

}  // namespace vyx
