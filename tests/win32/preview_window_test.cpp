// The preview in the real main window under Wine: after the first painting the frame shows, pixel for pixel, what
// the painter draws for the same job opened the same way (what vyxq5 preview writes); five copies changes within a
// second paint once, 350 ms after the last; closing the window leaves no painter running.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/ini_file.h"
#include "manager/app/main_window_win32.h"
#include "manager/app/preview_job.h"
#include "manager/app/resource.h"
#include "manager/output/silent_print.h"
#include "tests/support/job_builder.h"
#include "tests/support/ui_driver_win32.h"
#include "tests/win32/test_paths.h"

namespace vyx {
namespace {

namespace jb = vyx::testing;

constexpr wchar_t kOptions[] = L"LnMgSvBo0;59;59;24;0;OpAmLrAeAcCtPlAoAhNt";

HANDLE OpenNoPrinter(const std::wstring&) {
  return nullptr;
}
bool QueryNothing(HANDLE, char (&)[kMaterialsReplyBytes], DWORD*) {
  return false;
}
void CloseNothing(HANDLE) {}
const CStatusCalls kNoPrinter{OpenNoPrinter, QueryNothing, CloseNothing};

std::string PreviewJob() {
  const auto pattern = [](int x, int y) { return (x / 4 + y / 6) % 3 != 0; };
  return jb::Header(500, 700) + jb::Field(5, "RED", 10, 10, jb::Bitmap::FromPredicate(300, 500, pattern), 'B') +
         jb::Field(2, "CYAN", 200, 300, jb::Bitmap::FromPredicate(250, 350, pattern), 'B') +
         jb::RectPath(40, 40, 1800, 2600) + jb::PageEnd(4, 1) + jb::Trailer();
}

struct CWindowRun {
  CIniFile ini;
  CCatalogue catalogue;
  std::string text = PreviewJob();
  CQzplJobData job;
  CManagerDlgContext context;
  HMODULE resources = nullptr;
  HANDLE thread = nullptr;
  DWORD threadId = 0;
  HWND dialog = nullptr;

  static DWORD WINAPI Run(void* param) {
    auto* run = static_cast<CWindowRun*>(param);
    RunMainWindow(run->resources, run->context);
    return 0;
  }
  void Start() {
    ASSERT_TRUE(ini.Load(std::string(VYX_SOURCE_DIR) + "/resources/VyxQ5Colors.ini"));
    CNullDebugOutput debug;
    ASSERT_TRUE(ParseOptions(kOptions, context.options, debug));
    catalogue.Read(ini, false, CLanguageText());
    job.SetText(text.data(), text.size());
    ASSERT_GT(job.ParseJob(), 0);
    PrepareParsedJob(job, catalogue, context.options);
    context.job = &job;
    context.catalogue = &catalogue;
    context.printerName = L"VYX no printer";
    context.statusCalls = &kNoPrinter;
    resources = LoadLibraryExW((testing::ProgramDirectory() + L"VyxQ5Manager.exe").c_str(), nullptr,
                               LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(nullptr, resources);
    thread = CreateThread(nullptr, 0, Run, this, 0, &threadId);
    ASSERT_NE(nullptr, thread);
    ASSERT_TRUE(testing::WaitUntil(
        [this] {
          dialog = FindWindowW(L"#32770", kManagerWindowCaption);
          return dialog != nullptr && GetWindowThreadProcessId(dialog, nullptr) == threadId;
        },
        10000));
  }
  void Close() {
    if (!thread) return;
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, 20000));
    CloseHandle(thread);
    thread = nullptr;
    FreeLibrary(resources);
  }
  ~CWindowRun() { Close(); }
};

// The frame's client area as the screen shows it, in Windows RGB values.
std::vector<ColorRef> FramePixels(HWND frame, int& w, int& h) {
  RECT r{};
  GetClientRect(frame, &r);
  w = r.right, h = r.bottom;
  POINT origin{0, 0};
  ClientToScreen(frame, &origin);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof bi.bmiHeader, w, -h, 1, 32, BI_RGB};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, w, h, screen, origin.x, origin.y, SRCCOPY);
  GdiFlush();
  std::vector<ColorRef> pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
  const auto* dib = static_cast<const std::uint32_t*>(bits);
  for (std::size_t i = 0; i < pixels.size(); ++i)
    pixels[i] = ((dib[i] & 0xFFu) << 16) | (dib[i] & 0xFF00u) | ((dib[i] >> 16) & 0xFFu);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

TEST(PreviewWin32, TheFrameShowsThePaintersPictureAndCopiesChangesPaintOnce) {
  CWindowRun run;
  ASSERT_NO_FATAL_FAILURE(run.Start());
  ASSERT_TRUE(testing::WaitUntil([] { return PreviewPaintingsShown() >= 1; }, 15000));
  Sleep(200);
  ASSERT_TRUE(testing::SaveWindowPng(run.dialog, testing::ScreenshotPath("main_window_preview")));

  HWND frame = GetDlgItem(run.dialog, IDC_PREVIEW);
  int w = 0, h = 0;
  const std::vector<ColorRef> shown = FramePixels(frame, w, h);
  CQzplJobData again;
  again.SetText(run.text.data(), run.text.size());
  COptions options;
  CNullDebugOutput debug;
  ASSERT_TRUE(ParseOptions(kOptions, options, debug));
  CWindowJob window(again, &run.ini, options, CLanguageText());
  CRasterCanvas expected(w, h, 0);
  PaintPreview(expected, window.Scene(), {w, h});
  int differing = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) differing += expected.GetPixel(x, y) != shown[static_cast<std::size_t>(y * w + x)];
  EXPECT_EQ(0, differing) << w << " x " << h;

  // Five changes within a second: one painting, 350 ms after the last change. The count holds only when no pause
  // between two changes reached the delay, which a loaded machine may cause.
  const LONG before = PreviewPaintingsShown();
  HWND copies = GetDlgItem(run.dialog, IDC_COPIES);
  DWORD last = 0, longestGap = 0;
  for (const wchar_t* text : {L"2", L"3", L"4", L"5", L"6"}) {
    SendMessageW(copies, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    const DWORD now = GetTickCount();
    if (last != 0) longestGap = std::max(longestGap, now - last);
    last = now;
    Sleep(100);
  }
  DWORD painted = 0;
  ASSERT_TRUE(testing::WaitUntil(
      [&] {
        if (PreviewPaintingsShown() > before) painted = GetTickCount();
        return painted != 0;
      },
      15000));
  EXPECT_GE(painted - last, 320u);
  // Nothing else was waiting: no further painting follows.
  Sleep(1000);
  if (longestGap < 300) {
    EXPECT_EQ(before + 1, PreviewPaintingsShown()) << "longest gap " << longestGap;
  }

  run.Close();
  EXPECT_EQ(0, PreviewPaintersRunning());
}

}  // namespace
}  // namespace vyx
