// The TCP/IP port dialog under Wine: opened by the test itself with a socket table that delivers the search's
// broadcast to simulated printers on 127.0.0.1, so nothing leaves the loopback range; and the Standard TCP/IP
// monitor calls as Wine really answers them.
#include <windows.h>
#include <winsock2.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "common/language_win32.h"
#include "common/seams/message_sink.h"
#include "common/seams/message_sink_win32.h"
#include "common/string_ids.h"
#include "setup/port_monitor_calls_win32.h"
#include "setup/port_records.h"
#include "setup/socket_calls_win32.h"
#include "setup/tcpip_dlg_win32.h"
#include "setup/tcpip_port.h"
#include "setup/tcpip_resource.h"
#include "tests/standins/printer_sim.h"
#include "tests/support/ui_driver_win32.h"
#include "tests/win32/test_paths.h"

namespace vyx {
namespace {

using testing::CPrinterSimulator;
using testing::CSimulatedPrinter;
using testing::kLoopback;

// Winsock with the host's addresses replaced by 127.0.0.1 and the broadcast request delivered to the simulator:
// a send anywhere else fails instead of reaching the network.
class CLoopbackWinsock : public CWinsockCalls {
 public:
  explicit CLoopbackWinsock(std::uint16_t printer_port) : m_printerPort(printer_port) {}
  bool ResolveHost(const std::string&, std::vector<std::uint32_t>& addresses) override {
    addresses = {kLoopback};
    return true;
  }
  bool SendTo(SocketHandle socket,
              const void* data,
              std::size_t size,
              std::uint32_t address,
              std::uint16_t port) override {
    if (address != kLimitedBroadcast || port != kDiscoveryPort) {
      WSASetLastError(WSAEACCES);
      return false;
    }
    ++requests;
    return CWinsockCalls::SendTo(socket, data, size, kLoopback, m_printerPort);
  }
  std::atomic<int> requests{0};

 private:
  std::uint16_t m_printerPort;
};

// The Standard TCP/IP monitor as Windows answers it (Wine's answers 1796): records the "AddPort" record.
class CAcceptingMonitor : public CPortMonitorCalls {
 public:
  bool OpenXcv(const std::wstring& name, XcvHandle* handle) override {
    opened = name;
    *handle = this;
    return true;
  }
  bool SendXcvData(XcvHandle,
                   const std::wstring& command,
                   const void* input,
                   std::size_t size,
                   std::uint32_t* status) override {
    commands.push_back(command);
    if (size == sizeof record) std::memcpy(&record, input, size);
    *status = 0;
    return true;
  }
  bool ClosePrinter(XcvHandle) override { return true; }
  std::uint32_t LastError() override { return 0; }
  std::wstring SystemMessage(std::uint32_t) override { return {}; }

  std::wstring opened;
  std::vector<std::wstring> commands;
  PORT_DATA_1 record = {};
};

CSimulatedPrinter Printer(std::uint8_t last) {
  return {0xC0A80A00u | last, {0x00, 0x1b, 0x7a, 0x00, 0x00, last}, last};
}

std::wstring ListText(HWND list, int row, int column) {
  wchar_t text[64] = {};
  ListView_GetItemText(list, row, column, text, 64);
  return text;
}

std::wstring EditText(HWND dialog, int id) {
  wchar_t text[128] = {};
  GetDlgItemTextW(dialog, id, text, 128);
  return text;
}

TEST(TcpIpDlg, SearchesTheLoopbackPrintersListsThemAndAddsThePortOfTheChosenOne) {
  CPrinterSimulator printers;
  // Three printers, one of them twice in the reply: the list shows it once.
  ASSERT_TRUE(printers.StartDiscovery({Printer(21), Printer(22), Printer(21), Printer(23)}));
  CLoopbackWinsock sockets(printers.DiscoveryPort());
  CAcceptingMonitor monitor;
  CRecordingMessageSink messages;
  CMessageSink* const previous = SetProgramMessageSink(&messages);

  HMODULE library = LoadLibraryExW((testing::ProgramDirectory() + kResourceLibraryName).c_str(), nullptr,
                                   LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(nullptr, library);
  CModuleStringLoader loader(library);
  const CLanguageText text(&loader, kFallbackLangBase);
  const std::wstring title = text.GetString(kStrTcpIpTitle);
  ASSERT_FALSE(title.empty());

  struct CSeen {
    bool progress = false;
    std::vector<std::wstring> cells;
    std::wstring first_port_name, chosen_port_name, port_name;
  } seen;
  CTcpIpDlg dialog(text, sockets, monitor);
  // The user: waits for the search, reads the list, chooses the second printer, changes the port number and
  // presses OK. Anything still open after the time-out is cancelled, so the test cannot hang.
  std::thread user([&] {
    // The template's caption may already match while the dialog is still creating its controls.
    HWND window = nullptr, list = nullptr;
    testing::WaitUntil(
        [&] {
          window = FindWindowW(L"#32770", title.c_str());
          list = window != nullptr ? GetDlgItem(window, IDC_TCPIP_DEVICES) : nullptr;
          return list != nullptr;
        },
        10000);
    if (list == nullptr) return;
    const std::wstring progress_title = text.GetString(kStrProgressTitle);
    seen.progress = testing::WaitUntil([&] { return FindWindowW(L"#32770", progress_title.c_str()) != nullptr; });
    if (seen.progress) testing::SaveWindowPng(window, testing::ScreenshotPath("tcpip_dlg_searching"));
    if (testing::WaitUntil([&] { return ListView_GetItemCount(list) > 0; }, 20000)) {
      for (int row = 0; row < ListView_GetItemCount(list); ++row) {
        seen.cells.push_back(ListText(list, row, 0) + L" " + ListText(list, row, 1));
      }
      seen.first_port_name = EditText(window, IDC_TCPIP_PORT_NAME);
      testing::SaveWindowPng(window, testing::ScreenshotPath("tcpip_dlg_found"));
      // Choosing the second row, as a click does: the list tells the dialog through LVN_ITEMCHANGED.
      ListView_SetItemState(list, 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
      seen.chosen_port_name = EditText(window, IDC_TCPIP_PORT_NAME);
      SetDlgItemTextW(window, IDC_TCPIP_PORT_NUMBER, L"9101");  // the edit tells the dialog through EN_CHANGE
      seen.port_name = EditText(window, IDC_TCPIP_PORT_NAME);
      SendMessageW(window, WM_COMMAND, IDOK, 0);
    }
    if (!testing::WaitForWindowGone(window, 5000)) PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
  });
  const INT_PTR result = dialog.DoModal(GetModuleHandleW(nullptr), nullptr);
  user.join();
  SetProgramMessageSink(previous);
  FreeLibrary(library);

  EXPECT_EQ(IDOK, result);
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_TRUE(seen.progress);
  EXPECT_EQ(1, sockets.requests.load());
  EXPECT_EQ((std::vector<std::wstring>{L"192.168.10.21 00:1b:7a:00:00:15", L"192.168.10.22 00:1b:7a:00:00:16",
                                       L"192.168.10.23 00:1b:7a:00:00:17"}),
            seen.cells);
  // The first printer's address was filled in; the chosen one's replaced it.
  EXPECT_EQ(L"TCP_IP_192.168.10.21:9100", seen.first_port_name);
  EXPECT_EQ(L"TCP_IP_192.168.10.22:9100", seen.chosen_port_name);
  EXPECT_EQ(L"TCP_IP_192.168.10.22:9101", seen.port_name);
  EXPECT_EQ(L"TCP_IP_192.168.10.22:9101", dialog.PortName());
  EXPECT_EQ(kTcpIpMonitorXcv, monitor.opened);
  EXPECT_EQ(std::vector<std::wstring>{L"AddPort"}, monitor.commands);
  EXPECT_EQ(9101u, monitor.record.dwPortNumber);
  EXPECT_EQ(std::u16string(u"192.168.10.22"), std::u16string(monitor.record.sztIPAddress));
}

// Wine has no Standard TCP/IP monitor: both port operations fail at the monitor's handle, with their captions.
TEST(TcpIpPort, WineAnswersTheTcpIpMonitorWithUnknownPort) {
  CWin32PortMonitorCalls calls;
  CRecordingMessageSink messages;
  EXPECT_EQ(kErrorUnknownPort, CreateTcpIpPort(calls, messages, L"TCP_IP_127.0.0.1:9100", L"127.0.0.1", 9100));
  EXPECT_EQ(kErrorUnknownPort, DeleteTcpIpPort(calls, messages, L"TCP_IP_127.0.0.1:9100"));
  ASSERT_EQ(2u, messages.shown.size());
  EXPECT_EQ(L"CreateTcpIpPort: OpenPrinter", messages.shown[0].caption);
  EXPECT_EQ(L"DeleteTcpIpPort: OpenPrinter", messages.shown[1].caption);
  EXPECT_FALSE(messages.shown[0].text.empty());
}

}  // namespace
}  // namespace vyx
