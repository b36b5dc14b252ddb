// The printer search: on a scripted socket table with a fake clock (ports, failures, the 10 and 5 second waits,
// hostile floods), and with real sockets against simulated printers, the broadcast redirected to 127.0.0.1.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "setup/discovery_search.h"
#include "tests/standins/printer_sim.h"
#include "tests/support/fake_sockets.h"
#include "tools/posix/socket_calls_posix.h"

namespace vyx {
namespace {

using testing::CFakeSockets;
using testing::CPrinterSimulator;
using testing::CSimulatedPrinter;

constexpr std::uint32_t kAdapterA = 0xC0A80A05u;  // 192.168.10.5
constexpr std::uint32_t kAdapterB = 0x0A010107u;  // 10.1.1.7

CSimulatedPrinter Printer(std::uint8_t n) {
  return {0xC0A80A00u + n, {0x00, 0x1B, 0xA9, 0x00, 0x00, n}, n};
}

std::string Reply(std::initializer_list<std::uint8_t> printers) {
  std::string bytes;
  for (std::uint8_t n : printers) bytes += CPrinterSimulator::MakeEntry(Printer(n));
  return bytes;
}

std::vector<std::string> Addresses(const std::vector<DEVICE_DATA>& devices) {
  std::vector<std::string> out;
  for (const DEVICE_DATA& d : devices) out.push_back(d.Ip());
  return out;
}

struct DiscoverySearch : ::testing::Test {
  int Run(const CDiscoveryOptions& options = {}) { return FindDevicesInNetwork(sockets, messages, options, devices); }
  CFakeSockets sockets;
  CRecordingMessageSink messages;
  std::vector<DEVICE_DATA> devices;
};

TEST_F(DiscoverySearch, SetupFailuresGiveTheirResultAndMessage) {
  struct {
    void (*script)(CFakeSockets&);
    int result;
    const wchar_t* caption;
    int cleanups;
  } const cases[] = {
      {[](CFakeSockets& s) { s.startup_error = 10091; }, kSearchNoSocketLibrary, L"FindDevicesInNetwork: WSAStartup",
       0},
      {[](CFakeSockets& s) { s.host_name_fails = true; }, kSearchNoHostName, L"FindDevicesInNetwork: gethostname", 1},
      {[](CFakeSockets& s) { s.resolve_fails = true; }, kSearchNoHostAddresses, L"FindDevicesInNetwork: gethostbyname",
       1},
  };
  for (const auto& c : cases) {
    CFakeSockets fake;
    c.script(fake);
    CRecordingMessageSink shown;
    std::vector<DEVICE_DATA> found;
    EXPECT_EQ(c.result, FindDevicesInNetwork(fake, shown, {}, found));
    ASSERT_EQ(1u, shown.shown.size());
    EXPECT_EQ(c.caption, shown.shown[0].caption);
    EXPECT_EQ(c.cleanups, fake.cleanups);
    EXPECT_TRUE(fake.sends.empty());
  }
}

TEST_F(DiscoverySearch, EachUsableAdapterSendsTheRequestFromItsOwnPort) {
  sockets.host_addresses = {kAdapterA, 0xA9FE0304u /* 169.254.3.4 */, kAdapterB};
  EXPECT_EQ(kSearchDone, Run());
  ASSERT_EQ(2u, sockets.sends.size());
  EXPECT_EQ(kAdapterA, sockets.sends[0].local_address);
  EXPECT_EQ(27015, sockets.sends[0].local_port);
  EXPECT_EQ(kAdapterB, sockets.sends[1].local_address);
  EXPECT_EQ(27017, sockets.sends[1].local_port);  // the link-local address had its number
  for (const auto& send : sockets.sends) {
    EXPECT_EQ(kLimitedBroadcast, send.address);
    EXPECT_EQ(50020, send.port);
    EXPECT_EQ(std::string(kDiscoveryRequest, 22), send.bytes);
  }
  EXPECT_EQ(2, sockets.closed);
  EXPECT_EQ(1, sockets.cleanups);
}

TEST_F(DiscoverySearch, OnlyALinkLocalAddressSendsNothingAndFindsNothing) {
  sockets.host_addresses = {0xA9FE0102u};
  EXPECT_EQ(kSearchDone, Run());
  EXPECT_EQ(0, sockets.opened);
  EXPECT_TRUE(sockets.waits.empty());
  EXPECT_TRUE(devices.empty());
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(DiscoverySearch, AFailingSocketCallIsShownWithTheAdapterAndSkipsIt) {
  for (const char* call : {"socket", "bind", "setsockopt", "ioctlsocket", "sendto"}) {
    CFakeSockets fake;
    fake.fail_call = call;
    CRecordingMessageSink shown;
    std::vector<DEVICE_DATA> found;
    EXPECT_EQ(kSearchDone, FindDevicesInNetwork(fake, shown, {}, found));
    ASSERT_EQ(1u, shown.shown.size()) << call;
    EXPECT_EQ(std::wstring(call, call + std::strlen(call)) + L": 192.168.10.5() failed", shown.shown[0].caption);
    EXPECT_EQ(L"socket error 10050", shown.shown[0].text);
    EXPECT_TRUE(fake.waits.empty()) << call;
    EXPECT_EQ(fake.opened, fake.closed) << call;
  }
}

TEST_F(DiscoverySearch, WithoutRepliesTheSearchWaitsTenSeconds) {
  EXPECT_EQ(kSearchDone, Run());
  EXPECT_EQ(10000u, sockets.now_ms);
  for (int wait : sockets.waits) EXPECT_LE(wait, 250);
  EXPECT_TRUE(devices.empty());
}

TEST_F(DiscoverySearch, AfterAReplyTheSearchEndsFiveSecondsAfterTheLastOne) {
  sockets.replies[kAdapterA] = {{2000, Reply({1})}, {6000, Reply({2})}};
  EXPECT_EQ(kSearchDone, Run());
  EXPECT_EQ(11000u, sockets.now_ms);
  EXPECT_EQ((std::vector<std::string>{"192.168.10.1", "192.168.10.2"}), Addresses(devices));

  CFakeSockets late;
  late.replies[kAdapterA] = {{9000, Reply({1})}};
  std::vector<DEVICE_DATA> found;
  FindDevicesInNetwork(late, messages, {}, found);
  EXPECT_EQ(14000u, late.now_ms);
}

TEST_F(DiscoverySearch, AdaptersAreListedLastFirstAndAPrinterSeenTwiceOnce) {
  sockets.host_addresses = {kAdapterA, kAdapterB};
  sockets.replies[kAdapterA] = {{100, Reply({1, 2})}, {200, Reply({1})}};
  sockets.replies[kAdapterB] = {{150, Reply({2, 3})}};
  EXPECT_EQ(kSearchDone, Run());
  EXPECT_EQ((std::vector<std::string>{"192.168.10.2", "192.168.10.3", "192.168.10.1"}), Addresses(devices));
}

TEST_F(DiscoverySearch, AFloodOfRepliesCannotKeepTheSearchGoingOrTheListGrowing) {
  auto& flood = sockets.replies[kAdapterA];
  for (std::uint64_t t = 0; t < 200; ++t) {
    std::string bytes;
    for (int k = 0; k < 3; ++k) {
      CSimulatedPrinter p = Printer(1);
      p.mac[3] = static_cast<std::uint8_t>(t);
      p.mac[4] = static_cast<std::uint8_t>(k);
      bytes += CPrinterSimulator::MakeEntry(p);
    }
    flood.push_back({t * 1000, bytes + std::string(4000, 'x')});
  }
  EXPECT_EQ(kSearchDone, Run());
  EXPECT_LE(sockets.now_ms, 60000u);
  EXPECT_EQ(kMaxDevicesPerAdapter, devices.size());
}

TEST_F(DiscoverySearch, ReceiveAndWaitFailuresEndTheSearchWithTheirMessage) {
  sockets.replies[kAdapterA] = {{100, Reply({1})}};
  sockets.fail_call = "recvfrom";
  EXPECT_EQ(kSearchDone, Run());
  ASSERT_EQ(1u, messages.shown.size());
  EXPECT_EQ(L"recvfrom: 192.168.10.5() failed", messages.shown[0].caption);
  EXPECT_EQ(1, sockets.closed);

  CFakeSockets broken;
  broken.fail_call = "select";
  CRecordingMessageSink shown;
  EXPECT_EQ(kSearchDone, FindDevicesInNetwork(broken, shown, {}, devices));
  ASSERT_EQ(1u, shown.shown.size());
  EXPECT_EQ(L"FindDevicesInNetwork: select", shown.shown[0].caption);
}

TEST_F(DiscoverySearch, AStopRequestEndsTheWait) {
  std::atomic<bool> stop{true};
  EXPECT_EQ(kSearchDone, FindDevicesInNetwork(sockets, messages, {}, devices, &stop));
  EXPECT_EQ(1u, sockets.sends.size());
  EXPECT_TRUE(sockets.waits.empty());
  EXPECT_EQ(1, sockets.closed);
}

// Real sockets with the host's addresses replaced by 127.0.0.1 and 127.0.0.2 and the broadcast delivered to the
// simulated printers each adapter can reach: nothing leaves the loopback range.
class CLoopbackSockets : public CPosixSocketCalls {
 public:
  bool ResolveHost(const std::string&, std::vector<std::uint32_t>& addresses) override {
    addresses = {0x7F000001u, 0x7F000002u};
    return true;
  }
  bool Bind(SocketHandle socket, std::uint32_t address, std::uint16_t port) override {
    requested_ports.push_back(port);
    local[socket] = address;
    return CPosixSocketCalls::Bind(socket, address, 0);
  }
  bool SendTo(SocketHandle socket,
              const void* data,
              std::size_t size,
              std::uint32_t address,
              std::uint16_t port) override {
    if (address != kLimitedBroadcast || port != kDiscoveryPort) return false;
    for (const auto& [printer_port, only_from] : printers) {
      if (only_from != 0 && only_from != local[socket]) continue;
      if (!CPosixSocketCalls::SendTo(socket, data, size, testing::kLoopback, printer_port)) return false;
    }
    return true;
  }
  std::vector<std::pair<std::uint16_t, std::uint32_t>> printers;  // port, adapter that reaches it (0: all)
  std::vector<std::uint16_t> requested_ports;
  std::map<SocketHandle, std::uint32_t> local;
};

TEST(DiscoveryOnLoopback, FindsTheSimulatedPrintersOnceEach) {
  CPrinterSimulator both, first_only;
  ASSERT_TRUE(both.StartDiscovery({Printer(1), Printer(2)}));
  ASSERT_TRUE(first_only.StartDiscovery({Printer(3)}));
  CLoopbackSockets sockets;
  sockets.printers = {{both.DiscoveryPort(), 0}, {first_only.DiscoveryPort(), 0x7F000001u}};
  CRecordingMessageSink messages;
  std::vector<DEVICE_DATA> devices;
  CDiscoveryOptions options;
  options.later_wait_ms = 300;
  const auto started = std::chrono::steady_clock::now();
  EXPECT_EQ(kSearchDone, FindDevicesInNetwork(sockets, messages, options, devices));
  const auto took = std::chrono::steady_clock::now() - started;
  EXPECT_TRUE(messages.shown.empty()) << (messages.shown.empty() ? ""
                                                                 : std::string(messages.shown[0].caption.begin(),
                                                                               messages.shown[0].caption.end()));
  EXPECT_EQ((std::vector<std::uint16_t>{27015, 27016}), sockets.requested_ports);
  EXPECT_EQ((std::vector<std::string>{"192.168.10.1", "192.168.10.2", "192.168.10.3"}), Addresses(devices));
  EXPECT_EQ(2, both.Requests());
  EXPECT_EQ(1, first_only.Requests());
  // Ended by the short wait after the last reply, not by the first wait's ten seconds.
  EXPECT_LT(took, std::chrono::seconds(8));
}

}  // namespace
}  // namespace vyx
