// The wizard property sheet and the setup program around it.
#include "setup/wizard_sheet_win32.h"

#include <commctrl.h>
#include <prsht.h>

#include "common/failure_message_win32.h"
#include "common/seams/message_sink_win32.h"
#include "common/string_ids.h"
#include "setup/devmode_upgrade_win32.h"
#include "setup/spooler_restart_win32.h"

namespace vyx {

CSetupWizardPropSheet::CSetupWizardPropSheet(HINSTANCE instance)
    : m_instance(instance),
      m_printerCalls(instance, m_state.language, m_sockets, m_monitor),
      m_printers(m_printerCalls, m_monitor, m_spooler, m_package, ProgramMessageSink(), m_state.language),
      m_package(m_platform,
                m_state,
                ProgramMessageSink(),
                m_debug,
                &GetSystemMessageText,
                {[this] { return WrapRestartSpooler(m_state); }, [] { return UpgradeAllDevmodes(); },
                 [this] { m_printers.RefreshNetworkPorts(); }}),
      m_context{m_state,   m_settings, ThisProgramSettings(), ProgramMessageSink(), m_debug, m_spooler,
                m_package, m_printers, &QueryLocaleMeasure},
      m_flow(m_context) {
  m_language.Initialise();  // a missing library has been reported; the wizard goes on with template texts
  m_state.language = m_language.Text();
  for (std::size_t i = 0; i < m_flow.Pages().size(); ++i) {
    m_windows.push_back(std::make_unique<CWizardPageWindow>(*m_flow.Pages()[i], static_cast<int>(i)));
  }
}

bool CSetupWizardPropSheet::DoModal() {
  std::vector<PROPSHEETPAGEW> pages;
  for (const auto& window : m_windows) pages.push_back(window->Describe(m_instance));
  std::wstring caption = m_language.GetString(kStrSetupCaption);
  if (caption.empty()) caption = L"VYX-Q5 Setup";
  PROPSHEETHEADERW header{};
  header.dwSize = sizeof header;
  header.dwFlags = PSH_WIZARD | PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW;  // no help, no apply
  header.hInstance = m_instance;
  header.pszCaption = caption.c_str();
  header.nPages = static_cast<UINT>(pages.size());
  header.ppsp = pages.data();
  const INT_PTR result = PropertySheetW(&header);
  m_language.Free();
  return result > 0;
}

int CVYXSetupApp::Run() {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_USEREX_CLASSES |
                                                     ICC_COOL_CLASSES | ICC_INTERNET_CLASSES | ICC_PAGESCROLLER_CLASS |
                                                     ICC_NATIVEFNTCTL_CLASS | ICC_STANDARD_CLASSES | ICC_LINK_CLASS};
  InitCommonControlsEx(&controls);
  CSetupWizardPropSheet sheet(m_instance);  // hardens the library search before anything else is loaded
  // The licence page's rich-text box ("RichEdit20W").
  const HMODULE rich_text = LoadLibraryW(L"Riched20.dll");
  const bool finished = sheet.DoModal();
  if (rich_text != nullptr) FreeLibrary(rich_text);
  return finished ? 0 : 1;
}

}  // namespace vyx
