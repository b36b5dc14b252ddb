// The job layout: print rectangles, margins, outline cuts, copies and tape cut sets, the arrangement of labels in
// rows across the tape, the split into output documents and the length limits of one document.
#pragma once

#include <cstdint>

#include "manager/model/header.h"
#include "manager/model/job.h"
#include "manager/output/writer.h"

namespace vyx {

// Dot size in millimetres.
inline constexpr double kMmPerDot = 0.08466666666666667;
// Rows are gathered into one document until their length exceeds this many dots.
inline constexpr std::int64_t kDocumentSplitDots = 29500;
// Copies of one document are limited to this layout length (mm); a longer layout is split by copies.
inline constexpr double kCopiesLengthLimitMm = 12000.0;
// A single label longer or wider than this (mm) is always confirmed by the user.
inline constexpr double kLabelLengthLimitMm = 120000.0;
// Tape cut marks lie this far below the last row of a set; the next set starts twice as far down.
inline constexpr std::int32_t kTapeCutMarkDistance = 100;
// Copies of one page become at most this many pages (the driver counts per-page copies in 16 bits), and a single
// label's copies are kept within the main window's range.
inline constexpr std::int32_t kMaxPageCopies = 32767;
inline constexpr std::int32_t kMaxLabelCopies = 99999999;
// Labels per tape cut set are kept within the main window's range: every label of a set is a page of its own.
inline constexpr std::int32_t kMaxLabelsPerSet = 10000;

// Header level: labels across from width and gap, then rows and columns for `n` labels; last row partial when n
// does not fill the last row.
void ApplyTotalLabels(CQzplHeader& header, std::int32_t n);

// Per-page copies become pages (start-up). A one-page job keeps one page and prints its copies as total labels;
// in a longer job every page with c copies is followed by c - 1 copy pages. Returns the copy pages added.
int ExpandPageCopies(CQzplJobData& job);

// Total labels n on both working headers (and on the header in force), rows and columns recomputed.
void SetTotalLabels(CQzplJobData& job, std::int32_t n);
// Row and column gap of both working headers; labels across, rows and columns recomputed.
void SetLabelGap(CQzplJobData& job, std::int32_t gap);

// Print rectangles from the parsed header's home position and size (an unset home counts as 0).
void PlaceFormSize(CQzplJobData& job);
// Print rectangles = content bounds widened by the margins; records the widest, tallest and smallest sizes.
void PlaceOptimised(CQzplJobData& job, std::int32_t marginX, std::int32_t marginY);
// Every print rectangle as large as the widest and tallest, centred on the page's content.
void CentreOnLargest(CQzplJobData& job);
// The largest horizontal margin that keeps the widest content on the tape.
std::int32_t SideMarginLimit(const CQzplJobData& job);
// Margin in dots for the largest content side (1 to 5 mm by label size).
std::int32_t AutomaticMargin(const CQzplJobData& job);

// Outline cut on every page; true only when every page took one. A copy page takes its master's outline rather
// than an own object, because copy pages never delete what their arrays hold.
bool AddOutlines(CQzplJobData& job, std::int32_t radius, bool evenIfCut);
// Radius on every page; true only when every page accepted. A page whose print rectangle is too small reports its
// maximum through `maximum` (the last such page's value remains) and keeps its outline.
bool SetOutlineRadius(CQzplJobData& job, std::int32_t radius, std::int64_t* maximum);
// Refits every outline to its print rectangle; true only when every page has one.
bool FitOutlines(CQzplJobData& job);
// Takes every page's outline out of its cut order (copy pages first: they only hold their master's) and deletes
// what the pages own; true when some page had one.
bool RemoveOutlines(CQzplJobData& job);

// Tape cut sets of the layout: the job's items and both working headers (in force when enabled and above 0).
void SetTapeCutSets(CQzplJobData& job, bool enabled, std::int32_t labelsPerSet);
// One set of pages for a job that had one page with several copies; returns the change of total labels.
int BuildCutSetPages(CQzplJobData& job);
// Back to one page with its copies when tape cut sets are switched off; returns the change of total labels.
int CollapseCutSetPages(CQzplJobData& job);

// Fills the pages into rows across the tape (from the right only when both flags are set): page offsets, print
// jobs, tape cut set marks, the header in force's width and length, and the split of copies by length.
void ArrangeRows(CQzplJobData& job, CQzplPrintPlan& plan, bool rightToLeft, bool landscape);

// rows x length + (rows - 1) x row gap; columns x width + (columns - 1) x column gap.
std::int64_t LayoutLength(const CQzplHeader& header);
std::int64_t LayoutWidth(const CQzplHeader& header);

// Every print job's header copy taken again from the header in force; without `takeCopiesArrangement` each keeps
// its own rows, row gap, columns and column gap. The ribbon mask of the print jobs is cleared.
void RefreshPrintJobHeaders(CQzplJobData& job, CQzplPrintPlan& plan, bool takeCopiesArrangement);
// After a change of copies: the print jobs that repeat one layout are re-split by the copies length limit.
void SplitCopiesByLength(CQzplJobData& job, CQzplPrintPlan& plan);
// Whether the print must be confirmed: a label beyond the single-label limit, or a one-document layout whose
// copies had to be reduced to fit the copies length limit (they are reduced here).
bool NeedsLengthConfirmation(CQzplJobData& job, const CQzplPrintPlan& plan);

}  // namespace vyx
