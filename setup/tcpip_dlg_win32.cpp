// The TCP/IP port dialog: forwards the user's edits and the 250 ms timer to the model and shows its view.
#include "setup/tcpip_dlg_win32.h"

#include <commctrl.h>

#include "common/seams/message_sink_win32.h"
#include "setup/tcpip_resource.h"

namespace vyx {
namespace {

constexpr UINT_PTR kSearchTimer = 1;

std::wstring ControlText(HWND window, int id) {
  const HWND control = GetDlgItem(window, id);
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
  return text;
}

void SetLabel(HWND window, int id, const std::wstring& text) {
  if (!text.empty()) SetDlgItemTextW(window, id, text.c_str());
}

}  // namespace

CTcpIpDlg::CTcpIpDlg(const CLanguageText& text,
                     CSocketCalls& sockets,
                     CPortMonitorCalls& monitor,
                     const CDiscoveryOptions& options)
    : m_model(text), m_sockets(sockets), m_monitor(monitor), m_options(options) {}

INT_PTR CTcpIpDlg::DoModal(HINSTANCE instance, HWND parent) {
  INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_LISTVIEW_CLASSES | ICC_INTERNET_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&classes);
  m_instance = instance;
  return DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_TCPIP), parent, DialogProc, reinterpret_cast<LPARAM>(this));
}

void CTcpIpDlg::OnInit() {
  m_model.Start(m_sockets, ProgramMessageSink(), m_options);
  m_applying = true;
  ApplyLabels();
  SendDlgItemMessageW(m_window, IDC_TCPIP_PORT_NUMBER, EM_LIMITTEXT, 5, 0);
  SendDlgItemMessageW(m_window, IDC_TCPIP_PORT_NAME, EM_LIMITTEXT, 63, 0);  // what the port record holds
  ApplyAddress();
  ApplyText(IDC_TCPIP_PORT_NUMBER, m_model.View().port_number);
  ApplyText(IDC_TCPIP_PORT_NAME, m_model.View().port_name);
  m_applying = false;
  SetTimer(m_window, kSearchTimer, kSearchTimerMs, nullptr);
}

void CTcpIpDlg::ApplyLabels() {
  const CTcpIpDlgView& view = m_model.View();
  if (!view.title.empty()) SetWindowTextW(m_window, view.title.c_str());
  SetLabel(m_window, IDC_TCPIP_GROUP, view.group);
  SetLabel(m_window, IDC_TCPIP_INSTRUCTION, view.instruction);
  SetLabel(m_window, IDC_TCPIP_LIST_CAPTION, view.list_caption);
  SetLabel(m_window, IDC_TCPIP_PORT_NAME_CAPTION, view.port_name_caption);
  SetLabel(m_window, IDC_TCPIP_ADDRESS_CAPTION, view.address_caption);
  SetLabel(m_window, IDC_TCPIP_PORT_NUMBER_CAPTION, view.port_number_caption);
  SetLabel(m_window, IDCANCEL, view.cancel);

  const HWND list = GetDlgItem(m_window, IDC_TCPIP_DEVICES);
  ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
  RECT client = {};
  GetClientRect(list, &client);
  const std::wstring titles[2] = {view.address_column.empty() ? L"IP address" : view.address_column,
                                  view.mac_column.empty() ? L"MAC address" : view.mac_column};
  const int percents[2] = {view.address_column_percent, view.mac_column_percent};
  for (int i = 0; i < 2; ++i) {
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.cx = client.right * percents[i] / 100;
    column.pszText = const_cast<wchar_t*>(titles[i].c_str());
    column.iSubItem = i;
    ListView_InsertColumn(list, i, &column);
  }
}

void CTcpIpDlg::ApplyAddress() {
  const CTcpIpDlgView& view = m_model.View();
  DWORD shown = 0;
  const LRESULT filled =
      SendDlgItemMessageW(m_window, IDC_TCPIP_ADDRESS, IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&shown));
  if (shown != view.address || filled != view.address_fields) {
    SendDlgItemMessageW(m_window, IDC_TCPIP_ADDRESS, IPM_SETADDRESS, 0, static_cast<LPARAM>(view.address));
  }
}

void CTcpIpDlg::ApplyText(int id, const std::wstring& text) {
  if (ControlText(m_window, id) != text) SetDlgItemTextW(m_window, id, text.c_str());
}

void CTcpIpDlg::ApplyRows() {
  const CTcpIpDlgView& view = m_model.View();
  const HWND list = GetDlgItem(m_window, IDC_TCPIP_DEVICES);
  ListView_DeleteAllItems(list);
  for (std::size_t i = 0; i < view.rows.size(); ++i) {
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(i);
    item.pszText = const_cast<wchar_t*>(view.rows[i].address.c_str());
    const int at = ListView_InsertItem(list, &item);
    if (at >= 0) ListView_SetItemText(list, at, 1, const_cast<wchar_t*>(view.rows[i].mac.c_str()));
  }
  if (view.selected_row >= 0) {
    ListView_SetItemState(list, view.selected_row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  }
}

void CTcpIpDlg::ShowProgress() {
  const CTcpIpDlgView& view = m_model.View();
  if (!view.progress_shown) {
    if (m_progress != nullptr) DestroyWindow(m_progress);
    m_progress = nullptr;
    return;
  }
  if (m_progress == nullptr) {
    m_progress = CreateDialogParamW(m_instance, MAKEINTRESOURCEW(IDD_TCPIP_PROGRESS), m_window, ProgressProc,
                                    reinterpret_cast<LPARAM>(this));
    if (m_progress == nullptr) return;
    if (!view.progress_title.empty()) SetWindowTextW(m_progress, view.progress_title.c_str());
    SetLabel(m_progress, IDC_TCPIP_PROGRESS_TEXT, view.progress_text);
    SetLabel(m_progress, IDCANCEL, view.progress_cancel);
    SendDlgItemMessageW(m_progress, IDC_TCPIP_PROGRESS_BAR, PBM_SETRANGE32, 0, kSearchProgressMax);
    ShowWindow(m_progress, SW_SHOW);
  }
  SendDlgItemMessageW(m_progress, IDC_TCPIP_PROGRESS_BAR, PBM_SETPOS, static_cast<WPARAM>(view.progress_pos), 0);
}

void CTcpIpDlg::OnTimer() {
  m_model.Tick();
  ShowProgress();
  if (m_model.View().timer_running) return;
  KillTimer(m_window, kSearchTimer);
  m_applying = true;
  ApplyRows();
  ApplyAddress();
  ApplyText(IDC_TCPIP_PORT_NAME, m_model.View().port_name);
  m_applying = false;
}

void CTcpIpDlg::OnCommand(int id, int code) {
  if (id == IDOK) {
    if (m_model.Ok(m_monitor, ProgramMessageSink())) End(IDOK);
    return;
  }
  if (id == IDCANCEL) {
    End(IDCANCEL);
    return;
  }
  if (m_applying || code != EN_CHANGE) return;
  if (id == IDC_TCPIP_ADDRESS) {
    DWORD address = 0;
    const LRESULT filled =
        SendDlgItemMessageW(m_window, IDC_TCPIP_ADDRESS, IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&address));
    m_model.SetAddress(address, static_cast<int>(filled));
  } else if (id == IDC_TCPIP_PORT_NUMBER) {
    m_model.SetPortNumber(ControlText(m_window, IDC_TCPIP_PORT_NUMBER));
  } else if (id == IDC_TCPIP_PORT_NAME) {
    m_model.SetPortName(ControlText(m_window, IDC_TCPIP_PORT_NAME));
    return;
  } else {
    return;
  }
  m_applying = true;
  ApplyText(IDC_TCPIP_PORT_NAME, m_model.View().port_name);
  m_applying = false;
}

void CTcpIpDlg::OnListChanged(const NMLISTVIEW& change) {
  if (m_applying || (change.uChanged & LVIF_STATE) == 0) return;
  if ((change.uNewState & LVIS_SELECTED) == 0 || (change.uOldState & LVIS_SELECTED) != 0) return;
  m_model.SelectRow(change.iItem);
  m_applying = true;
  ApplyAddress();
  ApplyText(IDC_TCPIP_PORT_NAME, m_model.View().port_name);
  m_applying = false;
}

void CTcpIpDlg::End(INT_PTR result) {
  KillTimer(m_window, kSearchTimer);
  m_model.Close();
  if (m_progress != nullptr) DestroyWindow(m_progress);
  m_progress = nullptr;
  EndDialog(m_window, result);
}

INT_PTR CALLBACK CTcpIpDlg::DialogProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* self = reinterpret_cast<CTcpIpDlg*>(GetWindowLongPtrW(window, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrW(window, DWLP_USER, lparam);
      self = reinterpret_cast<CTcpIpDlg*>(lparam);
      self->m_window = window;
      self->OnInit();
      return TRUE;
    case WM_TIMER:
      if (self != nullptr && wparam == kSearchTimer) self->OnTimer();
      return TRUE;
    case WM_COMMAND:
      if (self != nullptr) self->OnCommand(LOWORD(wparam), HIWORD(wparam));
      return TRUE;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lparam);
      if (self != nullptr && header->idFrom == IDC_TCPIP_DEVICES && header->code == LVN_ITEMCHANGED) {
        self->OnListChanged(*reinterpret_cast<const NMLISTVIEW*>(lparam));
      }
      return FALSE;
    }
    case WM_DESTROY:
      // Closed without End (the owner went away): the search thread must not outlive the dialog.
      if (self != nullptr) {
        KillTimer(window, kSearchTimer);
        self->m_model.Close();
      }
      return FALSE;
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK CTcpIpDlg::ProgressProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(window, DWLP_USER, lparam);
    return TRUE;
  }
  if (message == WM_COMMAND && LOWORD(wparam) == IDCANCEL) {
    auto* self = reinterpret_cast<CTcpIpDlg*>(GetWindowLongPtrW(window, DWLP_USER));
    if (self != nullptr) {
      self->m_model.CancelSearch();
      EnableWindow(GetDlgItem(window, IDCANCEL), FALSE);
    }
    return TRUE;
  }
  return FALSE;
}

}  // namespace vyx
