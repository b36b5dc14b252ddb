// The setup wizard's pages in their order and the way a wizard property sheet moves between them: initialise a
// page when first shown, activate it on every showing, follow Next and Back by their results. The Win32 sheet
// takes its pages from here; tests and tools drive the whole flow with it.
#pragma once

#include <memory>
#include <vector>

#include "setup/wizard_page.h"

namespace vyx {

class CSetupWizardFlow {
 public:
  explicit CSetupWizardFlow(CSetupContext& context);

  // The eight pages in order: 110, 109, 112, 103, 104, 105, 106, 107.
  const std::vector<std::unique_ptr<CWizardPage>>& Pages() const { return m_pages; }
  CWizardPage* Page(int template_id) const;
  int IndexOf(int template_id) const;

  // Shows the first page.
  void Start();
  CWizardPage& Current() const { return *m_pages[m_current]; }
  // Runs the current page's Next or Back and shows the page its result names; false when the page stays.
  bool Next();
  bool Back();
  // Runs the current page's Finish; true when the wizard may close.
  bool Finish();

 private:
  bool MoveBy(int result, int step);
  void Show(std::size_t index);

  std::vector<std::unique_ptr<CWizardPage>> m_pages;
  std::size_t m_current = 0;
};

}  // namespace vyx
