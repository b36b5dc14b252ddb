// The main window's model on real jobs and the sample catalogue: number entry in the edits, copies forced to 1,
// job list rows, the PRINT recipe (white pass, colours printed by another ribbon) byte for byte, Reset all jobs,
// the material replies (tape class, tape short, black tape, bad replies) and huge counts.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "common/ini_file.h"
#include "common/string_ids.h"
#include "manager/app/main_window_model.h"
#include "manager/app/number_entry.h"
#include "manager/app/resource.h"
#include "manager/model/cut_order.h"
#include "manager/output/layout.h"
#include "manager/output/silent_print.h"
#include "tests/support/job_builder.h"
#include "tests/support/memory_spooler.h"

namespace vyx {
namespace {

namespace jb = vyx::testing;

// Catalogue indices and ribbon ids of the sample catalogue (brightest first).
constexpr int kWhite = 0, kYellow = 2, kGold = 4, kRed = 7, kBlack = 10;

class CTestStrings : public CStringLoader {
 public:
  int Load(int id, int, std::wstring& text, unsigned long& error) override {
    static const std::map<int, std::wstring> strings = {
        {kStrFormSize, L"Form size"},
        {kStrTotalLength, L"Total"},
        {kStrPrintJobCount, L" in %d jobs"},
        {kStrCopiesPrinted, L"%d|%s|%d"},
        {kStrCutSetsFit, L"%d in sets of %d (%d)"},
        {kStrLengthLimit, L"Over %d m"},
        {kStrPrint, L"PRINT"},
        {kStrTape, L"Tape:"},
        {kStrRibbon, L"Ribbon:"},
        {kStrTooShort, L"too short"},
        {kStrInchUnit, L"inch"},
        {kStrFeetUnit, L"ft"},
        {kStrDistributed, L"Distributed"},
        {kStrCopiesForcedToOne, L"Forced"},
        {kStrStatusToDo, L"To do"},
        {kStrStatusDone, L"Done"},
        {kStrStatusSkipped, L"Skipped"},
        {kStrOwnRibbon, L"own"},
        {kStrOtherRibbon, L"other"},
        {kStrPlotterCut, L"Cut"},
    };
    const auto it = strings.find(id - 1000);
    if (it == strings.end()) {
      error = kErrorResourceNameNotFound;
      return 0;
    }
    text = it->second;
    return static_cast<int>(text.size());
  }
};

std::string Solid(int ribbon, const char* name, int x, int y, int w, int h) {
  return jb::Field(static_cast<unsigned>(ribbon), name, x, y,
                   jb::Bitmap::FromPredicate(w, h, [](int, int) { return true; }));
}

// Ribbon ids: white 1, yellow 4, gold 9, red 5, black 0.
std::string FourColours() {
  return jb::Header(400, 300) + Solid(1, "WHITE", 0, 0, 40, 40) + Solid(5, "RED", 50, 0, 40, 40) +
         Solid(0, "BLACK", 100, 0, 40, 40) + Solid(4, "YELLOW", 150, 0, 40, 40) + jb::PageEnd(1, 1) + jb::Trailer();
}

constexpr wchar_t kNoOutline[] = L"LnMgSvBo0;59;59;24;0;OpUmLrUeUcNcPlAoAhNt";
constexpr wchar_t kAutomatic[] = L"LnMgSvBo0;59;59;24;0;OpAmLrAeAcCtPlAoAhNt";

// A job loaded and opened in the main window's model.
struct CWindowJob {
  CTestStrings strings;
  CLanguageText language{&strings, 1000};
  CIniFile ini;
  CCatalogue catalogue;
  CQzplJobData job;
  COptions options;
  std::unique_ptr<CMainWindowModel> model;
  jb::CMemorySpoolerCalls spooler;
  CRecordingMessageSink messages;

  void Load(const std::string& text, const wchar_t* optionsText, int unit = 0, bool open = true) {
    ASSERT_TRUE(ini.Load(std::string(VYX_SOURCE_DIR) + "/resources/VyxQ5Colors.ini"));
    CNullDebugOutput debug;
    ASSERT_TRUE(ParseOptions(optionsText, options, debug));
    catalogue.Read(ini, options.black_punches != 0, language);
    job.SetText(text.data(), text.size());
    ASSERT_GT(job.ParseJob(), 0);
    PrepareParsedJob(job, catalogue, options);
    model = std::make_unique<CMainWindowModel>(job, catalogue, language, options, unit);
    if (open) model->Open();
  }
  std::wstring Text(int id) const { return model->View().At(id).text.value_or(L"(template)"); }
  const CControlView& Control(int id) const { return model->View().At(id); }
  // type[:ribbon[:name:mask]] per command
  static std::string Recipe(const CQzplPrintPlan& plan) {
    std::string s;
    for (const CWriteCmd& c : plan.writeCommands) {
      s += std::to_string(c.type);
      if (c.type == kCmdRibbonSelect)
        s += ":" + std::to_string(c.ribbonIndex) + ":" + c.ribbonName + ":" + std::to_string(c.ribbonMask);
      if (c.type == kCmdRibbonFields) s += ":" + std::to_string(c.ribbonIndex);
      s += " ";
    }
    return s;
  }
  bool Print(CWindowPrintSeams seams = {}) {
    CPrintChannel channel(spooler, messages, L"42_sim");
    if (seams.printerName.empty()) seams.printerName = L"VYX - Q5";
    return model->Print(channel, seams);
  }
  CStatusUpdate Reply(const std::string& bytes) { return model->OnStatusReply(bytes.data(), bytes.size()); }
  std::vector<int> Statuses() const {
    std::vector<int> s;
    for (const CJobRow& r : model->JobList().Rows()) s.push_back(r.status);
    return s;
  }
};

struct MainWindow : ::testing::Test, CWindowJob {};

TEST_F(MainWindow, MarginTextsAreCheckedByUnit) {
  Load(FourColours(), L"LnMgSvBo0;59;59;24;0;OpUmLrAeAcCtPlAoAhNt");
  EXPECT_EQ(L"5.0", Text(IDC_MARGIN_X));  // 59 dots
  model->OnEditChanged(IDC_MARGIN_X, L"1,5");
  EXPECT_EQ(L"1.5", Text(IDC_MARGIN_X));
  EXPECT_DOUBLE_EQ(1.5, model->MarginX());
  EXPECT_EQ(190 + 2 * 18, job.pages[0]->printRect.Width());  // content 190 dots, 1.5 mm = 18 dots each side
  model->OnEditChanged(IDC_MARGIN_X, L"1.55");
  EXPECT_EQ(L"1.5", Text(IDC_MARGIN_X));
  model->OnEditChanged(IDC_MARGIN_X, L"500");  // beyond the tape: cut to the largest side margin
  EXPECT_EQ(L"43.2", Text(IDC_MARGIN_X));      // (1217 - 190) / 2 - 2 = 511 dots = 43.26 mm
  EXPECT_LE(job.pages[0]->printRect.Width(), kTapeWidthDots);

  CWindowJob inch;
  inch.Load(FourColours(), L"LnMgSvBo0;59;59;24;0;OpUmLrAeAcCtPlAoAhNt", 1);
  EXPECT_EQ(L"0.20", inch.Text(IDC_MARGIN_X));
  inch.model->OnEditChanged(IDC_MARGIN_X, L"1.55");
  EXPECT_EQ(L"1.55", inch.Text(IDC_MARGIN_X));
  EXPECT_EQ(190 + 2 * 465, inch.job.pages[0]->printRect.Width());
  EXPECT_NE(std::wstring::npos, inch.Text(IDC_PRINT_SIZE).find(L"inch => "));
}

TEST_F(MainWindow, CopiesFallBackToOneWhenTheLayoutIsSplitIntoDocumentsOfDifferentPages) {
  // Form size 700 x 16000 dots: one label per row, and the second row starts a second document.
  const std::string text = jb::Header(700, 16000) + Solid(0, "BLACK", 10, 10, 20, 20) + jb::PageEnd(1, 1) +
                           Solid(0, "BLACK", 10, 10, 20, 20) + jb::PageEnd(1, 2) + jb::Trailer();
  Load(text, L"LnMgSvBo0;59;59;24;0;OrUmLrUeUcNcPlAoAhNt");
  ASSERT_EQ(2u, model->Plan().printJobs.size());
  EXPECT_FALSE(Control(IDC_COPIES_FORCED).visible);
  model->OnEditChanged(IDC_COPIES, L"3");
  EXPECT_EQ(1, model->Copies());
  EXPECT_EQ(L"1", Text(IDC_COPIES));
  EXPECT_EQ(1, job.headerInForce->totalLabels);
  EXPECT_TRUE(Control(IDC_COPIES_FORCED).visible);
  EXPECT_NE(std::wstring::npos, Text(IDC_TOTAL_LENGTH).find(L" in 2 jobs"));
}

TEST_F(MainWindow, JobListRowsFollowTheCatalogueAndTheWhiteRowHasNoCheckBox) {
  Load(jb::Header(400, 300) + Solid(1, "WHITE", 0, 0, 40, 40) + jb::PageEnd(1, 1) + jb::Trailer(), kNoOutline);
  ASSERT_EQ(1u, model->View().rows.size());
  EXPECT_FALSE(model->View().rows[0].hasCheckBox);
  EXPECT_EQ(kWhite, model->View().rows[0].itemData);

  CWindowJob four;
  four.Load(FourColours(), kAutomatic);
  const auto& rows = four.model->View().rows;
  ASSERT_EQ(5u, rows.size());  // white, yellow, red, black and the outline's cut row
  EXPECT_EQ(
      (std::vector<int>{kWhite, kYellow, kRed, kBlack, kCutRowItem}),
      (std::vector<int>{rows[0].itemData, rows[1].itemData, rows[2].itemData, rows[3].itemData, rows[4].itemData}));
  EXPECT_TRUE(rows[1].hasCheckBox);
  EXPECT_EQ((CListCellView{L"To do", kImageToDo}), rows[1].cells[kColumnStatus - 1]);
  EXPECT_EQ((CListCellView{L"own", kImageRibbonChoice}), rows[1].cells[kColumnRibbonChoice - 1]);
  EXPECT_EQ((CListCellView{L"Yellow", kImageFirstRibbon + kYellow}), rows[1].cells[kColumnColour - 1]);
  EXPECT_EQ((CListCellView{L"Cut", kImagePlotterCut}), rows[4].cells[kColumnPrintedWith - 1]);
  // Switching the outline off takes the cut row and every outline away again.
  four.model->OnClicked(IDC_OUTLINE, false);
  EXPECT_EQ(4u, four.model->View().rows.size());
  EXPECT_FALSE(HasCutObjects(*four.job.pages[0]));
  EXPECT_TRUE(four.job.pages[0]->cutObjects.empty());
  EXPECT_FALSE(Control(IDC_RADIUS).enabled);
}

TEST_F(MainWindow, PrintWithEveryRowSkippedWritesHeaderTapeMarksAndTrailerOnly) {
  Load(FourColours(), kAutomatic);
  for (std::size_t row = 0; row < model->JobList().Rows().size(); ++row) model->OnListClick(row, kColumnStep);
  CPrintChannel channel(spooler, messages, L"42_sim");
  ASSERT_TRUE(model->BeginPrint(channel, CWindowPrintSeams{L"VYX - Q5"}));
  EXPECT_EQ("1 5 6 ", Recipe(model->Plan()));
  EXPECT_TRUE(model->WritePrint(channel, -1));
  model->EndPrint(channel, true);
  EXPECT_EQ(std::string::npos, spooler.bytes.find("^RR"));
  EXPECT_EQ(std::string::npos, spooler.bytes.find("^RP"));
  for (const CJobRow& row : model->JobList().Rows()) EXPECT_EQ(kImageStepSkippedInPrint, row.step);
}

TEST_F(MainWindow, PrintMakesTheWhitePassAndPassesOfPrintingRibbonsByteForByte) {
  Load(FourColours(), kNoOutline, 0, false);
  job.layout.ribbonOutcomes[4] = 5;  // the consolidation moved yellow onto red
  model->Open();
  const auto& rows = model->View().rows;
  ASSERT_EQ(4u, rows.size());
  EXPECT_EQ((CListCellView{L"Red", kImageFirstRibbon + kRed}), rows[1].cells[kColumnPrintedWith - 1]);
  EXPECT_EQ(L"other", rows[1].cells[kColumnRibbonChoice - 1].text);
  model->OnListChecked(2, true);  // red also printed in white, under itself

  CPrintChannel channel(spooler, messages, L"42_sim");
  ASSERT_TRUE(model->BeginPrint(channel, CWindowPrintSeams{L"VYX - Q5"}));
  const std::string recipe = Recipe(model->Plan());
  EXPECT_EQ("1 2:1:WHITE:34 3:1 3:5 2:5:RED:48 3:4 3:5 2:0:BLACK:1 3:0 5 6 ", recipe);
  const std::vector<CWriteCmd> commands = model->Plan().writeCommands;
  ASSERT_TRUE(model->WritePrint(channel, -1));
  model->EndPrint(channel, true);
  EXPECT_EQ((std::vector<int>{kImageDone, kImageDone, kImageDone, kImageDone}), Statuses());
  EXPECT_FALSE(Control(IDC_PRINT).visible);
  EXPECT_TRUE(Control(IDC_RESET_JOBS).visible && Control(IDC_RESET_JOBS).enabled);

  // The writer run on the same recipe gives the same bytes.
  model->Plan().writeCommands = commands;
  CMemoryChannel memory;
  ASSERT_TRUE(vyx::Print(job, model->Plan(), memory, -1));
  EXPECT_EQ(memory.Bytes(), spooler.bytes);
  EXPECT_LT(spooler.bytes.find("^RR1,WHITE"), spooler.bytes.find("^RR5,RED"));
  EXPECT_LT(spooler.bytes.find("^RR5,RED"), spooler.bytes.find("^RR0,BLACK"));

  model->OnClicked(IDC_RESET_JOBS);
  EXPECT_EQ((std::vector<int>{kImageToDo, kImageToDo, kImageToDo, kImageToDo}), Statuses());
  for (const CJobRow& row : model->JobList().Rows()) {
    EXPECT_EQ(kImageStepToPrint, row.step);
    EXPECT_EQ(kImageRibbonChoice, row.choice);
  }
  EXPECT_TRUE(Control(IDC_PRINT).visible && Control(IDC_PRINT).enabled);
  EXPECT_FALSE(Control(IDC_RESET_JOBS).visible || Control(IDC_RESET_JOBS).enabled);
}

TEST_F(MainWindow, ResetMovesSkippedRowsBackAndPrintToFileHonoursTheSaveDialog) {
  Load(FourColours(), kNoOutline);
  model->OnListClick(1, kColumnStep);  // yellow skipped
  CAdvancedSettingsValues advanced = model->AdvancedValues();
  advanced.printToFile = true;
  model->ApplyAdvancedValues(advanced);
  CWindowPrintSeams seams{L"VYX - Q5", 42};
  std::wstring offered;
  seams.chooseFile = [&offered](const std::wstring& name) -> std::optional<std::wstring> {
    offered = name;
    return std::nullopt;
  };
  EXPECT_FALSE(Print(seams));  // cancelled: nothing written, nothing marked
  EXPECT_EQ(L"C:\\Users\\Public\\Documents\\PrintData_42.zpl", offered);
  EXPECT_TRUE(spooler.createdFile.empty());
  EXPECT_EQ((std::vector<int>{kImageToDo, kImageSkipped, kImageToDo, kImageToDo}), Statuses());

  seams.chooseFile = [](const std::wstring&) { return std::optional<std::wstring>(L"D:\\out.zpl"); };
  EXPECT_TRUE(Print(seams));
  EXPECT_EQ(L"D:\\out.zpl", spooler.createdFile);
  EXPECT_EQ(0u, spooler.bytes.find("^XA"));
  EXPECT_EQ(kImageStepSkippedInPrint, model->JobList().Rows()[1].step);
  model->ResetAllJobs();
  EXPECT_EQ(kImageSkipped, model->JobList().Rows()[1].status);
  EXPECT_EQ(kImageStepSkipped, model->JobList().Rows()[1].step);

  // An output that cannot be created leaves every row as it was.
  spooler.canCreateFile = false;
  EXPECT_FALSE(Print(seams));
  EXPECT_EQ((std::vector<int>{kImageToDo, kImageSkipped, kImageToDo, kImageToDo}), Statuses());
  ASSERT_FALSE(messages.shown.empty());
  EXPECT_EQ(L"OpenChannel", messages.shown.back().caption);
}

TEST_F(MainWindow, MaterialRepliesSkipColoursOfTheTapeClassAndWatchTheLength) {
  Load(jb::Header(400, 300) + Solid(9, "GOLD", 0, 0, 40, 40) + Solid(0, "BLACK", 50, 0, 40, 40) + jb::PageEnd(1, 1) +
           jb::Trailer(),
       kNoOutline);
  ASSERT_EQ(2u, model->View().rows.size());
  EXPECT_EQ(L"", Text(IDC_TAPE_LINE));
  // Tape id 8 is known; tape number 8 of the list is a metallic one: gold cannot print on it.
  const CStatusUpdate update = Reply("8,1500\r\n0,2000");
  EXPECT_TRUE(update.accepted && update.tapeChanged);
  EXPECT_EQ(L" Tape: Gold, 15.0 m", Text(IDC_TAPE_LINE));
  EXPECT_EQ(L" Ribbon: Black, 20.0 m", Text(IDC_RIBBON_LINE));
  EXPECT_EQ(kImageSkipped, model->JobList().Rows()[0].status);
  EXPECT_EQ(kImageToDo, model->JobList().Rows()[1].status);
  EXPECT_FALSE(model->TapeShort());

  EXPECT_TRUE(Reply("8,0").accepted);  // nothing left: too short
  EXPECT_TRUE(model->TapeShort());
  EXPECT_EQ(L" Tape: too short (0.0 m)", Text(IDC_TAPE_LINE));

  const std::string overlong = "8,100\r\n" + std::string(300, '1');
  for (const std::string& bad :
       {std::string(""), std::string("abc"), std::string("1e9,5"), std::string(",5"), std::string("8,"),
        std::string("-1,5"), std::string("8,5x"), std::string("99,100"), std::string("8 ,100"), overlong}) {
    EXPECT_FALSE(Reply(bad).accepted) << bad;
    EXPECT_EQ(L" Tape: too short (0.0 m)", Text(IDC_TAPE_LINE)) << bad;
  }
  // Tape number 7 is black: the black ribbon prints through it from now on.
  EXPECT_TRUE(Reply("7,100000").tapeChanged);
  EXPECT_FALSE(model->TapeShort());
  EXPECT_NE(0u, catalogue.nonPunchMask & 1u);
  EXPECT_TRUE(model->RunBlackTapeRule());
  EXPECT_EQ(0u, catalogue.nonPunchMask & 1u);
}

TEST_F(MainWindow, DistributedColoursAreRestoredWhileSkippedOrGivenARibbon) {
  // A colour group: black and red halves kept, three yellow pixels split between them.
  const auto half = [](int from, int to) {
    return jb::Bitmap::FromPredicate(64, 64, [from, to](int x, int) { return x >= from && x < to; });
  };
  const auto trace = jb::Bitmap::FromPredicate(
      64, 64, [](int x, int y) { return (x == 10 && y == 10) || (x == 12 && y == 20) || (x == 50 && y == 10); });
  Load(jb::Header(400, 300) + jb::Field(0, "BLACK", 0, 0, half(0, 32)) + jb::Field(5, "RED", 0, 0, half(32, 64)) +
           jb::Field(4, "YELLOW", 0, 0, trace) + jb::PageEnd(1, 1) + jb::Trailer(),
       kNoOutline);
  ASSERT_EQ(33, job.layout.ribbonOutcomes[4]);
  const std::size_t yellow = 0;
  ASSERT_EQ(kYellow, model->JobList().Rows()[yellow].item);
  EXPECT_EQ((CListCellView{L"Distributed", kImageDistributed}),
            model->View().rows[yellow].cells[kColumnPrintedWith - 1]);
  const std::size_t distributedFields = job.pages[0]->graphicFields.size();

  model->OnListClick(yellow, kColumnStep);  // skipped: its pixels go back to a field of its own
  EXPECT_EQ(distributedFields - 1, job.pages[0]->graphicFields.size());
  EXPECT_FALSE(model->OffersRibbonMenu(yellow));
  model->OnListClick(yellow, kColumnStep);  // to do again: distributed again
  EXPECT_EQ(distributedFields, job.pages[0]->graphicFields.size());

  const std::vector<CRibbonMenuEntry> menu = model->RibbonMenu(yellow);
  ASSERT_EQ(catalogue.ribbons.size() + 1, menu.size());
  EXPECT_TRUE(menu.back().marked);
  EXPECT_EQ(kPrintedDistributed, menu.back().choice);
  model->OnRibbonChosen(yellow, kGold);
  EXPECT_EQ(distributedFields - 1, job.pages[0]->graphicFields.size());
  CPrintChannel channel(spooler, messages, L"42_sim");
  ASSERT_TRUE(model->BeginPrint(channel, CWindowPrintSeams{L"VYX - Q5"}));
  EXPECT_EQ("1 2:9:GOLD:16 3:4 2:5:RED:32 3:5 2:0:BLACK:1 3:0 5 6 ", Recipe(model->Plan()));
  model->EndPrint(channel, model->WritePrint(channel, -1));
  model->ResetAllJobs();
  model->OnRibbonChosen(yellow, kPrintedDistributed);
  EXPECT_EQ(distributedFields, job.pages[0]->graphicFields.size());
}

TEST_F(MainWindow, HugeCountsAndLengthsStayBoundedAndRefusePrint) {
  Load(jb::Header(400, 300) + Solid(0, "BLACK", 0, 0, 100, 100) + jb::PageEnd(1, 1) + jb::Trailer(), kAutomatic);
  model->OnEditChanged(IDC_COPIES, L"99999999");
  EXPECT_EQ(99999999, job.headerInForce->totalLabels);
  EXPECT_EQ(1u, model->Plan().printJobs.size());  // not split: the print is refused anyway
  EXPECT_FALSE(Control(IDC_PRINT).enabled);
  EXPECT_EQ(L"Over 120 m", Text(IDC_PRINT));

  model->OnClicked(IDC_TAPE_CUT_SETS, true);
  model->OnEditChanged(IDC_LABELS_PER_SET, L"100");
  EXPECT_EQ(100u, job.pages.size());
  EXPECT_EQ(1000000, model->Copies());  // the sets that hold 99999999 labels
  model->OnEditChanged(IDC_COPIES, L"99999999");
  EXPECT_EQ(INT32_MAX, job.layout.singlePageCopies);  // 100 x 99999999 labels: held at the limit
  EXPECT_EQ(1u, model->Plan().printJobs.size());
  // Sets of 10000 labels fill several documents of different pages: one set is printed.
  model->OnEditChanged(IDC_LABELS_PER_SET, L"10000");
  EXPECT_EQ(10000u, job.pages.size());
  EXPECT_EQ(1, model->Copies());
  EXPECT_TRUE(Control(IDC_COPIES_FORCED).visible);
  EXPECT_LE(model->Plan().printJobs.size(), 20u);

  model->OnClicked(IDC_TAPE_CUT_SETS, false);
  EXPECT_EQ(1u, job.pages.size());
  EXPECT_EQ(10000, model->Copies());
  model->OnEditChanged(IDC_MARGIN_Y, L"10000");  // 10 m
  EXPECT_EQ(100 + 2 * 118110, job.pages[0]->printRect.Height());
  EXPECT_FALSE(Control(IDC_PRINT).enabled);
  model->OnEditChanged(IDC_COPIES, L"2");  // two labels of 20 m side by side: one document each
  EXPECT_TRUE(Control(IDC_PRINT).enabled);
  EXPECT_EQ(L"PRINT", Text(IDC_PRINT));
  EXPECT_EQ(2, DocumentCount(model->Plan()));
}

TEST_F(MainWindow, DoneNeedsNumbersAndTheCopiesFieldIsNeverEmptiedByAKey) {
  Load(FourColours(), kAutomatic);
  EXPECT_FALSE(model->ReadBack().has_value());
  model->OnEditChanged(IDC_COPIES, L"x");
  EXPECT_EQ(L"1", Text(IDC_COPIES));
  model->OnEditChanged(IDC_COPIES, L"");
  const auto failure = model->ReadBack();
  ASSERT_TRUE(failure.has_value());
  EXPECT_EQ(IDC_COPIES, failure->control);
  EXPECT_EQ(L"Enter an integer between 1 and 99999999.", failure->message);
  EXPECT_TRUE(CMainWindowModel::DropsDeletionKey(L"7"));
  EXPECT_FALSE(CMainWindowModel::DropsDeletionKey(L"17"));
}

TEST_F(MainWindow, RadiusTooLargeForTheLabelIsCutToWhatItAllows) {
  Load(FourColours(), L"LnMgSvBo0;12;12;24;0;OpUmLrAeUcCtPlAoAhNt");
  EXPECT_TRUE(Control(IDC_RADIUS).enabled);
  model->OnEditChanged(IDC_RADIUS, L"50");
  // The label is 64 dots tall (40 + 2 x 12): at most 32 dots = 2.7 mm.
  EXPECT_EQ(L"2.7", Text(IDC_RADIUS));
  const CRoundedRect* outline = FindOutline(*job.pages[0]);
  ASSERT_NE(nullptr, outline);
  EXPECT_EQ(LengthToPathUnits(2.7, 0), outline->radius);
}

TEST_F(MainWindow, TapeCutSetsOfASinglePageTellWhatIsPrinted) {
  Load(jb::Header(400, 300) + Solid(0, "BLACK", 0, 0, 100, 100) + jb::PageEnd(5, 1) + jb::Trailer(),
       L"LnMgSvBo0;59;59;24;3;OpAmLrAeAcCtPlAoAhTc");
  EXPECT_EQ(3u, job.pages.size());
  EXPECT_EQ(2, model->Copies());  // 5 labels in sets of 3: two sets
  EXPECT_EQ(L"5|2 x 3 = |6", Text(IDC_COPIES_INFO));
  EXPECT_TRUE(Control(IDC_COPIES_INFO_ICON).visible);
  model->OnSpin(IDC_COPIES_SPIN, true);
  EXPECT_EQ(9, job.layout.singlePageCopies);
  EXPECT_EQ(L"3 in sets of 3 (9)", Text(IDC_COPIES_INFO));
  EXPECT_FALSE(Control(IDC_COPIES_INFO_ICON).visible);
  model->OnClicked(IDC_TAPE_CUT_SETS, false);
  EXPECT_EQ(1u, job.pages.size());
  EXPECT_EQ(9, model->Copies());
}

}  // namespace
}  // namespace vyx
