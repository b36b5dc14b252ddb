// CAdvancedSettingsModel: the rules of the advanced settings dialog without the dialog: its texts, the language and
// unit lists, the darkness entry and spin, and what OK stores and gives back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/language.h"
#include "manager/app/main_window_model.h"
#include "manager/app/window_view.h"

namespace vyx {

inline constexpr int kMinDarkness = 0;
inline constexpr int kMaxDarkness = 30;
// The dialog's caption in the view.
inline constexpr int kAdvancedCaptionId = 0;

// A drop-down list: its entries and the selected one (-1 none).
struct CChoiceView {
  std::vector<std::wstring> entries;
  int selected = -1;
};

// What OK stores for later runs.
struct CStoredChoices {
  int languageBase = kFallbackLangBase;
  int unitCode = 0;
};

class CAdvancedSettingsModel {
 public:
  // `unitCode` is the stored unit setting; `values` what the main window hands over.
  CAdvancedSettingsModel(CLanguageText language, int unitCode, const CAdvancedSettingsValues& values);

  // The opening: texts, both lists, the check boxes and the darkness. `driverVersion` is empty when not installed.
  void Open(const std::wstring& driverVersion);

  void OnLanguageChosen(int index);
  void OnUnitChosen(int index);
  void OnChecked(int id, bool checked);
  // The darkness edit's text changed: a count takes effect (even outside the range, which OK refuses).
  void OnDarknessEdited(const std::wstring& text);
  // The darkness spin: +1 while below 30, -1 while above 0.
  void OnDarknessSpin(bool up);

  // OK: none when the dialog may close with Stored() and Values(); else the range message for the darkness edit.
  std::optional<CReadBackFailure> ReadBack();
  CStoredChoices Stored() const;
  const CAdvancedSettingsValues& Values() const { return m_values; }

  const CWindowView& View() const { return m_view; }
  const CChoiceView& Languages() const { return m_languages; }
  const CChoiceView& Units() const { return m_units; }
  int Darkness() const { return m_darkness; }

 private:
  void SetLanguageText(int id, int offset);
  void ShowDarkness();

  CLanguageText m_language;
  int m_unitCode;
  CAdvancedSettingsValues m_values;
  int m_darkness;
  CChoiceView m_languages;
  std::vector<int> m_languageBases;
  CChoiceView m_units;
  CWindowView m_view;
};

// The firmware file's bytes go out as one document of their own; this reads them. Reads come in bounded pieces
// into a buffer of the file's size, so no more than that is ever held; any failing read sends nothing.
class CFirmwareSource {
 public:
  virtual ~CFirmwareSource() = default;
  // The file's size; false when it is not known.
  virtual bool Size(std::uint64_t* size) = 0;
  // Reads up to `count` bytes; false on a read error; 0 bytes read is the end.
  virtual bool Read(void* into, std::size_t count, std::size_t* got) = 0;
};

inline constexpr std::size_t kFirmwareReadPiece = 1u << 20;

struct CFirmwareBytes {
  std::unique_ptr<char[]> data;
  std::size_t size = 0;
};

// The whole file, or none when its size is unknown, too large to hold, or a read fails or ends early.
std::optional<CFirmwareBytes> ReadFirmware(CFirmwareSource& source);

}  // namespace vyx
