// The print recipe (brightest first, skipped colours, colours printed by another ribbon), the silent print over
// its seams (open failure, length confirmation, outlines, copies, tape cut sets) and vyxq5 print's exit status.
#include <gtest/gtest.h>
#include "tests/support/run_tool.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <sys/wait.h>

#include "common/ini_file.h"
#include "common/string_ids.h"
#include "manager/output/layout.h"
#include "manager/output/print_job_text.h"
#include "manager/output/silent_print.h"
#include "manager/output/write_recipe.h"
#include "tests/support/job_builder.h"
#include "tests/support/memory_spooler.h"

namespace vyx {
namespace {

namespace jb = vyx::testing;

CColorRibbon Ribbon(const wchar_t* name, const wchar_t* cls, std::int32_t id, const char* printerName) {
  CColorRibbon r;
  r.name = name;
  r.className = cls;
  r.ribbonId = id;
  r.ribbonName = printerName;
  return r;
}

struct RecipeFixture : ::testing::Test {
  CQzplJobData job;
  CQzplPrintPlan plan;
  CCatalogue catalogue;
  void SetUp() override {
    // Catalogue order is brightness order, brightest first.
    catalogue.ribbons = {Ribbon(L"White", L"Opaque", 1, "WHITE"), Ribbon(L"Yellow", L"Process", 4, "YELLOW"),
                         Ribbon(L"Red", L"Process", 5, "RED"), Ribbon(L"Black", L"Opaque", 0, "BLACK")};
    job.layout.printJobsRibbonMask = (1u << 1) | (1u << 4) | (1u << 5) | (1u << 0);
  }
  // type:ribbon[:name:mask] per command
  std::string Recipe() const {
    std::string s;
    for (const CWriteCmd& c : plan.writeCommands) {
      s += std::to_string(c.type);
      if (c.type == kCmdRibbonSelect)
        s += ":" + std::to_string(c.ribbonIndex) + ":" + c.ribbonName + ":" + std::to_string(c.ribbonMask) + ":" +
             std::to_string(c.ribbonLineFlag);
      if (c.type == kCmdRibbonFields) s += ":" + std::to_string(c.ribbonIndex) + ":" + std::to_string(c.ribbonLineFlag);
      s += " ";
    }
    return s;
  }
};

TEST_F(RecipeFixture, BrightestFirstOnePassPerRibbon) {
  BuildPrintRecipe(job, plan, catalogue, nullptr, 99);
  EXPECT_EQ("1 2:1:WHITE:2:1 3:1:0 2:4:YELLOW:16:1 3:4:0 2:5:RED:32:1 3:5:0 2:0:BLACK:1:1 3:0:0 4 5 6 ", Recipe());
}

TEST_F(RecipeFixture, TapeClassAndRibbonSelectionSkipColours) {
  const std::wstring opaque = L"Opaque";
  BuildPrintRecipe(job, plan, catalogue, &opaque, 4);
  EXPECT_EQ("1 2:5:RED:32:1 3:5:0 4 5 6 ", Recipe());
  const std::wstring other = L"Opaq";  // exact comparison only
  BuildPrintRecipe(job, plan, catalogue, &other, 99);
  EXPECT_EQ(12u, plan.writeCommands.size());  // header, four passes of two, three closing sections
}

TEST_F(RecipeFixture, RibbonSelectionZeroSkipsNothing) {
  BuildPrintRecipe(job, plan, catalogue, nullptr, 0);
  EXPECT_EQ("1 2:1:WHITE:2:1 3:1:0 2:4:YELLOW:16:1 3:4:0 2:5:RED:32:1 3:5:0 2:0:BLACK:1:1 3:0:0 4 5 6 ", Recipe());
}

TEST_F(RecipeFixture, ColoursPrintedByAnotherRibbonJoinItsPass) {
  job.layout.ribbonOutcomes[4] = 5;              // yellow moved onto red
  job.layout.ribbonOutcomes[1] = 33;             // white split over several ribbons: no pass of its own
  job.layout.printJobsRibbonMask &= ~(1u << 0);  // black unused
  BuildPrintRecipe(job, plan, catalogue, nullptr, 99);
  EXPECT_EQ("1 2:5:RED:48:1 3:4:0 3:5:0 4 5 6 ", Recipe());
}

TEST_F(RecipeFixture, LongRibbonNamesAreCut) {
  catalogue.ribbons[0].ribbonName = std::string(40, 'W');
  BuildPrintRecipe(job, plan, catalogue, nullptr, 99);
  EXPECT_EQ(std::string(31, 'W'), plan.writeCommands[1].ribbonName);
}

using CMemorySpooler = jb::CMemorySpoolerCalls;

class CTestStrings : public CStringLoader {
 public:
  int Load(int id, int, std::wstring& text, unsigned long& error) override {
    if (id == 1000 + kStrLengthLimit)
      text = L"Longer than %d m!";
    else if (id == 1000 + kStrManagerCaption)
      text = L"Manager";
    else {
      error = kErrorResourceNameNotFound;
      return 0;
    }
    return static_cast<int>(text.size());
  }
};

std::string Block(int ribbon, const char* name, int x, int y, int w, int h) {
  return jb::Field(static_cast<unsigned>(ribbon), name, x, y,
                   jb::Bitmap::FromPredicate(w, h, [](int, int) { return true; }));
}

std::size_t Count(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

struct SilentFixture : ::testing::Test {
  CMemorySpooler spooler;
  CRecordingMessageSink messages;
  CTestStrings strings;
  CIniFile ini;
  CJobTextPrint input;

  void SetUp() override {
    ini.Parse(
        "[Palette]\nNumberOfColors=2\nNumberOfTapeColors=1\n"
        "[ColorA]\nName=Red\nClass=Process\nRedVal=255\nGreenVal=0\nBlueVal=0\nRibbonID=3\nQZPLName=RED\n"
        "[ColorB]\nName=Black\nClass=Opaque\nRedVal=0\nGreenVal=0\nBlueVal=0\nRibbonID=7\nQZPLName=BLACK\n"
        "[TapeColor.01]\nName=White\nClass=Opaque\n");
    input.catalogue = &ini;
    input.language = CLanguageText(&strings, 1000);
    ParseOptions(L"LnSlSvBo0;59;59;24;0;OpAmLrAeAcCtPlAoAhNt", input.options, debug);
  }
  bool Run() {
    return PrintJobText(input, spooler, messages,
                        [](CPrintChannel& channel) { return channel.OpenPrinterOutput(L"VYX - Q5"); });
  }
  CNullDebugOutput debug;
};

TEST_F(SilentFixture, OnePageWithCopiesTwoRibbonsAndAnOutline) {
  input.jobText = jb::Header(400, 300, "1,0,1,0") + Block(7, "BLACK", 100, 100, 64, 40) +
                  Block(3, "RED", 120, 110, 8, 8) + jb::PageEnd(4, 1) + jb::Trailer();
  ASSERT_TRUE(Run());
  EXPECT_EQ(L"VYX - Q5", spooler.opened);
  EXPECT_EQ(1u, spooler.documents.size());
  EXPECT_EQ(1, spooler.closes);
  const std::string& out = spooler.bytes;
  // Content 64 x 40 dots (5.4 mm): 12-dot margins, 88 x 64 label, 20-dot gap: 4 copies in one row of 11 across.
  EXPECT_EQ(0u, out.find("^XA\r\n^PW88\r\n^LL64\r\n^LH0,0\r\n^PQ1,20,4,20\r\n^RSR1\r\n^SD15\r\n"))
      << out.substr(0, 120);
  const std::size_t red = out.find("^RR3,RED");
  const std::size_t black = out.find("^RR7,BLACK");
  ASSERT_NE(std::string::npos, red);
  ASSERT_NE(std::string::npos, black);
  EXPECT_LT(red, black);             // brighter ribbon first
  EXPECT_EQ(1u, Count(out, "^PO"));  // one page: its offset once per document
  EXPECT_NE(std::string::npos, out.find("^PO-88,-88\r\n"));
  EXPECT_EQ(2u, Count(out, "^RPU"));  // the outline: pen up before and after
  EXPECT_EQ(std::string::npos, out.find("^RLE"));
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ("^XZ\r\n", out.substr(out.size() - 5));
}

TEST_F(SilentFixture, OpenFailureWritesNothing) {
  spooler.canOpen = false;
  input.jobText = jb::Header() + Block(7, "BLACK", 0, 0, 8, 8) + jb::PageEnd(1, 1) + jb::Trailer();
  EXPECT_FALSE(Run());
  EXPECT_TRUE(spooler.bytes.empty());
  ASSERT_EQ(1u, messages.shown.size());
  EXPECT_EQ(L"OpenChannel", messages.shown[0].caption);
}

TEST_F(SilentFixture, HeaderAndEndOnlyPrintOneEmptyLabelAndNoPageAtAllFails) {
  input.jobText = "^XA\r\n^PW400\r\n^LL300\r\n^XZ\r\n";
  ASSERT_TRUE(Run());
  EXPECT_EQ(1u, spooler.documents.size());
  EXPECT_EQ(0u, spooler.bytes.find("^XA\r\n"));
  EXPECT_EQ("^XZ\r\n", spooler.bytes.substr(spooler.bytes.size() - 5));

  for (const char* text : {"", "^XA\r\n^PW400\r\n"}) {
    spooler = CMemorySpooler();
    messages.shown.clear();
    input.jobText = text;
    EXPECT_FALSE(Run()) << text;
    EXPECT_TRUE(spooler.documents.empty());
    EXPECT_TRUE(spooler.opened.empty());  // nothing opened for a print that cannot write a document
    ASSERT_EQ(1u, messages.shown.size());
    EXPECT_EQ(kNoPageCaption, messages.shown[0].caption);
  }
}

TEST_F(SilentFixture, SplitLayoutWithoutHomeLowersTheHomeOfLaterDocuments) {
  ParseOptions(L"LnSlSvBo0;59;59;24;0;OrAmLrUeAcNcPlUoAhNt", input.options, debug);
  // Two labels of 16000 dots, one across: the second row would end beyond 29500, so it is a document of its own.
  const std::string header = "^XA\r\n^PW900\r\n^LL16000\r\n^PQ1,0,1,0\r\n^RSR1\r\n^SD15\r\n";
  input.jobText = header + Block(7, "BLACK", 0, 0, 8, 8) + jb::PageEnd(1, 1) + Block(7, "BLACK", 0, 0, 8, 8) +
                  jb::PageEnd(1, 2) + jb::Trailer();
  ASSERT_TRUE(Run());
  ASSERT_EQ(2u, spooler.documents.size());
  const std::string first = spooler.bytes.substr(0, spooler.starts[1]);
  const std::string second = spooler.bytes.substr(spooler.starts[1]);
  // The unset home is the origin everywhere: written as 0, and lowered by the top of the second document.
  EXPECT_NE(std::string::npos, first.find("^LL16000\r\n^LH0,0\r\n")) << first.substr(0, 100);
  EXPECT_NE(std::string::npos, second.find("^LL16000\r\n^LH0,-16000\r\n")) << second.substr(0, 100);
  EXPECT_NE(std::string::npos, second.find("^PO0,16000\r\n"));
}

TEST_F(SilentFixture, LaminatedTapeCutSetsOfThree) {
  ParseOptions(L"PrSlSvBo0;59;59;24;3;OpAmLrAeAcCtLmAoAhTc", input.options, debug);
  input.jobText =
      jb::Header(400, 300, "1,0,1,0") + Block(7, "BLACK", 0, 0, 300, 100) + jb::PageEnd(5, 1) + jb::Trailer();
  ASSERT_TRUE(Run());
  const std::string& out = spooler.bytes;
  EXPECT_EQ(0u, out.find("^XA\r\n^RLL0,0\r\n"));
  // 300 + 2 x 24 = 348 wide, 148 tall; sets of 3 in rows of 3 (gap 20): one row and a mark 100 below it.
  EXPECT_NE(std::string::npos, out.find("^PQ2,20,1,20\r\n")) << out.substr(0, 200);
  EXPECT_NE(std::string::npos, out.find("^RTC248\r\n"));
  EXPECT_EQ(6u, Count(out, "^PO"));  // three label pages: before their black fields and before their outlines
  EXPECT_NE(std::string::npos, out.find("^RLE\r\n"));
  EXPECT_LT(out.find("^RLE\r\n"), out.find("^RTC248"));
}

TEST_F(SilentFixture, HugeLabelAsksFirstAndCancelStops) {
  ParseOptions(L"LnSlSvBo0;59;59;24;0;OrAmLrUeAcNcPlAoAhNt", input.options, debug);
  input.jobText =
      jb::Header(400, 1417323, "1,0,1,0") + Block(7, "BLACK", 0, 0, 8, 8) + jb::PageEnd(1, 1) + jb::Trailer();
  messages.answers = {kIdCancel};
  EXPECT_FALSE(Run());
  ASSERT_EQ(1u, messages.shown.size());
  EXPECT_EQ(L"Longer than 12 m!", messages.shown[0].text);
  EXPECT_EQ(L"Manager", messages.shown[0].caption);
  EXPECT_EQ(static_cast<unsigned>(kMbOkCancel), messages.shown[0].style);
  EXPECT_TRUE(spooler.documents.empty());
  EXPECT_EQ(1, spooler.closes);

  messages.answers = {kIdOk};
  messages.next = 0;
  EXPECT_TRUE(Run());
  EXPECT_NE(std::string::npos, spooler.bytes.find("^LL1417323\r\n"));

  input.language = CLanguageText();  // no strings: no question, the print goes on
  messages.shown.clear();
  EXPECT_TRUE(Run());
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(SilentFixture, BlackTapeSkipsOpaqueColoursAndTheSelection) {
  input.jobText =
      jb::Header() + Block(7, "BLACK", 0, 0, 8, 8) + Block(3, "RED", 0, 0, 8, 8) + jb::PageEnd(1, 1) + jb::Trailer();
  input.loadedTape = 1;  // class Opaque, as the black ribbon's
  ASSERT_TRUE(Run());
  EXPECT_EQ(std::string::npos, spooler.bytes.find("^RR7,"));
  EXPECT_NE(std::string::npos, spooler.bytes.find("^RR3,RED"));
  spooler.bytes.clear();
  input.loadedTape = -1;
  ParseOptions(L"LnSlSvBo3;59;59;24;0;OpAmLrAeAcCtPlAoAhNt", input.options, debug);
  ASSERT_TRUE(Run());
  EXPECT_EQ(std::string::npos, spooler.bytes.find("^RR3,"));
  EXPECT_NE(std::string::npos, spooler.bytes.find("^RR7,BLACK"));
}

// Standard error only: what the tool says besides the printer stream.
testing::CToolRun RunTool(const std::string& arguments) {
  return testing::RunVyxq5("print " + arguments, "2>&1 >/dev/null");
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(PrintTool, ExitStatusAndOutputFile) {
  const std::string dir = ::testing::TempDir();
  const std::string job = dir + "/i10-huge.zpl", out = dir + "/i10-huge.out";
  {
    std::ofstream f(job, std::ios::binary);
    f << jb::Header(400, 1417323, "1,0,1,0") << Block(0, "Black", 0, 0, 8, 8) << jb::PageEnd(1, 1) << jb::Trailer();
  }
  const std::string opts = " --options 'LnSlSvBo9;59;59;24;0;OrAmLrUeAcNcPlAoAhNt' -o " + out;
  std::remove(out.c_str());
  testing::CToolRun run = RunTool(job + opts);
  EXPECT_EQ(1, run.status);
  EXPECT_NE(std::string::npos, run.out.find("12 m")) << run.out;
  run = RunTool(job + opts + " --yes --darkness 22");
  EXPECT_EQ(0, run.status) << run.out;
  EXPECT_NE(std::string::npos, ReadFile(out).find("^SD22\r\n"));
  EXPECT_EQ(2, RunTool(job + " -o " + out).status);  // no options
  EXPECT_EQ(2, RunTool(job + " --options XX -o " + out).status);
  EXPECT_EQ(2, RunTool(dir + "/i10-missing.zpl" + opts).status);
  EXPECT_EQ(2, RunTool(job + opts + " --tape x").status);
  EXPECT_EQ(1, RunTool(job + " --options 'LnSlSvBo9;59;59;24;0;OrAmLrUeAcNcPlAoAhNt' --yes -o " + dir +
                       "/no-such-dir/out.zpl")
                   .status);
  {
    std::ofstream f(job, std::ios::binary | std::ios::trunc);
    f << "^XA\r\n^PW400\r\n";  // no page and no end: nothing to print
  }
  run = RunTool(job + opts);
  EXPECT_EQ(1, run.status);
  EXPECT_NE(std::string::npos, run.out.find("no page to print")) << run.out;
}

}  // namespace
}  // namespace vyx
