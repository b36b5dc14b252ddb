// The main window in this process, with the manager's own resources and a printer whose status query answers once
// and then hangs: every control of the window is there with its class, the reply reaches the tape and ribbon lines,
// and the hung status thread does not keep Done from closing the window.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include "tests/win32/test_paths.h"

#include <string>

#include "common/ini_file.h"
#include "manager/app/main_window_win32.h"
#include "manager/app/resource.h"
#include "manager/output/silent_print.h"
#include "tests/support/job_builder.h"

namespace vyx {
namespace {

namespace jb = vyx::testing;

HANDLE g_secondQuery = nullptr;  // set when the second query starts; it never ends by itself
LONG g_queries = 0;

HANDLE OpenFake(const std::wstring&) {
  return reinterpret_cast<HANDLE>(1);
}

bool QueryFake(HANDLE, char (&reply)[kMaterialsReplyBytes], DWORD* got) {
  if (InterlockedIncrement(&g_queries) == 1) {
    const char answer[] = "8,1500\r\n0,2000";
    memcpy(reply, answer, sizeof answer);
    *got = sizeof answer - 1;
    return true;
  }
  SetEvent(g_secondQuery);
  Sleep(INFINITE);
  return false;
}

void CloseFake(HANDLE) {}

const CStatusCalls kHangingPrinter{OpenFake, QueryFake, CloseFake};

struct CModalRun {
  CManagerDlgContext context;
  HMODULE resources = nullptr;
  INT_PTR result = 0;
  DWORD threadId = 0;
};

DWORD WINAPI RunModal(void* param) {
  auto* run = static_cast<CModalRun*>(param);
  run->result = RunMainWindow(run->resources, run->context);
  return 0;
}

HWND FindThreadDialog(DWORD threadId) {
  HWND found = nullptr;
  EnumThreadWindows(
      threadId,
      [](HWND window, LPARAM out) {
        wchar_t name[32] = {};
        GetClassNameW(window, name, 32);
        // Visible once its controls are made and initialised.
        if (std::wstring(name) != L"#32770" || !GetDlgItem(window, IDC_JOB_LIST) || !IsWindowVisible(window))
          return TRUE;
        *reinterpret_cast<HWND*>(out) = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

std::wstring TextOf(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return text;
}

TEST(MainWindowWin32, EveryControlIsThereAndAHungStatusQueryDoesNotHoldUpClosing) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  g_secondQuery = CreateEventW(nullptr, TRUE, FALSE, nullptr);

  CIniFile ini;
  ASSERT_TRUE(ini.Load(std::string(VYX_SOURCE_DIR) + "/resources/VyxQ5Colors.ini"));
  CCatalogue catalogue;
  catalogue.Read(ini, false, CLanguageText());
  const std::string text =
      jb::Header(400, 300) +
      jb::Field(9, "GOLD", 0, 0, jb::Bitmap::FromPredicate(40, 40, [](int, int) { return true; })) +
      jb::Field(0, "BLACK", 50, 0, jb::Bitmap::FromPredicate(40, 40, [](int, int) { return true; })) +
      jb::PageEnd(1, 1) + jb::Trailer();
  CQzplJobData job;
  job.SetText(text.data(), text.size());
  ASSERT_GT(job.ParseJob(), 0);
  CNullDebugOutput debug;
  CModalRun run;
  ASSERT_TRUE(ParseOptions(L"LnMgSvBo0;59;59;24;0;OpAmLrAeAcCtPlAoAhNt", run.context.options, debug));
  PrepareParsedJob(job, catalogue, run.context.options);
  run.context.job = &job;
  run.context.catalogue = &catalogue;
  run.context.printerName = L"VYX hanging printer";
  run.context.statusCalls = &kHangingPrinter;
  run.resources = LoadLibraryExW((vyx::testing::ProgramDirectory() + L"VyxQ5Manager.exe").c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(nullptr, run.resources);

  HANDLE thread = CreateThread(nullptr, 0, RunModal, &run, 0, &run.threadId);
  ASSERT_NE(nullptr, thread);
  HWND dialog = nullptr;
  for (int i = 0; i < 500 && !dialog; ++i, Sleep(20)) dialog = FindThreadDialog(run.threadId);
  ASSERT_NE(nullptr, dialog);

  const struct {
    int id;
    const wchar_t* className;
  } expected[] = {
      {IDC_DIMENSIONS_GROUP, L"Button"},
      {IDC_FORM_SIZE, L"Button"},
      {IDC_OPTIMISED, L"Button"},
      {IDC_MARGIN_X, L"Edit"},
      {IDC_MARGIN_X_SPIN, UPDOWN_CLASSW},
      {IDC_MARGIN_Y, L"Edit"},
      {IDC_MARGIN_Y_SPIN, UPDOWN_CLASSW},
      {IDC_MARGIN_LABEL, L"Static"},
      {IDC_PRINT_SIZE, L"Static"},
      {IDC_VARIABLE_SIZE_LABEL, L"Static"},
      {IDC_ADJUST_INDIVIDUALLY, L"Button"},
      {IDC_ADJUST_LARGEST, L"Button"},
      {IDC_CUT_OUT_GROUP, L"Button"},
      {IDC_OUTLINE, L"Button"},
      {IDC_RADIUS, L"Edit"},
      {IDC_RADIUS_SPIN, UPDOWN_CLASSW},
      {IDC_RADIUS_UNIT, L"Static"},
      {IDC_LAMINATE, L"Button"},
      {IDC_COPIES_GROUP, L"Button"},
      {IDC_COPIES, L"Edit"},
      {IDC_COPIES_SPIN, UPDOWN_CLASSW},
      {IDC_COPIES_LABEL, L"Static"},
      {IDC_OFFSET_LABEL, L"Static"},
      {IDC_OFFSET, L"Edit"},
      {IDC_OFFSET_SPIN, UPDOWN_CLASSW},
      {IDC_OFFSET_UNIT, L"Static"},
      {IDC_TAPE_CUT_SETS, L"Button"},
      {IDC_LABELS_PER_SET, L"Edit"},
      {IDC_LABELS_PER_SET_SPIN, UPDOWN_CLASSW},
      {IDC_LABELS_PER_SET_LABEL, L"Static"},
      {IDC_COPIES_INFO, L"Static"},
      {IDC_COPIES_INFO_ICON, L"Static"},
      {IDC_COPIES_FORCED, L"Static"},
      {IDC_TOTAL_LENGTH, L"Static"},
      {IDC_JOB_LIST_GROUP, L"Button"},
      {IDC_JOB_LIST, WC_LISTVIEWW},
      {IDC_PRINT, L"Button"},
      {IDC_RESET_JOBS, L"Button"},
      {IDC_MATERIALS_GROUP, L"Button"},
      {IDC_TAPE_LINE, L"Static"},
      {IDC_RIBBON_LINE, L"Static"},
      {IDC_CONTROL_GROUP, L"Button"},
      {IDC_ADVANCED, L"Button"},
      {IDOK, L"Button"},
      {IDCANCEL, L"Button"},
      {IDC_LANDSCAPE_GROUP, L"Button"},
      {IDC_LEFT_TO_RIGHT, L"Button"},
      {IDC_RIGHT_TO_LEFT, L"Button"},
      {IDC_PREVIEW, L"Static"},
      {IDC_PREVIEW_VSCROLL, L"ScrollBar"},
      {IDC_PREVIEW_HSCROLL, L"ScrollBar"},
  };
  for (const auto& control : expected) {
    HWND window = GetDlgItem(dialog, control.id);
    EXPECT_NE(nullptr, window) << control.id;
    if (!window) continue;  // the window must still be closed below
    EXPECT_EQ(0, _wcsicmp(control.className, ClassOf(window).c_str())) << control.id;
  }
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, IDC_RESET_JOBS)));
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, IDCANCEL)));
  EXPECT_EQ(static_cast<LRESULT>(39),
            SendDlgItemMessageW(dialog, IDC_JOB_LIST, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & 39);
  EXPECT_NE(0, SendDlgItemMessageW(dialog, IDC_COPIES_INFO_ICON, STM_GETIMAGE, IMAGE_ENHMETAFILE, 0));

  // The first reply comes after a second; the second query starts five seconds later and never ends.
  ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(g_secondQuery, 15000));
  EXPECT_NE(std::wstring::npos, TextOf(GetDlgItem(dialog, IDC_TAPE_LINE)).find(L"Gold, 15.0 m"));
  EXPECT_NE(std::wstring::npos, TextOf(GetDlgItem(dialog, IDC_RIBBON_LINE)).find(L"Black, 20.0 m"));
  const DWORD pressed = GetTickCount();
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, 10000));
  EXPECT_LT(GetTickCount() - pressed, 4000u);
  EXPECT_EQ(IDOK, run.result);
  CloseHandle(thread);
  FreeLibrary(run.resources);
  CloseHandle(g_secondQuery);
}

}  // namespace
}  // namespace vyx
