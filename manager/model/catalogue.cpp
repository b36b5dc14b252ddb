// Reading the catalogue: defaults for every missing key, colour components modulo 256, ribbons inserted before the
// first darker one so that equal brightnesses keep file order.
#include "manager/model/catalogue.h"

#include <algorithm>
#include <cstdio>

#include "common/string_ids.h"
#include "manager/model/job.h"

namespace vyx {

namespace {

constexpr std::size_t kNameChars = 64;
constexpr std::size_t kIdChars = 32;
constexpr wchar_t kUndefined[] = L"UNDEFINED";

std::uint32_t ReadColour(CProfileReader& p, const std::wstring& section) {
  const auto component = [&](const wchar_t* key) {
    return static_cast<std::uint32_t>(p.GetInt(section, key, 128)) & 0xFFu;
  };
  return component(L"RedVal") | (component(L"GreenVal") << 8) | (component(L"BlueVal") << 16);
}

// The printer language takes plain bytes: characters outside ASCII cannot be sent and become '?'.
std::string NarrowForPrinter(const std::wstring& text) {
  std::string out;
  for (wchar_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
  if (out.size() > kNameChars - 1) out.resize(kNameChars - 1);
  return out;
}

std::wstring CutTo(std::wstring text, std::size_t capacity) {
  if (text.size() > capacity - 1) text.resize(capacity - 1);
  return text;
}

// A material's name is a string of the language's own block; an id that would reach past it has no name.
std::wstring MaterialName(const CLanguageText& language, int nameBase, std::int32_t id) {
  constexpr int kBlockEnd = 2000;
  if (id < 0 || static_cast<long long>(nameBase) + id >= kBlockEnd) return {};
  return CutTo(language.GetString(nameBase + id), kNameChars);
}

int ClampCount(int count) {
  return std::clamp(count, 0, kMaxCatalogueSections);
}

}  // namespace

double Brightness(std::uint32_t rgb) {
  return 0.299 * (rgb & 0xFF) + 0.587 * ((rgb >> 8) & 0xFF) + 0.114 * ((rgb >> 16) & 0xFF);
}

std::uint32_t RibbonBit(std::int32_t ribbonId) {
  const std::int32_t bit = ((ribbonId % 32) + 32) % 32;
  return 1u << bit;
}

int CCatalogue::Read(CProfileReader& p, bool pnFlag, const CLanguageText& language) {
  ribbons.clear();
  tapes.clear();
  nonPunchMask = 0;
  palette.packetWeightInPixels = p.GetInt(L"Palette", L"PacketWeightInPixels", 50000);
  palette.grayExcerptPercent = p.GetInt(L"Palette", L"GrayExcerptPercent", 50);
  palette.colorAngleWeight = p.GetInt(L"Palette", L"ColorAngleWeight", 100);
  palette.showPixelDistributed = p.GetInt(L"Palette", L"ShowPixelDistributed", 1);
  const int colourCount = p.GetInt(L"Palette", L"NumberOfColors", 15);
  const int tapeCount = p.GetInt(L"Palette", L"NumberOfTapeColors", 30);

  for (int i = 0; i < ClampCount(colourCount); ++i) {
    const std::wstring section = std::wstring(L"Color") + static_cast<wchar_t>(L'A' + i);
    CColorRibbon r;
    r.name = p.GetString(section, L"Name", kUndefined, kNameChars);
    r.className = p.GetString(section, L"Class", L"undefined", kNameChars);
    r.colour = ReadColour(p, section);
    r.ribbonId = p.GetInt(section, L"RibbonID", 0);
    r.brightness = Brightness(r.colour);
    r.displayName = MaterialName(language, kStrRibbonNameBase, r.ribbonId);
    r.ribbonName = NarrowForPrinter(p.GetString(section, L"QZPLName", kUndefined, kNameChars));
    r.itemId = p.GetString(section, L"ItemID", kUndefined, kIdChars);
    r.icon = p.GetString(section, L"Icon", kUndefined, kIdChars);
    r.displayColour = p.GetInt(section, L"DisplayColor", -1);
    r.nonPunch = p.GetInt(section, L"NonPunch", 0) == 1 && !(pnFlag && r.name == L"Black");
    if (r.nonPunch) nonPunchMask |= RibbonBit(r.ribbonId);
    const auto darker = std::find_if(ribbons.begin(), ribbons.end(),
                                     [&](const CColorRibbon& o) { return o.brightness < r.brightness; });
    ribbons.insert(darker, std::move(r));
  }

  for (int n = 1; n <= ClampCount(tapeCount); ++n) {
    wchar_t section[32];
    std::swprintf(section, 32, L"TapeColor.%02d", n);
    CColor t;
    t.name = p.GetString(section, L"Name", kUndefined, kNameChars);
    t.className = p.GetString(section, L"Class", L"undefined", kNameChars);
    t.colour = ReadColour(p, section);
    t.brightness = Brightness(t.colour);
    t.tapeId = p.GetInt(section, L"TapeID", 0);
    t.displayName = MaterialName(language, kStrTapeNameBase, t.tapeId);
    tapes.push_back(std::move(t));
  }
  const long long total = static_cast<long long>(colourCount) + tapeCount;
  return static_cast<int>(std::clamp<long long>(total, INT32_MIN, INT32_MAX));
}

std::vector<std::int32_t> CCatalogue::RibbonColourTable() const {
  std::vector<std::int32_t> table(kRibbonTableSize, -1);
  for (int id = 0; id < kRibbonTableSize; ++id) {
    const std::int64_t c = ColourOfRibbonId(id, true);
    if (c >= 0) table[static_cast<std::size_t>(id)] = static_cast<std::int32_t>(c);
  }
  return table;
}

std::int32_t CCatalogue::RibbonIdAt(int index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= ribbons.size()) return -1;
  return ribbons[static_cast<std::size_t>(index)].ribbonId;
}

int CCatalogue::IndexOfRibbonId(std::int32_t ribbonId) const {
  for (std::size_t i = 0; i < ribbons.size(); ++i)
    if (ribbons[i].ribbonId == ribbonId) return static_cast<int>(i);
  return -1;
}

int CCatalogue::IndexOfName(const std::wstring& name) const {
  for (std::size_t i = 0; i < ribbons.size(); ++i)
    if (ribbons[i].name == name) return static_cast<int>(i);
  return -1;
}

std::int64_t CCatalogue::ColourOfRibbonId(std::int32_t ribbonId, bool display) const {
  const int i = IndexOfRibbonId(ribbonId);
  if (i < 0) return -1;
  const CColorRibbon& r = ribbons[static_cast<std::size_t>(i)];
  if (display && r.displayColour != -1) return r.displayColour;
  return r.colour;
}

std::wstring CCatalogue::TapeClass(int tapeNumber) const {
  if (tapeNumber < 1 || static_cast<std::size_t>(tapeNumber) > tapes.size()) return L"undefined";
  return tapes[static_cast<std::size_t>(tapeNumber) - 1].className;
}

std::int32_t CCatalogue::WhiteTapeId() const {
  for (const CColor& t : tapes)
    if (t.name == L"White") return t.tapeId;
  return -1;
}

int CCatalogue::WhiteRibbonIndex() const {
  return IndexOfName(L"White");
}

std::int32_t CCatalogue::BlackRibbonId() const {
  const int i = IndexOfName(L"Black");
  return i < 0 ? -1 : ribbons[static_cast<std::size_t>(i)].ribbonId;
}

bool CCatalogue::ApplyBlackTapeRule(int tapeNumber, CQzplJobData& job) {
  if (TapeClass(tapeNumber) != L"Black") return false;
  const std::int32_t black = BlackRibbonId();
  if (black < 0 || (nonPunchMask & RibbonBit(black)) == 0) return false;
  nonPunchMask &= ~RibbonBit(black);
  job.KnockOutOverlaps(nonPunchMask);
  return true;
}

}  // namespace vyx
