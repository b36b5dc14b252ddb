// Colour consolidation of a page: colour groups, the classification of their fields into kept and sparse ones,
// promotion, clones with contact scores, pixel scoring, and the ribbon outcome table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "manager/model/bitmap_field.h"
#include "manager/model/colour_math.h"
#include "manager/model/job_progress.h"

namespace vyx {

class CQzplPage;
class CQzplJobData;

inline constexpr int kRibbonOutcomeCount = 32;
// Ribbon outcome values besides a ribbon index: printed with its own ribbon, split over several ribbons.
inline constexpr std::int32_t kOutcomeOwnRibbon = -1;
inline constexpr std::int32_t kOutcomeSplit = 33;
// Colour groups hold one field per ribbon; longer runs of one extent (64 = twice the ribbon indices) are left
// as they are, each field printing in its own ribbon.
inline constexpr std::size_t kMaxGroupFields = 64;

// The two settings of section Palette that the consolidation reads.
struct CConsolidationSettings {
  int grayExcerptPercent = kDefaultGrayExcerptPercent;
  int colorAngleWeight = kDefaultColorAngleWeight;
  // Memory bound, not a catalogue setting: sparse fields up to this many pixels keep their bytes and the kept
  // fields' rows around them between the contact pass and the scoring pass; larger ones are read twice.
  std::int64_t cachedPixelLimit = 4000000;
};

// How a field of a colour group was classified.
enum EFieldClass : int {
  kFieldKept = 0,     // prints in its own ribbon
  kFieldSparse = 1,   // its pixels go to the kept fields of the group
  kFieldTint = 2,     // a uniform tint: stays, takes no further part, its ribbon prints itself
  kFieldNeither = 3,  // stays and takes no further part
};

// Classifies one field of a colour group from its measures (solid block, pattern, black, size, density, strokes,
// line-like, solid square). Computes and stores the measures it needs in the field.
EFieldClass ClassifyField(CGraphicField& field);

// Promotion among the sparse fields of a group without a kept field, from their b = strokes / sqrt(pixels) / (W + H)
// (-1 when undefined): q(i) is the product of the other fields' b raised to 1 / (n - 1); the greatest q (the first
// on ties) wins when it exceeds 5. Returns its index, or -1.
int PickPromotedField(const std::vector<double>& b);

// Consolidates every colour group of the page. ribbonColours and outcomes have 32 entries each, indexed by ribbon
// index modulo 32. Returns the number of changes, which is also added to the page's change counter. Progress
// moves from 8,000,000 towards 9,600,000 by the text position of each field.
int ConsolidatePage(CQzplPage& page,
                    const std::int32_t* ribbonColours,
                    std::int32_t* outcomes,
                    const CConsolidationSettings& settings = {},
                    CJobProgress* progress = nullptr);

// Page step 1 over every page of the job with the job's outcome table; sets the progress bar to 9,600,000 when
// done. Returns the total of the changes.
int ConsolidateJob(CQzplJobData& job, const std::int32_t* ribbonColours, const CConsolidationSettings& settings = {});

}  // namespace vyx
