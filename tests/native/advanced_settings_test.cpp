// The advanced settings dialog's model: the language list over a library of three languages (and one with a gap),
// the darkness spin and range, what OK stores, and the bounded firmware read.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "common/string_ids.h"
#include "manager/app/advanced_settings.h"
#include "manager/app/resource.h"

namespace vyx {
namespace {

// Languages 0, 1 and 2 (or those listed), each with its name and a few texts; a missing string reports what Wine
// reports (error 6), so the search runs to its bound.
class CThreeLanguages : public CStringLoader {
 public:
  explicit CThreeLanguages(std::vector<int> blocks = {0, 1, 2}) {
    const wchar_t* names[] = {L"Deutsch", L"English", L"Nederlands"};
    for (int k : blocks) {
      strings[k * 1000 + kStrLanguageDisplayName] = names[k];
      strings[k * 1000 + kStrRangeTo] = L"to";
      strings[k * 1000 + kStrDriverVersion] = L"Driver version";
      strings[k * 1000 + kStrInches] = L"Inches";
    }
  }
  int Load(int id, int, std::wstring& text, unsigned long& error) override {
    if (id % 1000 == kStrLanguageDisplayName % 1000) ++nameLoads;
    const auto it = strings.find(id);
    if (it == strings.end()) {
      error = 6;
      return 0;
    }
    text = it->second;
    return static_cast<int>(text.size());
  }
  std::map<int, std::wstring> strings;
  int nameLoads = 0;
};

TEST(AdvancedSettings, ThreeLanguagesAreListedAndTheThirdStoresBase2000) {
  CThreeLanguages library;
  CAdvancedSettingsModel model(CLanguageText(&library, 1000), 0, {true, false, 15});
  model.Open(L"1.2.3.4");
  EXPECT_EQ((std::vector<std::wstring>{L"Deutsch", L"English", L"Nederlands"}), model.Languages().entries);
  EXPECT_EQ(1, model.Languages().selected);
  EXPECT_EQ(29, library.nameLoads);  // every block below 30000: no missing name ends the search here
  EXPECT_EQ(L"0 to 30:", model.View().At(IDC_ADV_DARKNESS_RANGE).text);
  EXPECT_EQ(L"Driver version: 1.2.3.4", model.View().At(IDC_ADV_DRIVER_VERSION).text);
  EXPECT_EQ(0, model.Units().selected);
  EXPECT_TRUE(model.View().At(IDC_ADV_RIBBON_SAVING).checked);

  model.OnLanguageChosen(2);
  model.OnUnitChosen(1);
  model.OnChecked(IDC_ADV_PRINT_TO_FILE, true);
  model.OnChecked(IDC_ADV_RIBBON_SAVING, false);
  ASSERT_FALSE(model.ReadBack());
  EXPECT_EQ(2000, model.Stored().languageBase);
  EXPECT_EQ(1, model.Stored().unitCode);
  EXPECT_TRUE(model.Values().printToFile);
  EXPECT_FALSE(model.Values().ribbonSaving);
}

TEST(AdvancedSettings, ALanguageMissingInTheMiddleDoesNotShiftTheOnesAfterIt) {
  CThreeLanguages library({0, 2});
  CAdvancedSettingsModel model(CLanguageText(&library, 2000), 1, {});
  model.Open(L"");
  EXPECT_EQ((std::vector<std::wstring>{L"Deutsch", L"Nederlands"}), model.Languages().entries);
  EXPECT_EQ(1, model.Languages().selected);
  EXPECT_EQ(1, model.Units().selected);
  EXPECT_EQ(L"Driver version: ", model.View().At(IDC_ADV_DRIVER_VERSION).text);
  ASSERT_FALSE(model.ReadBack());
  EXPECT_EQ(2000, model.Stored().languageBase);
  // Without a library nothing is listed, and the language stays.
  CAdvancedSettingsModel none(CLanguageText(nullptr, 3000), 0, {});
  none.Open(L"");
  EXPECT_TRUE(none.Languages().entries.empty());
  ASSERT_FALSE(none.ReadBack());
  EXPECT_EQ(3000, none.Stored().languageBase);
}

TEST(AdvancedSettings, DarknessSpinStopsAtTheEndsAndOkRefusesOutsideTheRange) {
  CThreeLanguages library;
  CAdvancedSettingsModel model(CLanguageText(&library, 1000), 0, {false, false, 30});
  model.Open(L"");
  model.OnDarknessSpin(true);
  EXPECT_EQ(L"30", model.View().At(IDC_ADV_DARKNESS).text);
  model.OnDarknessSpin(false);
  EXPECT_EQ(29, model.Darkness());
  model.OnDarknessEdited(L"0");
  model.OnDarknessSpin(false);
  EXPECT_EQ(L"0", model.View().At(IDC_ADV_DARKNESS).text);

  const struct {
    const wchar_t* typed;
    bool accepted;
  } cases[] = {{L"31", false},  {L"", false},  {L"-1", false}, {L"1e9", false}, {L"99999999999999999999", false},
               {L"abc", false}, {L"30", true}, {L"007", true}};
  for (const auto& c : cases) {
    model.OnDarknessEdited(c.typed);
    const std::optional<CReadBackFailure> failure = model.ReadBack();
    EXPECT_EQ(c.accepted, !failure) << c.typed;
    if (failure) {
      EXPECT_EQ(IDC_ADV_DARKNESS, failure->control);
      EXPECT_EQ(L"Enter an integer between 0 and 30.", failure->message);
    }
  }
  EXPECT_EQ(7, model.Values().darkness);
  model.OnDarknessEdited(L"45");  // typed beyond the range: the spin only comes down from it
  model.OnDarknessSpin(true);
  EXPECT_EQ(L"45", model.View().At(IDC_ADV_DARKNESS).text);
  model.OnDarknessSpin(false);
  EXPECT_EQ(L"44", model.View().At(IDC_ADV_DARKNESS).text);
}

// A file of `size` bytes whose read fails at `failAt` (or ends early at `endAt`).
class CFakeFile : public CFirmwareSource {
 public:
  CFakeFile(std::uint64_t size, std::uint64_t endAt, std::uint64_t failAt)
      : m_size(size), m_endAt(endAt), m_failAt(failAt) {}
  bool Size(std::uint64_t* size) override {
    *size = m_size;
    return true;
  }
  bool Read(void* into, std::size_t count, std::size_t* got) override {
    largest = std::max(largest, count);
    if (m_at >= m_failAt) return false;
    const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(count, m_endAt - m_at));
    for (std::size_t i = 0; i < n; ++i) static_cast<char*>(into)[i] = static_cast<char>((m_at + i) * 7);
    m_at += n;
    *got = n;
    return true;
  }
  std::size_t largest = 0;

 private:
  std::uint64_t m_size, m_endAt, m_failAt, m_at = 0;
};

TEST(AdvancedSettings, FirmwareIsReadWholeInBoundedPiecesOrNotAtAll) {
  const std::uint64_t size = 3 * kFirmwareReadPiece + 123;
  CFakeFile whole(size, size, UINT64_MAX);
  const std::optional<CFirmwareBytes> bytes = ReadFirmware(whole);
  ASSERT_TRUE(bytes);
  ASSERT_EQ(size, bytes->size);
  EXPECT_EQ(static_cast<char>(size * 7 - 7), bytes->data[bytes->size - 1]);
  EXPECT_EQ(kFirmwareReadPiece, whole.largest);

  CFakeFile failing(size, size, 2 * kFirmwareReadPiece);
  EXPECT_FALSE(ReadFirmware(failing));
  CFakeFile shorter(size, size - 1, UINT64_MAX);
  EXPECT_FALSE(ReadFirmware(shorter));
  CFakeFile empty(0, 0, UINT64_MAX);
  const std::optional<CFirmwareBytes> none = ReadFirmware(empty);
  ASSERT_TRUE(none);
  EXPECT_EQ(0u, none->size);
  CFakeFile huge(UINT64_MAX, 0, UINT64_MAX);  // more than memory can hold: refused before any read
  EXPECT_FALSE(ReadFirmware(huge));
  EXPECT_EQ(0u, huge.largest);
}

}  // namespace
}  // namespace vyx
