// Page order and navigation of the setup wizard.
#include "setup/wizard_flow.h"

#include "setup/wizard_pages.h"

namespace vyx {

CSetupWizardFlow::CSetupWizardFlow(CSetupContext& context) {
  m_pages.push_back(std::make_unique<CWelcomePage>(context));
  m_pages.push_back(std::make_unique<CLanguagePage>(context));
  m_pages.push_back(std::make_unique<CUnitPage>(context));
  m_pages.push_back(std::make_unique<CActionTypePage>(context));
  m_pages.push_back(std::make_unique<CLicencePage>(context));
  m_pages.push_back(std::make_unique<CDriverPrinterPage>(context));
  m_pages.push_back(std::make_unique<CPrinterPropPage>(context));
  m_pages.push_back(std::make_unique<CResultPage>(context));
}

int CSetupWizardFlow::IndexOf(int template_id) const {
  for (std::size_t i = 0; i < m_pages.size(); ++i) {
    if (m_pages[i]->Template() == template_id) return static_cast<int>(i);
  }
  return -1;
}

CWizardPage* CSetupWizardFlow::Page(int template_id) const {
  const int index = IndexOf(template_id);
  return index < 0 ? nullptr : m_pages[static_cast<std::size_t>(index)].get();
}

void CSetupWizardFlow::Start() {
  Show(0);
}

void CSetupWizardFlow::Show(std::size_t index) {
  m_current = index;
  m_pages[index]->Activate();
}

bool CSetupWizardFlow::MoveBy(int result, int step) {
  if (result == kStayOnPage) return false;
  int target = static_cast<int>(m_current) + step;
  if (result != kGoOn) target = IndexOf(result);
  if (target < 0 || target >= static_cast<int>(m_pages.size())) return false;
  Show(static_cast<std::size_t>(target));
  return true;
}

bool CSetupWizardFlow::Next() {
  return MoveBy(Current().Next(), 1);
}

bool CSetupWizardFlow::Back() {
  return MoveBy(Current().Back(), -1);
}

bool CSetupWizardFlow::Finish() {
  return Current().Finish();
}

}  // namespace vyx
