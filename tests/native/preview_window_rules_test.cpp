// The preview's window rules without the window: scroll bars from layout and frame, scroll and wheel requests, the
// repaint timer rule, picking a row by colour, the first window size and the layout following the edges.
#include <gtest/gtest.h>

#include "common/ini_file.h"
#include "manager/app/main_window_layout.h"
#include "manager/app/main_window_model.h"
#include "manager/app/preview_pick.h"
#include "manager/app/preview_scroll.h"

namespace vyx {
namespace {

TEST(PreviewBars, RangesPagesAndWhenTheyAreNeeded) {
  CPreviewLayout layout;
  layout.layoutLength = 3000;
  const CPreviewBars tall = MeasureBars(layout, {1241, 655, 0, 2900});
  EXPECT_EQ((CScrollBarState{3000, 655, 3000 - 654, true, true}), tall.vertical);  // position kept within range
  EXPECT_EQ((CScrollBarState{1217, 1241, 0, true, false}), tall.horizontal);       // wider than the tape
  layout.layoutLength = 600;
  const CPreviewBars shorter = MeasureBars(layout, {1000, 655, 100, 0});
  EXPECT_FALSE(shorter.vertical.visible);  // a layout shorter than the frame shows no vertical bar
  EXPECT_EQ((CScrollBarState{1217, 1000, 100, true, true}), shorter.horizontal);
}

TEST(PreviewBars, ScrollRequestsAndTheWheel) {
  const CScrollBarState bar{3000, 600, 100, true, true};
  const struct {
    int request;
    std::int64_t thumb;
    int pos;
  } cases[] = {
      {kScrollLineUp, 0, 99},
      {kScrollLineDown, 0, 101},
      {kScrollPageUp, 0, 0},
      {kScrollPageDown, 0, 700},
      {kScrollThumbTrack, 1234, 1234},
      {kScrollThumbPosition, 2999, 2401},
      {kScrollThumbTrack, 1000001, 100},
      {kScrollThumbTrack, -1, 100},
      {kScrollTop, 0, 0},
      {kScrollBottom, 0, 2401},
      {kScrollEnd, 0, 100},
  };
  for (const auto& c : cases) EXPECT_EQ(c.pos, ScrollTo(bar, c.request, c.thumb)) << c.request << " " << c.thumb;
  EXPECT_EQ(130, WheelTo(bar, -120));
  EXPECT_EQ(70, WheelTo(bar, 120));
  EXPECT_EQ(0, WheelTo(bar, 120 * 100));
}

TEST(PreviewTimer, BurstsMoveTheTimerOnlyWithinHalfASecond) {
  CRepaintTimerRule rule;
  EXPECT_EQ(CRepaintTimerRule::kSetTimer, rule.Request(1000, true));
  EXPECT_EQ(CRepaintTimerRule::kSetTimer, rule.Request(1499, true));
  EXPECT_EQ(CRepaintTimerRule::kOmitReset, rule.Request(1500, true));
  EXPECT_EQ(CRepaintTimerRule::kSetTimer, rule.Request(1600, false));  // settings changes always move it
  EXPECT_EQ(CRepaintTimerRule::kSetTimer, rule.Request(2600, true));   // ... and start a new burst
  rule.Fired();
  EXPECT_EQ(CRepaintTimerRule::kSetTimer, rule.Request(9000, true));

  CScrollEndDelay end;
  EXPECT_EQ(kNoRepaint, end.After(kScrollLineDown));
  EXPECT_EQ(kRepaintLineScrollEnd, end.After(kScrollEnd));
  EXPECT_EQ(kNoRepaint, end.After(kScrollThumbTrack));
  EXPECT_EQ(kRepaintNow, end.After(kScrollEnd));
}

TEST(PreviewPick, ARowByItsPrintingRibbonsColourOrItsDisplayColour) {
  CIniFile ini;
  ASSERT_TRUE(ini.Load(std::string(VYX_SOURCE_DIR) + "/resources/VyxQ5Colors.ini"));
  CCatalogue catalogue;
  catalogue.Read(ini, false, CLanguageText());
  const int red = catalogue.IndexOfName(L"Red"), blue = catalogue.IndexOfName(L"Blue"),
            gold = catalogue.IndexOfName(L"Gold");
  CJobList list;
  list.MutableRows() = {{red, kImageToDo, kImageStepToPrint, kImageRibbonChoice, blue},
                        {blue, kImageToDo, kImageStepToPrint, kImageRibbonChoice, blue},
                        {gold, kImageToDo, kImageStepToPrint, kImageRibbonChoice, gold},
                        {kCutRowItem, kImageToDo, kImageStepToPrint, -1, -1}};
  const auto colour = [&](int index) { return catalogue.ribbons[static_cast<std::size_t>(index)].colour; };
  EXPECT_EQ(1, PickRowByColour(list, catalogue, colour(blue)));  // the row printed with its own ribbon
  list.MutableRows()[1].printing = red;
  EXPECT_EQ(0, PickRowByColour(list, catalogue, colour(blue)));
  EXPECT_EQ(2, PickRowByColour(list, catalogue, 3649492));  // gold's display colour
  EXPECT_EQ(-1, PickRowByColour(list, catalogue, MakeRgb(1, 2, 3)));
}

TEST(MainWindowLayout, FirstSizeAndTheFrameFollowingTheEdges) {
  EXPECT_FALSE(FitFirstSize(1920, 1040).reduced);
  const CFirstSize small = FitFirstSize(1024, 740);
  EXPECT_TRUE(small.reduced);
  EXPECT_EQ(1024, small.width);
  EXPECT_EQ(740, small.height);

  // A template of 1000 x 800 with a list at the top, the frame below it and both bars.
  const CMainWindowLayout layout(1000, 800,
                                 {{IDC_JOB_LIST, {500, 10, 900, 200}},
                                  {IDC_PREVIEW, {10, 300, 970, 770}},
                                  {IDC_PREVIEW_VSCROLL, {970, 300, 990, 770}},
                                  {IDC_PREVIEW_HSCROLL, {10, 770, 970, 790}}});
  const auto wider = layout.LayOut(1200, 900);
  EXPECT_EQ((CPixelRect{600, 10, 1080, 200}), wider[0].rect);  // scaled across, same height
  EXPECT_EQ((CPixelRect{10, 300, 1170, 870}), wider[1].rect);
  EXPECT_EQ((CPixelRect{1170, 300, 1190, 870}), wider[2].rect);
  EXPECT_TRUE(wider[3].visible);
  EXPECT_EQ((CPixelRect{10, 870, 1170, 890}), wider[3].rect);
  // As wide as the tape: the horizontal bar goes and the frame takes its place.
  const auto tape = layout.LayOut(1257, 900);
  EXPECT_FALSE(tape[3].visible);
  EXPECT_EQ((CPixelRect{10, 300, 1227, 890}), tape[1].rect);
  EXPECT_EQ(890, tape[2].rect.bottom);
}

}  // namespace
}  // namespace vyx
