// The pages around the installation itself: welcome, language, length unit and result.
#include "common/string_ids.h"
#include "setup/wizard_pages.h"

namespace vyx {

void CWelcomePage::Label() {
  SetTitle(kStrWelcomeTitle);
}

void CWelcomePage::OnActivate() {
  m_view.buttons = EWizardButtons::kNext;
}

void CLanguagePage::Label() {
  SetTitle(kStrLanguageTitle);
  SetLabel(IDC_PAGE_GROUP, kStrLanguageGroup);
}

void CLanguagePage::SetDefaults() {
  CPageControlView& list = Control(IDC_LANGUAGE_LIST);
  list.rows.clear();
  list.selection = -1;
  if (CStringLoader* loader = m_context.state.language.Loader()) {
    ListLanguages(*loader, m_context.state.language.Base(), list.rows, list.selection);
  }
}

void CLanguagePage::OnActivate() {
  m_view.buttons = EWizardButtons::kBackNext;
}

void CLanguagePage::OnSelect(int control, int index) {
  CPageControlView& list = Control(IDC_LANGUAGE_LIST);
  if (control != IDC_LANGUAGE_LIST || index < 0 || index >= static_cast<int>(list.rows.size())) return;
  list.selection = index;
  m_context.state.language.SetBase(index * 1000);
  Label();
}

int CLanguagePage::Next() {
  const int position = Control(IDC_LANGUAGE_LIST).selection;
  if (position < 0) return kGoOn;  // no library, no languages: nothing to store
  const int base = position * 1000;
  if (!WriteInProgramHive(m_context.settings, m_context.program, ESetting::kLangBase, base)) return kStayOnPage;
  m_context.state.language.SetBase(base);
  return kGoOn;
}

void CUnitPage::Label() {
  SetTitle(kStrUnitTitle);
  SetLabel(IDC_PAGE_GROUP, kStrUnitGroup);
  // A list has no template text to fall back on.
  const std::wstring millimetres = String(kStrMillimetres), inches = String(kStrInches);
  Control(IDC_UNIT_LIST).rows = {millimetres.empty() ? L"mm" : millimetres, inches.empty() ? L"inch" : inches};
}

void CUnitPage::SetDefaults() {
  int unit = ReadUnitCodeOrLocaleDefault(m_context.settings, m_context.program, m_context.measure);
  if (unit != kUnitMillimetres && unit != kUnitInches) {
    // A stored code this program does not know: the locale's unit, as if nothing were stored.
    std::wstring measure;
    unit = UnitFromMeasurementSystem(m_context.measure != nullptr && m_context.measure(measure), measure);
  }
  Control(IDC_UNIT_LIST).selection = unit;
}

void CUnitPage::OnActivate() {
  m_view.buttons = EWizardButtons::kBackNext;
}

void CUnitPage::OnSelect(int control, int index) {
  if (control == IDC_UNIT_LIST && (index == kUnitMillimetres || index == kUnitInches)) {
    Control(IDC_UNIT_LIST).selection = index;
  }
}

int CUnitPage::Next() {
  const int unit = Control(IDC_UNIT_LIST).selection;
  if (!WriteInProgramHive(m_context.settings, m_context.program, ESetting::kUnitCode, unit)) return kStayOnPage;
  return kGoOn;
}

void CResultPage::Label() {
  SetTitle(kStrResultTitle);
  SetLabel(IDC_RESULT_TEXT, kStrResultText);
  std::wstring done = String(kStrDone);
  if (!done.empty()) m_view.finish_text = std::move(done);
}

void CResultPage::OnActivate() {
  m_view.buttons = EWizardButtons::kFinish;
  m_view.cancel_hidden = true;
}

bool CResultPage::Finish() {
  m_context.package.CleanUpOnFinish();
  return true;
}

}  // namespace vyx
