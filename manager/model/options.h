// The job options record the printer driver hands to the manager on its command line, and its parser.
#pragma once

#include <cstdint>
#include <string_view>

#include "common/seams/debug_output.h"

namespace vyx {

// The manager's own options, used whenever the driver's string is rejected.
inline constexpr std::wstring_view kDefaultOptionsString = L"LnMgSvBo0;59;59;24;0;OpAmLrAeAcCtPlAoAhNt";

// Field order and widths follow the driver's record, which the main window copies whole.
struct COptions {
  std::int16_t orientation = 0;       // 1 portrait ("Pr"), 2 landscape ("Ln")
  std::uint8_t show_main_window = 0;  // "Mg" 1, "Sl" 0 (silent print)
  std::uint8_t code3 = 0;             // "Sv" 1, "Ws" 0: validated, not acted on
  std::uint8_t black_punches = 0;     // "Pn" 1, "Bo" 0
  std::int32_t ribbon_selection = 0;
  std::int32_t margin_x = 0;       // dots
  std::int32_t margin_y = 0;       // dots
  std::int32_t corner_radius = 0;  // quarter dots
  std::int32_t labels_per_set = 0;
  std::uint8_t optimised_size = 0;           // "Op" 1, "Or" 0
  std::uint8_t automatic_margins = 0;        // "Am" 1, "Um" 0
  std::uint8_t centre_pages = 0;             // "Lr" 1, "Ec" 0
  std::uint8_t automatic_outline = 0;        // "Ae" 1, "Ue" 0
  std::uint8_t automatic_corner_radius = 0;  // "Ac" 1, "Uc" 0
  std::uint8_t outline_every_page = 0;       // "Ct" 1, "Nc" 0
  std::uint8_t laminate = 0;                 // "Lm" 1, "Pl" 0
  std::uint8_t automatic_gap = 0;            // "Ao" 1, "Uo" 0
  std::uint8_t automatic_darkness = 0;       // "Ah" 1, "Uh" 0
  std::uint8_t tape_cut_sets = 0;            // "Tc" 1, "Nt" 0

  bool operator==(const COptions&) const = default;
};

// Why a string was refused: the number (1 to 14) of the first two-letter code that is not one of its two
// spellings, or is missing. kOptionsParsed on success.
inline constexpr int kOptionsParsed = 0;

// Fills `options` from `text`. Fields are set as they are read, so a refused string leaves the ones before the
// fault changed. Each of the four ';'-separated numbers goes to `debug` as read, followed by a line feed.
// Returns kOptionsParsed or the number of the failing code.
int ParseOptionsAt(std::wstring_view text, COptions& options, CDebugOutput& debug);

// The same as a plain yes or no.
bool ParseOptions(std::wstring_view text, COptions& options, CDebugOutput& debug);

// Reads a decimal integer the way the C library's atoi does (leading blanks, one sign, digits up to the first
// other character; nothing readable gives 0), saturating at the 32-bit limits instead of overflowing.
std::int32_t ReadDecimal(std::wstring_view text);

}  // namespace vyx
