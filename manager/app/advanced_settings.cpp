// The advanced settings dialog's rules over the language library, and the bounded read of a firmware file.
#include "manager/app/advanced_settings.h"

#include <algorithm>
#include <limits>
#include <new>

#include "common/string_ids.h"
#include "manager/app/number_entry.h"
#include "manager/app/resource.h"

namespace vyx {

namespace {

struct CLanguageLabel {
  int id;
  int offset;
};
constexpr CLanguageLabel kLabels[] = {
    {IDC_ADV_OK, kStrOk},
    {IDC_ADV_CANCEL, kStrCancel},
    {IDC_ADV_REGIONAL_GROUP, kStrRegionalSettings},
    {IDC_ADV_LANGUAGE_LABEL, kStrLanguageTitle},
    {IDC_ADV_UNIT_LABEL, kStrUnitTitle},
    {IDC_ADV_DARKNESS_GROUP, kStrDarkness},
    {IDC_ADV_MISC_GROUP, kStrMiscellaneous},
    {IDC_ADV_RIBBON_SAVING, kStrRibbonSaving},
    {IDC_ADV_PRINT_TO_FILE, kStrPrintToFile},
    {IDC_ADV_UPDATE_FIRMWARE, kStrUpdateFirmware},
};

}  // namespace

CAdvancedSettingsModel::CAdvancedSettingsModel(CLanguageText language,
                                               int unitCode,
                                               const CAdvancedSettingsValues& values)
    : m_language(language), m_unitCode(unitCode), m_values(values), m_darkness(values.darkness) {}

void CAdvancedSettingsModel::SetLanguageText(int id, int offset) {
  std::wstring text = m_language.GetString(offset);
  if (!text.empty()) m_view[id].text = std::move(text);
}

void CAdvancedSettingsModel::Open(const std::wstring& driverVersion) {
  SetLanguageText(kAdvancedCaptionId, kStrAdvancedTitle);
  for (const CLanguageLabel& label : kLabels) SetLanguageText(label.id, label.offset);
  m_view[IDC_ADV_DARKNESS_RANGE].text = std::to_wstring(kMinDarkness) + L" " + m_language.GetString(kStrRangeTo) +
                                        L" " + std::to_wstring(kMaxDarkness) + L":";
  m_view[IDC_ADV_DRIVER_VERSION].text = m_language.GetString(kStrDriverVersion) + L": " + driverVersion;

  m_languages = {};
  if (CStringLoader* loader = m_language.Loader())
    ListLanguages(*loader, m_language.Base(), m_languages.entries, m_languageBases, m_languages.selected);
  m_units.entries = {m_language.GetString(kStrMillimetres), m_language.GetString(kStrInches)};
  m_units.selected = IsInchUnit(m_unitCode) ? 1 : 0;

  m_view[IDC_ADV_RIBBON_SAVING].checked = m_values.ribbonSaving;
  m_view[IDC_ADV_PRINT_TO_FILE].checked = m_values.printToFile;
  ShowDarkness();
}

void CAdvancedSettingsModel::OnLanguageChosen(int index) {
  if (index >= 0 && index < static_cast<int>(m_languages.entries.size())) m_languages.selected = index;
}

void CAdvancedSettingsModel::OnUnitChosen(int index) {
  if (index >= 0 && index < static_cast<int>(m_units.entries.size())) m_units.selected = index;
}

void CAdvancedSettingsModel::OnChecked(int id, bool checked) {
  if (id == IDC_ADV_RIBBON_SAVING || id == IDC_ADV_PRINT_TO_FILE) m_view[id].checked = checked;
}

void CAdvancedSettingsModel::OnDarknessEdited(const std::wstring& text) {
  m_view[IDC_ADV_DARKNESS].text = text;
  const CCountEntry entry = CheckCountText(text, 0, std::numeric_limits<std::int32_t>::max());
  if (entry.kind == CCountEntry::kValue) m_darkness = entry.value;
}

void CAdvancedSettingsModel::OnDarknessSpin(bool up) {
  if (up && m_darkness < kMaxDarkness)
    ++m_darkness;
  else if (!up && m_darkness > kMinDarkness)
    --m_darkness;
  ShowDarkness();
}

void CAdvancedSettingsModel::ShowDarkness() {
  m_view[IDC_ADV_DARKNESS].text = std::to_wstring(m_darkness);
}

std::optional<CReadBackFailure> CAdvancedSettingsModel::ReadBack() {
  m_values.ribbonSaving = m_view.At(IDC_ADV_RIBBON_SAVING).checked;
  m_values.printToFile = m_view.At(IDC_ADV_PRINT_TO_FILE).checked;
  const CCountEntry entry = CheckCountText(m_view.At(IDC_ADV_DARKNESS).text.value_or(L""), kMinDarkness, kMaxDarkness);
  if (entry.kind != CCountEntry::kValue)
    return CReadBackFailure{IDC_ADV_DARKNESS, IntegerRangeMessage(kMinDarkness, kMaxDarkness)};
  m_values.darkness = entry.value;
  return std::nullopt;
}

CStoredChoices CAdvancedSettingsModel::Stored() const {
  CStoredChoices stored;
  // With no language listed (no library) the current one stays.
  const int chosen = m_languages.selected;
  stored.languageBase = chosen >= 0 && chosen < static_cast<int>(m_languageBases.size())
                            ? m_languageBases[static_cast<std::size_t>(chosen)]
                            : m_language.Base();
  stored.unitCode = m_units.selected == 1 ? 1 : 0;
  return stored;
}

std::optional<CFirmwareBytes> ReadFirmware(CFirmwareSource& source) {
  std::uint64_t size = 0;
  if (!source.Size(&size) || size > std::numeric_limits<std::size_t>::max() / 2) return std::nullopt;
  CFirmwareBytes bytes;
  bytes.size = static_cast<std::size_t>(size);
  bytes.data.reset(new (std::nothrow) char[bytes.size == 0 ? 1 : bytes.size]);
  if (!bytes.data) return std::nullopt;
  std::size_t at = 0;
  while (at < bytes.size) {
    const std::size_t want = std::min(kFirmwareReadPiece, bytes.size - at);
    std::size_t got = 0;
    if (!source.Read(bytes.data.get() + at, want, &got) || got == 0 || got > want) return std::nullopt;
    at += got;
  }
  return bytes;
}

}  // namespace vyx
