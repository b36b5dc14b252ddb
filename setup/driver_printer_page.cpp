// The driver-or-printer page: which installation or removal the wizard carries out.
#include "common/string_ids.h"
#include "setup/wizard_pages.h"

namespace vyx {
namespace {

constexpr std::initializer_list<int> kOptions = {IDC_OPTION_DRIVER_ONLY, IDC_OPTION_UPDATE, IDC_OPTION_DRIVER_PRINTER,
                                                 IDC_OPTION_SYSTEM_WIZARD};

}  // namespace

void CDriverPrinterPage::Label() {
  const bool install = m_context.state.install;
  SetTitle(install ? kStrDriverTitle : kStrRemoveTitle);
  SetLabel(IDC_PAGE_GROUP, kStrDriverGroup);
  SetLabel(IDC_OPTION_DRIVER_ONLY, install ? kStrDriverOnly : kStrRemoveDriver);
  SetLabel(IDC_OPTION_DRIVER_PRINTER, install ? kStrDriverAndPrinter : kStrRemovePrinterOnly);
  SetLabel(IDC_OPTION_UPDATE, kStrUpdateKeepPort);
  SetLabel(IDC_OPTION_SYSTEM_WIZARD, kStrSystemPrinterWizard);
}

void CDriverPrinterPage::SetDefaults() {
  // Printers and driver of the older name are in the way of this driver; clear them out whenever setup runs.
  m_context.package.RemoveDriver(kOlderDriverName, ERemoval::kPartial);
  SetUpForMode();
}

void CDriverPrinterPage::SetUpForMode() {
  const bool install = m_context.state.install;
  m_setUpForInstall = install;
  Control(IDC_OPTION_UPDATE).visible = install;
  Control(IDC_OPTION_SYSTEM_WIZARD).visible = install;
  CheckRadio(kOptions, install ? IDC_OPTION_UPDATE : IDC_OPTION_DRIVER_PRINTER);
}

void CDriverPrinterPage::OnActivate() {
  // Back to the action page and a different choice there: the other option set, with its own default.
  if (m_setUpForInstall != m_context.state.install) SetUpForMode();
  m_view.buttons = EWizardButtons::kBackNext;
}

void CDriverPrinterPage::OnCheck(int control, bool checked) {
  if (!checked) return;
  for (int option : kOptions) {
    if (option == control && Control(option).visible) CheckRadio(kOptions, control);
  }
}

int CDriverPrinterPage::Chosen() {
  for (int option : kOptions) {
    if (Control(option).checked) return option;
  }
  return 0;
}

int CDriverPrinterPage::Next() {
  const int chosen = Chosen();
  m_context.state.driver_only = chosen == IDC_OPTION_DRIVER_ONLY;
  CDriverPackage& package = m_context.package;
  if (!m_context.state.install) {
    if (chosen == IDC_OPTION_DRIVER_PRINTER) return kGoOn;  // remove a printer only: the printer page
    if (chosen != IDC_OPTION_DRIVER_ONLY) return kStayOnPage;
    return package.RemoveDriver(kDriverName, ERemoval::kFull) >= 0 ? IDD_RESULT_PAGE : kStayOnPage;
  }
  switch (chosen) {
    case IDC_OPTION_DRIVER_ONLY:
      return package.InstallDriverOnly() ? IDD_RESULT_PAGE : kStayOnPage;
    case IDC_OPTION_UPDATE:
      return package.UpdateDriver() ? IDD_RESULT_PAGE : kStayOnPage;
    case IDC_OPTION_SYSTEM_WIZARD:
      return package.InstallWithSystemWizard() ? IDD_RESULT_PAGE : kStayOnPage;
    case IDC_OPTION_DRIVER_PRINTER:
      return kGoOn;
    default:
      return kStayOnPage;
  }
}

int CDriverPrinterPage::Back() {
  return m_context.state.install ? kGoOn : IDD_ACTION_PAGE;
}

}  // namespace vyx
