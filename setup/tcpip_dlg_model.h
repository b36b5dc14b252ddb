// The rules of the TCP/IP port dialog (CTcpIpDlg) without windows: labels, the address and port fields, the port
// name, the printer search with its progress window, the list of printers found, and OK.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/language.h"
#include "common/seams/message_sink.h"
#include "setup/device_search.h"
#include "setup/port_monitor_calls.h"

namespace vyx {

inline constexpr std::uint32_t kDefaultPrinterAddress = 0xC0A80001u;  // 192.168.0.1
inline constexpr wchar_t kDefaultRawPortNumber[] = L"9100";
inline constexpr int kSearchTimerMs = 250;
inline constexpr int kSearchProgressMax = 21;  // the bar runs 0 to 21 and starts again

struct CDeviceRow {
  std::wstring address;
  std::wstring mac;
};

// What the dialog shows. An empty label keeps the template's own text.
struct CTcpIpDlgView {
  std::wstring title, group, instruction, list_caption, port_name_caption, address_caption, port_number_caption, cancel;
  std::wstring address_column, mac_column;
  int address_column_percent = 40;  // of the list's width
  int mac_column_percent = 53;

  std::uint32_t address = kDefaultPrinterAddress;
  int address_fields = 4;  // fields of the address control that hold a number
  std::wstring port_number;
  std::wstring port_name;
  std::vector<CDeviceRow> rows;
  int selected_row = -1;

  bool timer_running = false;
  bool progress_shown = false;
  int progress_pos = 0;
  std::wstring progress_title, progress_text, progress_cancel;
};

class CTcpIpDlgModel {
 public:
  explicit CTcpIpDlgModel(const CLanguageText& text) : m_text(text) {}

  // Dialog start: labels, 192.168.0.1 and "9100" with their port name, the list's columns; then the search and
  // the timer start. The calls and the sink must outlive the model.
  void Start(CSocketCalls& calls, CMessageSink& sink, const CDiscoveryOptions& options = {});
  const CTcpIpDlgView& View() const { return m_view; }

  // The user's edits; each recomputes the port name from address and port number.
  void SetAddress(std::uint32_t address, int filled_fields);
  void SetPortNumber(const std::wstring& text);
  // The port name field itself may be edited too.
  void SetPortName(const std::wstring& text) { m_view.port_name = text; }
  // A row chosen in the list puts its address into the address control.
  void SelectRow(int row);

  // One timer tick: shows the progress window on the first, moves its bar, and once the search has finished
  // closes it, stops the timer and lists the printers found.
  void Tick();
  // The progress window's Cancel: the search ends soon and lists what it found so far.
  void CancelSearch() { m_search.RequestStop(); }
  bool Searching() const { return m_search.Started() && !m_listed; }

  // OK: checks the fields (a message names what is missing) and creates the port. True when the port exists and
  // the dialog may close; PortName() then names it.
  bool Ok(CPortMonitorCalls& calls, CMessageSink& sink);
  const std::wstring& PortName() const { return m_view.port_name; }
  std::wstring AddressText() const;

  // Ends the search; the dialog calls it before it closes.
  void Close() { m_search.Stop(); }
  // The devices of the finished search, as the list shows them.
  const std::vector<DEVICE_DATA>& Devices() const { return m_devices; }

 private:
  void UpdatePortName();
  void FillList();

  CLanguageText m_text;
  CTcpIpDlgView m_view;
  CDeviceSearch m_search;
  std::vector<DEVICE_DATA> m_devices;
  int m_ticks = 0;
  bool m_listed = false;
};

// The port number field's value: 1 to 65535 from decimal digits only, else 0.
std::uint32_t ParsePortNumber(const std::wstring& text);

}  // namespace vyx
