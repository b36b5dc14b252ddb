// The UI driver's test subject: a dialog with every kind of control the driver reads and uses. It writes each
// notification it receives to a log, one line each, and exits with the id of the button that closed it.
//   vyx_ui_fixture LOG
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <string>

#include "tests/standins/ui_fixture_ids.h"

namespace {

FILE* g_log = nullptr;
bool g_ready = false;  // list view changes are logged only once the dialog is filled

void Log(const std::wstring& line) {
  if (!g_log) return;
  std::fwprintf(g_log, L"%ls\n", line.c_str());
  std::fflush(g_log);
}

std::wstring TextOf(HWND dialog, int id) {
  wchar_t text[256] = {};
  GetDlgItemTextW(dialog, id, text, 256);
  return text;
}

void FillJobs(HWND dialog) {
  HWND list = GetDlgItem(dialog, IDC_JOBS);
  ListView_SetExtendedListViewStyle(list, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 2, 0);
  ImageList_AddIcon(images, LoadIconW(nullptr, IDI_INFORMATION));
  ImageList_AddIcon(images, LoadIconW(nullptr, IDI_WARNING));
  ListView_SetImageList(list, images, LVSIL_SMALL);
  const wchar_t* columns[] = {L"Name", L"Size", L"Colour"};
  for (int c = 0; c < 3; ++c) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = 110;
    column.pszText = const_cast<wchar_t*>(columns[c]);
    ListView_InsertColumn(list, c, &column);
  }
  const wchar_t* rows[3][3] = {
      {L"Alpha", L"10 mm", L"Black"}, {L"Beta", L"20 mm", L"Red"}, {L"Gamma", L"30 mm", L"Blue"}};
  for (int r = 0; r < 3; ++r) {
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = r;
    item.iImage = r == 0 ? 0 : 1;
    item.pszText = const_cast<wchar_t*>(rows[r][0]);
    ListView_InsertItem(list, &item);
    for (int c = 1; c < 3; ++c) ListView_SetItemText(list, r, c, const_cast<wchar_t*>(rows[r][c]));
  }
  ListView_SetCheckState(list, 1, TRUE);
}

void Fill(HWND dialog) {
  for (const wchar_t* colour : {L"Black", L"Red", L"Blue"})
    SendDlgItemMessageW(dialog, IDC_COLOUR, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(colour));
  SendDlgItemMessageW(dialog, IDC_COLOUR, CB_SETCURSEL, 0, 0);
  for (const wchar_t* size : {L"Small", L"Medium", L"Large"})
    SendDlgItemMessageW(dialog, IDC_SIZES, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(size));
  CheckRadioButton(dialog, IDC_FAST, IDC_BEST, IDC_FAST);
  SendDlgItemMessageW(dialog, IDC_COPIES_SPIN, UDM_SETRANGE32, 0, 10);
  SendDlgItemMessageW(dialog, IDC_COPIES_SPIN, UDM_SETPOS32, 0, 3);
  SendDlgItemMessageW(dialog, IDC_PROGRESS, PBM_SETRANGE32, 0, 200);
  SendDlgItemMessageW(dialog, IDC_PROGRESS, PBM_SETPOS, 50, 0);
  FillJobs(dialog);
  g_ready = true;
}

void ShowMenu(HWND dialog) {
  HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING, IDM_OPEN, L"&Open");
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING | MF_CHECKED, IDM_PRINT, L"&Print\tCtrl+P");
  AppendMenuW(menu, MF_STRING | MF_GRAYED, IDM_GRAYED, L"&Grayed");
  AppendMenuW(menu, MF_STRING, IDM_DELETE, L"&Delete");
  RECT r{};
  GetWindowRect(GetDlgItem(dialog, IDC_MENU), &r);
  const int chosen =
      TrackPopupMenu(menu, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN, r.left, r.bottom, 0, dialog, nullptr);
  DestroyMenu(menu);
  Log(L"menu " + std::to_wstring(chosen));
}

// ---- the wizard ----

INT_PTR CALLBACK LicencePage(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto update = [page] {
    const bool accepted = IsDlgButtonChecked(page, IDC_ACCEPT) == BST_CHECKED;
    PropSheet_SetWizButtons(GetParent(page), accepted ? PSWIZB_NEXT : 0);
  };
  if (message == WM_COMMAND && LOWORD(wParam) == IDC_ACCEPT) update();
  if (message == WM_NOTIFY) {
    const auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header->code == PSN_SETACTIVE) update();
    if (header->code == PSN_WIZNEXT) Log(L"wizard-next");
    if (header->code == PSN_QUERYCANCEL) Log(L"wizard-cancel");
  }
  return FALSE;
}

INT_PTR CALLBACK LabelPage(HWND page, UINT message, WPARAM, LPARAM lParam) {
  if (message == WM_NOTIFY) {
    const auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header->code == PSN_SETACTIVE) PropSheet_SetWizButtons(GetParent(page), PSWIZB_BACK | PSWIZB_FINISH);
    if (header->code == PSN_WIZBACK) Log(L"wizard-back");
    if (header->code == PSN_WIZFINISH) Log(L"wizard-finish " + TextOf(page, IDC_LABEL));
  }
  return FALSE;
}

void ShowWizard(HWND dialog) {
  PROPSHEETPAGEW pages[2] = {};
  const int templates[2] = {IDD_WIZARD_LICENCE, IDD_WIZARD_LABEL};
  const DLGPROC procs[2] = {LicencePage, LabelPage};
  for (int i = 0; i < 2; ++i) {
    pages[i].dwSize = sizeof pages[i];
    pages[i].hInstance = GetModuleHandleW(nullptr);
    pages[i].pszTemplate = MAKEINTRESOURCEW(templates[i]);
    pages[i].pfnDlgProc = procs[i];
  }
  PROPSHEETHEADERW header{};
  header.dwSize = sizeof header;
  header.dwFlags = PSH_PROPSHEETPAGE | PSH_WIZARD | PSH_NOAPPLYNOW;
  header.hwndParent = dialog;
  header.hInstance = GetModuleHandleW(nullptr);
  header.pszCaption = L"Fixture Wizard";
  header.nPages = 2;
  header.ppsp = pages;
  Log(L"wizard " + std::to_wstring(PropertySheetW(&header)));
}

// ---- the dialog ----

void OnCommand(HWND dialog, int id, int code) {
  switch (id) {
    case IDC_NAME:
      if (code == EN_CHANGE) Log(L"name-change " + TextOf(dialog, IDC_NAME));
      if (code == EN_KILLFOCUS) {
        Log(L"name-killfocus " + TextOf(dialog, IDC_NAME));
        if (TextOf(dialog, IDC_NAME) == L"bad") {
          MessageBoxW(dialog, L"A name may not be \"bad\".", L"Invalid name", MB_OK | MB_ICONWARNING);
          Log(L"name-rejected");
        }
      }
      break;
    case IDC_APPLY:
      Log(L"apply " + TextOf(dialog, IDC_NAME));
      break;
    case IDC_LAMINATE:
      Log(L"laminate " + std::to_wstring(IsDlgButtonChecked(dialog, IDC_LAMINATE)));
      break;
    case IDC_FAST:
    case IDC_BEST:
      if (code == BN_CLICKED) Log(id == IDC_FAST ? L"quality fast" : L"quality best");
      break;
    case IDC_COLOUR:
      if (code == CBN_SELCHANGE) {
        const auto index = SendDlgItemMessageW(dialog, IDC_COLOUR, CB_GETCURSEL, 0, 0);
        Log(L"colour " + std::to_wstring(index));
      }
      break;
    case IDC_SIZES:
      if (code == LBN_SELCHANGE)
        Log(L"size " + std::to_wstring(SendDlgItemMessageW(dialog, IDC_SIZES, LB_GETCURSEL, 0, 0)));
      break;
    case IDC_COPIES:
      if (code == EN_CHANGE && g_ready) Log(L"copies " + TextOf(dialog, IDC_COPIES));
      break;
    case IDC_MENU:
      ShowMenu(dialog);
      break;
    case IDC_ASK:
      Log(L"ask " + std::to_wstring(MessageBoxW(dialog, L"Keep the changes?", L"UI Fixture question",
                                                MB_YESNOCANCEL | MB_ICONQUESTION)));
      break;
    case IDC_WIZARD:
      ShowWizard(dialog);
      break;
    case IDOK:
    case IDCANCEL:
      Log(id == IDOK ? L"ok" : L"cancel");
      EndDialog(dialog, id);
      break;
  }
}

void OnJobsNotify(const NMHDR* header) {
  const auto* item = reinterpret_cast<const NMITEMACTIVATE*>(header);
  switch (header->code) {
    case NM_CLICK:
      Log(L"jobs-click " + std::to_wstring(item->iItem) + L" " + std::to_wstring(item->iSubItem));
      break;
    case NM_RCLICK:
      Log(L"jobs-rclick " + std::to_wstring(item->iItem) + L" " + std::to_wstring(item->iSubItem));
      break;
    case NM_DBLCLK:
      Log(L"jobs-dblclick " + std::to_wstring(item->iItem) + L" " + std::to_wstring(item->iSubItem));
      break;
    case LVN_KEYDOWN:
      Log(L"jobs-key " + std::to_wstring(reinterpret_cast<const NMLVKEYDOWN*>(header)->wVKey));
      break;
    case LVN_ITEMCHANGED: {
      const auto* change = reinterpret_cast<const NMLISTVIEW*>(header);
      if (g_ready && (change->uChanged & LVIF_STATE) && ((change->uNewState ^ change->uOldState) & LVIS_STATEIMAGEMASK))
        Log(L"jobs-check " + std::to_wstring(change->iItem) + L" " +
            std::to_wstring(((change->uNewState & LVIS_STATEIMAGEMASK) >> 12) == 2 ? 1 : 0));
      break;
    }
  }
}

INT_PTR CALLBACK FixtureDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      Fill(dialog);
      return TRUE;
    case WM_COMMAND:
      OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_NOTIFY:
      if (reinterpret_cast<NMHDR*>(lParam)->idFrom == IDC_JOBS) OnJobsNotify(reinterpret_cast<NMHDR*>(lParam));
      if (reinterpret_cast<NMHDR*>(lParam)->code == UDN_DELTAPOS)
        Log(L"copies-step " + std::to_wstring(reinterpret_cast<NMUPDOWN*>(lParam)->iDelta));
      return TRUE;
  }
  return FALSE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) return 100;
  g_log = _wfopen(argv[1], L"w");
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
  const INT_PTR result =
      DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_FIXTURE), nullptr, FixtureDialog, 0);
  if (g_log) std::fclose(g_log);
  return static_cast<int>(result);
}
