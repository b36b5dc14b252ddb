// A wizard page's window: forwards the property sheet's notifications and the controls' events to the page's
// portable model and copies the model's view state onto the controls, the wizard buttons and the title.
#pragma once

#include <windows.h>

#include <prsht.h>

#include <map>
#include <optional>
#include <string>

#include "setup/wizard_page.h"

namespace vyx {

class CWizardPageWindow {
 public:
  CWizardPageWindow(CWizardPage& model, int index) : m_model(model), m_index(index) {}
  CWizardPageWindow(const CWizardPageWindow&) = delete;
  CWizardPageWindow& operator=(const CWizardPageWindow&) = delete;

  // The page's descriptor for the property sheet: its template and this window's procedure, no help button.
  PROPSHEETPAGEW Describe(HINSTANCE instance);

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  INT_PTR OnNotify(const NMHDR& header);
  void OnCommand(int control, int code, HWND child);
  void OnInitialise();
  // Copies what changed in the view onto the controls; with `activating` also the wizard buttons and title.
  void Apply(bool activating);
  void ApplyControl(int id, const CPageControlView& view);
  void ApplySheet(bool activating);
  void ApplyTitle();
  HWND Sheet() const { return GetParent(m_window); }

  CWizardPage& m_model;
  int m_index;
  HWND m_window = nullptr;
  std::map<int, CPageControlView> m_applied;
  std::optional<EWizardButtons> m_appliedButtons;
  std::optional<std::wstring> m_appliedTitle;
  bool m_active = false;
  bool m_applying = false;  // the controls' own notifications while the view is copied are not events
};

}  // namespace vyx
