// Reading and using the standard controls of another process: buttons, edits, list and combo boxes, up-down
// controls, progress bars and the buttons of property sheets.
#include <windows.h>

#include <commctrl.h>

#include "tests/support/ui_driver_detail_win32.h"
#include "tests/support/ui_driver_win32.h"

namespace vyx::testing {

using namespace detail;

namespace {

constexpr LRESULT kMaxEntries = 10000;

HWND FocusOf(HWND control) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(GetWindowThreadProcessId(control, nullptr), &info) ? info.hwndFocus : nullptr;
}

bool IsCheckable(HWND control) {
  if (_wcsicmp(ClassOf(control).c_str(), L"Button") != 0) return false;
  switch (GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
      return true;
    default:
      return false;
  }
}

// Entries of a list box or combo box through its count, text length and text messages.
CChoiceList ReadChoices(HWND control, UINT countMsg, UINT lengthMsg, UINT textMsg, UINT selectionMsg) {
  CChoiceList list;
  bool ok = false;
  const LRESULT count = SendBounded(control, countMsg, 0, 0, &ok);
  if (!ok || count < 0) return list;
  for (LRESULT i = 0; i < count && i < kMaxEntries; ++i) {
    const LRESULT length = SendBounded(control, lengthMsg, static_cast<WPARAM>(i), 0);
    std::wstring text(length > 0 ? static_cast<size_t>(length) + 1 : 1, L'\0');
    const LRESULT got = SendBounded(control, textMsg, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
    text.resize(got > 0 && got < static_cast<LRESULT>(text.size()) ? static_cast<size_t>(got) : 0);
    list.entries.push_back(text);
  }
  list.selected = static_cast<int>(SendBounded(control, selectionMsg, 0, 0));
  if (list.selected < 0) list.selected = -1;
  return list;
}

int IndexOf(const CChoiceList& list, const std::wstring& text) {
  for (size_t i = 0; i < list.entries.size(); ++i)
    if (list.entries[i] == text) return static_cast<int>(i);
  return -1;
}

// Sets the selection, then tells the owner with `notification` as the control does when a user picks an entry.
bool SelectAndNotify(HWND control, UINT selectMsg, int index, UINT notification) {
  if (!Usable(control) || index < 0) return false;
  bool ok = false;
  if (SendBounded(control, selectMsg, static_cast<WPARAM>(index), 0, &ok) != index || !ok) return false;
  const WPARAM command = MAKEWPARAM(GetDlgCtrlID(control), notification);
  return PostSettled(GetParent(control), {{WM_COMMAND, command, reinterpret_cast<LPARAM>(control)}});
}

}  // namespace

CControlState ReadControl(HWND control) {
  CControlState state;
  if (!control || !IsWindow(control)) return state;
  state.exists = true;
  state.className = ClassOf(control);
  state.text = WindowText(control);
  state.enabled = IsWindowEnabled(control) != FALSE;
  state.visible = IsWindowVisible(control) != FALSE;
  state.focused = FocusOf(control) == control;
  if (IsCheckable(control)) state.checked = static_cast<int>(SendBounded(control, BM_GETCHECK, 0, 0));
  return state;
}

CChoiceList ReadListBox(HWND listBox) {
  return ReadChoices(listBox, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT, LB_GETCURSEL);
}

CChoiceList ReadComboBox(HWND comboBox) {
  return ReadChoices(comboBox, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT, CB_GETCURSEL);
}

CRangeValue ReadProgress(HWND progress) {
  CRangeValue range;
  bool ok[3] = {};
  range.value = static_cast<int>(SendBounded(progress, PBM_GETPOS, 0, 0, &ok[0]));
  range.low = static_cast<int>(SendBounded(progress, PBM_GETRANGE, TRUE, 0, &ok[1]));
  range.high = static_cast<int>(SendBounded(progress, PBM_GETRANGE, FALSE, 0, &ok[2]));
  range.ok = ok[0] && ok[1] && ok[2];
  return range;
}

CRangeValue ReadUpDown(HWND upDown) {
  CRangeValue range;
  CRemoteBuffer limits(upDown, 2 * sizeof(int));  // UDM_GETRANGE32 writes through two pointers
  if (!limits.Ok()) return range;
  bool ok[2] = {};
  range.value = static_cast<int>(SendBounded(upDown, UDM_GETPOS32, 0, 0, &ok[0]));
  SendBounded(upDown, UDM_GETRANGE32, static_cast<WPARAM>(limits.At()), limits.At(sizeof(int)), &ok[1]);
  int values[2] = {};
  range.ok = ok[0] && ok[1] && limits.Read(&values);
  if (!ok[1]) limits.Abandon();
  range.low = values[0];
  range.high = values[1];
  return range;
}

bool FocusControl(HWND control) {
  if (!Usable(control)) return false;
  const HWND root = GetAncestor(control, GA_ROOT);
  if (ClassOf(root) == L"#32770") {
    // The dialog moves the focus itself, as Tab does: KILLFOCUS for the old control, the default button updated.
    if (!PostSettled(root, {{WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE}})) return false;
  } else {
    // Only a thread that shares the program's input state may set its focus.
    const DWORD mine = GetCurrentThreadId(), theirs = GetWindowThreadProcessId(control, nullptr);
    if (!AttachThreadInput(mine, theirs, TRUE)) return false;
    SetFocus(control);
    AttachThreadInput(mine, theirs, FALSE);
  }
  return WaitUntil([&] { return FocusOf(control) == control; }, 1000);
}

bool PressTab(HWND control) {
  const HWND root = GetAncestor(control, GA_ROOT);
  return Usable(control) && ClassOf(root) == L"#32770" && PostSettled(root, {{WM_NEXTDLGCTL, 0, FALSE}});
}

bool SetEditText(HWND edit, const std::wstring& text, bool thenTab) {
  if (!FocusControl(edit)) return false;
  // Replacing the whole selection is what typing does; unlike WM_SETTEXT it notifies for multi-line edits too.
  bool ok[2] = {};
  SendBounded(edit, EM_SETSEL, 0, -1, &ok[0]);
  SendBounded(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()), &ok[1]);
  if (!ok[0] || !ok[1]) return false;
  return !thenTab || PressTab(edit);
}

bool Click(HWND control) {
  return Usable(control) && PostSettled(control, {{BM_CLICK, 0, 0}});
}

bool PressKey(HWND control, UINT virtualKey) {
  if (!Usable(control)) return false;
  // Focusing a dialog's edit selects its text, so a control that already has the focus keeps its caret.
  if (FocusOf(control) != control && !FocusControl(control)) return false;
  return PostSettled(control, KeyStroke(virtualKey));
}

bool SelectComboEntry(HWND comboBox, int index) {
  return SelectAndNotify(comboBox, CB_SETCURSEL, index, CBN_SELCHANGE);
}

bool SelectComboEntry(HWND comboBox, const std::wstring& text) {
  return SelectComboEntry(comboBox, IndexOf(ReadComboBox(comboBox), text));
}

bool SelectListBoxEntry(HWND listBox, int index) {
  if (!(GetWindowLongW(listBox, GWL_STYLE) & LBS_NOTIFY)) {
    bool ok = false;
    return Usable(listBox) && SendBounded(listBox, LB_SETCURSEL, static_cast<WPARAM>(index), 0, &ok) == index && ok;
  }
  return SelectAndNotify(listBox, LB_SETCURSEL, index, LBN_SELCHANGE);
}

bool SelectListBoxEntry(HWND listBox, const std::wstring& text) {
  return SelectListBoxEntry(listBox, IndexOf(ReadListBox(listBox), text));
}

bool StepUpDown(HWND upDown, int steps) {
  RECT r{};
  if (!Usable(upDown) || !GetClientRect(upDown, &r)) return false;
  const bool horizontal = (GetWindowLongW(upDown, GWL_STYLE) & UDS_HORZ) != 0;
  // Up is the top half (the right half when horizontal); the control changes its value as the button goes down.
  POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  if (horizontal)
    p.x = steps > 0 ? (r.right * 3) / 4 : r.right / 4;
  else
    p.y = steps > 0 ? r.bottom / 4 : (r.bottom * 3) / 4;
  const LPARAM at = MAKELPARAM(p.x, p.y);
  std::vector<CPosted> clicks;
  for (int i = 0; i < (steps > 0 ? steps : -steps); ++i) {
    clicks.push_back({WM_LBUTTONDOWN, MK_LBUTTON, at});
    clicks.push_back({WM_LBUTTONUP, 0, at});
  }
  return PostSettled(upDown, clicks);
}

bool PressWizardButton(HWND sheet, EWizardButton button) {
  // The ids of a property sheet's own buttons.
  static constexpr int kIds[] = {0x3023, 0x3024, 0x3025, IDCANCEL};
  return WaitForIdle(sheet) && Click(GetDlgItem(sheet, kIds[static_cast<int>(button)]));
}

}  // namespace vyx::testing
