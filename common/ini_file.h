// CIniFile: reads Windows INI text with the observable results of the profile functions, for builds without them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/seams/profile_reader.h"

namespace vyx {

class CIniFile : public CProfileReader {
 public:
  // Parses INI text (UTF-8, an optional byte-order mark, CR LF or LF lines).
  void Parse(std::string_view text);
  // Reads and parses a file; false when it cannot be read (every look-up then gives its default).
  bool Load(const std::string& path);

  int GetInt(const std::wstring& section, const std::wstring& key, int defaultValue) override;
  std::wstring GetString(const std::wstring& section,
                         const std::wstring& key,
                         const std::wstring& defaultValue,
                         std::size_t capacity) override;

 private:
  struct CEntry {
    std::wstring key;
    std::wstring value;
    bool hasValue;  // a line without '=' names a key without a value
  };
  struct CSection {
    std::wstring name;
    std::vector<CEntry> entries;
  };
  const CEntry* Find(const std::wstring& section, const std::wstring& key) const;

  std::vector<CSection> m_sections;
};

// The integer the profile functions make of a value: optional blanks, one sign, then decimal digits, or hexadecimal
// after "0x", octal after "0o", binary after "0b"; reading stops at the first other character; wraps at 32 bits.
int ProfileValueToInt(std::wstring_view value);

// UTF-8 to wide text; invalid bytes become U+FFFD.
std::wstring WidenUtf8(std::string_view text);

}  // namespace vyx
