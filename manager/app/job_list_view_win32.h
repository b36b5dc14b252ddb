// The main window's job list control: list view styles, columns, both image lists (the built-in icons, then one
// icon per ribbon colour of the catalogue), rows rendered from the model's view, hit tests and the ribbon pop-up.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "common/language.h"
#include "manager/app/job_list.h"
#include "manager/app/window_view.h"
#include "manager/model/catalogue.h"

namespace vyx {

// Resource ids of the built-in icons in image list order.
extern const int kBuiltInIconIds[kBuiltInImages];

// Where a click in the list landed; column numbered from 1.
struct CListHit {
  int row = -1;
  int column = 0;
  bool onCheckBox = false;
};

class CJobListView {
 public:
  CJobListView() = default;
  ~CJobListView() { Destroy(); }
  CJobListView(const CJobListView&) = delete;
  CJobListView& operator=(const CJobListView&) = delete;

  // Sets the extended style (grid lines, sub-item images, check boxes, full-row select), the columns with their
  // language headers, shown in reverse order, and the image lists. Relative icon paths of the catalogue are found in
  // `iconFolder`; an icon that does not load is drawn in the ribbon's screen colour.
  void Attach(HWND list,
              HINSTANCE resources,
              const CCatalogue& catalogue,
              const std::wstring& iconFolder,
              const CLanguageText& language);
  // Destroys the image lists (the list shares them, so it never does).
  void Destroy();

  // Shows the rows, changing only what differs from what is shown.
  void Render(const std::vector<CListRowView>& rows);
  // True while Render changes the control: its notifications are the program's own.
  bool Rendering() const { return m_rendering; }
  CListHit HitTest(POINT client) const;

  // Shows the ribbon pop-up at a screen point; the index of the chosen entry, or -1.
  int ChooseFromMenu(HWND owner, POINT screen, const std::vector<CRibbonMenuEntry>& entries);
  // Owner-drawn menu bitmaps (the entries' icons) for the dialog's WM_MEASUREITEM and WM_DRAWITEM.
  bool MeasureMenuItem(MEASUREITEMSTRUCT* item) const;
  bool DrawMenuItem(const DRAWITEMSTRUCT* item) const;

  HWND Window() const { return m_list; }

 private:
  void SetRow(int index, const CListRowView& row, const CListRowView* shown);

  HWND m_list = nullptr;
  HIMAGELIST m_large = nullptr;
  HIMAGELIST m_small = nullptr;
  std::vector<CListRowView> m_shown;
  bool m_rendering = false;
};

}  // namespace vyx
