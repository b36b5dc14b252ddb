// The eight pages of the setup wizard as portable models, in the wizard's order: welcome, language, length unit,
// action, licence, driver or printer, printer properties, result.
#pragma once

#include <string>
#include <vector>

#include "setup/resource.h"
#include "setup/wizard_page.h"

namespace vyx {

class CWelcomePage : public CWizardPage {
 public:
  explicit CWelcomePage(CSetupContext& context) : CWizardPage(context, IDD_WELCOME_PAGE) {}

 protected:
  void Label() override;
  void OnActivate() override;
};

// Choosing a language switches the whole wizard at once; Next stores it for both programs.
class CLanguagePage : public CWizardPage {
 public:
  explicit CLanguagePage(CSetupContext& context) : CWizardPage(context, IDD_LANGUAGE_PAGE) {}
  int Next() override;
  void OnSelect(int control, int index) override;

 protected:
  void Label() override;
  void SetDefaults() override;
  void OnActivate() override;
};

class CUnitPage : public CWizardPage {
 public:
  explicit CUnitPage(CSetupContext& context) : CWizardPage(context, IDD_UNIT_PAGE) {}
  int Next() override;
  void OnSelect(int control, int index) override;

 protected:
  void Label() override;
  void SetDefaults() override;
  void OnActivate() override;
};

// Install, or Uninstall when a driver of this model is installed; Uninstall skips the licence.
class CActionTypePage : public CWizardPage {
 public:
  explicit CActionTypePage(CSetupContext& context) : CWizardPage(context, IDD_ACTION_PAGE) {}
  int Next() override;
  void OnCheck(int control, bool checked) override;

 protected:
  void Label() override;
  void SetDefaults() override;
  void OnActivate() override;

 private:
  bool DriverInstalled();
};

// Every visit starts at Decline with Next disabled.
class CLicencePage : public CWizardPage {
 public:
  explicit CLicencePage(CSetupContext& context) : CWizardPage(context, IDD_LICENCE_PAGE) {}
  int Next() override;
  void OnCheck(int control, bool checked) override;

 protected:
  void Label() override;
  void SetDefaults() override;
  void OnActivate() override;
};

// The kind of installation or removal. The first and third option buttons carry the removal choices while
// uninstalling; the second and fourth are hidden then.
class CDriverPrinterPage : public CWizardPage {
 public:
  explicit CDriverPrinterPage(CSetupContext& context) : CWizardPage(context, IDD_DRIVER_PRINTER_PAGE) {}
  int Next() override;
  int Back() override;
  void OnCheck(int control, bool checked) override;

 protected:
  void Label() override;
  void SetDefaults() override;
  void OnActivate() override;

 private:
  void SetUpForMode();
  int Chosen();
  bool m_setUpForInstall = true;
};

// The new printer's name, port, default and share while installing; the printer to remove while uninstalling.
class CPrinterPropPage : public CWizardPage {
 public:
  explicit CPrinterPropPage(CSetupContext& context) : CWizardPage(context, IDD_PRINTER_PAGE) {}
  int Next() override;
  void OnSelect(int control, int index) override;
  void OnCheck(int control, bool checked) override;
  void OnClick(int control) override;
  void OnText(int control, const std::wstring& text) override;

 protected:
  void Label() override;
  void SetDefaults() override;
  void OnActivate() override;

 private:
  void SetUpForMode();
  void FillPorts();
  void FillPrinters();
  // Selects the chosen printer's port in the port list; "no such port" when it is not there.
  void SelectPrinterPort();
  void SelectPort(const std::wstring& port);
  void UpdatePortButton();
  std::wstring SelectedRow(int control);
  int NextInstalling();
  int NextUninstalling();
  void AddPort();
  void DeletePort();

  std::vector<CPrinterRecord> m_printers;  // uninstall: the printers of the model, as listed
  bool m_setUpForInstall = true;
};

class CResultPage : public CWizardPage {
 public:
  explicit CResultPage(CSetupContext& context) : CWizardPage(context, IDD_RESULT_PAGE) {}
  bool Finish() override;

 protected:
  void Label() override;
  void OnActivate() override;
};

// Whether a port monitor is the Standard TCP/IP one by its library name ("TCPMON.DLL", any case).
bool IsTcpIpMonitor(const std::wstring& monitor);

}  // namespace vyx
