// Creating and deleting Standard TCP/IP ports on a stand-in port monitor: what reaches XcvData, every failure's
// caption, and the question before printers are taken off a port in use.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "setup/port_records.h"
#include "setup/tcpip_port.h"
#include "tests/support/fake_port_monitor.h"

namespace vyx {
namespace {

using testing::CFakeMonitor;

TEST(CreateTcpIpPort, SendsTheAddPortRecordToTheTcpIpMonitor) {
  CFakeMonitor monitor;
  CRecordingMessageSink messages;
  EXPECT_EQ(0u, CreateTcpIpPort(monitor, messages, L"TCP_IP_10.0.0.7:9100", L"10.0.0.7", 9100));
  EXPECT_EQ(std::vector<std::wstring>{L",XcvMonitor Standard TCP/IP Port"}, monitor.opened);
  ASSERT_EQ(1u, monitor.calls.size());
  EXPECT_EQ(L"AddPort", monitor.calls[0].command);
  PORT_DATA_1 expected;
  ASSERT_TRUE(FillPortData1(expected, L"TCP_IP_10.0.0.7:9100", L"10.0.0.7", 9100));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&expected), sizeof expected), monitor.calls[0].input);
  EXPECT_EQ(1, monitor.closes);
  EXPECT_TRUE(messages.shown.empty());
}

TEST(CreateTcpIpPort, EachFailureIsShownWithItsCaptionAndReturned) {
  struct {
    void (*script)(CFakeMonitor&);
    std::uint32_t result;
    const wchar_t* caption;
    int closes;
  } const cases[] = {
      {[](CFakeMonitor& m) { m.open_error = kErrorUnknownPort; }, 1796, L"CreateTcpIpPort: OpenPrinter", 0},
      {[](CFakeMonitor& m) { m.call_errors = {5}; }, 5, L"CreateTcpIpPort: XcvData failed", 1},
      {[](CFakeMonitor& m) { m.statuses = {183}; }, 183, L"CreateTcpIpPort: XcvData bad status", 1},
      {[](CFakeMonitor& m) { m.close_error = 6; }, 6, L"CreateTcpIpPort: ClosePrinter", 1},
  };
  for (const auto& c : cases) {
    CFakeMonitor monitor;
    c.script(monitor);
    CRecordingMessageSink messages;
    EXPECT_EQ(c.result, CreateTcpIpPort(monitor, messages, L"TCP_IP_10.0.0.7", L"10.0.0.7", 9100));
    ASSERT_EQ(1u, messages.shown.size()) << c.result;
    EXPECT_EQ(c.caption, messages.shown[0].caption);
    EXPECT_EQ(L"error " + std::to_wstring(c.result), messages.shown[0].text);
    EXPECT_EQ(c.closes, monitor.closes);
  }
}

TEST(CreateTcpIpPort, ANameTheRecordCannotHoldNeverReachesTheMonitor) {
  CFakeMonitor monitor;
  CRecordingMessageSink messages;
  EXPECT_EQ(kErrorInvalidParameter, CreateTcpIpPort(monitor, messages, std::wstring(64, L'x'), L"10.0.0.7", 9100));
  EXPECT_TRUE(monitor.opened.empty());
}

TEST(CreateTcpIpPort, ACallThatFailsWithoutAnErrorCodeIsStillAFailure) {
  CFakeMonitor monitor;
  monitor.fails_without_code = true;
  CRecordingMessageSink messages;
  EXPECT_EQ(kErrorGenFailure, CreateTcpIpPort(monitor, messages, L"TCP_IP_10.0.0.7", L"10.0.0.7", 9100));
  EXPECT_EQ(kErrorGenFailure, DeleteTcpIpPort(monitor, messages, L"TCP_IP_10.0.0.7"));
  EXPECT_EQ(2, monitor.closes);
}

TEST(DeleteTcpIpPort, SendsTheDeletePortRecordAndReportsFailures) {
  CFakeMonitor monitor;
  CRecordingMessageSink messages;
  EXPECT_EQ(0u, DeleteTcpIpPort(monitor, messages, L"TCP_IP_10.0.0.7"));
  ASSERT_EQ(1u, monitor.calls.size());
  EXPECT_EQ(L"DeletePort", monitor.calls[0].command);
  DELETE_PORT_DATA_1 expected;
  ASSERT_TRUE(FillDeletePortData1(expected, L"TCP_IP_10.0.0.7"));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&expected), sizeof expected), monitor.calls[0].input);

  struct {
    void (*script)(CFakeMonitor&);
    std::uint32_t result;
    const wchar_t* caption;  // null: no message
  } const cases[] = {
      {[](CFakeMonitor& m) { m.call_errors = {kErrorBusy}; }, 170, nullptr},
      {[](CFakeMonitor& m) { m.statuses = {kErrorBusy}; }, 170, nullptr},
      {[](CFakeMonitor& m) { m.open_error = 5; }, 5, L"DeleteTcpIpPort: OpenPrinter"},
      {[](CFakeMonitor& m) { m.call_errors = {1796}; }, 1796, L"DeleteTcpIpPort: XcvData"},
      {[](CFakeMonitor& m) { m.statuses = {13}; }, 13, L"DeleteTcpIpPort: XcvData error status"},
      {[](CFakeMonitor& m) { m.close_error = 6; }, 6, L"DeleteTcpIpPort: ClosePrinter"},
  };
  for (const auto& c : cases) {
    CFakeMonitor failing;
    c.script(failing);
    CRecordingMessageSink shown;
    EXPECT_EQ(c.result, DeleteTcpIpPort(failing, shown, L"TCP_IP_10.0.0.7"));
    if (c.caption == nullptr) {
      EXPECT_TRUE(shown.shown.empty());
    } else {
      ASSERT_EQ(1u, shown.shown.size()) << c.result;
      EXPECT_EQ(c.caption, shown.shown[0].caption);
    }
  }
}

class CRecordingMover : public CPrinterPortMover {
 public:
  int MovePrinters(const std::wstring& from, const std::wstring& to) override {
    moves.push_back(from + L"->" + to);
    return 2;
  }
  void MoveBack() override { moves.push_back(L"back"); }
  std::vector<std::wstring> moves;
};

class CTableStrings : public CStringLoader {
 public:
  int Load(int id, int capacity, std::wstring& text, unsigned long& error) override {
    text = id == 2178 ? L"Move the printers to FILE:?" : id == 2252 ? L"Port in use" : L"";
    error = text.empty() ? kErrorResourceNameNotFound : 0;
    if (text.size() >= static_cast<std::size_t>(capacity)) text.clear();
    return static_cast<int>(text.size());
  }
};

TEST(DeleteTcpIpPortAsking, ABusyPortIsDeletedAfterOkAndKeptAfterCancel) {
  CTableStrings strings;
  const CLanguageText text(&strings, 1000);
  struct {
    int answer;
    std::vector<std::uint32_t> statuses;
    std::uint32_t result;
    std::vector<std::wstring> moves;
    std::size_t deletes;
  } const cases[] = {
      {kIdOk, {kErrorBusy, 0}, 0, {L"TCP_IP_10.0.0.7->FILE:"}, 2},
      {kIdCancel, {kErrorBusy}, kErrorBusy, {}, 1},
      // Still in use after the move: the printers go back to their port.
      {kIdOk, {kErrorBusy, kErrorBusy}, kErrorBusy, {L"TCP_IP_10.0.0.7->FILE:", L"back"}, 2},
  };
  for (const auto& c : cases) {
    CFakeMonitor monitor;
    monitor.statuses = c.statuses;
    CRecordingMessageSink messages;
    messages.answers = {c.answer};
    CRecordingMover mover;
    EXPECT_EQ(c.result, DeleteTcpIpPortAsking(monitor, messages, text, L"TCP_IP_10.0.0.7", mover));
    ASSERT_EQ(1u, messages.shown.size());
    EXPECT_EQ(L"Move the printers to FILE:?", messages.shown[0].text);
    EXPECT_EQ(L"Port in use", messages.shown[0].caption);
    EXPECT_EQ(static_cast<unsigned>(kMbOkCancel), messages.shown[0].style & 0xF);
    EXPECT_EQ(c.moves, mover.moves);
    EXPECT_EQ(c.deletes, monitor.calls.size());
  }

  CFakeMonitor free_port;
  CRecordingMessageSink quiet;
  CRecordingMover untouched;
  EXPECT_EQ(0u, DeleteTcpIpPortAsking(free_port, quiet, text, L"TCP_IP_10.0.0.7", untouched));
  EXPECT_TRUE(quiet.shown.empty());
  EXPECT_TRUE(untouched.moves.empty());
}

}  // namespace
}  // namespace vyx
