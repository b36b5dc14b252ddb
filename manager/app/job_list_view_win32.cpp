// The job list control over the model's rows.
#include "manager/app/job_list_view_win32.h"

#include "common/string_ids.h"
#include "manager/app/resource.h"

namespace vyx {

const int kBuiltInIconIds[kBuiltInImages] = {
    IDI_STATUS_DONE,          IDI_STATUS_SKIPPED, IDI_STATUS_TO_DO, IDI_PLOTTER_CUT,
    IDI_STEP_SPARE,           IDI_STEP_TO_PRINT,  IDI_STEP_PRINTED, IDI_STEP_SKIPPED,
    IDI_STEP_SKIPPED_PRINTED, IDI_DISTRIBUTED,    IDI_SPARE,        IDI_RIBBON_CHOICE,
    IDI_RIBBON_CHOICE_DONE,   IDI_NOTE,
};

namespace {

constexpr DWORD kListExtendedStyle =
    LVS_EX_GRIDLINES | LVS_EX_SUBITEMIMAGES | LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT;  // 39
static_assert(kListExtendedStyle == 39);

constexpr int kColumnHeaders[kJobListColumns] = {kStrColumnStatus, kStrColumnStep,        kStrColumnRibbonChoice,
                                                 kStrColumnColour, kStrColumnPrintedWith, kStrColumnNote};
constexpr int kColumnPercent[kJobListColumns] = {21, 0, 20, 19, 19, 21};

bool IsRelativePath(const std::wstring& path) {
  if (path.size() >= 2 && path[1] == L':') return false;
  return path.empty() || (path[0] != L'\\' && path[0] != L'/');
}

// A square in the ribbon's screen colour with a darker edge, for a colour whose icon file does not load.
void AddColourSquare(HIMAGELIST list, int size, COLORREF colour) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP image = CreateCompatibleBitmap(screen, size, size);
  HBITMAP mask = CreateBitmap(size, size, 1, 1, nullptr);
  HGDIOBJ old = SelectObject(dc, image);
  RECT all{0, 0, size, size};
  HBRUSH fill = CreateSolidBrush(colour);
  HBRUSH edge = CreateSolidBrush(RGB(GetRValue(colour) / 2, GetGValue(colour) / 2, GetBValue(colour) / 2));
  FillRect(dc, &all, edge);
  RECT inner{1, 1, size - 1, size - 1};
  FillRect(dc, &inner, fill);
  SelectObject(dc, mask);
  PatBlt(dc, 0, 0, size, size, BLACKNESS);  // opaque everywhere
  SelectObject(dc, old);
  ImageList_Add(list, image, mask);
  DeleteObject(fill);
  DeleteObject(edge);
  DeleteObject(image);
  DeleteObject(mask);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
}

void AddIcon(HIMAGELIST list, HICON icon) {
  ImageList_AddIcon(list, icon);
  DestroyIcon(icon);
}

}  // namespace

void CJobListView::Attach(HWND list,
                          HINSTANCE resources,
                          const CCatalogue& catalogue,
                          const std::wstring& iconFolder,
                          const CLanguageText& language) {
  m_list = list;
  ListView_SetExtendedListViewStyle(list, kListExtendedStyle);
  const int count = kBuiltInImages + static_cast<int>(catalogue.ribbons.size());
  m_large = ImageList_Create(32, 32, ILC_COLOR32 | ILC_MASK, count, 4);
  m_small = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, count, 4);
  for (HIMAGELIST images : {m_large, m_small}) {
    const int size = images == m_large ? 32 : 16;
    for (int id : kBuiltInIconIds) {
      HICON icon = static_cast<HICON>(LoadImageW(resources, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0));
      if (icon)
        AddIcon(images, icon);
      else
        AddColourSquare(images, size, RGB(200, 200, 200));  // keeps the indices right
    }
    for (const CColorRibbon& ribbon : catalogue.ribbons) {
      const std::wstring path = IsRelativePath(ribbon.icon) ? iconFolder + L"\\" + ribbon.icon : ribbon.icon;
      HICON icon = static_cast<HICON>(LoadImageW(nullptr, path.c_str(), IMAGE_ICON, size, size, LR_LOADFROMFILE));
      const COLORREF colour =
          static_cast<COLORREF>(ribbon.displayColour != -1 ? ribbon.displayColour : static_cast<int>(ribbon.colour));
      if (icon)
        AddIcon(images, icon);
      else
        AddColourSquare(images, size, colour);
    }
  }
  ListView_SetImageList(list, m_large, LVSIL_NORMAL);
  ListView_SetImageList(list, m_small, LVSIL_SMALL);

  RECT client{};
  GetClientRect(list, &client);
  const int width = client.right - client.left - GetSystemMetrics(SM_CXVSCROLL);
  for (int c = 0; c < kJobListColumns; ++c) {
    std::wstring header = language.GetString(kColumnHeaders[c]);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = header.data();
    column.cx = width * kColumnPercent[c] / 100;
    column.iSubItem = c;
    ListView_InsertColumn(list, c, &column);
  }
  int order[kJobListColumns];
  for (int c = 0; c < kJobListColumns; ++c) order[c] = kJobListColumns - 1 - c;
  ListView_SetColumnOrderArray(list, kJobListColumns, order);
}

void CJobListView::Destroy() {
  if (m_large) ImageList_Destroy(m_large);
  if (m_small) ImageList_Destroy(m_small);
  m_large = m_small = nullptr;
}

void CJobListView::SetRow(int index, const CListRowView& row, const CListRowView* shown) {
  for (int c = 0; c < kJobListColumns; ++c) {
    if (shown && shown->cells[c] == row.cells[c]) continue;
    std::wstring text = row.cells[c].text;
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = index;
    item.iSubItem = c;
    item.pszText = text.data();
    // A column without width shows nothing (some list views would draw its image over the next column).
    const bool shown = kColumnPercent[c] > 0 || c == 0;
    item.iImage = shown && row.cells[c].image >= 0 ? row.cells[c].image : I_IMAGENONE;
    ListView_SetItem(m_list, &item);
  }
  if (!shown || shown->hasCheckBox != row.hasCheckBox || shown->checked != row.checked) {
    const UINT state = row.hasCheckBox ? INDEXTOSTATEIMAGEMASK(row.checked ? 2 : 1) : INDEXTOSTATEIMAGEMASK(0);
    ListView_SetItemState(m_list, index, state, LVIS_STATEIMAGEMASK);
  }
}

void CJobListView::Render(const std::vector<CListRowView>& rows) {
  if (!m_list) return;
  m_rendering = true;
  bool sameRows = rows.size() == m_shown.size();
  for (std::size_t i = 0; sameRows && i < rows.size(); ++i) sameRows = rows[i].itemData == m_shown[i].itemData;
  if (!sameRows) {
    ListView_DeleteAllItems(m_list);
    for (std::size_t i = 0; i < rows.size(); ++i) {
      LVITEMW item{};
      item.mask = LVIF_PARAM | LVIF_TEXT;
      item.iItem = static_cast<int>(i);
      item.pszText = const_cast<wchar_t*>(L"");
      item.lParam = rows[i].itemData;
      ListView_InsertItem(m_list, &item);
      SetRow(static_cast<int>(i), rows[i], nullptr);
    }
  } else {
    for (std::size_t i = 0; i < rows.size(); ++i)
      if (!(rows[i] == m_shown[i])) SetRow(static_cast<int>(i), rows[i], &m_shown[i]);
  }
  m_shown = rows;
  m_rendering = false;
}

CListHit CJobListView::HitTest(POINT client) const {
  CListHit hit;
  LVHITTESTINFO info{};
  info.pt = client;
  if (ListView_SubItemHitTest(m_list, &info) < 0 || info.iItem < 0) return hit;
  hit.row = info.iItem;
  hit.column = info.iSubItem + 1;
  hit.onCheckBox = (info.flags & LVHT_ONITEMSTATEICON) != 0;
  return hit;
}

int CJobListView::ChooseFromMenu(HWND owner, POINT screen, const std::vector<CRibbonMenuEntry>& entries) {
  HMENU menu = CreatePopupMenu();
  for (std::size_t i = 0; i < entries.size(); ++i) {
    std::wstring text = entries[i].text;
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_ID | MIIM_STRING | MIIM_BITMAP | MIIM_DATA | MIIM_STATE;
    item.wID = static_cast<UINT>(i + 1);
    item.dwTypeData = text.data();
    item.hbmpItem = HBMMENU_CALLBACK;
    item.dwItemData = static_cast<ULONG_PTR>(entries[i].image);
    item.fState = entries[i].marked ? MFS_CHECKED : MFS_UNCHECKED;
    InsertMenuItemW(menu, static_cast<UINT>(i), TRUE, &item);
  }
  const int chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON,
                                    screen.x, screen.y, 0, owner, nullptr);
  DestroyMenu(menu);
  return chosen - 1;
}

bool CJobListView::MeasureMenuItem(MEASUREITEMSTRUCT* item) const {
  if (item->CtlType != ODT_MENU) return false;
  item->itemWidth = 16;
  item->itemHeight = 16;
  return true;
}

bool CJobListView::DrawMenuItem(const DRAWITEMSTRUCT* item) const {
  if (item->CtlType != ODT_MENU || !m_small) return false;
  const int image = static_cast<int>(item->itemData);
  if (image >= 0) ImageList_Draw(m_small, image, item->hDC, item->rcItem.left, item->rcItem.top, ILD_TRANSPARENT);
  return true;
}

}  // namespace vyx
