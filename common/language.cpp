// Language detection, string fetching and language lists over a string loader.
#include "common/language.h"

#include <cmath>

namespace vyx {
namespace {

struct CLocaleGroup {
  const wchar_t* name;
  unsigned ids[19];
};

// Zero ends each list. Identifiers not listed (0x0C0A and 0x200C among them) give English.
constexpr CLocaleGroup kLocaleGroups[] = {
    {L"da-da", {0x0406}},
    {L"de-de", {0x0407, 0x0807, 0x0C07, 0x1007, 0x1407}},
    {L"es-es",
     {0x040A, 0x080A, 0x100A, 0x140A, 0x180A, 0x1C0A, 0x200A, 0x240A, 0x280A, 0x2C0A, 0x300A, 0x340A, 0x380A, 0x3C0A,
      0x400A, 0x440A, 0x480A, 0x4C0A, 0x500A}},
    {L"fr-fr",
     {0x040C, 0x080C, 0x0C0C, 0x100C, 0x140C, 0x180C, 0x1C0C, 0x240C, 0x280C, 0x2C0C, 0x300C, 0x340C, 0x380C}},
    {L"nl-nl", {0x0413, 0x0813}},
    {L"sv-se", {0x041D, 0x081D}},
};

}  // namespace

std::wstring LocaleNameFromId(unsigned lcid) {
  for (const CLocaleGroup& group : kLocaleGroups) {
    for (unsigned id : group.ids) {
      if (id == 0) break;
      if (id == lcid) return group.name;
    }
  }
  return L"en-us";
}

std::wstring DetectLocaleName(CLocaleSource& locale) {
  if (!locale.KernelLoaded()) return {};
  if (!locale.HasNamedLocaleFunction()) return LocaleNameFromId(locale.LocaleId());
  std::wstring name;
  if (!locale.NamedLocale(name)) return {};
  return name;
}

std::wstring LanguageCodeOf(const std::wstring& locale_name) {
  const std::size_t hyphen = locale_name.find(L'-');
  if (hyphen == std::wstring::npos) return {};
  return locale_name.substr(0, hyphen);
}

int FindLangBaseForCode(CStringLoader& loader, const std::wstring& code) {
  for (int id = 1106; id < kLanguageIdLimit; id += 1000) {
    std::wstring text;
    unsigned long error = 0;
    if (loader.Load(id, kShortStringBuffer, text, error) > 0) {
      if (text == code) return id - 1106;
    } else if (error == kErrorResourceNameNotFound) {
      return kFallbackLangBase;
    }
  }
  return kFallbackLangBase;
}

int ChooseLangBase(CSettingsStore& store,
                   const CProgramSettings& program,
                   CStringLoader& loader,
                   CLocaleSource& locale) {
  const int stored = ReadInProgramOrder(store, program, ESetting::kLangBase);
  if (stored >= 0) return stored;
  return FindLangBaseForCode(loader, LanguageCodeOf(DetectLocaleName(locale)));
}

bool LoadShortString(CStringLoader& loader, int base, int offset, std::wstring& text) {
  unsigned long error = 0;
  return loader.Load(base + offset, kShortStringBuffer, text, error) > 0;
}

std::wstring FetchLanguageString(CStringLoader& loader, int base, int offset) {
  std::wstring text;
  unsigned long error = 0;
  const int n = loader.Load(base + offset, kShortStringBuffer, text, error);
  if (n <= 0) return {};
  if (n < kShortStringBuffer - 2) return text;
  std::wstring longer;
  if (loader.Load(base + offset, kLongStringBuffer, longer, error) <= 0) return text;
  return longer;
}

int ListLanguages(CStringLoader& loader, int base, std::vector<std::wstring>& names, int& selection) {
  std::vector<int> bases;
  return ListLanguages(loader, base, names, bases, selection);
}

int ListLanguages(CStringLoader& loader,
                  int base,
                  std::vector<std::wstring>& names,
                  std::vector<int>& bases,
                  int& selection) {
  names.clear();
  bases.clear();
  selection = -1;
  for (int id = 1108; id < kLanguageIdLimit; id += 1000) {
    std::wstring text;
    unsigned long error = 0;
    if (loader.Load(id, kShortStringBuffer, text, error) > 0) {
      if (id == base + 1108) selection = static_cast<int>(names.size());
      names.push_back(text);
      bases.push_back(id - 1108);
    } else if (error == kErrorResourceNameNotFound) {
      break;
    }
  }
  return static_cast<int>(names.size());
}

std::wstring CLanguageText::GetString(int offset) const {
  if (m_loader == nullptr) return {};
  return FetchLanguageString(*m_loader, m_base, offset);
}

int FittedControlWidth(int extra_width, int text_width) {
  return extra_width + static_cast<int>(std::floor(0.75 * text_width + 0.5));
}

CPoint ShiftedChildPosition(CPoint child_screen,
                            CPoint parent_screen,
                            int shift_x,
                            int frame_width,
                            int frame_height,
                            int caption_height) {
  return {child_screen.x + shift_x - parent_screen.x - frame_width,
          child_screen.y - parent_screen.y - frame_height - caption_height};
}

}  // namespace vyx
