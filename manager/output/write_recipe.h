// The write commands of a print: the recipe of sections the printer command writer runs for every document.
#pragma once

#include <cstdint>
#include <string>

#include "manager/model/catalogue.h"
#include "manager/model/job.h"
#include "manager/output/writer.h"

namespace vyx {

// Header; then, for every ribbon colour of the catalogue (brightest first) that the print jobs use, that no other
// ribbon prints and that is not skipped, a ribbon select line followed by the field passes of every colour this
// ribbon prints; then cut data, tape cut marks and the trailer. Skipped are the colours whose class equals the
// loaded tape's class (`tapeClass`, none when null) and those whose ribbon id is `ribbonSelection` (0: none).
// Earlier write commands are dropped first.
void BuildPrintRecipe(const CQzplJobData& job,
                      CQzplPrintPlan& plan,
                      const CCatalogue& catalogue,
                      const std::wstring* tapeClass,
                      std::int32_t ribbonSelection);

// The ribbon that prints a colour: the consolidation's outcome when it moved the colour elsewhere (above 0), else
// the colour itself.
std::int32_t PrintingRibbon(const CQzplJobData& job, std::int32_t ribbonId);

}  // namespace vyx
