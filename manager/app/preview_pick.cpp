// Picking a row by its colour in the preview.
#include "manager/app/preview_pick.h"

namespace vyx {

namespace {

int FindRow(const CJobList& list, const CCatalogue& catalogue, ColorRef colour) {
  int found = -1;
  const auto& rows = list.Rows();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const CJobRow& row = rows[i];
    if (row.item == kCutRowItem || row.printing < 0 ||
        static_cast<std::size_t>(row.printing) >= catalogue.ribbons.size())
      continue;
    if (catalogue.ribbons[static_cast<std::size_t>(row.printing)].colour != colour) continue;
    if (row.printing == row.item) return static_cast<int>(i);
    if (found < 0) found = static_cast<int>(i);
  }
  return found;
}

}  // namespace

int PickRowByColour(const CJobList& list, const CCatalogue& catalogue, ColorRef colour) {
  const int row = FindRow(list, catalogue, colour);
  if (row >= 0) return row;
  for (const CColorRibbon& ribbon : catalogue.ribbons)
    if (ribbon.displayColour >= 0 && static_cast<ColorRef>(ribbon.displayColour) == colour)
      return FindRow(list, catalogue, ribbon.colour);
  return -1;
}

}  // namespace vyx
