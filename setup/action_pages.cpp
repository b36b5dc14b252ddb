// The action page (install or uninstall) and the licence page.
#include <algorithm>

#include "common/string_ids.h"
#include "setup/licence_text.h"
#include "setup/wizard_pages.h"

namespace vyx {

void CActionTypePage::Label() {
  SetTitle(kStrActionTitle);
  SetLabel(IDC_PAGE_GROUP, kStrActionGroup);
  SetLabel(IDC_INSTALL, kStrInstall);
  SetLabel(IDC_UNINSTALL, kStrUninstall);
}

void CActionTypePage::SetDefaults() {
  CheckRadio({IDC_INSTALL, IDC_UNINSTALL}, IDC_INSTALL);
}

void CActionTypePage::OnActivate() {
  m_view.buttons = EWizardButtons::kBackNext;
}

bool CActionTypePage::DriverInstalled() {
  std::vector<std::wstring> drivers;
  if (!m_context.spooler.ListDriverNames(drivers)) return false;
  return std::any_of(drivers.begin(), drivers.end(),
                     [](const std::wstring& name) { return name == kDriverName || name == kOlderDriverName; });
}

void CActionTypePage::OnCheck(int control, bool checked) {
  if (!checked) return;
  if (control == IDC_INSTALL) {
    CheckRadio({IDC_INSTALL, IDC_UNINSTALL}, IDC_INSTALL);
  } else if (control == IDC_UNINSTALL && Control(IDC_UNINSTALL).enabled) {
    if (DriverInstalled()) {
      CheckRadio({IDC_INSTALL, IDC_UNINSTALL}, IDC_UNINSTALL);
      return;
    }
    ShowResourceMessage(kStrNoDriverToUninstall, kMbOk | kMbIconInformation);
    CheckRadio({IDC_INSTALL, IDC_UNINSTALL}, IDC_INSTALL);
    Control(IDC_UNINSTALL).enabled = false;
  }
}

int CActionTypePage::Next() {
  m_context.state.install = !Control(IDC_UNINSTALL).checked;
  return m_context.state.install ? kGoOn : IDD_DRIVER_PRINTER_PAGE;
}

void CLicencePage::Label() {
  SetTitle(kStrLicence);
  SetLabel(IDC_PAGE_GROUP, kStrLicence);
  SetLabel(IDC_LICENCE_ACCEPT, kStrLicenceAccept);
  SetLabel(IDC_LICENCE_DECLINE, kStrLicenceDecline);
}

void CLicencePage::SetDefaults() {
  Control(IDC_LICENCE_TEXT).text = LicenceText();
}

void CLicencePage::OnActivate() {
  CheckRadio({IDC_LICENCE_ACCEPT, IDC_LICENCE_DECLINE}, IDC_LICENCE_DECLINE);
  m_view.buttons = EWizardButtons::kBack;
}

void CLicencePage::OnCheck(int control, bool checked) {
  if (!checked || (control != IDC_LICENCE_ACCEPT && control != IDC_LICENCE_DECLINE)) return;
  CheckRadio({IDC_LICENCE_ACCEPT, IDC_LICENCE_DECLINE}, control);
  m_view.buttons = control == IDC_LICENCE_ACCEPT ? EWizardButtons::kBackNext : EWizardButtons::kBack;
}

int CLicencePage::Next() {
  return Control(IDC_LICENCE_ACCEPT).checked ? kGoOn : kStayOnPage;
}

}  // namespace vyx
