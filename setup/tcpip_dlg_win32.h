// CTcpIpDlg: the modal TCP/IP port dialog of the printer page, binding CTcpIpDlgModel to its controls, with the
// small progress window shown while the printer search runs.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "setup/port_monitor_calls.h"
#include "setup/socket_calls.h"
#include "setup/tcpip_dlg_model.h"

namespace vyx {

class CTcpIpDlg {
 public:
  // The calls must outlive the dialog; messages go to ProgramMessageSink().
  CTcpIpDlg(const CLanguageText& text,
            CSocketCalls& sockets,
            CPortMonitorCalls& monitor,
            const CDiscoveryOptions& options = {});
  CTcpIpDlg(const CTcpIpDlg&) = delete;
  CTcpIpDlg& operator=(const CTcpIpDlg&) = delete;

  // Runs the dialog from the templates of `instance`: IDOK once the port was created (PortName() names it),
  // IDCANCEL when the user cancelled, -1 when the dialog could not be created.
  INT_PTR DoModal(HINSTANCE instance, HWND parent);
  const std::wstring& PortName() const { return m_model.PortName(); }
  const CTcpIpDlgModel& Model() const { return m_model; }

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  static INT_PTR CALLBACK ProgressProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  void OnInit();
  void OnTimer();
  void OnCommand(int id, int code);
  void OnListChanged(const NMLISTVIEW& change);
  void End(INT_PTR result);
  void ApplyLabels();
  void ApplyAddress();
  void ApplyText(int id, const std::wstring& text);
  void ApplyRows();
  void ShowProgress();

  CTcpIpDlgModel m_model;
  CSocketCalls& m_sockets;
  CPortMonitorCalls& m_monitor;
  CDiscoveryOptions m_options;
  HINSTANCE m_instance = nullptr;
  HWND m_window = nullptr;
  HWND m_progress = nullptr;
  bool m_applying = false;  // control changes made by the dialog itself are not user edits
};

}  // namespace vyx
