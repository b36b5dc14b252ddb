// The options string decides silent printing, sizes and cuts of a job: every code position, number and refusal.
#include <gtest/gtest.h>

#include <cwctype>
#include <string>
#include <vector>

#include "manager/model/options.h"

namespace vyx {
namespace {

const std::wstring kDefault(kDefaultOptionsString);

COptions DefaultRecord() {
  COptions o;
  o.orientation = 2;
  o.show_main_window = 1;
  o.code3 = 1;
  o.black_punches = 0;
  o.ribbon_selection = 0;
  o.margin_x = 59;
  o.margin_y = 59;
  o.corner_radius = 24;
  o.labels_per_set = 0;
  o.optimised_size = 1;
  o.automatic_margins = 1;
  o.centre_pages = 1;
  o.automatic_outline = 1;
  o.automatic_corner_radius = 1;
  o.outline_every_page = 1;
  o.laminate = 0;
  o.automatic_gap = 1;
  o.automatic_darkness = 1;
  o.tape_cut_sets = 0;
  return o;
}

int Parse(const std::wstring& text, COptions& o) {
  CNullDebugOutput debug;
  return ParseOptionsAt(text, o, debug);
}

// Character offset of code n (1-based) in a string laid out like the default.
std::size_t CodeOffset(int n) {
  return n <= 4 ? 2 * (n - 1) : kDefault.find(L"OpAm") + 2 * (n - 5);
}

int FieldOf(const COptions& o, int code) {
  switch (code) {
    case 1:
      return o.orientation;
    case 2:
      return o.show_main_window;
    case 3:
      return o.code3;
    case 4:
      return o.black_punches;
    case 5:
      return o.optimised_size;
    case 6:
      return o.automatic_margins;
    case 7:
      return o.centre_pages;
    case 8:
      return o.automatic_outline;
    case 9:
      return o.automatic_corner_radius;
    case 10:
      return o.outline_every_page;
    case 11:
      return o.laminate;
    case 12:
      return o.automatic_gap;
    case 13:
      return o.automatic_darkness;
    default:
      return o.tape_cut_sets;
  }
}

const struct {
  int code;
  const wchar_t* on;
  const wchar_t* off;
  int on_value;
  int off_value;
} kCodes[] = {
    {1, L"Pr", L"Ln", 1, 2},  {2, L"Mg", L"Sl", 1, 0},  {3, L"Sv", L"Ws", 1, 0},  {4, L"Pn", L"Bo", 1, 0},
    {5, L"Op", L"Or", 1, 0},  {6, L"Am", L"Um", 1, 0},  {7, L"Lr", L"Ec", 1, 0},  {8, L"Ae", L"Ue", 1, 0},
    {9, L"Ac", L"Uc", 1, 0},  {10, L"Ct", L"Nc", 1, 0}, {11, L"Lm", L"Pl", 1, 0}, {12, L"Ao", L"Uo", 1, 0},
    {13, L"Ah", L"Uh", 1, 0}, {14, L"Tc", L"Nt", 1, 0},
};

std::wstring WithCode(int code, const wchar_t* pair) {
  std::wstring s = kDefault;
  s.replace(CodeOffset(code), 2, pair);
  return s;
}

TEST(Options, DefaultStringGivesTheDefaultRecord) {
  EXPECT_EQ(41u, kDefault.size());
  COptions o;
  ASSERT_EQ(kOptionsParsed, Parse(kDefault, o));
  EXPECT_EQ(DefaultRecord(), o);
}

TEST(Options, PortraitDiffersFromTheDefaultOnlyInOrientation) {
  COptions o;
  ASSERT_TRUE([&] {
    CNullDebugOutput debug;
    return ParseOptions(WithCode(1, L"Pr"), o, debug);
  }());
  COptions expected = DefaultRecord();
  expected.orientation = 1;
  EXPECT_EQ(expected, o);
}

TEST(Options, EveryCodePositionTakesBothSpellingsAndSetsOnlyItsField) {
  for (const auto& c : kCodes) {
    for (const bool on : {true, false}) {
      COptions o;
      ASSERT_EQ(kOptionsParsed, Parse(WithCode(c.code, on ? c.on : c.off), o)) << c.code;
      EXPECT_EQ(on ? c.on_value : c.off_value, FieldOf(o, c.code)) << c.code;
      for (int other = 1; other <= 14; ++other) {
        if (other == c.code) continue;
        EXPECT_EQ(FieldOf(DefaultRecord(), other), FieldOf(o, other)) << c.code << "/" << other;
      }
    }
  }
}

TEST(Options, EveryCodePositionRefusesLowerCaseSwappedAndForeignPairs) {
  for (const auto& c : kCodes) {
    std::wstring lower = c.on, upper = c.off, swapped = c.on;
    lower[0] = static_cast<wchar_t>(lower[0] - L'A' + L'a');
    upper[1] = static_cast<wchar_t>(upper[1] - L'a' + L'A');
    std::swap(swapped[0], swapped[1]);
    // The spelling of the neighbouring position is not valid here either.
    const auto& neighbour = kCodes[c.code % 14];
    for (const std::wstring& bad : {lower, upper, swapped, std::wstring(neighbour.on), std::wstring(L"  ")}) {
      COptions o;
      EXPECT_EQ(c.code, Parse(WithCode(c.code, bad.c_str()), o)) << c.code << " " << bad.size();
    }
  }
}

TEST(Options, WholeStringInLowerCaseFailsAtTheFirstCode) {
  std::wstring lower = kDefault;
  for (wchar_t& ch : lower) ch = static_cast<wchar_t>(std::towlower(ch));
  COptions o;
  EXPECT_EQ(1, Parse(lower, o));
}

TEST(Options, FourthPairNeitherPunchSpellingFailsAtCodeFourKeepingEarlierFields) {
  COptions o;
  EXPECT_EQ(4, Parse(WithCode(4, L"Px"), o));
  EXPECT_EQ(2, o.orientation);
  EXPECT_EQ(1, o.show_main_window);
  EXPECT_EQ(1, o.code3);
  EXPECT_EQ(0, o.margin_x);  // never reached
}

TEST(Options, LetterTokenShortOfTwentyCharactersFailsAtCodeFourteen) {
  for (const std::wstring& cut : {kDefault.substr(0, kDefault.size() - 2), kDefault.substr(0, kDefault.size() - 1)}) {
    COptions o;
    EXPECT_EQ(14, Parse(cut, o));
    EXPECT_EQ(1, o.automatic_darkness);  // code 13 was read before the failure
  }
  COptions o;
  EXPECT_EQ(14, Parse(kDefault.substr(0, kDefault.size() - 2) + L";Nt", o));
}

TEST(Options, TrailingCharactersAndTokensAreIgnored) {
  for (const std::wstring tail : {L"Xy", L"Tc", L";Zz;123", L";"}) {
    COptions o;
    EXPECT_EQ(kOptionsParsed, Parse(kDefault + tail, o)) << tail.size();
    EXPECT_EQ(DefaultRecord(), o);
  }
}

TEST(Options, NumbersAreReadAndEchoedToTheDebugger) {
  CCollectingDebugOutput debug;
  COptions o;
  ASSERT_EQ(kOptionsParsed, ParseOptionsAt(L"PrSlWsPn7;-12;300;96;4;OrUmEcUeUcNcLmUoUhTc", o, debug));
  EXPECT_EQ(7, o.ribbon_selection);
  EXPECT_EQ(-12, o.margin_x);
  EXPECT_EQ(300, o.margin_y);
  EXPECT_EQ(96, o.corner_radius);
  EXPECT_EQ(4, o.labels_per_set);
  const std::vector<std::wstring> expected = {L"-12\n", L"300\n", L"96\n", L"4\n"};
  EXPECT_EQ(expected, debug.lines);
  EXPECT_EQ(1, o.orientation);
  EXPECT_EQ(0, o.show_main_window);
  EXPECT_EQ(0, o.code3);
  EXPECT_EQ(1, o.black_punches);
  EXPECT_EQ(0, o.optimised_size + o.automatic_margins + o.centre_pages + o.automatic_outline +
                   o.automatic_corner_radius + o.outline_every_page + o.automatic_gap + o.automatic_darkness);
  EXPECT_EQ(1, o.laminate);
  EXPECT_EQ(1, o.tape_cut_sets);
}

TEST(Options, RunsOfSeparatorsCountAsOne) {
  CCollectingDebugOutput debug;
  COptions o;
  ASSERT_EQ(kOptionsParsed, ParseOptionsAt(L"LnMgSvBo3;;10;;;20;30;;40;;OpAmLrAeAcCtPlAoAhNt", o, debug));
  EXPECT_EQ(3, o.ribbon_selection);
  EXPECT_EQ(10, o.margin_x);
  EXPECT_EQ(20, o.margin_y);
  EXPECT_EQ(30, o.corner_radius);
  EXPECT_EQ(40, o.labels_per_set);
  EXPECT_EQ(4u, debug.lines.size());
}

TEST(Options, FewerThanFourNumbersFailAtCodeFive) {
  CCollectingDebugOutput debug;
  COptions o;
  // The letter token is taken as the third number and nothing is left for the letters.
  EXPECT_EQ(5, ParseOptionsAt(L"LnMgSvBo0;59;59;OpAmLrAeAcCtPlAoAhNt", o, debug));
  EXPECT_EQ(3u, debug.lines.size());
  EXPECT_EQ(0, o.corner_radius);
  EXPECT_EQ(5, Parse(L"LnMgSvBo0", o));
  EXPECT_EQ(5, Parse(L"LnMgSvBo", o));
  EXPECT_EQ(5, Parse(L"LnMgSvBo0;1;2;3;4", o));
  EXPECT_EQ(5, Parse(L"LnMgSvBo0;1;2;3;4;;;", o));
}

TEST(Options, NumberTextStopsAtTheFirstNonDigit) {
  COptions o;
  ASSERT_EQ(kOptionsParsed, Parse(L"LnMgSvBo12ab;5mm;x7; 8;+9;OpAmLrAeAcCtPlAoAhNt", o));
  EXPECT_EQ(12, o.ribbon_selection);
  EXPECT_EQ(5, o.margin_x);
  EXPECT_EQ(0, o.margin_y);
  EXPECT_EQ(8, o.corner_radius);
  EXPECT_EQ(9, o.labels_per_set);
}

TEST(Options, HugeNumbersSaturateInsteadOfOverflowing) {
  COptions o;
  ASSERT_EQ(kOptionsParsed,
            Parse(L"LnMgSvBo99999999999999999999;-99999999999999;2147483647;-2147483648;0;OpAmLrAeAcCtPlAoAhNt", o));
  EXPECT_EQ(2147483647, o.ribbon_selection);
  EXPECT_EQ(-2147483647 - 1, o.margin_x);
  EXPECT_EQ(2147483647, o.margin_y);
  EXPECT_EQ(-2147483647 - 1, o.corner_radius);
}

TEST(Options, ShortAndEmptyStringsFailAtTheMissingCodeWithoutReadingPastTheEnd) {
  COptions o;
  EXPECT_EQ(1, Parse(L"", o));
  EXPECT_EQ(1, Parse(L"L", o));
  EXPECT_EQ(2, Parse(L"Ln", o));
  EXPECT_EQ(2, Parse(L"LnM", o));
  EXPECT_EQ(4, Parse(L"LnMgSvB", o));
  // A separator inside the leading codes is not a code.
  EXPECT_EQ(3, Parse(L"LnMg;59;59;24;0;OpAmLrAeAcCtPlAoAhNt", o));
}

TEST(Options, AnEmbeddedTerminatorEndsTheString) {
  std::wstring s = kDefault;
  s[30] = L'\0';
  COptions o;
  EXPECT_NE(kOptionsParsed, Parse(s, o));
  EXPECT_EQ(kOptionsParsed, Parse(kDefault + std::wstring(1, L'\0') + L"garbage", o));
}

TEST(Options, ReadDecimalFollowsAtoi) {
  EXPECT_EQ(0, ReadDecimal(L""));
  EXPECT_EQ(0, ReadDecimal(L"-"));
  EXPECT_EQ(-5, ReadDecimal(L" \t-5x"));
  EXPECT_EQ(0, ReadDecimal(L"--5"));
  EXPECT_EQ(42, ReadDecimal(L"0042"));
}

}  // namespace
}  // namespace vyx
