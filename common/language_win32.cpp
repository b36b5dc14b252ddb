// The language holder on Windows: loading VyxResDll.dll safely, LoadStringW, locale detection and the manager's
// string conveniences.
#include "common/language_win32.h"

#include <commctrl.h>
#include <prsht.h>

#include <vector>

#include "common/failure_message_win32.h"
#include "common/seams/message_sink_win32.h"
#include "common/settings_win32.h"
#include "common/string_ids.h"
#include "common/text_format.h"

namespace vyx {
namespace {

std::wstring ProgramDirectory() {
  std::vector<wchar_t> path(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) {
      std::wstring full(path.data(), n);
      return full.substr(0, full.find_last_of(L"\\/") + 1);
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace

int CModuleStringLoader::Load(int id, int capacity, std::wstring& text, unsigned long& error) {
  text.clear();
  if (m_module == nullptr || capacity <= 0 || id < 0 || id > 0xFFFF) {
    error = ERROR_RESOURCE_NAME_NOT_FOUND;
    return 0;
  }
  std::vector<wchar_t> buffer(static_cast<std::size_t>(capacity), L'\0');
  SetLastError(0);
  const int n = LoadStringW(m_module, static_cast<UINT>(id), buffer.data(), capacity);
  if (n <= 0) {
    error = GetLastError();
    return 0;
  }
  text.assign(buffer.data(), static_cast<std::size_t>(n));
  return n;
}

bool CWin32LocaleSource::KernelLoaded() {
  m_kernel = GetModuleHandleW(L"Kernel32.dll");
  return m_kernel != nullptr;
}

bool CWin32LocaleSource::HasNamedLocaleFunction() {
  if (m_kernel == nullptr) return false;
  const FARPROC found = GetProcAddress(m_kernel, m_system ? "GetSystemDefaultLocaleName" : "GetUserDefaultLocaleName");
  m_function = reinterpret_cast<NamedLocaleFunction>(reinterpret_cast<void*>(found));
  return m_function != nullptr;
}

bool CWin32LocaleSource::NamedLocale(std::wstring& name) {
  if (m_function == nullptr) return false;
  wchar_t buffer[kLocaleNameBuffer] = {};
  const int n = m_function(buffer, kLocaleNameBuffer);
  if (n <= 0) return false;
  name = buffer;
  return true;
}

unsigned CWin32LocaleSource::LocaleId() {
  return static_cast<unsigned>(m_system ? GetSystemDefaultLCID() : GetUserDefaultLCID());
}

void HardenLibrarySearch() {
  // Resolved at run time: Windows 7 has the function only with its loader update.
  using SetDirectoriesFunction = BOOL(WINAPI*)(DWORD);
  if (const HMODULE kernel = GetModuleHandleW(L"Kernel32.dll")) {
    const FARPROC found = GetProcAddress(kernel, "SetDefaultDllDirectories");
    if (found != nullptr) {
      reinterpret_cast<SetDirectoriesFunction>(reinterpret_cast<void*>(found))(LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
    }
  }
  // Takes the current folder out of the classic search order too.
  SetDllDirectoryW(L"");
}

HMODULE LoadResourceLibrary(const wchar_t* name) {
  // The library holds strings only: it is mapped as data, so nothing in it runs and one library serves the 32-bit
  // and the 64-bit program alike. It is named by full path, the program's folder first and then System32, because
  // a search by name would also look in the current folder, where anyone could plant a library of that name (Wine
  // ignores the LOAD_LIBRARY_SEARCH_* flags for data-file loads, so they are no protection there).
  constexpr DWORD kAsData = LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE;
  const std::wstring beside = ProgramDirectory() + name;
  HMODULE module = LoadLibraryExW(beside.c_str(), nullptr, kAsData);
  if (module != nullptr) return module;
  const DWORD error = GetLastError();
  wchar_t system[MAX_PATH] = {};
  const UINT n = GetSystemDirectoryW(system, MAX_PATH);
  if (n > 0 && n < MAX_PATH) {
    const std::wstring in_system = std::wstring(system, n) + L"\\" + name;
    module = LoadLibraryExW(in_system.c_str(), nullptr, kAsData);
    if (module != nullptr) return module;
  }
  SetLastError(error);  // report why the program's own copy did not load
  return nullptr;
}

bool CLanguageHolder::Initialise() {
  const CProgramSettings& program = ThisProgramSettings();
  CRegistrySettingsStore store;
  CWin32LocaleSource locale(program.system_locale);
  return Initialise(program, store, locale);
}

bool CLanguageHolder::Initialise(const CProgramSettings& program,
                                 CSettingsStore& store,
                                 CLocaleSource& locale,
                                 const wchar_t* library) {
  Free();
  HardenLibrarySearch();
  m_module = LoadResourceLibrary(library);
  if (m_module == nullptr) {
    ShowFailureMessage(GetLastError(), L"LoadLibrary");
    return false;
  }
  m_loader.SetModule(m_module);
  m_base = ChooseLangBase(store, program, m_loader, locale);
  return m_base >= 0;
}

void CLanguageHolder::Free() {
  if (m_module != nullptr) FreeLibrary(m_module);
  m_module = nullptr;
  m_loader.SetModule(nullptr);
}

std::wstring CLanguageHolder::GetString(int offset) {
  if (m_module == nullptr) return {};
  return FetchLanguageString(m_loader, m_base, offset);
}

int CLanguageHolder::ListLanguages(HWND list) {
  std::vector<std::wstring> names;
  int selection = -1;
  const int count = vyx::ListLanguages(m_loader, m_base, names, selection);
  wchar_t class_name[32] = {};
  GetClassNameW(list, class_name, 32);
  const bool combo = lstrcmpiW(class_name, WC_COMBOBOXW) == 0;
  for (std::size_t i = 0; i < names.size(); ++i) {
    const LRESULT at =
        SendMessageW(list, combo ? CB_ADDSTRING : LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(names[i].c_str()));
    if (static_cast<int>(i) == selection && at >= 0) {
      SendMessageW(list, combo ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(at), 0);
    }
  }
  return count;
}

bool CLanguageHolder::SetPageTabCaption(HWND sheet, int page_index, int offset) {
  std::wstring text;
  if (m_module == nullptr || !LoadShortString(m_loader, m_base, offset, text)) return false;
  const HWND tab = PropSheet_GetTabControl(sheet);
  if (tab == nullptr) return false;
  TCITEMW item = {};
  item.mask = TCIF_TEXT;
  item.pszText = text.data();
  return SendMessageW(tab, TCM_SETITEMW, static_cast<WPARAM>(page_index), reinterpret_cast<LPARAM>(&item)) != 0;
}

void CLanguageHolder::FormatAndShow(HWND window, int number) {
  std::wstring format;
  if (m_module == nullptr || !LoadShortString(m_loader, m_base, kStrLengthLimit, format)) return;
  SetWindowTextW(window, FormatText(format, {number}).c_str());
}

int CLanguageHolder::ShowStringMessage(int text_offset, int caption_offset, unsigned style) {
  std::wstring text, caption;
  if (m_module == nullptr || !LoadShortString(m_loader, m_base, text_offset, text) ||
      !LoadShortString(m_loader, m_base, caption_offset, caption)) {
    return 0;
  }
  return ProgramMessageSink().Show(text, caption, style);
}

int CLanguageHolder::ConfirmLongJob() {
  std::wstring format, caption;
  if (m_module == nullptr || !LoadShortString(m_loader, m_base, kStrLengthLimit, format) ||
      !LoadShortString(m_loader, m_base, kStrManagerCaption, caption)) {
    return 0;
  }
  return ProgramMessageSink().Show(FormatText(format, {12}), caption, kMbOkCancel);
}

int FitControlToText(HWND control, const std::wstring& text, int extra_width) {
  SIZE extent = {};
  if (HDC dc = GetDC(control)) {
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    ReleaseDC(control, dc);
  }
  RECT before = {};
  GetWindowRect(control, &before);
  const int width = FittedControlWidth(extra_width, extent.cx);
  SetWindowPos(control, nullptr, 0, 0, width, before.bottom - before.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowTextW(control, text.c_str());
  return width - (before.right - before.left);
}

void ShiftChildWindow(HWND parent, HWND child, int shift_x) {
  RECT child_rect = {}, parent_rect = {};
  GetWindowRect(child, &child_rect);
  GetWindowRect(parent, &parent_rect);
  const CPoint at =
      ShiftedChildPosition({child_rect.left, child_rect.top}, {parent_rect.left, parent_rect.top}, shift_x,
                           GetSystemMetrics(SM_CXFRAME), GetSystemMetrics(SM_CYFRAME), GetSystemMetrics(SM_CYCAPTION));
  SetWindowPos(child, nullptr, at.x, at.y, child_rect.right - child_rect.left, child_rect.bottom - child_rect.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace vyx
