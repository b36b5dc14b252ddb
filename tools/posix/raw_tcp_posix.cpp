// A raw TCP print connection: non-blocking sockets and poll, so that no step waits longer than the time-out.
#include "tools/posix/raw_tcp_posix.h"

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <vector>

namespace vyx {
namespace {

// How long the printer has to close its side once the whole stream is out.
constexpr int kCloseWaitMs = 5000;

class CFd {
 public:
  explicit CFd(int fd) : m_fd(fd) {}
  CFd(const CFd&) = delete;
  CFd& operator=(const CFd&) = delete;
  ~CFd() {
    if (m_fd >= 0) close(m_fd);
  }
  int Get() const { return m_fd; }

 private:
  int m_fd;
};

// Waits for `events` on the socket; 0 when they came, else the error (ETIMEDOUT after the time-out).
int Await(int fd, short events, int timeout_ms) {
  pollfd p = {fd, events, 0};
  int ready = 0;
  do {
    ready = poll(&p, 1, timeout_ms);
  } while (ready < 0 && errno == EINTR);
  if (ready < 0) return errno;
  if (ready == 0) return ETIMEDOUT;
  return 0;
}

std::string Describe(int error) {
  return std::strerror(error);
}

// A connected non-blocking socket to one of the host's addresses, or -1 with the last reason in `error`.
int Connect(const std::string& host, std::uint16_t port, int timeout_ms, std::string& error) {
  addrinfo hints = {};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  const int resolved = getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found);
  if (resolved != 0) {
    error = "cannot resolve " + host + ": " + gai_strerror(resolved);
    return -1;
  }
  int connected = -1;
  for (const addrinfo* a = found; a != nullptr && connected < 0; a = a->ai_next) {
    const int fd = socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK, a->ai_protocol);
    if (fd < 0) {
      error = Describe(errno);
      continue;
    }
    int result = connect(fd, a->ai_addr, a->ai_addrlen) == 0 ? 0 : errno;
    if (result == EINPROGRESS) {
      result = Await(fd, POLLOUT, timeout_ms);
      socklen_t length = sizeof result;
      if (result == 0 && getsockopt(fd, SOL_SOCKET, SO_ERROR, &result, &length) != 0) result = errno;
    }
    if (result == 0) {
      connected = fd;
    } else {
      error = Describe(result);
      close(fd);
    }
  }
  freeaddrinfo(found);
  return connected;
}

}  // namespace

bool SplitHostPort(const std::string& text, std::string& host, std::uint16_t& port) {
  std::string port_text;
  if (!text.empty() && text[0] == '[') {
    const std::size_t close = text.find(']');
    if (close == std::string::npos) return false;
    host = text.substr(1, close - 1);
    if (close + 1 < text.size()) {
      if (text[close + 1] != ':') return false;
      port_text = text.substr(close + 2);
      if (port_text.empty()) return false;
    }
  } else {
    const std::size_t colon = text.find(':');
    // More than one colon without brackets is an IPv6 address without a port.
    if (colon != std::string::npos && text.find(':', colon + 1) == std::string::npos) {
      host = text.substr(0, colon);
      port_text = text.substr(colon + 1);
      if (port_text.empty()) return false;
    } else {
      host = text;
    }
  }
  if (host.empty()) return false;
  if (!port_text.empty()) {
    if (port_text.size() > 5) return false;
    unsigned long value = 0;
    for (char c : port_text) {
      if (c < '0' || c > '9') return false;
      value = value * 10 + static_cast<unsigned long>(c - '0');
    }
    if (value == 0 || value > 65535) return false;
    port = static_cast<std::uint16_t>(value);
  }
  return true;
}

CRawSendResult SendRawStream(const std::string& host, std::uint16_t port, std::FILE* input, int timeout_ms) {
  CRawSendResult result;
  const std::string where = host + ":" + std::to_string(port);
  std::string reason;
  CFd socket(Connect(host, port, timeout_ms, reason));
  if (socket.Get() < 0) {
    result.error = "cannot reach " + where + ": " + reason;
    return result;
  }
  std::vector<char> buffer(1 << 16);
  for (;;) {
    const std::size_t n = std::fread(buffer.data(), 1, buffer.size(), input);
    if (n == 0) {
      if (std::ferror(input)) {
        result.error = "cannot read the stream";
        return result;
      }
      break;
    }
    for (std::size_t done = 0; done < n;) {
      const ssize_t sent = send(socket.Get(), buffer.data() + done, n - done, MSG_NOSIGNAL);
      if (sent > 0) {
        done += static_cast<std::size_t>(sent);
        result.sent += static_cast<std::uint64_t>(sent);
        continue;
      }
      const int error = sent < 0 ? errno : EPIPE;
      if (error == EINTR) continue;
      const int waited = error == EAGAIN || error == EWOULDBLOCK ? Await(socket.Get(), POLLOUT, timeout_ms) : error;
      if (waited == 0) continue;
      result.error =
          (waited == ETIMEDOUT ? where + " stopped taking data after " : where + " closed the connection after ") +
          std::to_string(result.sent) + " bytes: " + Describe(waited);
      return result;
    }
  }
  // The stream is out; the printer confirms by closing its side. A reset instead means it dropped data it had
  // not read yet. Anything it sends back is read and ignored.
  shutdown(socket.Get(), SHUT_WR);
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(std::min(timeout_ms, kCloseWaitMs));
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    const int waited = Await(socket.Get(), POLLIN, static_cast<int>(left.count()));
    if (waited == ETIMEDOUT) break;  // the data was delivered; a printer may keep its side open
    if (waited != 0) {
      result.error = where + ": " + Describe(waited);
      return result;
    }
    const ssize_t n = recv(socket.Get(), buffer.data(), buffer.size(), 0);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK) continue;
      result.error = where + " closed the connection before taking the whole stream (" + std::to_string(result.sent) +
                     " bytes sent): " + Describe(errno);
      return result;
    }
  }
  result.ok = true;
  return result;
}

}  // namespace vyx
