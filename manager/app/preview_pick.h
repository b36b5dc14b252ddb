// Picking a job list row by clicking a colour in the preview.
#pragma once

#include "manager/app/job_list.h"
#include "manager/model/catalogue.h"

namespace vyx {

// The row whose printing ribbon has `colour`, preferring a row printed with its own ribbon; when none has it, the
// colour is taken as a display colour, translated to the colour of the ribbon that shows in it, and looked for
// again. -1 when no row matches.
int PickRowByColour(const CJobList& list, const CCatalogue& catalogue, ColorRef colour);

}  // namespace vyx
