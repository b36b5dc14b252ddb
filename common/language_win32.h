// The language holder on Windows: the resource library VyxResDll.dll, the language base and the manager's
// conveniences that show its strings in windows and message boxes.
#pragma once

#include <windows.h>

#include <string>

#include "common/language.h"
#include "common/settings.h"

namespace vyx {

inline constexpr const wchar_t* kResourceLibraryName = L"VyxResDll.dll";

// LoadStringW on a module.
class CModuleStringLoader : public CStringLoader {
 public:
  explicit CModuleStringLoader(HMODULE module = nullptr) : m_module(module) {}
  int Load(int id, int capacity, std::wstring& text, unsigned long& error) override;
  void SetModule(HMODULE module) { m_module = module; }

 private:
  HMODULE m_module;
};

// The named-locale function of Kernel32.dll resolved at run time: the system's default locale for the setup
// program, the user's for the manager; the locale identifier where the function is missing.
class CWin32LocaleSource : public CLocaleSource {
 public:
  explicit CWin32LocaleSource(bool system_locale) : m_system(system_locale) {}
  bool KernelLoaded() override;
  bool HasNamedLocaleFunction() override;
  bool NamedLocale(std::wstring& name) override;
  unsigned LocaleId() override;

 private:
  using NamedLocaleFunction = int(WINAPI*)(LPWSTR, int);
  bool m_system;
  HMODULE m_kernel = nullptr;
  NamedLocaleFunction m_function = nullptr;
};

// Loads a resource-only library from the program's folder (or System32) as data, never from the current folder;
// null with the error of the program-folder attempt when it is in neither.
HMODULE LoadResourceLibrary(const wchar_t* name);

// Keeps the current folder out of every later library search of the process (SetDefaultDllDirectories where the
// system has it, and SetDllDirectoryW("")). Called by Initialise, before any window exists.
void HardenLibrarySearch();

class CLanguageHolder {
 public:
  CLanguageHolder() = default;
  CLanguageHolder(const CLanguageHolder&) = delete;
  CLanguageHolder& operator=(const CLanguageHolder&) = delete;
  ~CLanguageHolder() { Free(); }

  // Loads the library and sets the base for the program being built. True when the library is loaded and the base
  // is not negative; a library that does not load has been reported with the caption "LoadLibrary".
  bool Initialise();
  // The same with the program's rules, the store and the locale given, and another library name.
  bool Initialise(const CProgramSettings& program,
                  CSettingsStore& store,
                  CLocaleSource& locale,
                  const wchar_t* library = kResourceLibraryName);
  void Free();

  HMODULE Module() const { return m_module; }
  int Base() const { return m_base; }
  void SetBase(int base) { m_base = base; }
  CStringLoader& Loader() { return m_loader; }
  CLanguageText Text() { return CLanguageText(m_module != nullptr ? &m_loader : nullptr, m_base); }

  // Text of base + offset; empty when missing. Texts of 258 characters or more are loaded a second time, longer.
  std::wstring GetString(int offset);

  // Appends the language names to a combo box or list box and selects the current language; returns the count.
  int ListLanguages(HWND list);

  // Setup: sets base + offset as the tab text of a wizard page, when it loads.
  bool SetPageTabCaption(HWND sheet, int page_index, int offset);

  // Manager: sets base + 1445 formatted with `number` as the window's text; nothing when it is missing.
  void FormatAndShow(HWND window, int number);
  // Manager: message box with text base + text_offset and caption base + caption_offset; 0 without a box when
  // either is missing, else the button pressed.
  int ShowStringMessage(int text_offset, int caption_offset, unsigned style);
  // Manager: asks whether to print a job longer than 12 m (OK or Cancel); 0 when a string is missing.
  int ConfirmLongJob();

 private:
  HMODULE m_module = nullptr;
  CModuleStringLoader m_loader;
  int m_base = kFallbackLangBase;
};

// Manager: sets the control's text and widens or narrows it to extra_width + 0.75 x the text's width measured on
// its device context, keeping its position and height. Returns how far its right edge moved.
int FitControlToText(HWND control, const std::wstring& text, int extra_width);

// Manager: moves a child window horizontally by shift_x, keeping its size.
void ShiftChildWindow(HWND parent, HWND child, int shift_x);

}  // namespace vyx
