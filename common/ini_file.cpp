// INI reading as the profile functions do it: names compare without case, the first section of a name is the only
// one searched, the first key of a name wins, values lose surrounding blanks and one pair of matching quotes.
#include "common/ini_file.h"

#include <cwctype>
#include <fstream>
#include <sstream>

namespace vyx {

namespace {

// The profile functions read integers from a 30-character buffer.
constexpr std::size_t kIntBuffer = 30;

bool IsBlank(wchar_t c) {
  return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\v' || c == L'\f';
}

std::wstring Trim(std::wstring_view s) {
  std::size_t b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return std::wstring(s.substr(b, e - b));
}

bool EqualNoCase(const std::wstring& a, const std::wstring& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::towlower(static_cast<wint_t>(a[i])) != std::towlower(static_cast<wint_t>(b[i]))) return false;
  return true;
}

std::wstring StripQuotes(const std::wstring& v) {
  if (v.size() > 1 && (v.front() == L'"' || v.front() == L'\'') && v.back() == v.front())
    return v.substr(1, v.size() - 2);
  return v;
}

std::wstring Cut(const std::wstring& s, std::size_t capacity) {
  if (capacity == 0) return {};
  return s.size() < capacity ? s : s.substr(0, capacity - 1);
}

}  // namespace

std::wstring WidenUtf8(std::string_view text) {
  std::wstring out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    int extra = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
    std::uint32_t cp = extra == 0 ? c : extra == 1 ? (c & 0x1F) : extra == 2 ? (c & 0x0F) : (c & 0x07);
    bool ok = extra >= 0 && i + static_cast<std::size_t>(extra) < text.size() + (extra == 0 ? 1 : 0);
    for (int k = 1; ok && k <= extra; ++k) {
      const auto d = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
      ok = (d & 0xC0) == 0x80;
      cp = (cp << 6) | (d & 0x3F);
    }
    if (!ok) {
      out += static_cast<wchar_t>(0xFFFD);
      ++i;
      continue;
    }
    out += static_cast<wchar_t>(cp);
    i += static_cast<std::size_t>(extra) + 1;
  }
  return out;
}

int ProfileValueToInt(std::wstring_view value) {
  std::size_t i = 0;
  while (i < value.size() && value[i] <= L' ') ++i;
  bool negative = false;
  if (i < value.size() && (value[i] == L'+' || value[i] == L'-')) negative = value[i++] == L'-';
  unsigned base = 10;
  if (i + 1 < value.size() && value[i] == L'0') {
    const wchar_t p = value[i + 1];
    if (p == L'x') base = 16;
    if (p == L'o') base = 8;
    if (p == L'b') base = 2;
    if (base != 10) i += 2;
  }
  std::uint32_t result = 0;
  for (; i < value.size(); ++i) {
    const wchar_t c = value[i];
    unsigned digit;
    if (c >= L'0' && c <= L'9')
      digit = static_cast<unsigned>(c - L'0');
    else if (c >= L'a' && c <= L'f')
      digit = static_cast<unsigned>(c - L'a' + 10);
    else if (c >= L'A' && c <= L'F')
      digit = static_cast<unsigned>(c - L'A' + 10);
    else
      break;
    if (digit >= base) break;
    result = result * base + digit;  // unsigned: wraps at 32 bits as the platform's conversion does
  }
  if (negative) result = 0u - result;
  return static_cast<int>(result);
}

void CIniFile::Parse(std::string_view text) {
  m_sections.clear();
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  const std::wstring wide = WidenUtf8(text);
  m_sections.push_back({L"", {}});  // keys before the first section header
  std::size_t pos = 0;
  while (pos <= wide.size()) {
    std::size_t end = wide.find_first_of(L"\r\n", pos);
    if (end == std::wstring::npos) end = wide.size();
    const std::wstring line = Trim(std::wstring_view(wide).substr(pos, end - pos));
    pos = end + 1;
    if (line.empty()) continue;
    if (line[0] == L'[') {
      const std::size_t close = line.rfind(L']');
      if (close == std::wstring::npos) continue;  // not a header: the line is ignored
      m_sections.push_back({Trim(std::wstring_view(line).substr(1, close - 1)), {}});
      continue;
    }
    const std::size_t eq = line.find(L'=');
    if (eq == std::wstring::npos)
      m_sections.back().entries.push_back({line, L"", false});
    else
      m_sections.back().entries.push_back(
          {Trim(std::wstring_view(line).substr(0, eq)), Trim(std::wstring_view(line).substr(eq + 1)), true});
  }
}

bool CIniFile::Load(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    m_sections.clear();
    return false;
  }
  std::stringstream content;
  content << in.rdbuf();
  Parse(content.str());
  return true;
}

const CIniFile::CEntry* CIniFile::Find(const std::wstring& section, const std::wstring& key) const {
  const std::wstring s = Trim(section), k = Trim(key);
  for (const CSection& sec : m_sections) {
    if (!EqualNoCase(sec.name, s)) continue;
    for (const CEntry& e : sec.entries)
      if (EqualNoCase(e.key, k)) return &e;
    return nullptr;  // only the first section of a name is searched
  }
  return nullptr;
}

std::wstring CIniFile::GetString(const std::wstring& section,
                                 const std::wstring& key,
                                 const std::wstring& defaultValue,
                                 std::size_t capacity) {
  const CEntry* e = Find(section, key);
  if (!e) return Cut(defaultValue, capacity);
  return Cut(StripQuotes(e->value), capacity);
}

int CIniFile::GetInt(const std::wstring& section, const std::wstring& key, int defaultValue) {
  const std::wstring text = GetString(section, key, L"", kIntBuffer);
  if (text.empty()) return defaultValue;
  return ProfileValueToInt(text);
}

}  // namespace vyx
