// Stand-in for VYX-Q5 printers on the network, natively and under Wine: answers discovery requests on a UDP port
// with one or more device entries, and takes RAW print jobs on a TCP port, keeping what it received. It listens on
// a loopback address only.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace vyx::testing {

inline constexpr std::uint32_t kLoopback = 0x7F000001u;  // 127.0.0.1

struct CSimulatedPrinter {
  std::uint32_t address;  // a.b.c.d as (a << 24) | ... | d
  std::uint8_t mac[6];
  std::uint32_t value;
};

class CPrinterSimulator {
 public:
  CPrinterSimulator() = default;
  CPrinterSimulator(const CPrinterSimulator&) = delete;
  CPrinterSimulator& operator=(const CPrinterSimulator&) = delete;
  ~CPrinterSimulator() { Stop(); }

  // Answers each discovery request with the printers' entries, three to a datagram. Port 0 takes a free one.
  bool StartDiscovery(const std::vector<CSimulatedPrinter>& printers, std::uint16_t port = 0);
  // Answers with these bytes instead, as they are (for replies that are not what a printer sends).
  bool StartDiscoveryRaw(const std::string& reply, std::uint16_t port = 0);
  std::uint16_t DiscoveryPort() const { return m_discoveryPort; }
  int Requests() const { return m_requests.load(); }

  // Takes RAW jobs, one connection after another. With `close_after` >= 0 the printer closes a connection once
  // it has received that many bytes, as a printer that fails in the middle of a job. `save_path`, when given,
  // receives each job's bytes.
  bool StartRawPort(std::uint16_t port = 0, long long close_after = -1, const std::string& save_path = "");
  std::uint16_t RawPort() const { return m_rawPort; }
  int Jobs() const { return m_jobs.load(); }
  // The bytes of the last job that ended.
  std::string LastJob() const;

  void Stop();

  // One 256-byte entry as a printer writes it.
  static std::string MakeEntry(const CSimulatedPrinter& printer);

 private:
  bool StartSockets();
  bool OpenDiscovery(std::uint16_t port);
  void ServeDiscovery();
  void ServeRaw(long long close_after, std::string save_path);

  std::vector<std::string> m_replies;
  std::uintptr_t m_udp = ~std::uintptr_t{0};
  std::uintptr_t m_tcp = ~std::uintptr_t{0};
  std::uint16_t m_discoveryPort = 0;
  std::uint16_t m_rawPort = 0;
  std::atomic<bool> m_stop{false};
  std::atomic<int> m_requests{0};
  std::atomic<int> m_jobs{0};
  mutable std::mutex m_mutex;
  std::string m_lastJob;
  std::thread m_discoveryThread;
  std::thread m_rawThread;
  bool m_started = false;
};

}  // namespace vyx::testing
