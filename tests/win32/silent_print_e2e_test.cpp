// The silent print end to end under Wine: the driver simulator serves a job to VyxQ5Manager with `Sl` in the options,
// the manager prints to the queue "VYX - Q5" whose port is a file, and the port file must hold exactly the printer
// stream that `vyxq5 print` makes of the same job, options, catalogue and loaded tape (a print of several documents is
// several spooler jobs, which Wine writes one over the other into the port file).
#include <windows.h>

#include <gtest/gtest.h>
#include "tests/win32/test_paths.h"

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "common/ini_file.h"
#include "common/settings.h"
#include "manager/app/catalogue_win32.h"
#include "manager/app/printer_materials.h"
#include "manager/output/print_job_text.h"
#include "tests/support/file_bytes.h"
#include "tests/support/job_builder.h"
#include "tests/support/memory_spooler.h"
#include "tests/win32/test_printer.h"

namespace vyx {
namespace {

using vyx::testing::ReadFileBytes;
using vyx::testing::WriteFileBytes;

namespace jb = vyx::testing;

constexpr wchar_t kQueue[] = L"VYX - Q5";
constexpr char kLoadedMaterials[] = "3,1500\r\n5,2000";
constexpr int kLoadedTape = 3;

using CMemorySpooler = jb::CMemorySpoolerCalls;

// What a file port of Wine's spooler holds after the documents: each job is written from the start of the file
// without cutting it, so a shorter later document leaves the end of a longer earlier one in place.
std::string PortFileAfter(const CMemorySpooler& spooler) {
  std::string port;
  for (std::size_t d = 0; d < spooler.starts.size(); ++d) {
    const std::size_t end = d + 1 < spooler.starts.size() ? spooler.starts[d + 1] : spooler.bytes.size();
    const std::string document = spooler.bytes.substr(spooler.starts[d], end - spooler.starts[d]);
    if (port.size() < document.size()) port.resize(document.size());
    port.replace(0, document.size(), document);
  }
  return port;
}

struct CCase {
  std::string jobText;
  std::wstring options;
  std::wstring tag = L"sim";  // the pipe is \\.\pipe\VYXQ5_42_<tag>, so the job tag is "42_<tag>"
  std::vector<short> perPageCopies;
};

struct SilentPrintE2E : ::testing::Test {
  std::wstring port;
  std::wstring catalogue;
  std::string catalogueText;

  void SetUp() override {
    static int run = 0;
    port = jb::TempPath((L"vyx_silent_port_" + std::to_wstring(++run) + L".prn").c_str());
    DeleteFileW(port.c_str());
    // The sample catalogue where the manager looks for it.
    catalogue = CataloguePath();
    ASSERT_FALSE(catalogue.empty());
    CreateDirectoryW(catalogue.substr(0, catalogue.find_last_of(L'\\')).c_str(), nullptr);
    catalogueText = ReadFileBytes(vyx::testing::WinePath(std::string(VYX_SOURCE_DIR) + "/resources/VyxQ5Colors.ini"));
    ASSERT_FALSE(catalogueText.empty());
    WriteFileBytes(catalogue, catalogueText);
  }

  void TearDown() override {
    if (!catalogue.empty()) DeleteFileW(catalogue.c_str());
    DeleteFileW(port.c_str());
  }

  // What `vyxq5 print` makes of the case.
  std::string Expected(const CCase& c, int* documents) {
    CIniFile ini;
    ini.Parse(catalogueText);
    CJobTextPrint input;
    input.jobText = c.jobText;
    std::string copies;
    for (short n : c.perPageCopies) {
      copies += static_cast<char>(n & 0xFF);
      copies += static_cast<char>((n >> 8) & 0xFF);
    }
    if (!c.perPageCopies.empty()) input.perPageCopies = &copies;
    input.catalogue = &ini;
    CNullDebugOutput debug;
    EXPECT_TRUE(ParseOptions(c.options, input.options, debug));
    input.jobTag = "42_" + std::string(c.tag.begin(), c.tag.end());
    input.loadedTape = kLoadedTape;
    input.storedDarkness = ReadDarkness();
    CMemorySpooler spooler;
    CRecordingMessageSink messages;
    EXPECT_TRUE(PrintJobText(input, spooler, messages, [](CPrintChannel& ch) { return ch.OpenPrinterOutput(L"x"); }));
    *documents = static_cast<int>(spooler.starts.size());
    return PortFileAfter(spooler);
  }

  // Serves the case to the real manager and returns what reached the port.
  std::string Printed(const CCase& c) {
    jb::CTestPrinterQueue queue(kQueue, port);
    EXPECT_TRUE(queue.Ok());
    if (!queue.Ok()) return {};
    EXPECT_TRUE(queue.SetData(kMaterialsQuery, kLoadedMaterials, sizeof kLoadedMaterials));
    const std::wstring job = jb::TempPath(L"vyx_silent_job.zpl");
    WriteFileBytes(job, c.jobText);
    std::wstring cmd = L"\"" + vyx::testing::ProgramDirectory() + L"vyx_driver_sim.exe\" --job \"" + job +
                       L"\" --printer \"" + kQueue + L"\" --options " + c.options + L" --tag " + c.tag +
                       L" --timeout 60";
    if (!c.perPageCopies.empty()) {
      std::wstring list;
      for (short n : c.perPageCopies) list += (list.empty() ? L"" : L",") + std::to_wstring(n);
      cmd += L" --copies " + list;
    }
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    EXPECT_TRUE(CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    if (!pi.hProcess) return {};
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(pi.hProcess, 90000));
    DWORD code = 0xDEAD;
    GetExitCodeProcess(pi.hProcess, &code);
    EXPECT_EQ(0u, code);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return ReadFileBytes(port);
  }

  // Returns the expected stream, so that each case can also say what it is about.
  std::string Check(const CCase& c, int expectedDocuments) {
    int documents = 0;
    const std::string expected = Expected(c, &documents);
    EXPECT_EQ(expectedDocuments, documents);
    EXPECT_FALSE(expected.empty());
    const std::string printed = Printed(c);
    EXPECT_EQ(expected.size(), printed.size());
    EXPECT_TRUE(expected == printed) << "first 300 bytes printed:\n" << printed.substr(0, 300);
    return expected;
  }
};

std::string Block(int ribbon, const char* name, int x, int y, int w, int h) {
  return jb::Field(static_cast<unsigned>(ribbon), name, x, y,
                   jb::Bitmap::FromPredicate(w, h, [](int px, int py) { return (px + py) % 3 != 0; }));
}

TEST_F(SilentPrintE2E, OnePageWithCopies) {
  CCase c;
  c.jobText = jb::Header(400, 300, "1,0,1,0") + Block(0, "BLACK", 40, 40, 120, 60) + Block(5, "RED", 60, 50, 40, 40) +
              Block(4, "YELLOW", 100, 20, 30, 30) + jb::PageEnd(1, 1) + jb::Trailer();
  c.options = L"LnSlSvBo9;59;59;24;0;OpAmLrAeAcCtPlAoAhNt";
  c.perPageCopies = {7};
  const std::string out = Check(c, 1);
  EXPECT_NE(std::string::npos, out.find("^PQ2,20,6,20\r\n"));  // seven copies, six across a 168-dot label
  EXPECT_LT(out.find("^RR4,YELLOW"), out.find("^RR5,RED"));    // brighter ribbon first
}

TEST_F(SilentPrintE2E, PagesWithCopiesFromTheRightAndSplitIntoDocuments) {
  CCase c;
  c.jobText = jb::Header(400, 300, "1,0,1,0");
  for (int p = 1; p <= 4; ++p)
    c.jobText +=
        Block(0, "BLACK", 10, 10, 300 - 40 * p, 10000) + Block(3, "MAGENTA", 20, 20, 16, 16) + jb::PageEnd(1, p);
  c.jobText += jb::Trailer();
  c.options = L"LnSlSvBo9;59;59;24;0;OpAmLrAeAcCtPlAoAhNt";
  c.perPageCopies = {2, 1, 3,
                     1};  // seven labels three across in rows of 10118 dots: the third row starts a second document
  Check(c, 2);
}

TEST_F(SilentPrintE2E, BarTenderJobWithShapes) {
  CCase c;
  c.jobText = jb::Header(600, 400, "1,0,1,0") + Block(0, "BLACK", 50, 50, 200, 100) +
              jb::RectPath(100, 100, 1100, 700) + jb::RectPath(1200, 100, 1600, 500) + jb::PageEnd(2, 1) +
              jb::Trailer();
  c.options = L"PrSlSvBo9;59;59;24;0;OpUmLrAeUcCtPlUoUhNt";
  c.tag = L"label_btw";
  const std::string out = Check(c, 1);
  EXPECT_NE(std::string::npos, out.find("^RPM"));
}

TEST_F(SilentPrintE2E, LaminatedJob) {
  CCase c;
  c.jobText = jb::Header(500, 300, "2,0,1,0") + Block(6, "BLUE", 30, 30, 150, 80) + Block(0, "BLACK", 40, 40, 60, 20) +
              jb::PageEnd(3, 1) + Block(0, "BLACK", 10, 10, 50, 50) + jb::PageEnd(1, 2) + jb::Trailer();
  c.options = L"LnSlSvBo9;40;30;60;0;OrUmLrUeUcCtLmAoUhNt";
  const std::string out = Check(c, 1);
  EXPECT_EQ(0u, out.find("^XA\r\n^RLL0,0\r\n"));
  EXPECT_NE(std::string::npos, out.find("^RLE\r\n"));
}

TEST_F(SilentPrintE2E, TapeCutSets) {
  CCase c;
  c.jobText = jb::Header(400, 300, "1,0,1,0") + Block(0, "BLACK", 0, 0, 250, 90) + jb::PageEnd(1, 1) + jb::Trailer();
  c.options = L"LnSlSvBo9;59;59;24;3;OpAmLrAeAcCtPlAoAhTc";
  c.perPageCopies = {8};  // sets of 3: 3 sets of 3 pages
  const std::string out = Check(c, 1);
  EXPECT_NE(std::string::npos, out.find("^RTC"));
  EXPECT_NE(std::string::npos, out.find("^PQ3,"));
}

}  // namespace
}  // namespace vyx
