// The TCP/IP port dialog's rules.
#include "setup/tcpip_dlg_model.h"

#include "common/ini_file.h"
#include "common/string_ids.h"
#include "setup/port_records.h"
#include "setup/tcpip_port.h"

namespace vyx {

std::uint32_t ParsePortNumber(const std::wstring& text) {
  if (text.empty() || text.size() > 5) return 0;
  std::uint32_t value = 0;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') return 0;
    value = value * 10 + static_cast<std::uint32_t>(c - L'0');
  }
  return value <= 0xFFFF ? value : 0;
}

void CTcpIpDlgModel::Start(CSocketCalls& calls, CMessageSink& sink, const CDiscoveryOptions& options) {
  m_view.title = m_text.GetString(kStrTcpIpTitle);
  m_view.group = m_text.GetString(kStrTcpIpGroup);
  m_view.instruction = m_text.GetString(kStrTcpIpInstruction);
  m_view.list_caption = m_text.GetString(kStrDevicesFound);
  m_view.port_name_caption = m_text.GetString(kStrPortName);
  m_view.address_caption = m_text.GetString(kStrIpAddress);
  m_view.port_number_caption = m_text.GetString(kStrPortNumber);
  m_view.cancel = m_text.GetString(kStrCancel);
  m_view.address_column = m_text.GetString(kStrIpAddress);
  m_view.mac_column = m_text.GetString(kStrMacAddress);
  m_view.progress_title = m_text.GetString(kStrProgressTitle);
  m_view.progress_text = m_text.GetString(kStrSearchingDevices);
  m_view.progress_cancel = m_text.GetString(kStrCancel);

  m_view.address = kDefaultPrinterAddress;
  m_view.address_fields = 4;
  m_view.port_number = kDefaultRawPortNumber;
  UpdatePortName();

  m_ticks = 0;
  m_listed = false;
  m_search.Start(calls, sink, options);
  m_view.timer_running = true;
}

std::wstring CTcpIpDlgModel::AddressText() const {
  return WidenUtf8(FormatIpv4(m_view.address));
}

void CTcpIpDlgModel::UpdatePortName() {
  m_view.port_name = MakeTcpIpPortName(AddressText(), m_view.port_number);
}

void CTcpIpDlgModel::SetAddress(std::uint32_t address, int filled_fields) {
  m_view.address = address;
  m_view.address_fields = filled_fields;
  UpdatePortName();
}

void CTcpIpDlgModel::SetPortNumber(const std::wstring& text) {
  m_view.port_number = text;
  UpdatePortName();
}

void CTcpIpDlgModel::SelectRow(int row) {
  if (row < 0 || static_cast<std::size_t>(row) >= m_devices.size()) return;
  m_view.selected_row = row;
  std::uint32_t address = 0;
  if (ParseIpv4(m_devices[static_cast<std::size_t>(row)].ip, address)) SetAddress(address, 4);
}

void CTcpIpDlgModel::Tick() {
  if (!m_view.timer_running) return;
  ++m_ticks;
  if (m_search.Finished()) {
    m_view.progress_shown = false;
    m_view.timer_running = false;
    FillList();
    return;
  }
  m_view.progress_shown = true;
  m_view.progress_pos = m_ticks % (kSearchProgressMax + 1);
}

void CTcpIpDlgModel::FillList() {
  m_search.Stop();  // the thread has ended; this only joins it
  m_devices = m_search.TakeDevices();
  m_listed = true;
  m_view.rows.clear();
  for (const DEVICE_DATA& device : m_devices) m_view.rows.push_back({WidenUtf8(device.ip), WidenUtf8(device.mac)});
  if (!m_devices.empty()) SelectRow(0);
}

bool CTcpIpDlgModel::Ok(CPortMonitorCalls& calls, CMessageSink& sink) {
  const auto say = [&](int text_offset) {
    sink.Show(m_text.GetString(text_offset), m_text.GetString(kStrSetupCaption), kMbOk | kMbIconWarning);
    return false;
  };
  if (m_view.address_fields != 4) return say(kStrIncompleteAddress);
  const std::uint32_t port_number = ParsePortNumber(m_view.port_number);
  if (port_number == 0) return say(kStrPortNumberRange);
  if (m_view.port_name.empty()) return say(kStrPortNameMissing);
  return CreateTcpIpPort(calls, sink, m_view.port_name, AddressText(), port_number) == 0;
}

}  // namespace vyx
