// The language holder with the real resource library: detection, the string fetch rule with real LoadStringW, the
// safe library search, and the manager's conveniences on real windows.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <prsht.h>
#include "tests/win32/test_paths.h"

#include <string>
#include <vector>

#include "common/failure_message_win32.h"
#include "common/language_win32.h"
#include "common/seams/message_sink_win32.h"
#include "common/settings_win32.h"
#include "common/string_ids.h"

namespace vyx {
namespace {

class CFixedLocale : public CLocaleSource {
 public:
  explicit CFixedLocale(std::wstring name) : m_name(std::move(name)) {}
  bool KernelLoaded() override { return true; }
  bool HasNamedLocaleFunction() override { return true; }
  bool NamedLocale(std::wstring& name) override {
    name = m_name;
    return true;
  }
  unsigned LocaleId() override { return 0x0409; }

 private:
  std::wstring m_name;
};

// Counts the loads and their buffer sizes on the way to the real loader.
class CCountingLoader : public CStringLoader {
 public:
  explicit CCountingLoader(CStringLoader& inner) : m_inner(inner) {}
  int Load(int id, int capacity, std::wstring& text, unsigned long& error) override {
    capacities.push_back(capacity);
    return m_inner.Load(id, capacity, text, error);
  }
  std::vector<int> capacities;

 private:
  CStringLoader& m_inner;
};

class LanguageHolder : public ::testing::Test {
 protected:
  void SetUp() override {
    RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKeyPath);
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kSettingsKeyPath);
    m_before = SetProgramMessageSink(&m_sink);
  }
  void TearDown() override {
    SetProgramMessageSink(m_before);
    RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKeyPath);
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kSettingsKeyPath);
  }
  CRecordingMessageSink m_sink;
  CMessageSink* m_before = nullptr;
  CRegistrySettingsStore m_registry;
};

TEST_F(LanguageHolder, DutchLocaleWithoutStoredBaseGivesTheDutchBlock) {
  CLanguageHolder holder;
  CFixedLocale dutch(L"nl-NL");
  ASSERT_TRUE(holder.Initialise(kManagerSettings, m_registry, dutch));
  EXPECT_EQ(2000, holder.Base());
  EXPECT_EQ(L"Nederlands", holder.GetString(kStrLanguageDisplayName));
  EXPECT_EQ(L"Dutch", holder.GetString(kStrLanguageEnglishName));
  // Detection is not stored.
  EXPECT_EQ(kSettingAbsent, ReadLangBase(EHive::kCurrentUser));
  EXPECT_TRUE(m_sink.shown.empty());
}

TEST_F(LanguageHolder, UnknownCodeAndNameWithoutHyphenGiveEnglish) {
  for (const wchar_t* name : {L"pl-PL", L"nl", L""}) {
    CLanguageHolder holder;
    CFixedLocale locale(name);
    ASSERT_TRUE(holder.Initialise(kManagerSettings, m_registry, locale));
    EXPECT_EQ(1000, holder.Base()) << static_cast<const void*>(name);
    EXPECT_EQ(L"English", holder.GetString(kStrLanguageDisplayName));
  }
}

// Wine takes the user locale from LC_ALL (scripts/wine-run passes VYX_WINE_LC_ALL): en-US by default, so base
// 1000; run with VYX_WINE_LC_ALL=nl_NL.UTF-8 the same test expects the Dutch block.
TEST_F(LanguageHolder, RealUserLocaleDecidesTheBase) {
  CWin32LocaleSource user(false);
  const std::wstring code = LanguageCodeOf(DetectLocaleName(user));
  const int expected = code == L"de" ? 0 : code == L"nl" ? 2000 : 1000;
  RecordProperty("locale_code", std::string(code.begin(), code.end()));
  CLanguageHolder holder;
  ASSERT_TRUE(holder.Initialise());
  EXPECT_EQ(expected, holder.Base()) << std::string(code.begin(), code.end());
  EXPECT_NE(nullptr, holder.Module());
  wchar_t lc_all[64] = {};
  if (GetEnvironmentVariableW(L"LC_ALL", lc_all, 64) > 0 && std::wstring(lc_all).rfind(L"C.", 0) == 0) {
    EXPECT_EQ(L"en", code);
  }
}

TEST_F(LanguageHolder, StoredBaseWinsInTheManagersOrder) {
  WriteSettingValue(EHive::kCurrentUser, ESetting::kLangBase, 0);
  WriteSettingValue(EHive::kLocalMachine, ESetting::kLangBase, 2000);
  CFixedLocale english(L"en-US");
  CLanguageHolder manager, setup;
  ASSERT_TRUE(manager.Initialise(kManagerSettings, m_registry, english));
  ASSERT_TRUE(setup.Initialise(kSetupSettings, m_registry, english));
  EXPECT_EQ(0, manager.Base());
  EXPECT_EQ(2000, setup.Base());
  // The German block is compiled from UTF-8.
  EXPECT_EQ(L"Wei\u00DF", manager.GetString(kStrTapeNameBase + 0));
}

TEST_F(LanguageHolder, EveryUsedStringLoadsInEveryLanguage) {
  const HMODULE library = LoadResourceLibrary(kResourceLibraryName);
  ASSERT_NE(nullptr, library);
  CModuleStringLoader loader(library);
  for (int base : {0, 1000, 2000}) {
    for (int offset : AllStringOffsets()) {
      std::wstring text;
      EXPECT_TRUE(LoadShortString(loader, base, offset, text)) << base + offset;
    }
  }
  FreeLibrary(library);
}

TEST_F(LanguageHolder, MissingLibraryIsReportedAsLoadLibraryFailure) {
  CLanguageHolder holder;
  CFixedLocale english(L"en-US");
  EXPECT_FALSE(holder.Initialise(kManagerSettings, m_registry, english, L"VyxResMissing.dll"));
  EXPECT_EQ(nullptr, holder.Module());
  EXPECT_EQ(L"", holder.GetString(kStrLanguageDisplayName));
  ASSERT_EQ(1u, m_sink.shown.size());
  EXPECT_EQ(L"LoadLibrary", m_sink.shown[0].caption);
  EXPECT_FALSE(m_sink.shown[0].text.empty());
  EXPECT_EQ(0, holder.ShowStringMessage(kStrNoDriverToUninstall, kStrSetupCaption, MB_OK));
  EXPECT_EQ(0, holder.ConfirmLongJob());
}

TEST(ResourceLibrarySearch, TheCurrentFolderIsNeverSearched) {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + L"vyx_planted";
  CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring planted = folder + L"\\VyxPlantedRes.dll";
  ASSERT_TRUE(CopyFileW((vyx::testing::ProgramDirectory() + kResourceLibraryName).c_str(), planted.c_str(), FALSE));
  wchar_t previous[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, previous);
  ASSERT_TRUE(SetCurrentDirectoryW(folder.c_str()));

  // The classic search by name looks in the current folder and takes the planted copy ...
  const HMODULE plain = LoadLibraryExW(L"VyxPlantedRes.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE);
  EXPECT_NE(nullptr, plain);
  if (plain != nullptr) FreeLibrary(plain);
  // ... the resource library search does not.
  const HMODULE safe = LoadResourceLibrary(L"VyxPlantedRes.dll");
  EXPECT_EQ(nullptr, safe);
  EXPECT_NE(0u, GetLastError());  // so that the failure is reported
  if (safe != nullptr) FreeLibrary(safe);
  // Nor does a normal load once the process search is hardened.
  HardenLibrarySearch();
  const HMODULE hardened = LoadLibraryW(L"VyxPlantedRes.dll");
  EXPECT_EQ(nullptr, hardened);
  if (hardened != nullptr) FreeLibrary(hardened);
  // The real one beside the program is still found from there.
  const HMODULE real = LoadResourceLibrary(kResourceLibraryName);
  EXPECT_NE(nullptr, real);
  if (real != nullptr) FreeLibrary(real);

  SetCurrentDirectoryW(previous);
  DeleteFileW(planted.c_str());
  RemoveDirectoryW(folder.c_str());
}

// A copy of the resource library beside the program with one more string-table segment (ids 2880 to 2895).
class LongStrings : public LanguageHolder {
 protected:
  void SetUp() override {
    LanguageHolder::SetUp();
    m_path = vyx::testing::ProgramDirectory() + L"VyxResLongTest.dll";
    ASSERT_TRUE(CopyFileW((vyx::testing::ProgramDirectory() + kResourceLibraryName).c_str(), m_path.c_str(), FALSE));
    const std::wstring texts[4] = {std::wstring(257, L'a'), std::wstring(258, L'b'), std::wstring(600, L'c'),
                                   std::wstring(900, L'd')};
    std::vector<WORD> segment;
    for (int i = 0; i < 16; ++i) {
      const std::wstring text = i < 4 ? texts[i] : std::wstring();
      segment.push_back(static_cast<WORD>(text.size()));
      segment.insert(segment.end(), text.begin(), text.end());
    }
    const HANDLE update = BeginUpdateResourceW(m_path.c_str(), FALSE);
    ASSERT_NE(nullptr, update);
    ASSERT_TRUE(UpdateResourceW(update, RT_STRING, MAKEINTRESOURCEW(2880 / 16 + 1),
                                MAKELANGID(LANG_ENGLISH, SUBLANG_DEFAULT), segment.data(),
                                static_cast<DWORD>(segment.size() * sizeof(WORD))));
    ASSERT_TRUE(EndUpdateResourceW(update, FALSE));
  }
  void TearDown() override {
    DeleteFileW(m_path.c_str());
    LanguageHolder::TearDown();
  }
  std::wstring m_path;
};

TEST_F(LongStrings, Text257ComesFromTheFirstLoadAnd258FromTheSecond) {
  CLanguageHolder holder;
  CFixedLocale english(L"en-US");
  ASSERT_TRUE(holder.Initialise(kManagerSettings, m_registry, english, L"VyxResLongTest.dll"));
  ASSERT_EQ(1000, holder.Base());

  CCountingLoader counting(holder.Loader());
  EXPECT_EQ(std::wstring(257, L'a'), FetchLanguageString(counting, 1000, 1880));
  EXPECT_EQ(std::vector<int>{260}, counting.capacities);
  counting.capacities.clear();
  EXPECT_EQ(std::wstring(258, L'b'), FetchLanguageString(counting, 1000, 1881));
  EXPECT_EQ((std::vector<int>{260, 780}), counting.capacities);

  EXPECT_EQ(std::wstring(600, L'c'), holder.GetString(1882));
  EXPECT_EQ(std::wstring(779, L'd'), holder.GetString(1883));
  EXPECT_EQ(L"English", holder.GetString(kStrLanguageDisplayName));
}

class ManagerConveniences : public LanguageHolder {
 protected:
  void SetUp() override {
    LanguageHolder::SetUp();
    CFixedLocale english(L"en-US");
    ASSERT_TRUE(m_holder.Initialise(kManagerSettings, m_registry, english));
    m_parent = CreateWindowExW(0, L"STATIC", L"parent", WS_OVERLAPPEDWINDOW, 100, 100, 400, 300, nullptr, nullptr,
                               nullptr, nullptr);
    ASSERT_NE(nullptr, m_parent);
  }
  void TearDown() override {
    DestroyWindow(m_parent);
    LanguageHolder::TearDown();
  }
  HWND Child(const wchar_t* cls, DWORD style, int x, int y, int w, int h) {
    return CreateWindowExW(0, cls, L"", WS_CHILD | WS_VISIBLE | style, x, y, w, h, m_parent, nullptr, nullptr, nullptr);
  }
  static std::wstring TextOf(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
  }
  CLanguageHolder m_holder;
  HWND m_parent = nullptr;
};

TEST_F(ManagerConveniences, FormatAndShowFillsTheLengthLimit) {
  const HWND button = Child(L"BUTTON", BS_PUSHBUTTON, 10, 10, 120, 30);
  m_holder.FormatAndShow(button, 120);
  EXPECT_EQ(L"Job longer than 120 m!", TextOf(button));
  SetWindowTextW(button, L"PRINT");
  m_holder.SetBase(5000);  // past the library: nothing happens
  m_holder.FormatAndShow(button, 12);
  EXPECT_EQ(L"PRINT", TextOf(button));
}

TEST_F(ManagerConveniences, MessagesFromStringNumbers) {
  m_sink.answers = {IDCANCEL, IDOK};
  EXPECT_EQ(IDCANCEL, m_holder.ConfirmLongJob());
  ASSERT_EQ(1u, m_sink.shown.size());
  EXPECT_EQ(L"Job longer than 12 m!", m_sink.shown[0].text);
  EXPECT_EQ(L"VYX-Q5 Manager", m_sink.shown[0].caption);
  EXPECT_EQ(static_cast<unsigned>(MB_OKCANCEL), m_sink.shown[0].style);

  EXPECT_EQ(IDOK, m_holder.ShowStringMessage(kStrNoDriverToUninstall, kStrSetupCaption, MB_OK | MB_ICONWARNING));
  EXPECT_EQ(L"VYX-Q5 Setup", m_sink.shown[1].caption);
  EXPECT_EQ(static_cast<unsigned>(MB_OK | MB_ICONWARNING), m_sink.shown[1].style);
  EXPECT_EQ(0, m_holder.ShowStringMessage(1999, kStrSetupCaption, MB_OK));
  EXPECT_EQ(0, m_holder.ShowStringMessage(kStrNoDriverToUninstall, 1998, MB_OK));
  EXPECT_EQ(2u, m_sink.shown.size());
}

TEST_F(ManagerConveniences, LanguageListsFillComboAndListBoxes) {
  m_holder.SetBase(2000);
  const HWND combo = Child(WC_COMBOBOXW, CBS_DROPDOWNLIST, 10, 10, 150, 200);
  EXPECT_EQ(3, m_holder.ListLanguages(combo));
  EXPECT_EQ(3, SendMessageW(combo, CB_GETCOUNT, 0, 0));
  EXPECT_EQ(2, SendMessageW(combo, CB_GETCURSEL, 0, 0));
  const HWND list = Child(L"LISTBOX", 0, 10, 50, 150, 100);
  m_holder.SetBase(0);
  EXPECT_EQ(3, m_holder.ListLanguages(list));
  EXPECT_EQ(0, SendMessageW(list, LB_GETCURSEL, 0, 0));
  wchar_t text[64] = {};
  SendMessageW(list, LB_GETTEXT, 1, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(L"English", text);
}

TEST_F(ManagerConveniences, FitControlToTextResizesInPlace) {
  const HWND box = Child(L"BUTTON", BS_CHECKBOX, 30, 40, 50, 20);
  const std::wstring text = L"Outline cut, corner radius:";
  SIZE extent = {};
  const HDC dc = GetDC(box);
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
  ReleaseDC(box, dc);
  ASSERT_GT(extent.cx, 0);
  RECT before = {};
  GetWindowRect(box, &before);

  const int moved = FitControlToText(box, text, 20);
  RECT after = {};
  GetWindowRect(box, &after);
  const int expected_width = 20 + static_cast<int>(0.75 * extent.cx + 0.5);
  EXPECT_EQ(expected_width, after.right - after.left);
  EXPECT_EQ(expected_width - 50, moved);
  EXPECT_EQ(before.left, after.left);
  EXPECT_EQ(before.top, after.top);
  EXPECT_EQ(20, after.bottom - after.top);
  EXPECT_EQ(text, TextOf(box));
}

TEST_F(ManagerConveniences, ShiftChildWindowMovesOnlyHorizontally) {
  const HWND child = Child(L"BUTTON", BS_PUSHBUTTON, 30, 40, 60, 25);
  RECT before = {};
  GetWindowRect(child, &before);
  ShiftChildWindow(m_parent, child, 25);
  RECT after = {};
  GetWindowRect(child, &after);
  EXPECT_EQ(before.left + 25, after.left);
  EXPECT_EQ(before.top, after.top);
  EXPECT_EQ(60, after.right - after.left);
  EXPECT_EQ(25, after.bottom - after.top);
}

INT_PTR CALLBACK EmptyPage(HWND, UINT, WPARAM, LPARAM) {
  return FALSE;
}

TEST_F(ManagerConveniences, WizardTabCaptionComesFromTheLanguage) {
  // One empty child dialog page, built in memory.
  alignas(4) WORD page_template[16] = {};
  auto* dialog = reinterpret_cast<DLGTEMPLATE*>(page_template);
  dialog->style = WS_CHILD | DS_CONTROL;
  dialog->cx = 100;
  dialog->cy = 60;
  PROPSHEETPAGEW page = {};
  page.dwSize = sizeof page;
  page.dwFlags = PSP_DLGINDIRECT;
  page.pResource = dialog;
  page.pfnDlgProc = &EmptyPage;
  HPROPSHEETPAGE pages[2] = {CreatePropertySheetPageW(&page), CreatePropertySheetPageW(&page)};
  ASSERT_NE(nullptr, pages[0]);
  PROPSHEETHEADERW header = {};
  header.dwSize = sizeof header;
  header.dwFlags = PSH_MODELESS;
  header.pszCaption = L"sheet";
  header.nPages = 2;
  header.phpage = pages;
  const HWND sheet = reinterpret_cast<HWND>(PropertySheetW(&header));
  ASSERT_NE(nullptr, sheet);

  m_holder.SetBase(0);
  EXPECT_TRUE(m_holder.SetPageTabCaption(sheet, 1, kStrLanguageTitle));
  EXPECT_FALSE(m_holder.SetPageTabCaption(sheet, 0, 1999));  // missing: the tab keeps its text
  wchar_t text[64] = {};
  TCITEMW item = {};
  item.mask = TCIF_TEXT;
  item.pszText = text;
  item.cchTextMax = 64;
  ASSERT_TRUE(SendMessageW(PropSheet_GetTabControl(sheet), TCM_GETITEMW, 1, reinterpret_cast<LPARAM>(&item)));
  EXPECT_STREQ(L"Sprache", text);
  DestroyWindow(sheet);
}

}  // namespace
}  // namespace vyx
