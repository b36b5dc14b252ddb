// Language selection and string fetching over the resource library's string table, independent of how strings
// are loaded: language k owns the numbers k*1000+1000 to k*1000+1999 and its base is k*1000.
#pragma once

#include <string>
#include <vector>

#include "common/settings.h"

namespace vyx {

inline constexpr unsigned long kErrorResourceNameNotFound = 1814;
inline constexpr int kLanguageIdLimit = 30000;  // no program looks at a string number at or above this
inline constexpr int kFallbackLangBase = 1000;  // English
inline constexpr int kShortStringBuffer = 260;
inline constexpr int kLongStringBuffer = 780;
inline constexpr int kLocaleNameBuffer = 85;

// Loads strings the way LoadStringW does.
class CStringLoader {
 public:
  virtual ~CStringLoader() = default;
  // Loads string `id` into a buffer of `capacity` characters, so at most capacity - 1 of them. Returns the number
  // of characters loaded; 0 when nothing loaded, with the failure code in `error`.
  virtual int Load(int id, int capacity, std::wstring& text, unsigned long& error) = 0;
};

// Where the locale name for language detection comes from.
class CLocaleSource {
 public:
  virtual ~CLocaleSource() = default;
  virtual bool KernelLoaded() = 0;
  // Whether the named-locale function could be resolved at run time.
  virtual bool HasNamedLocaleFunction() = 0;
  // Calls it with a kLocaleNameBuffer buffer; false when it fails.
  virtual bool NamedLocale(std::wstring& name) = 0;
  // The locale identifier, for systems without the named-locale function.
  virtual unsigned LocaleId() = 0;
};

// Locale identifier to locale name for systems without named locales ("en-us" for every unlisted one).
std::wstring LocaleNameFromId(unsigned lcid);

// The locale name as detection sees it: empty when the system library is not loaded or the named-locale
// function fails; from the identifier table when the function is missing.
std::wstring DetectLocaleName(CLocaleSource& locale);

// The part before the first '-' ("nl" of "nl-NL"); empty for a name without a hyphen.
std::wstring LanguageCodeOf(const std::wstring& locale_name);

// The base of the language whose code string (+1106) equals `code` exactly, or the fallback 1000 when none does.
int FindLangBaseForCode(CStringLoader& loader, const std::wstring& code);

// The base the program starts with: the first stored one in the program's hive order, else the one detected from
// the locale (not stored).
int ChooseLangBase(CSettingsStore& store,
                   const CProgramSettings& program,
                   CStringLoader& loader,
                   CLocaleSource& locale);

// String number base + offset: empty when it does not load; a text that fills the short buffer (258 characters or
// more) is loaded again into the long one, so texts up to 779 characters survive.
std::wstring FetchLanguageString(CStringLoader& loader, int base, int offset);

// Loads base + offset into a short buffer; false when nothing loads.
bool LoadShortString(CStringLoader& loader, int base, int offset, std::wstring& text);

// The display names (+1108) of the languages in the library, in order; `selection` is the entry of the language
// with `base`, or -1. Returns the number of names. The position p of a name gives the base p * 1000.
int ListLanguages(CStringLoader& loader, int base, std::vector<std::wstring>& names, int& selection);
// The same, with the base of each listed language: where a language is missing in the middle of the library (a
// system that does not end the search at the first gap lists the ones after it), its successors keep their own.
int ListLanguages(CStringLoader& loader,
                  int base,
                  std::vector<std::wstring>& names,
                  std::vector<int>& bases,
                  int& selection);

// A loaded library and the base its strings are fetched with.
class CLanguageText {
 public:
  CLanguageText() = default;
  CLanguageText(CStringLoader* loader, int base) : m_loader(loader), m_base(base) {}
  // Empty when there is no library or the string is missing.
  std::wstring GetString(int offset) const;
  int Base() const { return m_base; }
  void SetBase(int base) { m_base = base; }
  bool HasLibrary() const { return m_loader != nullptr; }
  CStringLoader* Loader() const { return m_loader; }

 private:
  CStringLoader* m_loader = nullptr;
  int m_base = kFallbackLangBase;
};

// Width of a control fitted to its text: the extra width plus three quarters of the text's measured width,
// rounded to the nearest pixel.
int FittedControlWidth(int extra_width, int text_width);

// A child's new position in its parent's coordinates: its screen position plus the horizontal shift, less the
// parent's screen position, frame and caption.
struct CPoint {
  int x;
  int y;
};
CPoint ShiftedChildPosition(CPoint child_screen,
                            CPoint parent_screen,
                            int shift_x,
                            int frame_width,
                            int frame_height,
                            int caption_height);

}  // namespace vyx
