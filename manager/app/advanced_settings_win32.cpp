// The advanced settings dialog's Win32 shell: controls bound by id, events forwarded to the model; the firmware
// file is read and sent on a thread of its own while the dialog takes no input.
#include "manager/app/advanced_settings_win32.h"

#include <commctrl.h>
#include <commdlg.h>
#include <windowsx.h>

#include <memory>
#include <optional>

#include "common/seams/message_sink_win32.h"
#include "common/settings.h"
#include "common/string_ids.h"
#include "manager/app/advanced_settings.h"
#include "manager/app/busy_work_win32.h"
#include "manager/app/dialog_binding_win32.h"
#include "manager/app/resource.h"
#include "manager/output/channel.h"
#include "manager/output/spooler_calls_win32.h"

namespace vyx {

namespace {

constexpr wchar_t kDriverKeyFormat[] =
    L"SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\%s\\Drivers\\Version-3\\%s";
constexpr DWORD kDriverVersionBytes = 32;

class CFileFirmwareSource : public CFirmwareSource {
 public:
  explicit CFileFirmwareSource(HANDLE file) : m_file(file) {}
  bool Size(std::uint64_t* size) override {
    LARGE_INTEGER n{};
    if (!GetFileSizeEx(m_file, &n) || n.QuadPart < 0) return false;
    *size = static_cast<std::uint64_t>(n.QuadPart);
    return true;
  }
  bool Read(void* into, std::size_t count, std::size_t* got) override {
    DWORD n = 0;
    if (!ReadFile(m_file, into, static_cast<DWORD>(count), &n, nullptr)) return false;
    *got = n;
    return true;
  }

 private:
  HANDLE m_file;
};

// The open dialog of Update Firmware; none when the user cancels.
std::optional<std::wstring> ChooseFirmwareFile(HWND owner) {
  wchar_t path[MAX_PATH] = {};
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = L"Zebra Programming Language\0*.zpl\0";
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = path;
  dialog.nMaxFile = MAX_PATH;
  dialog.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_NOCHANGEDIR;
  if (!GetOpenFileNameW(&dialog)) return std::nullopt;
  return std::wstring(path);
}

class CVyxAdvDlg {
 public:
  CVyxAdvDlg(const CAdvancedSettingsContext& context, const CAdvancedSettingsValues& values)
      : m_context(context), m_model(context.language, context.unitCode, values) {}

  INT_PTR DoModal() {
    return DialogBoxParamW(m_context.resources, MAKEINTRESOURCEW(IDD_ADVANCED_SETTINGS), m_context.owner,
                           BoundDialogProc<CVyxAdvDlg>, reinterpret_cast<LPARAM>(this));
  }
  const CAdvancedSettingsValues& Values() const { return m_model.Values(); }

 private:
  friend INT_PTR CALLBACK vyx::BoundDialogProc<CVyxAdvDlg>(HWND, UINT, WPARAM, LPARAM);
  void Attach(HWND window) { m_window = window; }

  INT_PTR Handle(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
      case WM_INITDIALOG:
        OnInitDialog();
        return TRUE;
      case WM_COMMAND:
        OnCommand(LOWORD(wparam), HIWORD(wparam), reinterpret_cast<HWND>(lparam));
        return TRUE;
      case WM_NOTIFY: {
        const auto* header = reinterpret_cast<NMHDR*>(lparam);
        if (header->idFrom != IDC_ADV_DARKNESS_SPIN || header->code != UDN_DELTAPOS || m_busy.Busy()) return FALSE;
        m_model.OnDarknessSpin(reinterpret_cast<const NMUPDOWN*>(lparam)->iDelta > 0);
        ShowDarkness();
        SetWindowLongPtrW(m_window, DWLP_MSGRESULT, TRUE);  // the spin's own position never moves
        return TRUE;
      }
      case CBusyWork::kDoneMessage:
        OnFirmwareSent();
        return TRUE;
      case WM_CLOSE:
        if (m_busy.Busy()) return TRUE;
        return FALSE;
      default:
        return FALSE;
    }
  }

  void OnInitDialog() {
    m_model.Open(ReadDriverVersion());
    const CWindowView& view = m_model.View();
    for (const auto& [id, control] : view.controls) {
      if (!control.text) continue;
      if (id == kAdvancedCaptionId)
        SetWindowTextW(m_window, control.text->c_str());
      else
        SetDlgItemTextW(m_window, id, control.text->c_str());
    }
    FillList(IDC_ADV_LANGUAGE_LIST, m_model.Languages());
    FillList(IDC_ADV_UNIT_LIST, m_model.Units());
    CheckDlgButton(m_window, IDC_ADV_RIBBON_SAVING, view.At(IDC_ADV_RIBBON_SAVING).checked ? BST_CHECKED : 0);
    CheckDlgButton(m_window, IDC_ADV_PRINT_TO_FILE, view.At(IDC_ADV_PRINT_TO_FILE).checked ? BST_CHECKED : 0);
    SendDlgItemMessageW(m_window, IDC_ADV_DARKNESS, EM_SETLIMITTEXT, 16, 0);
    HWND spin = GetDlgItem(m_window, IDC_ADV_DARKNESS_SPIN);
    SendMessageW(spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(GetDlgItem(m_window, IDC_ADV_DARKNESS)), 0);
    // The model steps the darkness; the spin only reports the press, so it sits mid-range.
    SendMessageW(spin, UDM_SETRANGE32, 0, 100);
    SendMessageW(spin, UDM_SETPOS32, 0, 50);
    ShowDarkness();
  }

  void FillList(int id, const CChoiceView& choices) {
    HWND list = GetDlgItem(m_window, id);
    for (const std::wstring& entry : choices.entries)
      SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(choices.selected), 0);
  }

  void ShowDarkness() {
    m_showing = true;
    SetDlgItemTextW(m_window, IDC_ADV_DARKNESS, m_model.View().At(IDC_ADV_DARKNESS).text.value_or(L"").c_str());
    m_showing = false;
  }

  void OnCommand(int id, int code, HWND control) {
    if (m_busy.Busy()) return;
    switch (id) {
      case IDC_ADV_DARKNESS:
        if (code == EN_CHANGE && !m_showing) m_model.OnDarknessEdited(WindowText(control));
        return;
      case IDC_ADV_LANGUAGE_LIST:
      case IDC_ADV_UNIT_LIST:
        if (code != CBN_SELCHANGE) return;
        if (id == IDC_ADV_LANGUAGE_LIST)
          m_model.OnLanguageChosen(ComboBox_GetCurSel(control));
        else
          m_model.OnUnitChosen(ComboBox_GetCurSel(control));
        return;
      case IDC_ADV_RIBBON_SAVING:
      case IDC_ADV_PRINT_TO_FILE:
        if (code == BN_CLICKED) m_model.OnChecked(id, Button_GetCheck(control) == BST_CHECKED);
        return;
      case IDC_ADV_UPDATE_FIRMWARE:
        if (code == BN_CLICKED) OnUpdateFirmware();
        return;
      case IDOK:
        OnOk();
        return;
      case IDCANCEL:
        EndDialog(m_window, IDCANCEL);
        return;
      default:
        return;
    }
  }

  void OnOk() {
    if (const std::optional<CReadBackFailure> failure = m_model.ReadBack()) {
      ShowReadBackFailure(m_window, failure->control, failure->message, kManagerWindowCaption);
      return;
    }
    const CStoredChoices stored = m_model.Stored();
    WriteLangBase(stored.languageBase);
    WriteUnitCode(stored.unitCode);
    EndDialog(m_window, IDOK);
  }

  void OnUpdateFirmware() {
    const std::optional<std::wstring> path = ChooseFirmwareFile(m_window);
    if (!path) return;
    HANDLE file = CreateFileW(path->c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    CFileFirmwareSource source(file);
    std::optional<CFirmwareBytes> bytes = ReadFirmware(source);
    CloseHandle(file);
    if (!bytes) return;  // nothing was read whole, so nothing is sent
    m_firmware = std::make_shared<CFirmwareBytes>(std::move(*bytes));
    // The send waits 1500 ms for the printer: the dialog takes no input meanwhile but keeps painting.
    EnableWindow(m_window, FALSE);
    const std::shared_ptr<CFirmwareBytes> firmware = m_firmware;
    const std::wstring printer = m_context.printerName;
    if (!m_busy.Start(m_window, [firmware, printer] {
          CWin32SpoolerCalls spooler;
          SendRawBlock(spooler, ProgramMessageSink(), printer, firmware->data.get(), firmware->size);
        })) {
      CWin32SpoolerCalls spooler;
      SendRawBlock(spooler, ProgramMessageSink(), printer, m_firmware->data.get(), m_firmware->size);
      OnFirmwareSent();
    }
  }

  void OnFirmwareSent() {
    m_busy.Finish();
    m_firmware.reset();
    EnableWindow(m_window, TRUE);
    MessageBoxW(m_window, m_context.language.GetString(kStrFirmwareSent).c_str(),
                m_context.language.GetString(kStrUpdateFirmware).c_str(), MB_OK);
  }

  CAdvancedSettingsContext m_context;
  CAdvancedSettingsModel m_model;
  HWND m_window = nullptr;
  bool m_showing = false;
  CBusyWork m_busy;
  std::shared_ptr<CFirmwareBytes> m_firmware;
};

}  // namespace

std::wstring ReadDriverVersion() {
  wchar_t key[256] = {};
  swprintf(key, 256, kDriverKeyFormat, L"Windows NT x86", L"VYX - Q5");
  wchar_t value[kDriverVersionBytes / sizeof(wchar_t)] = {};
  DWORD size = kDriverVersionBytes;
  if (RegGetValueW(HKEY_LOCAL_MACHINE, key, L"DriverVersion", RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
    return {};
  return value;
}

bool ShowAdvancedSettings(const CAdvancedSettingsContext& context, CAdvancedSettingsValues& values) {
  CVyxAdvDlg dialog(context, values);
  if (dialog.DoModal() != IDOK) return false;
  values = dialog.Values();
  return true;
}

}  // namespace vyx
