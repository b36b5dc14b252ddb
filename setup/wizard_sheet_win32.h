// CSetupWizardPropSheet: the setup wizard as a property sheet in wizard mode, holding the wizard state, the language
// holder and the eight pages; and CVYXSetupApp, which runs it.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "common/language_win32.h"
#include "common/seams/debug_output_win32.h"
#include "common/settings_win32.h"
#include "setup/driver_package_work.h"
#include "setup/install_platform_win32.h"
#include "setup/port_monitor_calls_win32.h"
#include "setup/printer_calls_win32.h"
#include "setup/printer_work.h"
#include "setup/socket_calls_win32.h"
#include "setup/spooler_enum_win32.h"
#include "setup/wizard_flow.h"
#include "setup/wizard_page_win32.h"

namespace vyx {

class CSetupWizardPropSheet {
 public:
  // Loads the language library and chooses the language (machine settings, else the system locale); the pages
  // show their template texts when it does not load.
  explicit CSetupWizardPropSheet(HINSTANCE instance);
  CSetupWizardPropSheet(const CSetupWizardPropSheet&) = delete;
  CSetupWizardPropSheet& operator=(const CSetupWizardPropSheet&) = delete;

  // Runs the wizard modally: true when it ended with Finish, false when cancelled or it could not be shown.
  bool DoModal();
  CWizardState& State() { return m_state; }

 private:
  HINSTANCE m_instance;
  CLanguageHolder m_language;
  CWizardState m_state;
  CRegistrySettingsStore m_settings;
  CWin32DebugOutput m_debug;
  CWin32SpoolerQueries m_spooler;
  CWin32InstallPlatform m_platform;
  CWinsockCalls m_sockets;
  CWin32PortMonitorCalls m_monitor;
  CWin32PrinterCalls m_printerCalls;
  CPrinterWork m_printers;  // holds m_package, which it uses only once both exist
  CDriverPackageWork m_package;
  CSetupContext m_context;
  CSetupWizardFlow m_flow;
  std::vector<std::unique_ptr<CWizardPageWindow>> m_windows;
};

// The setup program: common controls and the rich-text control, then the wizard; the program ends with it.
class CVYXSetupApp {
 public:
  explicit CVYXSetupApp(HINSTANCE instance) : m_instance(instance) {}
  // The process's exit code: 0 after Finish, 1 when the wizard was cancelled.
  int Run();

 private:
  HINSTANCE m_instance;
};

}  // namespace vyx
