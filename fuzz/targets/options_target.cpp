// The job options case: grammar invariants of the parser on arbitrary strings.
#include "fuzz/targets/options_target.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "manager/model/options.h"

namespace vyx::fuzz {
namespace {

[[noreturn]] void Fail(const char* what, int line) {
  std::fprintf(stderr, "options_target: invariant broken at line %d: %s\n", line, what);
  std::abort();
}

#define OPTIONS_CHECK(cond)             \
  do {                                  \
    if (!(cond)) Fail(#cond, __LINE__); \
  } while (0)

bool IsFlag(std::uint8_t v) {
  return v == 0 || v == 1;
}

// The string a driver would send for the record.
std::wstring Write(const COptions& o) {
  const auto pick = [](bool on, const wchar_t* yes, const wchar_t* no) { return std::wstring(on ? yes : no); };
  std::wstring s = pick(o.orientation == 1, L"Pr", L"Ln") + pick(o.show_main_window, L"Mg", L"Sl") +
                   pick(o.code3, L"Sv", L"Ws") + pick(o.black_punches, L"Pn", L"Bo");
  s += std::to_wstring(o.ribbon_selection) + L";" + std::to_wstring(o.margin_x) + L";" + std::to_wstring(o.margin_y) +
       L";" + std::to_wstring(o.corner_radius) + L";" + std::to_wstring(o.labels_per_set) + L";";
  s += pick(o.optimised_size, L"Op", L"Or") + pick(o.automatic_margins, L"Am", L"Um") +
       pick(o.centre_pages, L"Lr", L"Ec") + pick(o.automatic_outline, L"Ae", L"Ue") +
       pick(o.automatic_corner_radius, L"Ac", L"Uc") + pick(o.outline_every_page, L"Ct", L"Nc") +
       pick(o.laminate, L"Lm", L"Pl") + pick(o.automatic_gap, L"Ao", L"Uo") + pick(o.automatic_darkness, L"Ah", L"Uh") +
       pick(o.tape_cut_sets, L"Tc", L"Nt");
  return s;
}

}  // namespace

int RunOptionsCase(const std::uint8_t* data, std::size_t size) {
  const std::wstring text(data, data + size);
  COptions o;
  CCollectingDebugOutput debug;
  const int result = ParseOptionsAt(text, o, debug);
  OPTIONS_CHECK(result >= kOptionsParsed && result <= 14);
  OPTIONS_CHECK(debug.lines.size() <= 4);
  for (const std::wstring& line : debug.lines) OPTIONS_CHECK(!line.empty() && line.back() == L'\n');
  // Fewer than four numbers leave nothing for the letter token.
  if (debug.lines.size() < 4) OPTIONS_CHECK(result != kOptionsParsed && result <= 5);
  if (result == kOptionsParsed || result > 4) {
    OPTIONS_CHECK(o.orientation == 1 || o.orientation == 2);
    OPTIONS_CHECK(IsFlag(o.show_main_window) && IsFlag(o.code3) && IsFlag(o.black_punches));
  }
  if (result == kOptionsParsed) {
    OPTIONS_CHECK(debug.lines.size() == 4);
    OPTIONS_CHECK(IsFlag(o.optimised_size) && IsFlag(o.automatic_margins) && IsFlag(o.centre_pages) &&
                  IsFlag(o.automatic_outline) && IsFlag(o.automatic_corner_radius) && IsFlag(o.outline_every_page) &&
                  IsFlag(o.laminate) && IsFlag(o.automatic_gap) && IsFlag(o.automatic_darkness) &&
                  IsFlag(o.tape_cut_sets));
    COptions again;
    CNullDebugOutput quiet;
    OPTIONS_CHECK(ParseOptionsAt(Write(o), again, quiet) == kOptionsParsed);
    OPTIONS_CHECK(again == o);
  }

  // Whatever follows a complete string is ignored.
  COptions defaults;
  CNullDebugOutput quiet;
  OPTIONS_CHECK(ParseOptionsAt(std::wstring(kDefaultOptionsString) + text, defaults, quiet) == kOptionsParsed);
  COptions expected;
  OPTIONS_CHECK(ParseOptionsAt(kDefaultOptionsString, expected, quiet) == kOptionsParsed);
  OPTIONS_CHECK(defaults == expected);
  return 0;
}

}  // namespace vyx::fuzz
