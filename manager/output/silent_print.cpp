// The silent print path: the layout operations run once from the options, then the recipe and the writer.
#include "manager/output/silent_print.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "common/string_ids.h"
#include "common/text_format.h"
#include "manager/model/consolidation.h"
#include "manager/model/cut_order.h"
#include "manager/output/layout.h"
#include "manager/output/write_recipe.h"

namespace vyx {

namespace {

constexpr std::int32_t kAutomaticGap = 20;
constexpr std::int32_t kLargestAutomaticRadius = 94;  // quarter dots
constexpr std::int16_t kLandscape = 2;

bool AnyPageHasOwnCuts(const CQzplJobData& job) {
  return std::any_of(job.pages.begin(), job.pages.end(), [](const CQzplPage* p) { return p && HasCutObjects(*p); });
}

bool FirstAndLastCoverSamePages(const CQzplPrintPlan& plan) {
  const auto& jobs = plan.printJobs;
  return !jobs.empty() && jobs.front() && jobs.back() && jobs.front()->firstPage == jobs.back()->firstPage &&
         jobs.front()->lastPage == jobs.back()->lastPage;
}

// OK to go on: no message when the strings do not load.
bool ConfirmLength(CSilentPrintSeams& seams) {
  const std::wstring format = seams.language.GetString(kStrLengthLimit);
  const std::wstring caption = seams.language.GetString(kStrManagerCaption);
  if (format.empty() || caption.empty() || !seams.messages) return true;
  const std::wstring text = FormatText(format, {kLengthLimitMetres});
  return seams.messages->Show(text, caption, kMbOkCancel) != kIdCancel;
}

}  // namespace

void PrepareParsedJob(CQzplJobData& job, const CCatalogue& catalogue, const COptions& options) {
  std::vector<std::int32_t> colours = catalogue.RibbonColourTable();
  colours.resize(kRibbonOutcomeCount, -1);
  ConsolidateJob(job, colours.data(),
                 CConsolidationSettings{catalogue.palette.grayExcerptPercent, catalogue.palette.colorAngleWeight});
  job.KnockOutOverlaps(catalogue.nonPunchMask);
  job.MergeSameRibbonFields(catalogue.palette.packetWeightInPixels);
  ExpandPageCopies(job);
  job.FreePerPageCopies();
  // Automatic darkness lets the stored setting or the default decide; otherwise the job's own ^SD holds.
  const int darkness = options.automatic_darkness || !job.headerInForce ? -1 : job.headerInForce->darkness;
  job.optimisedHeader.darknessOverride = darkness;
  job.formSizeHeader.darknessOverride = darkness;
}

bool PrintSilently(CQzplJobData& job,
                   CQzplPrintPlan& plan,
                   CCatalogue& catalogue,
                   const COptions& options,
                   CSilentPrintSeams& seams) {
  if (job.pages.empty()) {
    // Nothing would reach the printer: that is a failed print, never a silent success.
    if (seams.messages) seams.messages->Show(kNoPageText, kNoPageCaption, kMbOk);
    return false;
  }
  if (!seams.channel || !seams.openOutput || !seams.openOutput(*seams.channel)) return false;
  CPrintChannel& channel = *seams.channel;

  std::optional<std::wstring> tapeClass;
  const std::int32_t tape = seams.askLoadedTape ? seams.askLoadedTape() : -1;
  if (tape >= 0) {
    tapeClass = catalogue.TapeClass(tape);
    catalogue.ApplyBlackTapeRule(tape, job);
  }

  job.optimisedHeader.laminate = options.laminate;
  job.formSizeHeader.laminate = options.laminate;

  job.headerInForce = options.optimised_size ? &job.optimisedHeader : &job.formSizeHeader;
  SetTotalLabels(job, job.headerInForce->totalLabels);
  const CQzplHeader& inForce = *job.headerInForce;
  SetLabelGap(job, options.automatic_gap ? kAutomaticGap
                                         : static_cast<std::int32_t>(
                                               (static_cast<std::int64_t>(inForce.rowGap) + inForce.columnGap) / 2));

  const bool ownCuts = AnyPageHasOwnCuts(job);
  const bool noOutline = !options.automatic_outline && !options.outline_every_page;
  const bool marginsApply =
      (!ownCuts && !noOutline) || (ownCuts && options.outline_every_page && !options.automatic_outline);
  std::int32_t marginX = 0, marginY = 0;
  if (marginsApply) {
    marginX = options.automatic_margins ? AutomaticMargin(job) : options.margin_x;
    marginY = options.automatic_margins ? AutomaticMargin(job) : options.margin_y;
    marginX = std::min(marginX, SideMarginLimit(job));
  }

  if (options.optimised_size) {
    PlaceOptimised(job, marginX, marginY);
    if (options.centre_pages) CentreOnLargest(job);
  } else {
    PlaceFormSize(job);
  }

  if (!noOutline) {
    const std::int32_t radius =
        options.automatic_corner_radius
            ? static_cast<std::int32_t>(std::min<std::int64_t>(kLargestAutomaticRadius,
                                                               (static_cast<std::int64_t>(marginX) + marginY) * 4 / 2))
            : options.corner_radius;
    const bool evenIfCut = options.outline_every_page && !options.automatic_outline;
    std::int64_t maximum = radius;
    if (AddOutlines(job, radius, evenIfCut) && !SetOutlineRadius(job, radius, &maximum) && maximum < radius)
      SetOutlineRadius(job, static_cast<std::int32_t>(std::max<std::int64_t>(maximum, 0)), nullptr);
  }

  // Every label of a set is a page of its own, so the set size is bounded like the main window bounds it.
  std::int64_t perSet = std::clamp<std::int64_t>(options.labels_per_set, 0, kMaxLabelsPerSet);
  const std::int64_t pages = static_cast<std::int64_t>(job.pages.size());
  perSet = std::min(perSet, job.layout.pageCountAtLoad == 1 ? pages * job.headerInForce->totalLabels : pages);
  SetTapeCutSets(job, options.tape_cut_sets != 0, static_cast<std::int32_t>(std::max<std::int64_t>(perSet, 0)));
  BuildCutSetPages(job);

  ArrangeRows(job, plan, true, options.orientation == kLandscape);

  if (DocumentCount(plan) > 1 && job.headerInForce->totalLabels > 1 && !FirstAndLastCoverSamePages(plan))
    SetTotalLabels(job, 1);

  if (NeedsLengthConfirmation(job, plan) && !ConfirmLength(seams)) {
    channel.CloseOutput();
    return false;
  }

  BuildPrintRecipe(job, plan, catalogue, tapeClass ? &*tapeClass : nullptr, options.ribbon_selection);
  const bool written = Print(job, plan, channel, seams.storedDarkness);
  channel.CloseOutput();
  plan.writeCommands.clear();
  return written;
}

}  // namespace vyx
