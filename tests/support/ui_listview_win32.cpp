// List views of another process: their messages carry pointers, so items and rectangles travel through memory
// allocated in that process.
#include <windows.h>

#include <commctrl.h>

#include "tests/support/ui_driver_detail_win32.h"
#include "tests/support/ui_driver_win32.h"

namespace vyx::testing {

using namespace detail;

namespace {

constexpr int kMaxRows = 10000;
constexpr int kTextChars = 1024;
// The buffer: the item or column structure first, then the text it points to.
constexpr SIZE_T kTextAt = 256;
constexpr SIZE_T kBufferSize = kTextAt + kTextChars * sizeof(wchar_t);
static_assert(sizeof(LVITEMW) <= kTextAt && sizeof(LVCOLUMNW) <= kTextAt);

// Sends a message whose argument is the start of `buffer`; a timed-out message may still write there later.
LRESULT SendWithBuffer(HWND listView, UINT message, WPARAM wParam, CRemoteBuffer& buffer, bool* ok) {
  const LRESULT result = SendBounded(listView, message, wParam, buffer.At(), ok);
  if (!*ok) buffer.Abandon();
  return result;
}

std::wstring ReadText(const CRemoteBuffer& buffer) {
  wchar_t text[kTextChars] = {};
  if (!buffer.Read(kTextAt, text, sizeof text)) return {};
  text[kTextChars - 1] = 0;
  return text;
}

int ColumnCount(HWND listView) {
  const auto header = reinterpret_cast<HWND>(SendBounded(listView, LVM_GETHEADER, 0, 0));
  const int count = header ? static_cast<int>(SendBounded(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
  return count > 0 ? count : 1;
}

// A rectangle of the list view (LVM_GETITEMRECT, LVM_GETSUBITEMRECT), in its client coordinates.
bool ItemRect(HWND listView, UINT message, int row, int column, int part, RECT* rect) {
  CRemoteBuffer buffer(listView, sizeof(RECT));
  RECT query{part, column, 0, 0};
  bool ok = false;
  return buffer.Write(query) && SendWithBuffer(listView, message, static_cast<WPARAM>(row), buffer, &ok) && ok &&
         buffer.Read(rect);
}

bool ClickAt(HWND listView, POINT p, EMouseClick click) {
  const LPARAM at = MAKELPARAM(p.x, p.y);
  // The list view follows the button in a loop of its own until the button-up message arrives, so both are posted.
  if (click == EMouseClick::kRight)
    return PostSettled(listView, {{WM_RBUTTONDOWN, MK_RBUTTON, at}, {WM_RBUTTONUP, 0, at}});
  std::vector<CPosted> messages{{WM_LBUTTONDOWN, MK_LBUTTON, at}, {WM_LBUTTONUP, 0, at}};
  if (click == EMouseClick::kDouble) {
    messages.push_back({WM_LBUTTONDBLCLK, MK_LBUTTON, at});
    messages.push_back({WM_LBUTTONUP, 0, at});
  }
  return PostSettled(listView, messages);
}

bool ShowRow(HWND listView, int row) {
  const LRESULT rows = SendBounded(listView, LVM_GETITEMCOUNT, 0, 0);
  return Usable(listView) && row >= 0 && row < rows && SendBounded(listView, LVM_ENSUREVISIBLE, row, FALSE);
}

}  // namespace

std::vector<std::wstring> ReadListViewColumns(HWND listView) {
  std::vector<std::wstring> columns;
  CRemoteBuffer buffer(listView, kBufferSize);
  if (!buffer.Ok()) return columns;
  const int count = ColumnCount(listView);
  for (int c = 0; c < count; ++c) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT;
    column.pszText = reinterpret_cast<LPWSTR>(buffer.At(kTextAt));
    column.cchTextMax = kTextChars;
    wchar_t none = 0;
    bool ok = false;
    if (!buffer.Write(column) || !buffer.Write(kTextAt, &none, sizeof none) ||
        !SendWithBuffer(listView, LVM_GETCOLUMNW, static_cast<WPARAM>(c), buffer, &ok) || !ok)
      break;
    columns.push_back(ReadText(buffer));
  }
  return columns;
}

std::vector<CListViewRow> ReadListViewRows(HWND listView) {
  std::vector<CListViewRow> rows;
  CRemoteBuffer buffer(listView, kBufferSize);
  bool ok = false;
  const LRESULT count = SendBounded(listView, LVM_GETITEMCOUNT, 0, 0, &ok);
  if (!buffer.Ok() || !ok || count < 0) return rows;
  const int columns = ColumnCount(listView);
  const bool checkBoxes = (SendBounded(listView, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_CHECKBOXES) != 0;
  for (int r = 0; r < count && r < kMaxRows; ++r) {
    CListViewRow row;
    for (int c = 0; c < columns; ++c) {
      LVITEMW item{};
      item.iSubItem = c;
      item.pszText = reinterpret_cast<LPWSTR>(buffer.At(kTextAt));
      item.cchTextMax = kTextChars;
      const wchar_t none = 0;
      if (!buffer.Write(item) || !buffer.Write(kTextAt, &none, sizeof none)) return rows;
      SendWithBuffer(listView, LVM_GETITEMTEXTW, static_cast<WPARAM>(r), buffer, &ok);
      if (!ok) return rows;
      row.cells.push_back(ReadText(buffer));
    }
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = r;
    if (!buffer.Write(item) || !SendWithBuffer(listView, LVM_GETITEMW, 0, buffer, &ok) || !buffer.Read(&item))
      return rows;
    row.image = item.iImage;
    const auto state = static_cast<UINT>(SendBounded(listView, LVM_GETITEMSTATE, static_cast<WPARAM>(r),
                                                     LVIS_SELECTED | LVIS_FOCUSED | LVIS_STATEIMAGEMASK));
    row.selected = (state & LVIS_SELECTED) != 0;
    row.focused = (state & LVIS_FOCUSED) != 0;
    // State image 1 is the empty box, 2 the ticked one.
    if (checkBoxes) row.checked = ((state & LVIS_STATEIMAGEMASK) >> 12) == 2 ? 1 : 0;
    rows.push_back(std::move(row));
  }
  return rows;
}

bool ClickListViewCell(HWND listView, int row, int column, EMouseClick click) {
  RECT cell{};
  if (!ShowRow(listView, row) || column < 0 || column >= ColumnCount(listView) ||
      !ItemRect(listView, LVM_GETSUBITEMRECT, row, column, LVIR_LABEL, &cell))
    return false;
  return ClickAt(listView, {(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2}, click);
}

bool ClickListViewCheckBox(HWND listView, int row) {
  RECT bounds{}, icon{};
  if (!ShowRow(listView, row) || !ItemRect(listView, LVM_GETITEMRECT, row, 0, LVIR_BOUNDS, &bounds) ||
      !ItemRect(listView, LVM_GETITEMRECT, row, 0, LVIR_ICON, &icon))
    return false;
  // The check box is the state image, left of the item's icon.
  const LONG x = icon.left - bounds.left >= 8 ? (bounds.left + icon.left) / 2 : bounds.left + 8;
  return ClickAt(listView, {x, (bounds.top + bounds.bottom) / 2}, EMouseClick::kLeft);
}

}  // namespace vyx::testing
