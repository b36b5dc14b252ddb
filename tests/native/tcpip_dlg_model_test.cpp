// The TCP/IP port dialog's rules without a window: labels, defaults, the port name, the search with its progress
// window on the timer, filling the list, choosing a row, and OK with its checks.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>

#include "setup/port_records.h"
#include "setup/tcpip_dlg_model.h"
#include "tests/standins/printer_sim.h"
#include "tests/support/fake_sockets.h"

namespace vyx {
namespace {

using testing::CFakeSockets;
using testing::CPrinterSimulator;

// Every string is "s" and its number.
class CNumberStrings : public CStringLoader {
 public:
  int Load(int id, int capacity, std::wstring& text, unsigned long&) override {
    text = L"s" + std::to_wstring(id);
    if (text.size() >= static_cast<std::size_t>(capacity)) text.clear();
    return static_cast<int>(text.size());
  }
};

class CAcceptingMonitor : public CPortMonitorCalls {
 public:
  bool OpenXcv(const std::wstring&, XcvHandle* handle) override {
    *handle = this;
    return true;
  }
  bool SendXcvData(XcvHandle, const std::wstring&, const void* input, std::size_t, std::uint32_t* status) override {
    std::memcpy(&added, input, sizeof added);
    ++calls;
    *status = 0;
    return true;
  }
  bool ClosePrinter(XcvHandle) override { return true; }
  std::uint32_t LastError() override { return 0; }
  std::wstring SystemMessage(std::uint32_t) override { return L""; }
  PORT_DATA_1 added = {};
  int calls = 0;
};

struct TcpIpDlgModel : ::testing::Test {
  TcpIpDlgModel() : text(&strings, 1000), model(text) {}
  // Ticks until the search has been listed (the fake clock lets it end at once).
  void TickUntilListed() {
    for (int i = 0; i < 400 && model.View().timer_running; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
      model.Tick();
    }
    ASSERT_FALSE(model.View().timer_running);
  }
  CNumberStrings strings;
  CLanguageText text;
  CFakeSockets sockets;
  CRecordingMessageSink messages;
  CTcpIpDlgModel model;
};

TEST_F(TcpIpDlgModel, StartLabelsTheDialogAndPresetsAddressPortAndName) {
  model.Start(sockets, messages);
  const CTcpIpDlgView& v = model.View();
  EXPECT_EQ(L"s2220", v.title);
  EXPECT_EQ(L"s2221", v.group);
  EXPECT_EQ(L"s2229", v.instruction);
  EXPECT_EQ(L"s2228", v.list_caption);
  EXPECT_EQ(L"s2222", v.port_name_caption);
  EXPECT_EQ(L"s2223", v.address_caption);
  EXPECT_EQ(L"s2224", v.port_number_caption);
  EXPECT_EQ(L"s2301", v.cancel);
  EXPECT_EQ(L"s2223", v.address_column);
  EXPECT_EQ(L"s2225", v.mac_column);
  EXPECT_EQ(40, v.address_column_percent);
  EXPECT_EQ(53, v.mac_column_percent);
  EXPECT_EQ(L"192.168.0.1", model.AddressText());
  EXPECT_EQ(L"9100", v.port_number);
  EXPECT_EQ(L"TCP_IP_192.168.0.1:9100", v.port_name);
  EXPECT_TRUE(v.timer_running);
  model.Close();
}

TEST_F(TcpIpDlgModel, AddressAndPortNumberEditsRecomputeThePortName) {
  model.Start(sockets, messages);
  model.SetAddress(0x0A000007u, 4);
  EXPECT_EQ(L"TCP_IP_10.0.0.7:9100", model.View().port_name);
  model.SetPortNumber(L"");
  EXPECT_EQ(L"TCP_IP_10.0.0.7", model.View().port_name);
  model.SetPortName(L"Label room");
  EXPECT_EQ(L"Label room", model.PortName());
  model.SetPortNumber(L"515");
  EXPECT_EQ(L"TCP_IP_10.0.0.7:515", model.View().port_name);
  model.Close();
}

TEST_F(TcpIpDlgModel, TheFinishedSearchFillsTheListAndTakesTheFirstAddress) {
  sockets.replies[0xC0A80A05u] = {{0, CPrinterSimulator::MakeEntry({0x0A000001u, {1, 2, 3, 4, 5, 6}, 0})}};
  model.Start(sockets, messages);
  TickUntilListed();
  EXPECT_FALSE(model.View().progress_shown);
  ASSERT_EQ(1u, model.View().rows.size());
  EXPECT_EQ(L"10.0.0.1", model.View().rows[0].address);
  EXPECT_EQ(L"01:02:03:04:05:06", model.View().rows[0].mac);
  EXPECT_EQ(L"10.0.0.1", model.AddressText());
  EXPECT_EQ(0, model.View().selected_row);
  EXPECT_EQ(L"TCP_IP_10.0.0.1:9100", model.View().port_name);
}

TEST_F(TcpIpDlgModel, WhileTheSearchRunsEveryTickMovesTheBarRoundZeroToTwentyOne) {
  std::atomic<bool> stop{false};
  // A socket table whose wait holds until the test lets it go, so the search is still running while it ticks.
  class CHeldSockets : public CFakeSockets {
   public:
    explicit CHeldSockets(std::atomic<bool>& go) : m_go(go) {}
    int WaitReadable(const std::vector<SocketHandle>& s, int timeout, std::vector<bool>& r) override {
      while (!m_go) std::this_thread::sleep_for(std::chrono::milliseconds(1));
      return CFakeSockets::WaitReadable(s, timeout, r);
    }

   private:
    std::atomic<bool>& m_go;
  } held(stop);
  model.Start(held, messages);
  std::vector<int> positions;
  for (int tick = 1; tick <= 23; ++tick) {
    model.Tick();
    EXPECT_TRUE(model.View().progress_shown) << tick;
    positions.push_back(model.View().progress_pos);
  }
  EXPECT_EQ(1, positions[0]);
  EXPECT_EQ(21, positions[20]);
  EXPECT_EQ(0, positions[21]);
  EXPECT_EQ(1, positions[22]);
  EXPECT_EQ(L"s2490", model.View().progress_title);
  EXPECT_EQ(L"s2231", model.View().progress_text);
  stop = true;
  model.CancelSearch();
  TickUntilListed();
  EXPECT_FALSE(model.View().progress_shown);
  EXPECT_TRUE(model.View().rows.empty());
  EXPECT_EQ(L"192.168.0.1", model.AddressText());  // nothing answered: the preset stays
}

TEST_F(TcpIpDlgModel, ChoosingARowTakesItsAddress) {
  std::string reply;
  for (std::uint8_t k = 1; k <= 3; ++k) {
    reply += CPrinterSimulator::MakeEntry({0x0A000000u + k, {0, 0, 0, 0, 0, k}, 0});
  }
  sockets.replies[0xC0A80A05u] = {{10, reply}};
  model.Start(sockets, messages);
  TickUntilListed();
  ASSERT_EQ(3u, model.View().rows.size());
  model.SelectRow(2);
  EXPECT_EQ(L"10.0.0.3", model.AddressText());
  EXPECT_EQ(L"TCP_IP_10.0.0.3:9100", model.PortName());
  model.SelectRow(7);  // no such row: nothing changes
  EXPECT_EQ(2, model.View().selected_row);
}

TEST_F(TcpIpDlgModel, OkChecksTheFieldsThenCreatesThePort) {
  model.Start(sockets, messages);
  TickUntilListed();
  CAcceptingMonitor monitor;
  struct {
    void (*edit)(CTcpIpDlgModel&);
    const wchar_t* text;
  } const refused[] = {
      {[](CTcpIpDlgModel& m) { m.SetAddress(0x0A000000u, 3); }, L"s2227"},
      {[](CTcpIpDlgModel& m) { m.SetPortNumber(L""); }, L"s2232"},
      {[](CTcpIpDlgModel& m) { m.SetPortNumber(L"70000"); }, L"s2232"},
      {[](CTcpIpDlgModel& m) { m.SetPortNumber(L"0"); }, L"s2232"},
      {[](CTcpIpDlgModel& m) { m.SetPortName(L""); }, L"s2233"},
  };
  for (const auto& c : refused) {
    model.SetAddress(0x0A000009u, 4);
    model.SetPortNumber(L"9100");
    c.edit(model);
    CRecordingMessageSink shown;
    EXPECT_FALSE(model.Ok(monitor, shown));
    ASSERT_EQ(1u, shown.shown.size());
    EXPECT_EQ(c.text, shown.shown[0].text);
    EXPECT_EQ(L"s2250", shown.shown[0].caption);
  }
  EXPECT_EQ(0, monitor.calls);

  model.SetAddress(0x0A000009u, 4);
  model.SetPortNumber(L"9101");
  EXPECT_TRUE(model.Ok(monitor, messages));
  EXPECT_EQ(L"TCP_IP_10.0.0.9:9101", model.PortName());
  EXPECT_EQ(1, monitor.calls);
  EXPECT_EQ(9101u, monitor.added.dwPortNumber);
  EXPECT_EQ(u'1', monitor.added.sztIPAddress[0]);
}

TEST(PortNumberField, TakesOneToFiveDigitsUpTo65535) {
  EXPECT_EQ(9100u, ParsePortNumber(L"9100"));
  EXPECT_EQ(65535u, ParsePortNumber(L"65535"));
  EXPECT_EQ(1u, ParsePortNumber(L"00001"));
  for (const wchar_t* bad : {L"", L"0", L"65536", L"123456", L"91 0", L"-1", L"9a"}) {
    EXPECT_EQ(0u, ParsePortNumber(bad)) << static_cast<const void*>(bad);
  }
}

}  // namespace
}  // namespace vyx
