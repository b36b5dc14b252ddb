// The cut order of a page: cut objects kept in cheapest-insertion order for short plotter travel, and the outline
// cut (a rounded rectangle around the page's print rectangle) that the layout and the main window manage.
#pragma once

#include <cstdint>

#include "manager/model/page.h"
#include "manager/model/rounded_rect.h"

namespace vyx {

// Cost that an insertion has to beat; an object that beats it nowhere is appended at this cost.
constexpr double kNoInsertionCost = 1000000.0;

// Area in square dots spanned by a cut's extreme points. The ink box is right and bottom exclusive, so a cut
// along one row or column of dots (an axis-parallel line) spans no area at all, and a point none either.
std::int64_t SpannedArea(const CDotRect& bounds);

// Where the plotter starts cutting the object: its first point in quarter dots ((0, 0) for a non-cut object).
CQuarterPoint CutStartOf(const CGraphicObj& obj);

// Places `obj` at its cheapest position of the page's cut order and returns that cost. An object whose bounds
// span less than 2 square dots (a point or an axis-parallel line) is refused with -1 and left to the caller.
double InsertCut(CQzplPage& page, CGraphicObj* obj);
// Insert cut; on acceptance adds the cost to the cut travel and unites the object's bounds into the content
// bounds. A refused object is deleted. Returns whether it was accepted.
bool AcceptCut(CQzplPage& page, CGraphicObj* obj);
// Whether the page has a cut of its own: an object whose bounds span more than 1 square dot, other than an
// outline (type 7).
bool HasCutObjects(const CQzplPage& page);

// The page's outline (the last type 7 object of the cut order), or null.
CRoundedRect* FindOutline(const CQzplPage& page);
// Adds an outline of the given radius (quarter dots) around the print rectangle. Refused when the page has an
// outline already, or (unless evenIfCut) when it has cut objects of its own. The content bounds are kept.
bool AddOutline(CQzplPage& page, std::int32_t radius, bool evenIfCut);
// Largest corner radius (quarter dots) the page's print rectangle allows: half its smaller side, times 4.
std::int64_t MaxOutlineRadius(const CQzplPage& page);
// Gives the outline a new radius. When the radius exceeds the maximum, reports it through `maximum` (when not
// null) and refuses; false too when the page has no outline.
bool SetOutlineRadius(CQzplPage& page, std::int32_t radius, std::int64_t* maximum);
// Fits the outline to the page's current print rectangle; false when the page has no outline.
bool FitOutline(CQzplPage& page);
// Takes the outline out of the cut order and deletes it (a copy page only takes it out); false when there is none.
bool RemoveOutline(CQzplPage& page);
// Cut travel = distances between the first points of consecutive cut objects, from the origin on.
void RecomputeTravel(CQzplPage& page);

}  // namespace vyx
