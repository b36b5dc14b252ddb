// The print recipe from the catalogue order: brighter ribbons print first, so that darker ones cover them.
#include "manager/output/write_recipe.h"

#include <vector>

namespace vyx {

namespace {

std::int32_t Outcome(const CQzplJobData& job, std::int32_t ribbonId) {
  return job.layout.ribbonOutcomes[((ribbonId % 32) + 32) % 32];
}

}  // namespace

std::int32_t PrintingRibbon(const CQzplJobData& job, std::int32_t ribbonId) {
  const std::int32_t outcome = Outcome(job, ribbonId);
  return outcome > 0 ? outcome : ribbonId;
}

void BuildPrintRecipe(const CQzplJobData& job,
                      CQzplPrintPlan& plan,
                      const CCatalogue& catalogue,
                      const std::wstring* tapeClass,
                      std::int32_t ribbonSelection) {
  plan.writeCommands.clear();
  AddWriteCommand(plan, kCmdHeader, 0, nullptr, false);
  const std::vector<CColorRibbon>& ribbons = catalogue.ribbons;
  std::vector<bool> marked(ribbons.size(), false);
  for (std::size_t i = 0; i < ribbons.size(); ++i)
    // Selection 0 is the driver's "no selection" (its default options carry it), as in the main window; taking it
    // as ribbon 0 would silently leave that ribbon's pass out of every default print.
    marked[i] = (tapeClass && ribbons[i].className == *tapeClass) ||
                (ribbonSelection != 0 && ribbons[i].ribbonId == ribbonSelection);
  const std::uint32_t used = job.layout.printJobsRibbonMask;
  auto isUsed = [used](const CColorRibbon& r) { return (used & RibbonBit(r.ribbonId)) != 0; };

  for (std::size_t i = 0; i < ribbons.size(); ++i) {
    const CColorRibbon& ribbon = ribbons[i];
    if (marked[i] || !isUsed(ribbon) || Outcome(job, ribbon.ribbonId) > 0) continue;
    // The select line's mask gathers the colours this ribbon prints; the vector may grow below, so keep the index.
    const std::size_t select = plan.writeCommands.size();
    AddWriteCommand(plan, kCmdRibbonSelect, ribbon.ribbonId, ribbon.ribbonName.c_str(), true);
    for (std::size_t q = 0; q < ribbons.size(); ++q) {
      if (marked[q] || !isUsed(ribbons[q]) || PrintingRibbon(job, ribbons[q].ribbonId) != ribbon.ribbonId) continue;
      AddWriteCommand(plan, kCmdRibbonFields, ribbons[q].ribbonId, nullptr, false);
      plan.writeCommands[select].ribbonMask |= RibbonBit(ribbons[q].ribbonId);
      marked[q] = true;
    }
  }
  AddWriteCommand(plan, kCmdCutData, 0, nullptr, false);
  AddWriteCommand(plan, kCmdTapeCutMarks, 0, nullptr, false);
  AddWriteCommand(plan, kCmdTrailer, 0, nullptr, false);
}

}  // namespace vyx
