// The printer stand-in: one thread answers discovery datagrams, one takes RAW jobs; both look at their stop flag
// every 100 ms.
#include "tests/standins/printer_sim.h"

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
using SimSocket = SOCKET;
using SimLength = int;
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>
using SimSocket = int;
using SimLength = socklen_t;
#endif

#include <cstring>
#include <fstream>

namespace vyx::testing {
namespace {

constexpr char kRequest[] = "Discover Zavo Printer";  // with its zero: 22 bytes
constexpr std::uintptr_t kNone = ~std::uintptr_t{0};

SimSocket Sock(std::uintptr_t s) {
  return static_cast<SimSocket>(s);
}

void CloseSocket(std::uintptr_t s) {
  if (s == kNone) return;
#ifdef _WIN32
  closesocket(Sock(s));
#else
  close(Sock(s));
#endif
}

// Binds a new socket of `type` to 127.0.0.1:port; the port actually bound, or 0.
std::uint16_t OpenLoopback(int type, std::uint16_t port, std::uintptr_t& out) {
  out = kNone;
  const SimSocket s = socket(AF_INET, type, 0);
#ifdef _WIN32
  if (s == INVALID_SOCKET) return 0;
#else
  if (s < 0) return 0;
#endif
  sockaddr_in a = {};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(kLoopback);
  a.sin_port = htons(port);
  SimLength length = sizeof a;
  if (bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
      getsockname(s, reinterpret_cast<sockaddr*>(&a), &length) != 0 || (type == SOCK_STREAM && listen(s, 4) != 0)) {
    CloseSocket(static_cast<std::uintptr_t>(s));
    return 0;
  }
  out = static_cast<std::uintptr_t>(s);
  return ntohs(a.sin_port);
}

// Whether the socket becomes readable within 100 ms.
bool Readable(std::uintptr_t s) {
  fd_set set;
  FD_ZERO(&set);
  FD_SET(Sock(s), &set);
  timeval timeout = {0, 100000};
  return select(static_cast<int>(Sock(s)) + 1, &set, nullptr, nullptr, &timeout) > 0;
}

}  // namespace

std::string CPrinterSimulator::MakeEntry(const CSimulatedPrinter& printer) {
  std::string entry(256, '\0');
  std::memcpy(entry.data(), "VYX-Q5", 6);
  for (int i = 0; i < 4; ++i) entry[32 + i] = static_cast<char>((printer.address >> (24 - 8 * i)) & 0xFF);
  for (int i = 0; i < 6; ++i) entry[48 + i] = static_cast<char>(printer.mac[i]);
  for (int i = 0; i < 4; ++i) entry[64 + i] = static_cast<char>((printer.value >> (8 * i)) & 0xFF);
  return entry;
}

bool CPrinterSimulator::StartSockets() {
#ifdef _WIN32
  if (!m_started) {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return false;
  }
#endif
  m_started = true;
  m_stop = false;
  return true;
}

bool CPrinterSimulator::OpenDiscovery(std::uint16_t port) {
  if (!StartSockets()) return false;
  m_discoveryPort = OpenLoopback(SOCK_DGRAM, port, m_udp);
  if (m_discoveryPort == 0) return false;
  m_discoveryThread = std::thread([this] { ServeDiscovery(); });
  return true;
}

bool CPrinterSimulator::StartDiscovery(const std::vector<CSimulatedPrinter>& printers, std::uint16_t port) {
  m_replies.clear();
  for (std::size_t i = 0; i < printers.size(); i += 3) {
    std::string reply;
    for (std::size_t k = i; k < printers.size() && k < i + 3; ++k) reply += MakeEntry(printers[k]);
    m_replies.push_back(reply);
  }
  return OpenDiscovery(port);
}

bool CPrinterSimulator::StartDiscoveryRaw(const std::string& reply, std::uint16_t port) {
  m_replies = {reply};
  return OpenDiscovery(port);
}

void CPrinterSimulator::ServeDiscovery() {
  char buffer[512];
  while (!m_stop) {
    if (!Readable(m_udp)) continue;
    sockaddr_in from = {};
    SimLength length = sizeof from;
    const long n = recvfrom(Sock(m_udp), buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &length);
    if (n != static_cast<long>(sizeof kRequest) || std::memcmp(buffer, kRequest, sizeof kRequest) != 0) continue;
    // Only ever answers inside the loopback range.
    if ((ntohl(from.sin_addr.s_addr) >> 24) != 127) continue;
    ++m_requests;
    for (const std::string& reply : m_replies) {
      sendto(Sock(m_udp), reply.data(), static_cast<int>(reply.size()), 0, reinterpret_cast<sockaddr*>(&from), length);
    }
  }
}

bool CPrinterSimulator::StartRawPort(std::uint16_t port, long long close_after, const std::string& save_path) {
  if (!StartSockets()) return false;
  m_rawPort = OpenLoopback(SOCK_STREAM, port, m_tcp);
  if (m_rawPort == 0) return false;
  m_rawThread = std::thread([this, close_after, save_path] { ServeRaw(close_after, save_path); });
  return true;
}

void CPrinterSimulator::ServeRaw(long long close_after, std::string save_path) {
  std::vector<char> buffer(65536);
  while (!m_stop) {
    if (!Readable(m_tcp)) continue;
    const SimSocket client = accept(Sock(m_tcp), nullptr, nullptr);
#ifdef _WIN32
    if (client == INVALID_SOCKET) continue;
#else
    if (client < 0) continue;
#endif
    const auto handle = static_cast<std::uintptr_t>(client);
    std::string job;
    bool cut = false;
    while (!m_stop) {
      if (!Readable(handle)) continue;
      std::size_t want = buffer.size();
      if (close_after >= 0) want = std::min<std::size_t>(want, static_cast<std::size_t>(close_after) - job.size());
      if (want == 0) {
        cut = true;
        break;
      }
      const auto n = recv(client, buffer.data(), static_cast<int>(want), 0);
      if (n <= 0) break;
      job.append(buffer.data(), static_cast<std::size_t>(n));
    }
    if (cut) {
      // A printer that gives up resets the connection, whatever the sender still has on its way.
      linger abort = {};
      abort.l_onoff = 1;
      abort.l_linger = 0;
      setsockopt(client, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&abort), sizeof abort);
    }
    CloseSocket(handle);
    if (!save_path.empty()) std::ofstream(save_path, std::ios::binary) << job;
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      m_lastJob = std::move(job);
    }
    ++m_jobs;
  }
}

std::string CPrinterSimulator::LastJob() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_lastJob;
}

void CPrinterSimulator::Stop() {
  m_stop = true;
  if (m_discoveryThread.joinable()) m_discoveryThread.join();
  if (m_rawThread.joinable()) m_rawThread.join();
  CloseSocket(m_udp);
  CloseSocket(m_tcp);
  m_udp = m_tcp = kNone;
#ifdef _WIN32
  if (m_started) WSACleanup();
#endif
  m_started = false;
}

}  // namespace vyx::testing
