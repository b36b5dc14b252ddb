// Collecting a page's ^RP pen paths as cut objects: every path becomes a stroke, and a stroke with Bezier lines
// is replaced by its flattened curve.
#pragma once

#include <vector>

#include "common/seams/debug_output.h"
#include "manager/model/job_progress.h"
#include "manager/model/qzpl_obj.h"

namespace vyx {

// Appends a cut object to `cuts` for every ^RP path found by the line search in [from, end) (end: the page's ^XPG
// line, which no path passes): a CCutObj, or for a path with ^RPB lines a CBezierCurve built from it (the stroke
// is then deleted). The objects are owned by the caller. Each plain stroke moves `progress` (when given) as the
// page parse does for its fields. Returns the number of objects appended.
int CollectPagePaths(char* from,
                     char* end,
                     std::vector<CGraphicObj*>& cuts,
                     CDebugOutput* debug = nullptr,
                     CJobProgress* progress = nullptr);

}  // namespace vyx
