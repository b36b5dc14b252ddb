// The colour and material catalogue (VyxQ5Colors.ini): ribbon colours ordered brightest first, tape colours in file
// order, the non-punch colour mask, the palette settings, and the look-ups the job model and the windows use.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/language.h"
#include "common/seams/profile_reader.h"

namespace vyx {

class CQzplJobData;

inline constexpr int kRibbonTableSize = 32;
// Records read from a file are bounded: the counts are written by people and a huge one must not exhaust memory.
inline constexpr int kMaxCatalogueSections = 1024;

struct CColorRibbon {
  std::wstring name;         // key Name, 63 characters at most
  std::wstring displayName;  // language string base + 1350 + ribbon id
  std::wstring className;    // key Class
  std::uint32_t colour = 0;  // RGB, red in the low byte
  std::int32_t ribbonId = 0;
  double brightness = 0.0;
  std::string ribbonName;  // key QZPLName as the printer language takes it (narrow)
  std::wstring itemId;
  std::wstring icon;
  std::int32_t displayColour = -1;
  bool nonPunch = false;
};

struct CColor {
  std::wstring name;
  std::wstring displayName;  // language string base + 1260 + tape id
  std::wstring className;
  std::uint32_t colour = 0;
  double brightness = 0.0;
  std::int32_t tapeId = 0;
};

struct CPaletteSettings {
  int packetWeightInPixels = 50000;
  int grayExcerptPercent = 50;
  int colorAngleWeight = 100;
  int showPixelDistributed = 1;
};

double Brightness(std::uint32_t rgb);

class CCatalogue {
 public:
  // Fills both lists, the mask and the palette from the profile; display names come from `language` (empty without
  // a library). With `pnFlag` a ribbon colour named exactly "Black" is never non-punch. Returns the section counts
  // as the file gives them (NumberOfColors + NumberOfTapeColors).
  int Read(CProfileReader& profile, bool pnFlag, const CLanguageText& language);

  // Entry n: the colour of the first ribbon colour in list order with ribbon id n (its display colour when it has
  // one), or -1.
  std::vector<std::int32_t> RibbonColourTable() const;

  std::int32_t RibbonIdAt(int index) const;  // -1 outside the list
  int IndexOfRibbonId(std::int32_t ribbonId) const;
  int IndexOfName(const std::wstring& name) const;
  // The colour of the ribbon id (the display colour when asked and the record has one); -1 when no record has it.
  std::int64_t ColourOfRibbonId(std::int32_t ribbonId, bool display) const;
  // The class of tape number n (1-based position in the tape list); "undefined" outside 1..count.
  std::wstring TapeClass(int tapeNumber) const;
  std::int32_t WhiteTapeId() const;
  int WhiteRibbonIndex() const;
  std::int32_t BlackRibbonId() const;

  // On a black tape the black ribbon must print through: its bit leaves the non-punch mask and the knock-out of
  // every page runs again. Returns whether that happened.
  bool ApplyBlackTapeRule(int tapeNumber, CQzplJobData& job);

  std::vector<CColorRibbon> ribbons;
  std::vector<CColor> tapes;
  std::uint32_t nonPunchMask = 0;
  CPaletteSettings palette;
};

// Bit of a ribbon id in a 32-bit ribbon mask (id modulo 32, also for negative ids).
std::uint32_t RibbonBit(std::int32_t ribbonId);

}  // namespace vyx
