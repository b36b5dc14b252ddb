// The printer-properties page: name, port, default and share of a new printer, or the printer to remove.
#include <algorithm>
#include <cwctype>

#include "common/string_ids.h"
#include "setup/wizard_pages.h"

namespace vyx {

bool IsTcpIpMonitor(const std::wstring& monitor) {
  static const std::wstring kTcpMonitor = L"TCPMON.DLL";
  return std::equal(monitor.begin(), monitor.end(), kTcpMonitor.begin(), kTcpMonitor.end(),
                    [](wchar_t a, wchar_t b) { return std::towupper(a) == std::towupper(b); });
}

void CPrinterPropPage::Label() {
  SetTitle(kStrPrinterTitle);
  SetLabel(IDC_PAGE_GROUP, kStrPrinterGroup);
  SetLabel(IDC_PRINTER_NAME_LABEL, kStrPrinterName);
  SetLabel(IDC_PORT_LABEL, kStrPort);
  SetLabel(IDC_MAKE_DEFAULT, kStrMakeDefault);
  SetLabel(IDC_SHARE, kStrSharePrinter);
  SetLabel(IDC_EXPERT, kStrExpertPortWizard);
  SetLabel(IDC_PORT_BUTTON, m_context.state.install ? kStrAddPort : kStrDeletePort);
}

void CPrinterPropPage::SetDefaults() {
  Control(IDC_PRINTER_NAME).text = kDriverName;
  SetUpForMode();
}

void CPrinterPropPage::OnActivate() {
  // The spooler may have changed since the last visit (ports added, printers removed): list it afresh, keeping
  // the entries chosen before where they still exist.
  if (m_setUpForInstall != m_context.state.install) {
    SetUpForMode();
  } else if (Activations() > 1) {
    const std::wstring port = SelectedRow(IDC_PORT_LIST);
    const std::wstring printer = SelectedRow(IDC_PRINTER_LIST);
    FillPorts();
    if (!m_context.state.install) FillPrinters();
    CPageControlView& printers = Control(IDC_PRINTER_LIST);
    const auto kept = std::find(printers.rows.begin(), printers.rows.end(), printer);
    if (kept != printers.rows.end()) printers.selection = static_cast<int>(kept - printers.rows.begin());
    if (m_context.state.install) {
      SelectPort(port);
    } else {
      SelectPrinterPort();
    }
  }
  UpdatePortButton();
  m_view.buttons = EWizardButtons::kBackNext;
}

void CPrinterPropPage::SetUpForMode() {
  const bool install = m_context.state.install;
  m_setUpForInstall = install;
  Control(IDC_PRINTER_NAME).visible = install;
  Control(IDC_PRINTER_LIST).visible = !install;
  for (int box : {IDC_MAKE_DEFAULT, IDC_SHARE, IDC_EXPERT}) Control(box).visible = install;
  FillPorts();
  if (install) {
    m_printers.clear();
    Control(IDC_PRINTER_LIST).rows.clear();
    Control(IDC_PRINTER_LIST).selection = -1;
  } else {
    FillPrinters();
    SelectPrinterPort();
  }
  Label();
  UpdatePortButton();
}

void CPrinterPropPage::FillPorts() {
  CPageControlView& ports = Control(IDC_PORT_LIST);
  m_context.spooler.ListPorts(ports.rows);
  ports.selection = ports.rows.empty() ? -1 : 0;
}

void CPrinterPropPage::FillPrinters() {
  std::vector<CPrinterRecord> all;
  m_context.spooler.ListPrinters(all);
  m_printers = PrintersUsingDriver(all, kDriverName);
  CPageControlView& list = Control(IDC_PRINTER_LIST);
  list.rows.clear();
  for (const CPrinterRecord& printer : m_printers) list.rows.push_back(printer.name);
  list.selection = list.rows.empty() ? -1 : 0;
}

std::wstring CPrinterPropPage::SelectedRow(int control) {
  const CPageControlView& list = Control(control);
  if (list.selection < 0 || list.selection >= static_cast<int>(list.rows.size())) return {};
  return list.rows[static_cast<std::size_t>(list.selection)];
}

void CPrinterPropPage::SelectPort(const std::wstring& port) {
  CPageControlView& ports = Control(IDC_PORT_LIST);
  const auto found = std::find(ports.rows.begin(), ports.rows.end(), port);
  if (found != ports.rows.end()) ports.selection = static_cast<int>(found - ports.rows.begin());
}

void CPrinterPropPage::SelectPrinterPort() {
  const int chosen = Control(IDC_PRINTER_LIST).selection;
  if (chosen < 0 || chosen >= static_cast<int>(m_printers.size())) return;
  const std::wstring& port = m_printers[static_cast<std::size_t>(chosen)].port;
  const std::vector<std::wstring>& rows = Control(IDC_PORT_LIST).rows;
  if (std::find(rows.begin(), rows.end(), port) == rows.end()) {
    m_context.messages.Show(port, L"no such port", kMbOk | kMbIconError);
    return;
  }
  SelectPort(port);
}

void CPrinterPropPage::UpdatePortButton() {
  CPageControlView& button = Control(IDC_PORT_BUTTON);
  button.enabled = m_context.state.install || IsTcpIpMonitor(m_context.spooler.PortMonitor(SelectedRow(IDC_PORT_LIST)));
}

void CPrinterPropPage::OnSelect(int control, int index) {
  CPageControlView& list = Control(control);
  if ((control != IDC_PRINTER_LIST && control != IDC_PORT_LIST) || index < 0 ||
      index >= static_cast<int>(list.rows.size())) {
    return;
  }
  list.selection = index;
  if (control == IDC_PRINTER_LIST) SelectPrinterPort();
  UpdatePortButton();
}

void CPrinterPropPage::OnCheck(int control, bool checked) {
  if (control == IDC_MAKE_DEFAULT || control == IDC_SHARE || control == IDC_EXPERT) Control(control).checked = checked;
}

void CPrinterPropPage::OnText(int control, const std::wstring& text) {
  if (control == IDC_PRINTER_NAME) Control(control).text = text;
}

void CPrinterPropPage::OnClick(int control) {
  if (control != IDC_PORT_BUTTON || !Control(IDC_PORT_BUTTON).enabled) return;
  if (m_context.state.install) {
    AddPort();
  } else {
    DeletePort();
  }
}

void CPrinterPropPage::AddPort() {
  const std::wstring port = m_context.printers.AddPort(Control(IDC_EXPERT).checked);
  if (port.empty()) return;
  CPageControlView& ports = Control(IDC_PORT_LIST);
  if (std::find(ports.rows.begin(), ports.rows.end(), port) == ports.rows.end()) ports.rows.push_back(port);
  SelectPort(port);
}

void CPrinterPropPage::DeletePort() {
  const std::wstring port = SelectedRow(IDC_PORT_LIST);
  if (port.empty() || !m_context.printers.DeletePort(port)) return;
  CPageControlView& ports = Control(IDC_PORT_LIST);
  ports.rows.erase(std::remove(ports.rows.begin(), ports.rows.end(), port), ports.rows.end());
  ports.selection = ports.rows.empty() ? -1 : 0;
  // Printers that used the port were moved to another one: show where the chosen printer is now.
  const std::wstring printer = SelectedRow(IDC_PRINTER_LIST);
  FillPrinters();
  CPageControlView& printers = Control(IDC_PRINTER_LIST);
  const auto kept = std::find(printers.rows.begin(), printers.rows.end(), printer);
  if (kept != printers.rows.end()) printers.selection = static_cast<int>(kept - printers.rows.begin());
  SelectPrinterPort();
  UpdatePortButton();
}

int CPrinterPropPage::Next() {
  return m_context.state.install ? NextInstalling() : NextUninstalling();
}

int CPrinterPropPage::NextInstalling() {
  CPrinterRequest request;
  request.name = Control(IDC_PRINTER_NAME).text.value_or(L"");
  std::vector<CPrinterRecord> printers;
  if (!m_context.spooler.ListPrinters(printers)) return kStayOnPage;
  if (std::any_of(printers.begin(), printers.end(),
                  [&](const CPrinterRecord& printer) { return printer.name == request.name; })) {
    ShowResourceMessage(kStrPrinterExists, kMbOk | kMbIconWarning);
    return kStayOnPage;
  }
  request.port = SelectedRow(IDC_PORT_LIST);
  request.make_default = Control(IDC_MAKE_DEFAULT).checked;
  request.share = Control(IDC_SHARE).checked;
  CWizardState& state = m_context.state;
  state.printer_name = request.name;
  state.port_name = request.port;
  state.make_default = request.make_default;
  state.share = request.share;
  return m_context.printers.CreatePrinter(request) ? kGoOn : kStayOnPage;
}

int CPrinterPropPage::NextUninstalling() {
  const std::wstring printer = SelectedRow(IDC_PRINTER_LIST);
  if (printer.empty()) return kGoOn;  // no printer of the model left: nothing to remove
  m_context.state.printer_name = printer;
  return m_context.printers.DeletePrinter(printer) ? kGoOn : kStayOnPage;
}

}  // namespace vyx
