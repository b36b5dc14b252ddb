// The main window end to end under Wine: the driver simulator starts VyxQ5Manager with `Mg` on a queue whose port is
// a file and whose printer data answers the materials query; the UI driver reads the window by control id, changes
// copies, the outline and a row's ribbon through its pop-up menu, presses PRINT and then Reset all jobs. The window
// must show what the window model shows for the same job and actions, and the port file must hold the stream the
// model writes. The advanced settings dialog is driven from the running window the same way.
#include <windows.h>

#include <commctrl.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>
#include "tests/win32/test_paths.h"

#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/ini_file.h"
#include "common/language_win32.h"
#include "common/settings_win32.h"
#include "manager/app/advanced_settings.h"
#include "manager/app/advanced_settings_win32.h"
#include "manager/app/catalogue_win32.h"
#include "manager/app/main_window_model.h"
#include "manager/app/printer_materials.h"
#include "manager/app/resource.h"
#include "manager/output/silent_print.h"
#include "tests/support/file_bytes.h"
#include "tests/support/job_builder.h"
#include "tests/support/memory_spooler.h"
#include "tests/support/ui_driver_win32.h"
#include "tests/win32/test_printer.h"

namespace vyx {
namespace {

using vyx::testing::ReadFileBytes;
using vyx::testing::WriteFileBytes;

namespace jb = vyx::testing;

constexpr wchar_t kQueue[] = L"VYX main window";
constexpr wchar_t kOptions[] = L"LnMgSvBo0;59;59;24;0;OpAmLrAeAcCtPlAoAhNt";
constexpr char kLoadedMaterials[] = "3,1500\r\n5,2000";
constexpr int kEnglish = 1000;

std::string Solid(int ribbon, const char* name, int x, int y, int w, int h) {
  return jb::Field(static_cast<unsigned>(ribbon), name, x, y,
                   jb::Bitmap::FromPredicate(w, h, [](int px, int py) { return (px / 4 + py / 4) % 2 == 0; }));
}

// Black, red and yellow on one label; red prints with its own ribbon, so the list has three colour rows.
std::string ThreeColours() {
  return jb::Header(400, 300) + Solid(0, "BLACK", 20, 20, 120, 60) + Solid(5, "RED", 160, 20, 60, 60) +
         Solid(4, "YELLOW", 240, 20, 40, 40) + jb::PageEnd(1, 1) + jb::Trailer();
}

// The process `parent` started from `exe`, once it runs (0 when it does not within the time).
DWORD WaitForChildProcess(DWORD parent, const wchar_t* exe, DWORD timeoutMs = jb::kUiWaitMs) {
  DWORD found = 0;
  jb::WaitUntil(
      [&] {
        HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        if (snapshot == INVALID_HANDLE_VALUE) return false;
        PROCESSENTRY32W entry{};
        entry.dwSize = sizeof entry;
        for (BOOL more = Process32FirstW(snapshot, &entry); more && !found; more = Process32NextW(snapshot, &entry))
          if (entry.th32ParentProcessID == parent && _wcsicmp(entry.szExeFile, exe) == 0) found = entry.th32ProcessID;
        CloseHandle(snapshot);
        return found != 0;
      },
      timeoutMs);
  return found;
}

// The manager's settings for the run: English texts, millimetres. The values are removed again at the end.
class CManagerSettings {
 public:
  CManagerSettings() {
    m_ok = WriteSettingValue(ThisProgramSettings().write_hive, ESetting::kLangBase, kEnglish) &&
           WriteSettingValue(ThisProgramSettings().write_hive, ESetting::kUnitCode, 0);
  }
  ~CManagerSettings() {
    for (const wchar_t* value : {L"LangBaseID", L"UnitCode"})
      RegDeleteKeyValueW(HiveKey(ThisProgramSettings().write_hive), kSettingsKeyPath, value);
  }
  CManagerSettings(const CManagerSettings&) = delete;
  CManagerSettings& operator=(const CManagerSettings&) = delete;
  bool Ok() const { return m_ok; }

 private:
  bool m_ok = false;
};

// The job as start-up prepares it, opened in the window model with the manager's language and unit.
struct CModelRun {
  CLanguageHolder language;
  CIniFile ini;
  CCatalogue catalogue;
  CQzplJobData job;
  COptions options;
  std::unique_ptr<CMainWindowModel> model;
  jb::CMemorySpoolerCalls spooler;

  void Open(const std::string& text, const std::string& catalogueText) {
    ASSERT_TRUE(language.Initialise());
    ASSERT_EQ(kEnglish, language.Base());
    CNullDebugOutput debug;
    ASSERT_TRUE(ParseOptions(kOptions, options, debug));
    ini.Parse(catalogueText);
    catalogue.Read(ini, options.black_punches != 0, language.Text());
    job.jobTag = "42_sim";
    job.SetText(text.data(), text.size());
    ASSERT_GT(job.ParseJob(), 0);
    PrepareParsedJob(job, catalogue, options);
    model = std::make_unique<CMainWindowModel>(job, catalogue, language.Text(), options, 0);
    model->Open();
  }

  // PRINT as the window does it, into memory: the bytes a file port holds afterwards.
  // With print to file the save dialog's offered name is kept.
  std::string Print() {
    CRecordingMessageSink messages;
    CPrintChannel channel(spooler, messages, L"42_sim");
    CWindowPrintSeams seams;
    seams.printerName = kQueue;
    seams.jobId = 42;
    seams.storedDarkness = ReadDarkness();
    seams.chooseFile = [](const std::wstring& offered) { return std::optional<std::wstring>(offered); };
    EXPECT_TRUE(model->Print(channel, seams));
    EXPECT_TRUE(messages.shown.empty());
    return spooler.bytes;
  }
};

// What the window shows differs from the model's view: one line per difference.
std::vector<std::string> Differences(HWND window, const CWindowView& view) {
  std::vector<std::string> out;
  for (const auto& [id, expected] : view.controls) {
    const jb::CControlState shown = jb::ReadControl(window, id);
    const std::string at = std::to_string(id) + ": ";
    if (!shown.exists) {
      out.push_back(at + "missing");
      continue;
    }
    if (expected.text && *expected.text != shown.text)
      out.push_back(at + "text '" + jb::Utf8(shown.text) + "', expected '" + jb::Utf8(*expected.text) + "'");
    if (expected.enabled != shown.enabled) out.push_back(at + "enabled " + std::to_string(shown.enabled));
    if (expected.visible != shown.visible) out.push_back(at + "visible " + std::to_string(shown.visible));
    if (shown.checked >= 0 && expected.checked != (shown.checked == BST_CHECKED))
      out.push_back(at + "checked " + std::to_string(shown.checked));
  }
  const std::vector<jb::CListViewRow> rows = jb::ReadListViewRows(jb::FindControl(window, IDC_JOB_LIST));
  if (rows.size() != view.rows.size()) {
    out.push_back("rows " + std::to_string(rows.size()) + ", expected " + std::to_string(view.rows.size()));
    return out;
  }
  for (std::size_t r = 0; r < rows.size(); ++r) {
    const CListRowView& expected = view.rows[r];
    for (std::size_t c = 0; c < expected.cells.size() && c < rows[r].cells.size(); ++c)
      if (rows[r].cells[c] != expected.cells[c].text)
        out.push_back("row " + std::to_string(r) + " column " + std::to_string(c + 1) + " '" +
                      jb::Utf8(rows[r].cells[c]) + "', expected '" + jb::Utf8(expected.cells[c].text) + "'");
    if (expected.hasCheckBox && rows[r].checked != static_cast<int>(expected.checked))
      out.push_back("row " + std::to_string(r) + " check box " + std::to_string(rows[r].checked));
  }
  return out;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string s;
  for (const std::string& line : lines) s += line + "\n";
  return s;
}

// Message boxes the manager shows besides its main window, answered with their first button and logged.
std::vector<std::string> AnswerMessageBoxes(DWORD pid, HWND mainWindow) {
  std::vector<std::string> shown;
  for (HWND box : jb::FindTopWindows(pid, {L"", L"#32770", {mainWindow}})) {
    const jb::CDialogSummary summary = jb::ReadDialog(box);
    shown.push_back(jb::FormatDialog(summary));
    if (!summary.buttons.empty()) jb::PressDialogButton(box, summary.buttons.front().label);
    jb::WaitForWindowGone(box);
  }
  return shown;
}

// Ends a process that a failed check left running, so that no test waits on it.
void EndIfRunning(DWORD pid) {
  HANDLE process = pid ? OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid) : nullptr;
  if (!process) return;
  if (WaitForSingleObject(process, 0) == WAIT_TIMEOUT) TerminateProcess(process, 0xDEAD);
  WaitForSingleObject(process, 5000);
  CloseHandle(process);
}

struct MainWindowE2E : ::testing::Test {
  std::wstring port, catalogue, jobFile;
  std::string catalogueText;

  void SetUp() override {
    port = jb::TempPath(L"vyx_main_window_port.prn");
    jobFile = jb::TempPath(L"vyx_main_window_job.zpl");
    DeleteFileW(port.c_str());
    catalogue = CataloguePath();
    ASSERT_FALSE(catalogue.empty());
    const std::wstring folder = catalogue.substr(0, catalogue.find_last_of(L'\\'));
    CreateDirectoryW(folder.c_str(), nullptr);
    catalogueText = ReadFileBytes(jb::WinePath(std::string(VYX_SOURCE_DIR) + "/resources/VyxQ5Colors.ini"));
    ASSERT_FALSE(catalogueText.empty());
    WriteFileBytes(catalogue, catalogueText);
    // The ribbon icons the catalogue names, beside it as the driver installs them.
    for (const wchar_t* colour : {L"black", L"red", L"yellow", L"white"}) {
      const std::wstring name = std::wstring(L"ribbon_") + colour + L".ico";
      CopyFileW(
          jb::WinePath(std::string(VYX_SOURCE_DIR) + "/resources/ribbon_icons/" + std::string(name.begin(), name.end()))
              .c_str(),
          (folder + L"\\" + name).c_str(), FALSE);
    }
  }

  void TearDown() override {
    EndIfRunning(pid);
    if (!catalogue.empty()) DeleteFileW(catalogue.c_str());
    DeleteFileW(port.c_str());
    DeleteFileW(jobFile.c_str());
  }

  // Opens the job in the model, has the driver simulator start the manager on it and waits for its main window
  // and the first status reply on its materials lines.
  void Start(jb::CTestPrinterQueue& queue, CModelRun& expected) {
    ASSERT_TRUE(queue.SetData(kMaterialsQuery, kLoadedMaterials, sizeof kLoadedMaterials - 1));
    const std::string text = ThreeColours();
    WriteFileBytes(jobFile, text);
    expected.Open(text, catalogueText);
    ASSERT_FALSE(HasFailure());
    expected.model->OnStatusReply(kLoadedMaterials, sizeof kLoadedMaterials - 1);
    expected.model->TakeRepaint();

    ASSERT_TRUE(sim.Start(L"\"" + jb::ProgramDirectory() + L"vyx_driver_sim.exe\" --job \"" + jobFile +
                          L"\" --printer \"" + kQueue + L"\" --options " + kOptions + L" --timeout 100"));
    pid = WaitForChildProcess(sim.Id(), L"VyxQ5Manager.exe");
    ASSERT_NE(0u, pid);
    jb::WaitUntil(
        [&] {
          // The progress window of the start-up is a dialog too.
          for (HWND top : jb::FindTopWindows(pid, {L"", L"#32770"}))
            if (jb::ReadControl(top, IDC_JOB_LIST).className == WC_LISTVIEWW) window = top;
          return window != nullptr;
        },
        30000);
    ASSERT_NE(nullptr, window) << Joined(AnswerMessageBoxes(pid, nullptr));
    const std::wstring tapeLine = *expected.model->View().At(IDC_TAPE_LINE).text;
    EXPECT_TRUE(jb::WaitUntil([&] { return jb::ReadControl(window, IDC_TAPE_LINE).text == tapeLine; }, 10000))
        << "'" << jb::Utf8(jb::ReadControl(window, IDC_TAPE_LINE).text) << "', expected '" << jb::Utf8(tapeLine) << "'";
    ASSERT_TRUE(jb::WaitForIdle(window)) << Joined(AnswerMessageBoxes(pid, window));
  }

  // Done closes the window and ends the manager.
  void Close() {
    EXPECT_EQ("", Joined(AnswerMessageBoxes(pid, window)));
    ASSERT_TRUE(jb::Click(window, IDOK));
    EXPECT_EQ(0u, sim.WaitForExit(20000));
  }

  jb::CTestProcess sim;
  DWORD pid = 0;
  HWND window = nullptr;
};

TEST_F(MainWindowE2E, OpensLikeTheModelPrintsItsStreamAndResets) {
  CManagerSettings settings;
  ASSERT_TRUE(settings.Ok());
  jb::CTestPrinterQueue queue(kQueue, port);
  ASSERT_TRUE(queue.Ok());
  CModelRun expected;
  Start(queue, expected);
  ASSERT_FALSE(HasFailure());

  // Opening: every control as the model shows it.
  EXPECT_EQ("", Joined(Differences(window, expected.model->View())));
  EXPECT_EQ(L"PRINT", jb::ReadControl(window, IDC_PRINT).text);  // the English library's text
  ASSERT_EQ(4u, expected.model->View().rows.size());             // three colours and the outline's cut
  EXPECT_EQ(31, expected.model->View().rows.back().itemData);
  EXPECT_TRUE(jb::SaveWindowPng(window, jb::ScreenshotPath("main_window_opened")));

  // Three copies and the outline switched over.
  const bool outline = jb::ReadControl(window, IDC_OUTLINE).checked == BST_CHECKED;
  ASSERT_TRUE(jb::SetEditText(jb::FindControl(window, IDC_COPIES), L"3"));
  ASSERT_TRUE(jb::Click(window, IDC_OUTLINE));
  expected.model->OnEditChanged(IDC_COPIES, L"3");
  expected.model->OnClicked(IDC_OUTLINE, !outline);
  ASSERT_TRUE(jb::WaitForIdle(window));
  EXPECT_EQ("", Joined(Differences(window, expected.model->View())));

  // The ribbon pop-up of the yellow row lists every ribbon colour, its own marked; red prints it from now on.
  ASSERT_TRUE(expected.model->OffersRibbonMenu(0));
  const std::vector<CRibbonMenuEntry> offered = expected.model->RibbonMenu(0);
  ASSERT_TRUE(jb::ClickListViewCell(jb::FindControl(window, IDC_JOB_LIST), 0, kColumnRibbonChoice - 1));
  const std::vector<jb::CMenuEntry> menu = jb::ReadPopupMenu(pid);
  ASSERT_EQ(offered.size(), menu.size());
  std::size_t red = menu.size();
  for (std::size_t i = 0; i < menu.size(); ++i) {
    EXPECT_EQ(jb::Utf8(offered[i].text), jb::Utf8(menu[i].text));
    EXPECT_EQ(offered[i].marked, menu[i].checked) << i;
    if (offered[i].text == L"Red") red = i;
  }
  ASSERT_LT(red, menu.size());
  ASSERT_TRUE(jb::ChoosePopupMenuEntry(pid, menu[red].id));
  expected.model->OnRibbonChosen(0, offered[red].choice);
  ASSERT_TRUE(jb::WaitForIdle(window));
  EXPECT_EQ("", Joined(Differences(window, expected.model->View())));

  // PRINT: the writing runs off the window's thread; Reset all jobs takes PRINT's place when it is done.
  const std::string stream = expected.Print();
  EXPECT_EQ(1u, expected.spooler.starts.size());
  ASSERT_TRUE(jb::Click(window, IDC_PRINT));
  EXPECT_TRUE(jb::WaitUntil([&] { return jb::ReadControl(window, IDC_RESET_JOBS).enabled; }, 20000))
      << Joined(AnswerMessageBoxes(pid, window));
  ASSERT_TRUE(jb::WaitForIdle(window));
  EXPECT_EQ("", Joined(Differences(window, expected.model->View())));
  EXPECT_TRUE(jb::SaveWindowPng(window, jb::ScreenshotPath("main_window_printed")));

  ASSERT_TRUE(jb::Click(window, IDC_RESET_JOBS));
  expected.model->ResetAllJobs();
  ASSERT_TRUE(jb::WaitForIdle(window));
  EXPECT_EQ("", Joined(Differences(window, expected.model->View())));

  Close();

  // The spooler writes the port file when the document ends: it may come a moment after the manager closed it.
  EXPECT_TRUE(jb::WaitUntil([&] { return ReadFileBytes(port).size() >= stream.size(); }, 10000));
  const std::string printed = ReadFileBytes(port);
  EXPECT_EQ(stream.size(), printed.size());
  EXPECT_TRUE(stream == printed) << "first 300 bytes printed:\n" << printed.substr(0, 300);
}

// Every control of the advanced settings dialog as its model shows it: texts, both lists, check boxes, darkness.
std::vector<std::string> AdvancedDifferences(HWND dialog, const CAdvancedSettingsModel& model) {
  std::vector<std::string> out;
  for (const auto& [id, expected] : model.View().controls) {
    const jb::CControlState shown = id == kAdvancedCaptionId ? jb::ReadControl(dialog) : jb::ReadControl(dialog, id);
    if (!shown.exists) out.push_back(std::to_string(id) + ": missing");
    if (expected.text && *expected.text != shown.text)
      out.push_back(std::to_string(id) + ": text '" + jb::Utf8(shown.text) + "', expected '" +
                    jb::Utf8(*expected.text) + "'");
    if (shown.checked >= 0 && expected.checked != (shown.checked == BST_CHECKED))
      out.push_back(std::to_string(id) + ": checked " + std::to_string(shown.checked));
  }
  const struct {
    int id;
    const CChoiceView& expected;
  } lists[] = {{IDC_ADV_LANGUAGE_LIST, model.Languages()}, {IDC_ADV_UNIT_LIST, model.Units()}};
  for (const auto& list : lists) {
    const jb::CChoiceList shown = jb::ReadComboBox(jb::FindControl(dialog, list.id));
    if (shown.entries != list.expected.entries || shown.selected != list.expected.selected)
      out.push_back(std::to_string(list.id) + ": " + std::to_string(shown.entries.size()) + " entries, selected " +
                    std::to_string(shown.selected));
  }
  return out;
}

std::string PseudoRandomBytes(std::size_t size) {
  std::string bytes(size, '\0');
  std::uint32_t state = 12345;
  for (char& c : bytes) {
    state = state * 1103515245u + 12345u;
    c = static_cast<char>(state >> 24);
  }
  return bytes;
}

TEST_F(MainWindowE2E, AdvancedSettingsStoreTheChoicePrintToAFileAndSendFirmware) {
  CManagerSettings settings;
  ASSERT_TRUE(settings.Ok());
  jb::CTestPrinterQueue queue(kQueue, port);
  ASSERT_TRUE(queue.Ok());
  const std::wstring printFile = std::wstring(kPrintFileFolder) + L"\\PrintData_42.zpl";
  const std::wstring firmwareFile = jb::TempPath(L"vyx_firmware.zpl");
  DeleteFileW(printFile.c_str());
  CModelRun expected;
  Start(queue, expected);
  ASSERT_FALSE(HasFailure());

  // The dialog opens with the window's values and the manager's language and unit.
  ASSERT_TRUE(jb::Click(window, IDC_ADVANCED));
  HWND dialog = jb::WaitForTopWindow(pid, {L"Advanced settings", L"#32770"});
  ASSERT_NE(nullptr, dialog) << Joined(AnswerMessageBoxes(pid, window));
  CAdvancedSettingsModel advanced(expected.language.Text(), 0, expected.model->AdvancedValues());
  advanced.Open(ReadDriverVersion());
  ASSERT_EQ(3u, advanced.Languages().entries.size());  // German, English and Dutch
  EXPECT_EQ("", Joined(AdvancedDifferences(dialog, advanced)));
  EXPECT_TRUE(jb::SaveWindowPng(dialog, jb::ScreenshotPath("advanced_settings_opened")));

  // The spin stops at 30; 31 is refused with the range message and the dialog stays.
  HWND darkness = jb::FindControl(dialog, IDC_ADV_DARKNESS);
  ASSERT_TRUE(jb::SetEditText(darkness, L"30"));
  ASSERT_TRUE(jb::StepUpDown(jb::FindControl(dialog, IDC_ADV_DARKNESS_SPIN), 1));
  EXPECT_EQ(L"30", jb::ReadControl(darkness).text);
  ASSERT_TRUE(jb::SetEditText(darkness, L"31"));
  ASSERT_TRUE(jb::Click(dialog, IDOK));
  HWND range = jb::WaitForMessageBox(pid, kManagerWindowCaption);
  ASSERT_NE(nullptr, range);
  EXPECT_EQ("caption=VYX-Q5 Manager | text=Enter an integer between 0 and 30. | buttons=OK",
            jb::FormatDialog(jb::ReadDialog(range)));
  ASSERT_TRUE(jb::PressDialogButton(range, L"OK"));
  ASSERT_TRUE(jb::WaitForWindowGone(range));
  EXPECT_TRUE(IsWindow(dialog));

  // Dutch, inches, print to file, darkness 20: stored for the next start, taken by the window now.
  ASSERT_TRUE(jb::SelectComboEntry(jb::FindControl(dialog, IDC_ADV_LANGUAGE_LIST), 2));
  ASSERT_TRUE(jb::SelectComboEntry(jb::FindControl(dialog, IDC_ADV_UNIT_LIST), 1));
  ASSERT_TRUE(jb::Click(dialog, IDC_ADV_PRINT_TO_FILE));
  ASSERT_TRUE(jb::SetEditText(darkness, L"20"));
  ASSERT_TRUE(jb::Click(dialog, IDOK));
  ASSERT_TRUE(jb::WaitForWindowGone(dialog));
  EXPECT_EQ(2000, ReadLangBase(ThisProgramSettings().write_hive));
  EXPECT_EQ(1, ReadUnitCode(ThisProgramSettings().write_hive));
  CAdvancedSettingsValues chosen = expected.model->AdvancedValues();
  chosen.printToFile = true;
  chosen.darkness = 20;
  expected.model->ApplyAdvancedValues(chosen);

  // PRINT goes through the save dialog into the offered file.
  const std::string stream = expected.Print();
  EXPECT_EQ(printFile, expected.spooler.createdFile);
  ASSERT_TRUE(jb::Click(window, IDC_PRINT));
  HWND save = jb::WaitForTopWindow(pid, {L"", L"#32770", {window}});
  ASSERT_NE(nullptr, save);
  EXPECT_TRUE(jb::SaveWindowPng(save, jb::ScreenshotPath("print_to_file_save_dialog")));
  ASSERT_TRUE(jb::PressDialogButton(save, L"Save")) << jb::FormatDialog(jb::ReadDialog(save));
  EXPECT_TRUE(jb::WaitUntil([&] { return jb::ReadControl(window, IDC_RESET_JOBS).enabled; }, 20000))
      << Joined(AnswerMessageBoxes(pid, window));
  EXPECT_TRUE(stream == ReadFileBytes(printFile))
      << ReadFileBytes(printFile).size() << " bytes, expected " << stream.size();

  // Update Firmware sends a 3 MB file unchanged to the queue, then says so.
  const std::string firmware = PseudoRandomBytes(3u << 20);
  WriteFileBytes(firmwareFile, firmware);
  ASSERT_TRUE(jb::Click(window, IDC_ADVANCED));
  dialog = jb::WaitForTopWindow(pid, {L"Advanced settings", L"#32770"});
  ASSERT_NE(nullptr, dialog);
  ASSERT_TRUE(jb::Click(dialog, IDC_ADV_UPDATE_FIRMWARE));
  HWND open = jb::WaitForTopWindow(pid, {L"", L"#32770", {window, dialog}});
  ASSERT_NE(nullptr, open);
  // The file name box of the common file dialog: an edit inside a combo box inside an extended combo box.
  HWND nameEdit = nullptr;
  EnumChildWindows(
      open,
      [](HWND child, LPARAM out) {
        wchar_t name[16] = {};
        GetClassNameW(child, name, 16);
        if (GetDlgCtrlID(child) != 1148 || _wcsicmp(name, L"Edit") != 0) return TRUE;
        *reinterpret_cast<HWND*>(out) = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&nameEdit));
  ASSERT_TRUE(jb::SetEditText(nameEdit, firmwareFile)) << jb::FormatDialog(jb::ReadDialog(open));
  ASSERT_TRUE(jb::PressDialogButton(open, L"Open")) << jb::FormatDialog(jb::ReadDialog(open));
  HWND sent = jb::WaitForMessageBox(pid, L"Update firmware", 30000);
  ASSERT_NE(nullptr, sent) << Joined(AnswerMessageBoxes(pid, window));
  EXPECT_NE(std::string::npos, jb::FormatDialog(jb::ReadDialog(sent)).find("The firmware file has been sent"));
  EXPECT_TRUE(jb::SaveWindowPng(sent, jb::ScreenshotPath("firmware_sent_message")));
  ASSERT_TRUE(jb::PressDialogButton(sent, L"OK"));
  ASSERT_TRUE(jb::WaitForWindowGone(sent));
  ASSERT_TRUE(jb::Click(dialog, IDCANCEL));
  ASSERT_TRUE(jb::WaitForWindowGone(dialog));
  EXPECT_TRUE(jb::WaitUntil([&] { return ReadFileBytes(port).size() >= firmware.size(); }, 10000));
  EXPECT_TRUE(firmware == ReadFileBytes(port)) << ReadFileBytes(port).size() << " bytes";

  Close();
  DeleteFileW(printFile.c_str());
  DeleteFileW(firmwareFile.c_str());
}

}  // namespace
}  // namespace vyx
