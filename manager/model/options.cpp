// Parser of the job options string: four codes, a number, four ';'-separated numbers and ten more codes.
#include "manager/model/options.h"

#include <cstddef>
#include <limits>
#include <string>

namespace vyx {
namespace {

// The two accepted spellings of one code position and the value each one stands for.
struct CCodePair {
  wchar_t on[3];
  wchar_t off[3];
  std::uint8_t on_value;
  std::uint8_t off_value;
};

constexpr CCodePair kLeadingCodes[4] = {
    {L"Pr", L"Ln", 1, 2},  // orientation: portrait 1, landscape 2
    {L"Mg", L"Sl", 1, 0},
    {L"Sv", L"Ws", 1, 0},
    {L"Pn", L"Bo", 1, 0},
};

constexpr CCodePair kTrailingCodes[10] = {
    {L"Op", L"Or", 1, 0}, {L"Am", L"Um", 1, 0}, {L"Lr", L"Ec", 1, 0}, {L"Ae", L"Ue", 1, 0}, {L"Ac", L"Uc", 1, 0},
    {L"Ct", L"Nc", 1, 0}, {L"Lm", L"Pl", 1, 0}, {L"Ao", L"Uo", 1, 0}, {L"Ah", L"Uh", 1, 0}, {L"Tc", L"Nt", 1, 0},
};

// Reads the pair at `offset`; false when it is cut short or is neither spelling (case matters).
bool ReadCode(std::wstring_view text, std::size_t offset, const CCodePair& pair, std::uint8_t& value) {
  if (offset + 2 > text.size()) return false;
  const std::wstring_view code = text.substr(offset, 2);
  if (code == pair.on) {
    value = pair.on_value;
    return true;
  }
  if (code == pair.off) {
    value = pair.off_value;
    return true;
  }
  return false;
}

// Splits at ';' the way wcstok does: runs of separators count as one and yield no empty tokens.
class CTokenizer {
 public:
  explicit CTokenizer(std::wstring_view text) : m_text(text) {}
  bool Next(std::wstring_view& token) {
    while (m_pos < m_text.size() && m_text[m_pos] == L';') ++m_pos;
    if (m_pos >= m_text.size()) return false;
    const std::size_t end = m_text.find(L';', m_pos);
    const std::size_t stop = end == std::wstring_view::npos ? m_text.size() : end;
    token = m_text.substr(m_pos, stop - m_pos);
    m_pos = stop;
    return true;
  }

 private:
  std::wstring_view m_text;
  std::size_t m_pos = 0;
};

}  // namespace

std::int32_t ReadDecimal(std::wstring_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == L' ' || (text[i] >= L'\t' && text[i] <= L'\r'))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';
  // Accumulate towards the sign so that the most negative value is reachable.
  constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
  constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
  std::int64_t value = 0;
  for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
    const int digit = text[i] - L'0';
    value = negative ? value * 10 - digit : value * 10 + digit;
    if (value > kMax) value = kMax;
    if (value < kMin) value = kMin;
  }
  return static_cast<std::int32_t>(value);
}

int ParseOptionsAt(std::wstring_view text, COptions& options, CDebugOutput& debug) {
  // The driver's string is a C string: anything after an embedded terminator was never part of it.
  text = text.substr(0, text.find(L'\0'));

  std::uint8_t value = 0;
  for (int code = 0; code < 4; ++code) {
    if (!ReadCode(text, 2 * static_cast<std::size_t>(code), kLeadingCodes[code], value)) return code + 1;
    switch (code) {
      case 0:
        options.orientation = value;
        break;
      case 1:
        options.show_main_window = value;
        break;
      case 2:
        options.code3 = value;
        break;
      default:
        options.black_punches = value;
        break;
    }
  }
  options.ribbon_selection = ReadDecimal(text.substr(8));

  const std::size_t first_separator = text.find(L';');
  CTokenizer tokens(first_separator == std::wstring_view::npos ? std::wstring_view() : text.substr(first_separator));
  std::int32_t* const numbers[4] = {&options.margin_x, &options.margin_y, &options.corner_radius,
                                    &options.labels_per_set};
  std::wstring_view token;
  for (std::int32_t* number : numbers) {
    if (!tokens.Next(token)) break;
    debug.Print(std::wstring(token) + L"\n");
    *number = ReadDecimal(token);
  }

  // A missing letter token fails at its first code like a wrong one.
  if (!tokens.Next(token)) token = {};
  std::uint8_t* const flags[10] = {
      &options.optimised_size,          &options.automatic_margins,  &options.centre_pages, &options.automatic_outline,
      &options.automatic_corner_radius, &options.outline_every_page, &options.laminate,     &options.automatic_gap,
      &options.automatic_darkness,      &options.tape_cut_sets};
  for (int code = 0; code < 10; ++code) {
    if (!ReadCode(token, 2 * static_cast<std::size_t>(code), kTrailingCodes[code], *flags[code])) return code + 5;
  }
  return kOptionsParsed;
}

bool ParseOptions(std::wstring_view text, COptions& options, CDebugOutput& debug) {
  return ParseOptionsAt(text, options, debug) == kOptionsParsed;
}

}  // namespace vyx
