// The UI driver against the fixture dialog in its own process: what the driver reads must be what the fixture
// shows, and each action must reach the fixture as the notification a user's action gives (the fixture logs them).
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "tests/standins/ui_fixture_ids.h"
#include "tests/support/ui_driver_win32.h"
#include "tests/win32/test_paths.h"

namespace vyx::testing {
namespace {

struct UiDriver : ::testing::Test {
  std::wstring log;
  CTestProcess fixture;
  HWND dialog = nullptr;

  void SetUp() override {
    static int run = 0;
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    log = std::wstring(temp) + L"vyx_ui_fixture_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
          std::to_wstring(++run) + L".log";
    ASSERT_TRUE(fixture.Start(L"\"" + ProgramDirectory() + L"vyx_ui_fixture.exe\" \"" + log + L"\""));
    dialog = WaitForTopWindow(fixture.Id(), {L"UI Fixture", L"#32770"});
    ASSERT_NE(nullptr, dialog);
  }

  void TearDown() override {
    fixture.WaitForExit(0);
    DeleteFileW(log.c_str());
  }

  HWND Control(int id) const { return FindControl(dialog, id); }

  std::vector<std::string> Lines() const {
    std::ifstream in(log.c_str());
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }

  // Waits until the fixture logged `line`; on failure shows what it did log.
  ::testing::AssertionResult Logged(const std::string& line) const {
    if (WaitUntil([&] {
          const std::vector<std::string> lines = Lines();
          return std::find(lines.begin(), lines.end(), line) != lines.end();
        }))
      return ::testing::AssertionSuccess();
    std::string all;
    for (const std::string& l : Lines()) all += "\n  " + l;
    return ::testing::AssertionFailure() << "\"" << line << "\" not logged; the log:" << all;
  }
};

TEST_F(UiDriver, ReadsEveryKindOfControl) {
  struct CExpected {
    int id;
    const wchar_t* className;
    const wchar_t* text;
    bool enabled;
    int checked;
  };
  const CExpected expected[] = {
      {IDC_NAME, L"Edit", L"", true, -1},
      {IDC_APPLY, L"Button", L"&Apply", true, -1},
      {IDC_LAMINATE, L"Button", L"&Laminate", true, BST_UNCHECKED},
      {IDC_FAST, L"Button", L"&Fast", true, BST_CHECKED},
      {IDC_BEST, L"Button", L"&Best", true, BST_UNCHECKED},
      {IDC_NEVER, L"Button", L"Never", false, -1},
      {IDC_COPIES, L"Edit", L"3", true, -1},
  };
  for (const CExpected& e : expected) {
    SCOPED_TRACE(e.id);
    const CControlState state = ReadControl(dialog, e.id);
    EXPECT_TRUE(state.exists && state.visible);
    EXPECT_EQ(e.className, state.className);
    EXPECT_EQ(e.text, state.text);
    EXPECT_EQ(e.enabled, state.enabled);
    EXPECT_EQ(e.checked, state.checked);
  }
  EXPECT_FALSE(ReadControl(dialog, 4242).exists);

  const CChoiceList colours = ReadComboBox(Control(IDC_COLOUR));
  EXPECT_EQ((std::vector<std::wstring>{L"Black", L"Red", L"Blue"}), colours.entries);
  EXPECT_EQ(0, colours.selected);
  const CChoiceList sizes = ReadListBox(Control(IDC_SIZES));
  EXPECT_EQ((std::vector<std::wstring>{L"Small", L"Medium", L"Large"}), sizes.entries);
  EXPECT_EQ(-1, sizes.selected);

  const CRangeValue copies = ReadUpDown(Control(IDC_COPIES_SPIN));
  EXPECT_TRUE(copies.ok);
  EXPECT_EQ(3, copies.value);
  EXPECT_EQ(0, copies.low);
  EXPECT_EQ(10, copies.high);
  const CRangeValue progress = ReadProgress(Control(IDC_PROGRESS));
  EXPECT_TRUE(progress.ok);
  EXPECT_EQ(50, progress.value);
  EXPECT_EQ(200, progress.high);

  EXPECT_EQ((std::vector<std::wstring>{L"Name", L"Size", L"Colour"}), ReadListViewColumns(Control(IDC_JOBS)));
  const std::vector<CListViewRow> rows = ReadListViewRows(Control(IDC_JOBS));
  ASSERT_EQ(3u, rows.size());
  EXPECT_EQ((std::vector<std::wstring>{L"Beta", L"20 mm", L"Red"}), rows[1].cells);
  EXPECT_EQ((std::vector<std::wstring>{L"Gamma", L"30 mm", L"Blue"}), rows[2].cells);
  EXPECT_EQ((std::vector<int>{0, 1, 0}), (std::vector<int>{rows[0].checked, rows[1].checked, rows[2].checked}));
  EXPECT_EQ((std::vector<int>{0, 1, 1}), (std::vector<int>{rows[0].image, rows[1].image, rows[2].image}));
  EXPECT_FALSE(rows[0].selected || rows[1].selected || rows[2].selected);

  // What a user sees of the dialog, for people to look at: a PNG of the window's size.
  const std::wstring shot = ScreenshotPath("ui-fixture");
  ASSERT_TRUE(SaveWindowPng(dialog, shot));
  std::ifstream in(shot.c_str(), std::ios::binary);
  std::string head(24, '\0');
  in.read(head.data(), 24);
  const auto big32 = [&head](int at) {
    return (static_cast<unsigned char>(head[at]) << 24) | (static_cast<unsigned char>(head[at + 1]) << 16) |
           (static_cast<unsigned char>(head[at + 2]) << 8) | static_cast<unsigned char>(head[at + 3]);
  };
  RECT r{};
  GetWindowRect(dialog, &r);
  EXPECT_EQ(0u, head.find("\x89PNG\r\n\x1a\n"));
  EXPECT_EQ(r.right - r.left, big32(16));
  EXPECT_EQ(r.bottom - r.top, big32(20));
}

TEST_F(UiDriver, TypingNotifiesAndLeavingTheFieldValidatesIt) {
  HWND name = Control(IDC_NAME);
  ASSERT_TRUE(SetEditText(name, L"Label 1"));
  EXPECT_TRUE(ReadControl(name).focused);
  ASSERT_TRUE(PressKey(name, VK_BACK));
  ASSERT_TRUE(Click(dialog, IDC_LAMINATE));  // takes the focus, so the Delete below first selects the whole name
  ASSERT_TRUE(PressKey(name, VK_DELETE));

  // Leaving the field with a bad name: the dialog says so in a message box, which is read and answered.
  ASSERT_TRUE(SetEditText(name, L"bad", true));
  EXPECT_TRUE(Logged("name-killfocus bad"));
  const HWND box = WaitForMessageBox(fixture.Id(), L"Invalid name");
  ASSERT_NE(nullptr, box);
  EXPECT_EQ("caption=Invalid name | text=A name may not be \"bad\". | buttons=OK", FormatDialog(ReadDialog(box)));
  EXPECT_TRUE(PressDialogButton(box, L"ok"));
  EXPECT_TRUE(Logged("name-rejected"));
  // Every action was handled before the next began: the notifications come in the order of the actions.
  EXPECT_EQ(
      (std::vector<std::string>{"name-change Label 1", "name-change Label ", "name-killfocus Label ", "laminate 1",
                                "name-change ", "name-change bad", "name-killfocus bad", "name-rejected"}),
      Lines());
}

TEST_F(UiDriver, ButtonsAndChoicesNotifyTheOwner) {
  EXPECT_FALSE(Click(dialog, IDC_NEVER));  // disabled: a user could not click it either
  ASSERT_TRUE(Click(dialog, IDC_LAMINATE));
  EXPECT_TRUE(Logged("laminate 1"));
  ASSERT_TRUE(Click(dialog, IDC_BEST));
  EXPECT_TRUE(Logged("quality best"));
  EXPECT_EQ(BST_UNCHECKED, ReadControl(dialog, IDC_FAST).checked);
  EXPECT_EQ(BST_CHECKED, ReadControl(dialog, IDC_BEST).checked);

  ASSERT_TRUE(SelectComboEntry(Control(IDC_COLOUR), L"Blue"));
  EXPECT_TRUE(Logged("colour 2"));
  EXPECT_FALSE(SelectComboEntry(Control(IDC_COLOUR), L"Green"));
  ASSERT_TRUE(SelectListBoxEntry(Control(IDC_SIZES), 1));
  EXPECT_TRUE(Logged("size 1"));
  EXPECT_EQ(1, ReadListBox(Control(IDC_SIZES)).selected);

  ASSERT_TRUE(StepUpDown(Control(IDC_COPIES_SPIN), 2));
  EXPECT_TRUE(Logged("copies 5"));
  ASSERT_TRUE(StepUpDown(Control(IDC_COPIES_SPIN), -1));
  EXPECT_TRUE(Logged("copies 4"));
  EXPECT_EQ(4, ReadUpDown(Control(IDC_COPIES_SPIN)).value);
}

TEST_F(UiDriver, ListViewCellsCheckBoxesAndKeys) {
  HWND jobs = Control(IDC_JOBS);
  ASSERT_TRUE(ClickListViewCell(jobs, 2, 1));
  EXPECT_TRUE(Logged("jobs-click 2 1"));
  EXPECT_TRUE(ReadListViewRows(jobs)[2].selected);
  ASSERT_TRUE(ClickListViewCell(jobs, 0, 2, EMouseClick::kRight));
  EXPECT_TRUE(Logged("jobs-rclick 0 2"));
  ASSERT_TRUE(ClickListViewCell(jobs, 1, 0, EMouseClick::kDouble));
  EXPECT_TRUE(Logged("jobs-dblclick 1 0"));
  EXPECT_FALSE(ClickListViewCell(jobs, 3, 0));
  EXPECT_FALSE(ClickListViewCell(jobs, 0, 3));

  ASSERT_TRUE(ClickListViewCheckBox(jobs, 0));
  EXPECT_TRUE(Logged("jobs-check 0 1"));
  EXPECT_EQ(1, ReadListViewRows(jobs)[0].checked);
  ASSERT_TRUE(PressKey(jobs, VK_DELETE));
  EXPECT_TRUE(Logged("jobs-key 46"));
}

TEST_F(UiDriver, PopupMenuEntriesAreChosenByTextOrId) {
  const DWORD pid = fixture.Id();
  ASSERT_TRUE(Click(dialog, IDC_MENU));
  const std::vector<CMenuEntry> entries = ReadPopupMenu(pid);
  ASSERT_EQ(5u, entries.size());
  EXPECT_EQ(L"&Open", entries[0].text);
  EXPECT_TRUE(entries[1].separator);
  EXPECT_EQ(L"&Print\tCtrl+P", entries[2].text);
  EXPECT_TRUE(entries[2].checked && entries[2].enabled);
  EXPECT_EQ(IDM_GRAYED, static_cast<int>(entries[3].id));
  EXPECT_FALSE(entries[3].enabled);
  EXPECT_TRUE(SaveWindowPng(FindTopWindows(pid, {L"", L"#32768"}).at(0), ScreenshotPath("ui-fixture-menu")));
  ASSERT_TRUE(ChoosePopupMenuEntry(pid, L"print"));
  EXPECT_TRUE(Logged("menu 502"));

  ASSERT_TRUE(Click(dialog, IDC_MENU));
  ASSERT_TRUE(ChoosePopupMenuEntry(pid, IDM_DELETE));
  EXPECT_TRUE(Logged("menu 504"));

  ASSERT_TRUE(Click(dialog, IDC_MENU));
  EXPECT_FALSE(ChoosePopupMenuEntry(pid, IDM_GRAYED));
  ASSERT_TRUE(CancelPopupMenu(pid));
  EXPECT_TRUE(Logged("menu 0"));
}

TEST_F(UiDriver, MessageBoxIsReadAndAnswered) {
  ASSERT_TRUE(Click(dialog, IDC_ASK));
  const HWND box = WaitForMessageBox(fixture.Id(), L"UI Fixture question");
  ASSERT_NE(nullptr, box);
  EXPECT_FALSE(Click(dialog, IDC_APPLY));  // the dialog waits for the answer
  EXPECT_EQ("caption=UI Fixture question | text=Keep the changes? | buttons=Yes,No,Cancel",
            FormatDialog(ReadDialog(box)));
  EXPECT_TRUE(SaveWindowPng(box, ScreenshotPath("ui-fixture-question")));
  EXPECT_FALSE(PressDialogButton(box, L"Maybe"));
  ASSERT_TRUE(PressDialogButton(box, L"No"));
  EXPECT_TRUE(Logged("ask 7"));
}

TEST_F(UiDriver, WizardGoesBackAndForthAndFinishes) {
  ASSERT_TRUE(Click(dialog, IDC_WIZARD));
  // In wizard mode the caption is the page's title.
  const HWND sheet = WaitForTopWindow(fixture.Id(), {L"", L"#32770", {dialog}});
  ASSERT_NE(nullptr, sheet);
  EXPECT_EQ(L"Licence", ReadControl(sheet).text);
  EXPECT_FALSE(PressWizardButton(sheet, EWizardButton::kNext));  // not before the licence is accepted
  ASSERT_TRUE(Click(sheet, IDC_ACCEPT));
  ASSERT_TRUE(PressWizardButton(sheet, EWizardButton::kNext));
  EXPECT_TRUE(Logged("wizard-next"));
  ASSERT_TRUE(SetEditText(WaitForControl(sheet, IDC_LABEL), L"Tape"));
  EXPECT_TRUE(SaveWindowPng(sheet, ScreenshotPath("ui-fixture-wizard")));
  ASSERT_TRUE(PressWizardButton(sheet, EWizardButton::kBack));
  EXPECT_TRUE(Logged("wizard-back"));
  EXPECT_EQ(BST_CHECKED, ReadControl(sheet, IDC_ACCEPT).checked);
  ASSERT_TRUE(PressWizardButton(sheet, EWizardButton::kNext));
  ASSERT_TRUE(PressWizardButton(sheet, EWizardButton::kFinish));
  EXPECT_TRUE(Logged("wizard-finish Tape"));
  EXPECT_TRUE(WaitForWindowGone(sheet));
  EXPECT_TRUE(Logged("wizard 1"));
}

TEST_F(UiDriver, EnterPressesTheDefaultButton) {
  ASSERT_TRUE(SetEditText(Control(IDC_NAME), L"Done"));
  ASSERT_TRUE(PressKey(Control(IDC_NAME), VK_RETURN));
  EXPECT_EQ(static_cast<DWORD>(IDOK), fixture.WaitForExit());
  EXPECT_TRUE(Logged("ok"));
}

}  // namespace
}  // namespace vyx::testing
