// VyxSetup.exe driven as a user drives it: every page read by control id, the language switched on the way, the
// machine settings it writes, the message boxes it shows answered, and a screenshot of every page.
#include <windows.h>
#include <winspool.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "setup/resource.h"
#include "tests/support/ui_driver_win32.h"
#include "tests/win32/test_paths.h"
#include "tests/win32/test_printer.h"

namespace vyx::testing {
namespace {

constexpr const wchar_t* kSettingsKey = L"Software\\Zavo\\VYX-Q5";

DWORD MachineValue(const wchar_t* name) {
  DWORD value = 0xFFFFFFFF, size = sizeof value;
  RegGetValueW(HKEY_LOCAL_MACHINE, kSettingsKey, name, RRF_RT_DWORD, nullptr, &value, &size);
  return value;
}

void SetMachineValue(const wchar_t* name, DWORD value) {
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, kSettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                           &key, nullptr));
  RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  RegCloseKey(key);
}

// Takes away the printers and drivers of the model that earlier tests of this prefix left behind.
void RemoveModelDrivers() {
  DWORD needed = 0, count = 0;
  EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 2, nullptr, 0, &needed, &count);
  std::vector<BYTE> buffer(needed + 1);
  if (EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 2, buffer.data(), needed, &needed, &count)) {
    const auto* printers = reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data());
    for (DWORD i = 0; i < count; ++i) {
      const std::wstring driver = printers[i].pDriverName;
      if (driver != L"VYX - Q5" && driver != L"VYX-Q five") continue;
      PRINTER_DEFAULTSW all{nullptr, nullptr, PRINTER_ALL_ACCESS};
      HANDLE printer = nullptr;
      if (OpenPrinterW(printers[i].pPrinterName, &printer, &all)) {
        DeletePrinter(printer);
        ClosePrinter(printer);
      }
    }
  }
  for (const wchar_t* name : {L"VYX - Q5", L"VYX-Q five"}) {
    DeletePrinterDriverW(nullptr, nullptr, const_cast<wchar_t*>(name));
  }
}

DWORD LocalPrinterCount() {
  DWORD needed = 0, count = 0;
  EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 1, nullptr, 0, &needed, &count);
  std::vector<BYTE> buffer(needed + 1);
  return EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 1, buffer.data(), needed, &needed, &count) ? count : 0xFFFFFFFF;
}

class SetupWizard : public ::testing::Test {
 protected:
  void SetUp() override {
    SetMachineValue(L"LangBaseID", 1000);  // English, whatever the locale of the prefix
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kSettingsKey, L"UnitCode");
    ASSERT_TRUE(m_setup.Start(L"\"" + ProgramDirectory() + L"VyxSetup.exe\""));
    m_sheet = WaitForTopWindow(m_setup.Id(), {L"", L"#32770"}, 15000);
    ASSERT_NE(nullptr, m_sheet);
  }
  void TearDown() override { m_setup.WaitForExit(0); }

  std::wstring Text(int id) const { return ReadControl(m_sheet, id).text; }
  std::wstring Caption() const {
    wchar_t text[260] = {};
    GetWindowTextW(m_sheet, text, 260);
    return text;
  }
  // Waits until the page with the group caption `group` (or the control `id`) shows, then keeps its picture.
  ::testing::AssertionResult OnPage(int id, const std::wstring& shot) {
    if (!WaitUntil([&] { return ReadControl(m_sheet, id).visible; }) || !WaitForIdle(m_sheet)) {
      std::string boxes;
      for (HWND box : FindTopWindows(m_setup.Id(), {L"", L"#32770", {m_sheet}})) boxes += " | " + FormatDialog(ReadDialog(box));
      return ::testing::AssertionFailure() << "control " << id << " never showed; caption " << Utf8(Caption()) << boxes;
    }
    SaveWindowPng(m_sheet, ScreenshotPath(Utf8(L"setup-" + shot)));
    return ::testing::AssertionSuccess();
  }
  bool Press(EWizardButton button) { return PressWizardButton(m_sheet, button) && WaitForIdle(m_sheet); }
  bool ButtonEnabled(int id) const { return ReadControl(GetDlgItem(m_sheet, id)).enabled; }
  // The message box the last action opened: its text, after pressing `answer`.
  std::wstring Answer(const std::wstring& caption, const std::wstring& answer, const std::wstring& shot = {}) {
    const HWND box = WaitForMessageBox(m_setup.Id(), caption);
    if (box == nullptr) return L"(no message box \"" + caption + L"\")";
    if (!shot.empty()) SaveWindowPng(box, ScreenshotPath(Utf8(L"setup-" + shot)));
    const CDialogSummary summary = ReadDialog(box);
    PressDialogButton(box, answer);
    WaitForWindowGone(box);
    std::wstring text;
    for (const std::wstring& line : summary.texts) text += line;
    return text;
  }

  CTestProcess m_setup;
  HWND m_sheet = nullptr;
};

TEST_F(SetupWizard, WalksForwardAndBackSwitchesLanguageAndStoresMachineSettings) {
  RemoveModelDrivers();
  std::vector<BYTE> drivers(1 << 16);
  DWORD needed = 0, count = 0;
  ASSERT_TRUE(EnumPrinterDriversW(nullptr, nullptr, 3, drivers.data(), 1 << 16, &needed, &count));
  for (DWORD i = 0; i < count; ++i) {
    ASSERT_STRNE(L"VYX - Q5", reinterpret_cast<const DRIVER_INFO_3W*>(drivers.data())[i].pName);
  }
  ASSERT_TRUE(OnPage(IDC_WELCOME_PICTURE, L"welcome"));
  EXPECT_EQ(L"Welcome", Caption());
  EXPECT_FALSE(ButtonEnabled(0x3023));  // Back (PSBTN ids: 0x3023 back, 0x3024 next)
  ASSERT_TRUE(Press(EWizardButton::kNext));

  ASSERT_TRUE(OnPage(IDC_LANGUAGE_LIST, L"language"));
  EXPECT_EQ(L"Choose the language of the VYX-Q5 programs", Text(IDC_PAGE_GROUP));
  const CChoiceList languages = ReadListBox(FindControl(m_sheet, IDC_LANGUAGE_LIST));
  EXPECT_EQ((std::vector<std::wstring>{L"Deutsch", L"English", L"Nederlands"}), languages.entries);
  EXPECT_EQ(1, languages.selected);
  // Dutch at once: this page's labels and title, before Next.
  ASSERT_TRUE(SelectListBoxEntry(FindControl(m_sheet, IDC_LANGUAGE_LIST), L"Nederlands"));
  EXPECT_TRUE(WaitUntil([&] { return Text(IDC_PAGE_GROUP) == L"Kies de taal van de VYX-Q5-programma's"; }));
  EXPECT_TRUE(WaitUntil([&] { return Caption() == L"Taal"; }));
  EXPECT_EQ(1000u, MachineValue(L"LangBaseID"));  // stored only on Next
  ASSERT_TRUE(OnPage(IDC_LANGUAGE_LIST, L"language-dutch"));
  ASSERT_TRUE(Press(EWizardButton::kNext));
  EXPECT_EQ(2000u, MachineValue(L"LangBaseID"));

  ASSERT_TRUE(OnPage(IDC_UNIT_LIST, L"unit"));
  const CChoiceList units = ReadListBox(FindControl(m_sheet, IDC_UNIT_LIST));
  ASSERT_EQ(2u, units.entries.size());
  EXPECT_EQ(L"Millimeter", units.entries[0]);
  EXPECT_EQ(1, units.selected);  // no stored unit: Wine's locale measures in inches
  ASSERT_TRUE(SelectListBoxEntry(FindControl(m_sheet, IDC_UNIT_LIST), 0));
  ASSERT_TRUE(Press(EWizardButton::kNext));
  EXPECT_EQ(0u, MachineValue(L"UnitCode"));

  // No driver of the model: Uninstall explains why, goes back to Install and stays disabled.
  ASSERT_TRUE(OnPage(IDC_INSTALL, L"action"));
  EXPECT_EQ(L"De VYX-Q5-printer installeren of bijwerken", Text(IDC_INSTALL));
  ASSERT_EQ(BST_CHECKED, ReadControl(m_sheet, IDC_INSTALL).checked);
  Click(FindControl(m_sheet, IDC_UNINSTALL));
  EXPECT_NE(std::wstring::npos, Answer(L"VYX-Q5 Setup", L"OK", L"no-driver-message").find(L"VYX-Q5"));
  EXPECT_TRUE(WaitUntil([&] { return !ReadControl(m_sheet, IDC_UNINSTALL).enabled; }));
  EXPECT_EQ(BST_CHECKED, ReadControl(m_sheet, IDC_INSTALL).checked);
  EXPECT_EQ(BST_UNCHECKED, ReadControl(m_sheet, IDC_UNINSTALL).checked);
  ASSERT_TRUE(Press(EWizardButton::kNext));

  // The licence: Decline at first with Next disabled; an Accept is forgotten after going back.
  ASSERT_TRUE(OnPage(IDC_LICENCE_TEXT, L"licence"));
  EXPECT_NE(std::wstring::npos, Text(IDC_LICENCE_TEXT).find(L"VYX-Q5"));
  EXPECT_EQ(BST_CHECKED, ReadControl(m_sheet, IDC_LICENCE_DECLINE).checked);
  EXPECT_FALSE(ButtonEnabled(0x3024));
  ASSERT_TRUE(Click(FindControl(m_sheet, IDC_LICENCE_ACCEPT)));
  EXPECT_TRUE(WaitUntil([&] { return WaitForIdle(m_sheet) && ButtonEnabled(0x3024); }));
  ASSERT_TRUE(Press(EWizardButton::kBack));
  ASSERT_TRUE(OnPage(IDC_INSTALL, L"action-again"));
  ASSERT_TRUE(Press(EWizardButton::kNext));
  ASSERT_TRUE(OnPage(IDC_LICENCE_TEXT, L"licence-again"));
  EXPECT_EQ(BST_CHECKED, ReadControl(m_sheet, IDC_LICENCE_DECLINE).checked);
  EXPECT_EQ(BST_UNCHECKED, ReadControl(m_sheet, IDC_LICENCE_ACCEPT).checked);
  EXPECT_FALSE(ButtonEnabled(0x3024));
  ASSERT_TRUE(Click(FindControl(m_sheet, IDC_LICENCE_ACCEPT)));
  ASSERT_TRUE(WaitUntil([&] { return WaitForIdle(m_sheet) && ButtonEnabled(0x3024); }));
  ASSERT_TRUE(Press(EWizardButton::kNext));

  // Installing: four options, the update chosen; the printer page offers a name and every port.
  ASSERT_TRUE(OnPage(IDC_OPTION_UPDATE, L"driver-printer"));
  EXPECT_EQ(BST_CHECKED, ReadControl(m_sheet, IDC_OPTION_UPDATE).checked);
  EXPECT_TRUE(ReadControl(m_sheet, IDC_OPTION_SYSTEM_WIZARD).visible);
  ASSERT_TRUE(Click(FindControl(m_sheet, IDC_OPTION_DRIVER_PRINTER)));
  ASSERT_TRUE(Press(EWizardButton::kNext));
  ASSERT_TRUE(OnPage(IDC_PRINTER_NAME, L"printer"));
  EXPECT_EQ(L"VYX - Q5", Text(IDC_PRINTER_NAME));
  EXPECT_TRUE(ReadControl(m_sheet, IDC_MAKE_DEFAULT).visible);
  EXPECT_FALSE(ReadControl(m_sheet, IDC_PRINTER_LIST).visible);
  EXPECT_FALSE(ReadComboBox(FindControl(m_sheet, IDC_PORT_LIST)).entries.empty());
  ASSERT_TRUE(Press(EWizardButton::kBack));
  ASSERT_TRUE(OnPage(IDC_OPTION_UPDATE, L"driver-printer-again"));

  // Back to the start and forward again: the pages visited before show Dutch now.
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(Press(EWizardButton::kBack));
  ASSERT_TRUE(OnPage(IDC_WELCOME_PICTURE, L"welcome-dutch"));
  EXPECT_EQ(L"Welkom", Caption());
  ASSERT_TRUE(Press(EWizardButton::kNext));
  ASSERT_TRUE(OnPage(IDC_LANGUAGE_LIST, L"language-again"));
  EXPECT_EQ(2, ReadListBox(FindControl(m_sheet, IDC_LANGUAGE_LIST)).selected);

  ASSERT_TRUE(PressWizardButton(m_sheet, EWizardButton::kCancel));
  EXPECT_EQ(1u, m_setup.WaitForExit(10000));
}

TEST_F(SetupWizard, RemovesAPrinterOfTheModelAndFinishes) {
  CTestPrinterQueue queue(L"VYX - Q5 wizard", L"FILE:", L"VYX - Q5");
  ASSERT_TRUE(queue.Ok());
  // The queue was added after the wizard started; the action page asks the spooler when Uninstall is chosen.
  ASSERT_TRUE(OnPage(IDC_WELCOME_PICTURE, L"uninstall-welcome"));
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(Press(EWizardButton::kNext));
  ASSERT_TRUE(OnPage(IDC_INSTALL, L"uninstall-action"));
  ASSERT_TRUE(Click(FindControl(m_sheet, IDC_UNINSTALL)));
  ASSERT_TRUE(WaitUntil([&] { return ReadControl(m_sheet, IDC_UNINSTALL).checked == BST_CHECKED; }));
  ASSERT_TRUE(Press(EWizardButton::kNext));

  // Past the licence straight to the removal options; Back returns to the action page.
  ASSERT_TRUE(OnPage(IDC_OPTION_DRIVER_PRINTER, L"uninstall-options"));
  EXPECT_EQ(L"Remove driver or printer", Caption());
  EXPECT_EQ(L"Remove a printer only", Text(IDC_OPTION_DRIVER_PRINTER));
  EXPECT_EQ(BST_CHECKED, ReadControl(m_sheet, IDC_OPTION_DRIVER_PRINTER).checked);
  EXPECT_FALSE(ReadControl(m_sheet, IDC_OPTION_UPDATE).visible);
  EXPECT_FALSE(ReadControl(m_sheet, IDC_OPTION_SYSTEM_WIZARD).visible);
  ASSERT_TRUE(Press(EWizardButton::kBack));
  ASSERT_TRUE(OnPage(IDC_UNINSTALL, L"uninstall-action-again"));
  ASSERT_TRUE(Press(EWizardButton::kNext));
  ASSERT_TRUE(OnPage(IDC_OPTION_DRIVER_PRINTER, L"uninstall-options-again"));
  ASSERT_TRUE(Press(EWizardButton::kNext));

  // The printers of the model to choose from, with the chosen one's port.
  ASSERT_TRUE(OnPage(IDC_PRINTER_LIST, L"uninstall-printer"));
  const CChoiceList printers = ReadComboBox(FindControl(m_sheet, IDC_PRINTER_LIST));
  EXPECT_EQ(std::vector<std::wstring>{L"VYX - Q5 wizard"}, printers.entries);
  EXPECT_EQ(0, printers.selected);
  EXPECT_FALSE(ReadControl(m_sheet, IDC_PRINTER_NAME).visible);
  EXPECT_FALSE(ReadControl(m_sheet, IDC_MAKE_DEFAULT).visible);
  ASSERT_TRUE(Press(EWizardButton::kNext));

  // The result page: Done only, no Cancel; Done ends the program.
  ASSERT_TRUE(OnPage(IDC_RESULT_TEXT, L"result"));
  EXPECT_EQ(L"Setup has finished. Click Done to close the wizard.", Text(IDC_RESULT_TEXT));
  EXPECT_FALSE(ReadControl(GetDlgItem(m_sheet, IDCANCEL)).visible);
  EXPECT_EQ(L"Done", ReadControl(GetDlgItem(m_sheet, 0x3025)).text);  // the Finish button
  HANDLE gone = nullptr;
  EXPECT_FALSE(OpenPrinterW(const_cast<wchar_t*>(L"VYX - Q5 wizard"), &gone, nullptr));
  ASSERT_TRUE(PressWizardButton(m_sheet, EWizardButton::kFinish));
  EXPECT_EQ(0u, m_setup.WaitForExit(10000));
}

TEST_F(SetupWizard, APrinterNameThatExistsIsRefusedOnThePrinterPage) {
  CTestPrinterQueue queue(L"VYX - Q5", L"FILE:", L"VYX - Q5");
  ASSERT_TRUE(queue.Ok());
  ASSERT_TRUE(OnPage(IDC_WELCOME_PICTURE, L"exists-welcome"));
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(Press(EWizardButton::kNext));
  ASSERT_TRUE(OnPage(IDC_INSTALL, L"exists-action"));
  ASSERT_TRUE(Press(EWizardButton::kNext));
  ASSERT_TRUE(OnPage(IDC_LICENCE_TEXT, L"exists-licence"));
  ASSERT_TRUE(Click(FindControl(m_sheet, IDC_LICENCE_ACCEPT)));
  ASSERT_TRUE(WaitUntil([&] { return WaitForIdle(m_sheet) && ButtonEnabled(0x3024); }));
  ASSERT_TRUE(Press(EWizardButton::kNext));
  ASSERT_TRUE(OnPage(IDC_OPTION_DRIVER_PRINTER, L"exists-options"));
  ASSERT_TRUE(Click(FindControl(m_sheet, IDC_OPTION_DRIVER_PRINTER)));
  ASSERT_TRUE(Press(EWizardButton::kNext));

  // The preset name is the queue's: Next explains and stays, and nothing is installed or added.
  ASSERT_TRUE(OnPage(IDC_PRINTER_NAME, L"exists-printer"));
  ASSERT_EQ(L"VYX - Q5", Text(IDC_PRINTER_NAME));
  const DWORD printers_before = LocalPrinterCount();
  ASSERT_TRUE(PressWizardButton(m_sheet, EWizardButton::kNext));
  EXPECT_EQ(L"A printer with this name already exists. Please choose another name.",
            Answer(L"VYX-Q5 Setup", L"OK", L"exists-message"));
  ASSERT_TRUE(OnPage(IDC_PRINTER_NAME, L"exists-printer-again"));
  EXPECT_EQ(L"VYX - Q5", Text(IDC_PRINTER_NAME));
  EXPECT_EQ(printers_before, LocalPrinterCount());

  ASSERT_TRUE(PressWizardButton(m_sheet, EWizardButton::kCancel));
  EXPECT_EQ(1u, m_setup.WaitForExit(10000));
}

}  // namespace
}  // namespace vyx::testing
