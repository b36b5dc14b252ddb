// Language detection, the string fetch rule, language lists and text formatting over a string table in memory.
#include <gtest/gtest.h>

#include <map>
#include <utility>
#include <vector>

#include "common/language.h"
#include "common/string_ids.h"
#include "common/text_format.h"

namespace vyx {
namespace {

// A string table that answers like LoadStringW: truncates to capacity - 1, and fails with `missing_error`
// (1814 on Windows, 6 under Wine) for ids it does not hold.
class CTableLoader : public CStringLoader {
 public:
  int Load(int id, int capacity, std::wstring& text, unsigned long& error) override {
    calls.push_back({id, capacity});
    const auto it = strings.find(id);
    if (it == strings.end() || it->second.empty()) {
      const auto special = errors.find(id);
      error = special != errors.end() ? special->second : missing_error;
      text.clear();
      return 0;
    }
    text = it->second.substr(0, static_cast<std::size_t>(capacity - 1));
    return static_cast<int>(text.size());
  }
  std::map<int, std::wstring> strings;
  std::map<int, unsigned long> errors;  // ids that fail with another code
  unsigned long missing_error = kErrorResourceNameNotFound;
  std::vector<std::pair<int, int>> calls;
};

// German, English and Dutch as the stand-in library lays them out.
CTableLoader ThreeLanguages() {
  CTableLoader loader;
  const wchar_t* codes[] = {L"de", L"en", L"nl"};
  const wchar_t* names[] = {L"Deutsch", L"English", L"Nederlands"};
  for (int k = 0; k < 3; ++k) {
    loader.strings[k * 1000 + kStrLanguageCode] = codes[k];
    loader.strings[k * 1000 + kStrLanguageDisplayName] = names[k];
  }
  return loader;
}

class CFakeLocale : public CLocaleSource {
 public:
  bool KernelLoaded() override { return kernel; }
  bool HasNamedLocaleFunction() override { return has_function; }
  bool NamedLocale(std::wstring& out) override {
    out = name;
    return function_succeeds;
  }
  unsigned LocaleId() override { return lcid; }
  bool kernel = true;
  bool has_function = true;
  bool function_succeeds = true;
  std::wstring name = L"en-US";
  unsigned lcid = 0x0409;
};

TEST(LanguageDetection, DutchLocaleFindsTheThirdLanguage) {
  CTableLoader loader = ThreeLanguages();
  CFakeLocale locale;
  locale.name = L"nl-NL";
  CMemorySettingsStore store;
  EXPECT_EQ(2000, ChooseLangBase(store, kManagerSettings, loader, locale));
  EXPECT_EQ(0, FindLangBaseForCode(loader, L"de"));
}

TEST(LanguageDetection, UnknownCodeFallsBackToEnglishWhenTheTableEnds) {
  CTableLoader loader = ThreeLanguages();
  EXPECT_EQ(1000, FindLangBaseForCode(loader, L"pl"));
  // The walk stops at the first missing code string (4106), not at the limit.
  EXPECT_EQ(4106, loader.calls.back().first);
}

TEST(LanguageDetection, WalkRunsToTheLimitWhenMissingStringsFailWithAnotherCode) {
  CTableLoader loader = ThreeLanguages();
  loader.missing_error = 6;  // what Wine answers
  EXPECT_EQ(1000, FindLangBaseForCode(loader, L"pl"));
  EXPECT_EQ(29106, loader.calls.back().first);
  EXPECT_EQ(29u, loader.calls.size());
  // A language beyond a gap is still found.
  loader.strings[7106] = L"pl";
  EXPECT_EQ(6000, FindLangBaseForCode(loader, L"pl"));
}

TEST(LanguageDetection, CodesCompareExactly) {
  CTableLoader loader = ThreeLanguages();
  EXPECT_EQ(1000, FindLangBaseForCode(loader, L"NL"));
  EXPECT_EQ(1000, FindLangBaseForCode(loader, L"n"));
  EXPECT_EQ(1000, FindLangBaseForCode(loader, L""));
}

TEST(LanguageDetection, StoredBaseWinsAndIsNotValidated) {
  CTableLoader loader = ThreeLanguages();
  CFakeLocale locale;
  locale.name = L"nl-NL";
  CMemorySettingsStore store;
  store.Write(EHive::kLocalMachine, ESetting::kLangBase, 7000);
  EXPECT_EQ(7000, ChooseLangBase(store, kManagerSettings, loader, locale));
  EXPECT_TRUE(loader.calls.empty());
  store.Write(EHive::kCurrentUser, ESetting::kLangBase, 0);
  EXPECT_EQ(0, ChooseLangBase(store, kManagerSettings, loader, locale));
  // The setup program does not see the user's value.
  EXPECT_EQ(7000, ChooseLangBase(store, kSetupSettings, loader, locale));
}

TEST(LanguageDetection, LocaleNameSources) {
  CFakeLocale locale;
  locale.name = L"de-AT";
  EXPECT_EQ(L"de-AT", DetectLocaleName(locale));
  locale.function_succeeds = false;
  EXPECT_EQ(L"", DetectLocaleName(locale));
  locale.has_function = false;
  locale.lcid = 0x0813;
  EXPECT_EQ(L"nl-nl", DetectLocaleName(locale));
  locale.kernel = false;
  EXPECT_EQ(L"", DetectLocaleName(locale));
}

TEST(LanguageDetection, LocaleIdTableAndItsGaps) {
  EXPECT_EQ(L"da-da", LocaleNameFromId(0x0406));
  EXPECT_EQ(L"de-de", LocaleNameFromId(0x1407));
  EXPECT_EQ(L"es-es", LocaleNameFromId(0x500A));
  EXPECT_EQ(L"es-es", LocaleNameFromId(0x040A));
  EXPECT_EQ(L"en-us", LocaleNameFromId(0x0C0A));
  EXPECT_EQ(L"fr-fr", LocaleNameFromId(0x380C));
  EXPECT_EQ(L"en-us", LocaleNameFromId(0x200C));
  EXPECT_EQ(L"nl-nl", LocaleNameFromId(0x0413));
  EXPECT_EQ(L"sv-se", LocaleNameFromId(0x081D));
  EXPECT_EQ(L"en-us", LocaleNameFromId(0x0415));
  EXPECT_EQ(L"en-us", LocaleNameFromId(0));
}

TEST(LanguageDetection, CodeIsThePartBeforeTheFirstHyphen) {
  EXPECT_EQ(L"nl", LanguageCodeOf(L"nl-NL"));
  EXPECT_EQ(L"sr", LanguageCodeOf(L"sr-Latn-RS"));
  EXPECT_EQ(L"", LanguageCodeOf(L"nl"));
  EXPECT_EQ(L"", LanguageCodeOf(L"-NL"));
  EXPECT_EQ(L"", LanguageCodeOf(L""));
}

TEST(LanguageDetection, LocaleWithoutHyphenFallsBackToEnglish) {
  CTableLoader loader = ThreeLanguages();
  loader.strings[3106] = L"";  // an empty code would otherwise match an empty one
  CFakeLocale locale;
  locale.name = L"nl";
  CMemorySettingsStore store;
  EXPECT_EQ(1000, ChooseLangBase(store, kManagerSettings, loader, locale));
}

TEST(LanguageStrings, TextsBelow258CharactersComeFromTheFirstLoad) {
  CTableLoader loader;
  loader.strings[2500] = std::wstring(257, L'a');
  EXPECT_EQ(std::wstring(257, L'a'), FetchLanguageString(loader, 1000, 1500));
  ASSERT_EQ(1u, loader.calls.size());
  EXPECT_EQ(260, loader.calls[0].second);
}

TEST(LanguageStrings, LongerTextsAreLoadedAgainIntoTheLongBuffer) {
  CTableLoader loader;
  loader.strings[2500] = std::wstring(258, L'b');
  loader.strings[2501] = std::wstring(600, L'c');
  loader.strings[2502] = std::wstring(1000, L'd');
  EXPECT_EQ(std::wstring(258, L'b'), FetchLanguageString(loader, 1000, 1500));
  ASSERT_EQ(2u, loader.calls.size());
  EXPECT_EQ(780, loader.calls[1].second);
  EXPECT_EQ(std::wstring(600, L'c'), FetchLanguageString(loader, 1000, 1501));
  EXPECT_EQ(std::wstring(779, L'd'), FetchLanguageString(loader, 1000, 1502));
}

TEST(LanguageStrings, MissingStringsAndMissingLibraryGiveEmptyTexts) {
  CTableLoader loader = ThreeLanguages();
  EXPECT_EQ(L"", FetchLanguageString(loader, 1000, 1445));
  EXPECT_EQ(L"", FetchLanguageString(loader, 5000, 1108));  // a base past the library
  EXPECT_EQ(L"", CLanguageText().GetString(1108));
  EXPECT_EQ(L"Nederlands", CLanguageText(&loader, 2000).GetString(1108));
}

TEST(LanguageList, ListsEveryLanguageAndSelectsTheCurrentOne) {
  CTableLoader loader = ThreeLanguages();
  std::vector<std::wstring> names;
  int selection = -7;
  EXPECT_EQ(3, ListLanguages(loader, 2000, names, selection));
  EXPECT_EQ((std::vector<std::wstring>{L"Deutsch", L"English", L"Nederlands"}), names);
  EXPECT_EQ(2, selection);
  EXPECT_EQ(4108, loader.calls.back().first);
  EXPECT_EQ(3, ListLanguages(loader, 9000, names, selection));
  EXPECT_EQ(-1, selection);
}

TEST(LanguageList, OtherFailuresSkipAnIdWithoutEndingTheList) {
  CTableLoader loader = ThreeLanguages();
  loader.strings.erase(2108);
  loader.errors[2108] = 5;
  std::vector<std::wstring> names;
  int selection = -1;
  EXPECT_EQ(2, ListLanguages(loader, 2000, names, selection));
  EXPECT_EQ(L"Nederlands", names[1]);
  EXPECT_EQ(1, selection);
  loader.missing_error = 6;
  EXPECT_EQ(2, ListLanguages(loader, 0, names, selection));
  EXPECT_EQ(29108, loader.calls.back().first);  // bounded even when nothing ever says "not found"
}

TEST(TextFormat, FillsNumbersAndTextsInOrder) {
  EXPECT_EQ(L"Job longer than 12 m!", FormatText(L"Job longer than %d m!", {12}));
  EXPECT_EQ(L"Requested: 5, printed: 2 x 3 = 6 labels",
            FormatText(L"Requested: %d, printed: %s%d labels", {5, L"2 x 3 = ", 6}));
  EXPECT_EQ(L"Logon to srv failed", FormatText(L"Logon to %s failed", {L"srv"}));
  EXPECT_EQ(L"-3 %", FormatText(L"%i %%", {-3}));
  EXPECT_EQ(L"a b", FormatText(L"%ls %S", {L"a", L"b"}));
}

TEST(TextFormat, MismatchedTextsNeverReadBeyondTheArguments) {
  EXPECT_EQ(L"12 and %d", FormatText(L"%d and %d", {12}));
  EXPECT_EQ(L"%s", FormatText(L"%s", {}));
  EXPECT_EQ(L"12", FormatText(L"%s", {12}));
  EXPECT_EQ(L"%n %x %", FormatText(L"%n %x %", {1, 2}));
  EXPECT_EQ(L"", FormatText(L"", {1}));
}

TEST(ControlGeometry, FittedWidthRoundsThreeQuartersOfTheText) {
  EXPECT_EQ(20 + 75, FittedControlWidth(20, 100));
  EXPECT_EQ(20 + 2, FittedControlWidth(20, 2));  // 1.5 rounds up
  EXPECT_EQ(20 + 1, FittedControlWidth(20, 1));  // 0.75
  EXPECT_EQ(24, FittedControlWidth(24, 0));
}

TEST(ControlGeometry, ShiftedPositionIsInParentCoordinates) {
  const CPoint at = ShiftedChildPosition({300, 250}, {100, 100}, 15, 4, 4, 23);
  EXPECT_EQ(300 + 15 - 100 - 4, at.x);
  EXPECT_EQ(250 - 100 - 4 - 23, at.y);
}

}  // namespace
}  // namespace vyx
