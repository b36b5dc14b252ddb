// The page life cycle shared by every wizard page: labels at initialisation and on later activations.
#include "setup/wizard_page.h"

#include "common/string_ids.h"

namespace vyx {

void CWizardPage::Initialise() {
  Label();
  SetDefaults();
  m_initialised = true;
}

void CWizardPage::Activate() {
  if (!m_initialised) Initialise();
  if (++m_activations > 1) Label();
  OnActivate();
}

void CWizardPage::SetLabel(int control, int offset) {
  std::wstring text = String(offset);
  if (!text.empty()) Control(control).text = std::move(text);
}

void CWizardPage::SetTitle(int offset) {
  std::wstring text = String(offset);
  if (!text.empty()) m_view.title = std::move(text);
}

int CWizardPage::ShowResourceMessage(int text_offset, unsigned style) {
  return m_context.messages.Show(String(text_offset), String(kStrSetupCaption), style);
}

void CWizardPage::CheckRadio(std::initializer_list<int> group, int chosen) {
  for (int id : group) Control(id).checked = id == chosen;
}

}  // namespace vyx
