// Binding of a wizard page's model to its dialog: events in, view state out.
#include "setup/wizard_page_win32.h"

#include <commctrl.h>

#include <vector>

#include "setup/resource.h"

namespace vyx {
namespace {

// Posted to a page after its activation: the property sheet sets its own caption while it switches pages, so the
// page's title goes on after that.
constexpr UINT kApplyTitleMessage = WM_APP + 1;

enum class EControlKind { kOther, kListBox, kComboBox, kChoiceButton, kPushButton, kEdit };

EControlKind KindOf(HWND control) {
  wchar_t name[32] = {};
  GetClassNameW(control, name, 32);
  if (lstrcmpiW(name, WC_LISTBOXW) == 0) return EControlKind::kListBox;
  if (lstrcmpiW(name, WC_COMBOBOXW) == 0) return EControlKind::kComboBox;
  if (lstrcmpiW(name, WC_EDITW) == 0) return EControlKind::kEdit;
  if (lstrcmpiW(name, WC_BUTTONW) != 0) return EControlKind::kOther;
  switch (GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) {
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON:
      return EControlKind::kPushButton;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
      return EControlKind::kChoiceButton;
    default:
      return EControlKind::kOther;
  }
}

std::wstring TextOf(HWND control) {
  std::vector<wchar_t> text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
  const int n = GetWindowTextW(control, text.data(), static_cast<int>(text.size()));
  return std::wstring(text.data(), static_cast<std::size_t>(n > 0 ? n : 0));
}

DWORD WizardButtonFlags(EWizardButtons buttons) {
  switch (buttons) {
    case EWizardButtons::kNext:
      return PSWIZB_NEXT;
    case EWizardButtons::kBack:
      return PSWIZB_BACK;
    case EWizardButtons::kFinish:
      return PSWIZB_FINISH;
    default:
      return PSWIZB_BACK | PSWIZB_NEXT;
  }
}

}  // namespace

PROPSHEETPAGEW CWizardPageWindow::Describe(HINSTANCE instance) {
  PROPSHEETPAGEW page{};
  page.dwSize = sizeof page;
  page.dwFlags = PSP_DEFAULT;  // no help button
  page.hInstance = instance;
  page.pszTemplate = MAKEINTRESOURCEW(m_model.Template());
  page.pfnDlgProc = &CWizardPageWindow::DialogProc;
  page.lParam = reinterpret_cast<LPARAM>(this);
  return page;
}

INT_PTR CALLBACK CWizardPageWindow::DialogProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* self = reinterpret_cast<CWizardPageWindow*>(GetWindowLongPtrW(window, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      self = reinterpret_cast<CWizardPageWindow*>(reinterpret_cast<const PROPSHEETPAGEW*>(lparam)->lParam);
      SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
      self->m_window = window;
      self->OnInitialise();
      return TRUE;
    case WM_NOTIFY:
      if (self == nullptr) return FALSE;
      return self->OnNotify(*reinterpret_cast<const NMHDR*>(lparam));
    case WM_COMMAND:
      if (self == nullptr || self->m_applying) return FALSE;
      self->OnCommand(LOWORD(wparam), HIWORD(wparam), reinterpret_cast<HWND>(lparam));
      return TRUE;
    case kApplyTitleMessage:
      if (self != nullptr) self->ApplyTitle();
      return TRUE;
    case WM_DESTROY:
      if (self != nullptr && self->m_model.Template() == IDD_WELCOME_PAGE) {
        const auto picture =
            reinterpret_cast<HGDIOBJ>(SendDlgItemMessageW(window, IDC_WELCOME_PICTURE, STM_SETIMAGE, IMAGE_BITMAP, 0));
        if (picture != nullptr) DeleteObject(picture);
      }
      return FALSE;
    default:
      return FALSE;
  }
}

void CWizardPageWindow::OnInitialise() {
  if (m_model.Template() == IDD_WELCOME_PAGE) {
    const HANDLE picture = LoadImageW(reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(m_window, GWLP_HINSTANCE)),
                                      MAKEINTRESOURCEW(IDB_WELCOME), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR);
    SendDlgItemMessageW(m_window, IDC_WELCOME_PICTURE, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture));
  }
  m_model.Initialise();
  Apply(false);
}

INT_PTR CWizardPageWindow::OnNotify(const NMHDR& header) {
  LONG_PTR result = 0;
  switch (header.code) {
    case PSN_SETACTIVE:
      m_active = true;
      m_model.Activate();
      Apply(true);
      break;
    case PSN_KILLACTIVE:
      m_active = false;
      result = FALSE;
      break;
    case PSN_WIZNEXT:
    case PSN_WIZBACK:
      result = header.code == PSN_WIZNEXT ? m_model.Next() : m_model.Back();
      Apply(false);
      break;
    case PSN_WIZFINISH:
      result = m_model.Finish() ? FALSE : TRUE;  // non-zero keeps the wizard open
      break;
    default:
      return FALSE;
  }
  SetWindowLongPtrW(m_window, DWLP_MSGRESULT, result);
  return TRUE;
}

void CWizardPageWindow::OnCommand(int control, int code, HWND child) {
  if (child == nullptr) return;
  switch (KindOf(child)) {
    case EControlKind::kChoiceButton:
      if (code != BN_CLICKED) return;
      // Radio buttons are not automatic: the model decides whether the choice is taken.
      m_model.OnCheck(control, (GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK) == BS_RADIOBUTTON ||
                                   (GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK) == BS_AUTORADIOBUTTON ||
                                   SendMessageW(child, BM_GETCHECK, 0, 0) == BST_CHECKED);
      break;
    case EControlKind::kPushButton:
      if (code != BN_CLICKED) return;
      m_model.OnClick(control);
      break;
    case EControlKind::kListBox:
      if (code != LBN_SELCHANGE) return;
      m_model.OnSelect(control, static_cast<int>(SendMessageW(child, LB_GETCURSEL, 0, 0)));
      break;
    case EControlKind::kComboBox:
      if (code != CBN_SELCHANGE) return;
      m_model.OnSelect(control, static_cast<int>(SendMessageW(child, CB_GETCURSEL, 0, 0)));
      break;
    case EControlKind::kEdit:
      if (code != EN_CHANGE) return;
      m_model.OnText(control, TextOf(child));
      break;
    default:
      return;
  }
  Apply(false);
}

void CWizardPageWindow::Apply(bool activating) {
  m_applying = true;
  for (const auto& [id, view] : m_model.View().controls) ApplyControl(id, view);
  ApplySheet(activating);
  m_applying = false;
}

void CWizardPageWindow::ApplyControl(int id, const CPageControlView& view) {
  const HWND control = GetDlgItem(m_window, id);
  if (control == nullptr) return;
  const auto found = m_applied.find(id);
  const CPageControlView* last = found == m_applied.end() ? nullptr : &found->second;
  if (last == nullptr || last->visible != view.visible) ShowWindow(control, view.visible ? SW_SHOW : SW_HIDE);
  if (last == nullptr || last->enabled != view.enabled) EnableWindow(control, view.enabled);
  // Compared with what the control shows, so that text the user is typing is never set again under the caret.
  if (view.text && TextOf(control) != *view.text) SetWindowTextW(control, view.text->c_str());
  const EControlKind kind = KindOf(control);
  if (kind == EControlKind::kListBox || kind == EControlKind::kComboBox) {
    const bool list = kind == EControlKind::kListBox;
    const bool rows_changed = last == nullptr || last->rows != view.rows;
    if (rows_changed) {
      SendMessageW(control, list ? LB_RESETCONTENT : CB_RESETCONTENT, 0, 0);
      for (const std::wstring& row : view.rows) {
        SendMessageW(control, list ? LB_ADDSTRING : CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.c_str()));
      }
    }
    if (rows_changed || last->selection != view.selection) {
      SendMessageW(control, list ? LB_SETCURSEL : CB_SETCURSEL, static_cast<WPARAM>(view.selection), 0);
    }
  } else if (kind == EControlKind::kChoiceButton && (last == nullptr || last->checked != view.checked)) {
    SendMessageW(control, BM_SETCHECK, view.checked ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  m_applied[id] = view;
}

void CWizardPageWindow::ApplySheet(bool activating) {
  if (!m_active) return;
  const CPageView& view = m_model.View();
  if (activating || m_appliedButtons != view.buttons) {
    if (view.buttons == EWizardButtons::kFinish && view.finish_text) {
      PropSheet_SetFinishText(Sheet(), view.finish_text->c_str());
    } else {
      PropSheet_SetWizButtons(Sheet(), WizardButtonFlags(view.buttons));
    }
    m_appliedButtons = view.buttons;
  }
  if (activating && view.cancel_hidden) ShowWindow(GetDlgItem(Sheet(), IDCANCEL), SW_HIDE);
  if (activating || m_appliedTitle != view.title) PostMessageW(m_window, kApplyTitleMessage, 0, 0);
}

void CWizardPageWindow::ApplyTitle() {
  const std::optional<std::wstring>& title = m_model.View().title;
  m_appliedTitle = title;
  if (!m_active || !title) return;
  SetWindowTextW(Sheet(), title->c_str());
  // The page's entry in the sheet's tab control carries the title too.
  if (const HWND tab = PropSheet_GetTabControl(Sheet())) {
    std::wstring text = *title;
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text.data();
    SendMessageW(tab, TCM_SETITEMW, static_cast<WPARAM>(m_index), reinterpret_cast<LPARAM>(&item));
  }
}

}  // namespace vyx
