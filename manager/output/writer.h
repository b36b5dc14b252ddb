// The printer command writer: executes a print plan (print jobs and the recipe of write commands) as one output
// document per print job: header, ribbon passes, cut data, tape cut marks and the stream's own trailer.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "common/seams/output_channel.h"
#include "manager/model/header.h"
#include "manager/model/tape_cut_set.h"

namespace vyx {

class CQzplJobData;
class CQzplPage;

// One output document, or a run of identical documents (copies of one label split by length).
struct CQzplPrintJob {
  std::int32_t firstPage = 0;
  std::int32_t lastPage = 0;
  std::int32_t firstRow = 0;
  std::int32_t lastRow = 0;
  std::int32_t top = 0;     // y of the first row on the media
  std::int32_t length = 0;  // the document's part of the layout
  CCustomQzplHeader header;
  std::uint32_t ribbonMask = 0;  // OR of the ribbon masks of its pages
  std::int64_t repeat = 1;       // the document is written this many times in a row, each time as it is written
};

enum EWriteCmdType : std::int32_t {
  kCmdHeader = 1,
  kCmdRibbonSelect = 2,
  kCmdRibbonFields = 3,
  kCmdCutData = 4,
  kCmdTapeCutMarks = 5,
  kCmdTrailer = 6,
};

// One section of the recipe.
struct CWriteCmd {
  std::int32_t type = 0;
  std::int32_t ribbonIndex = 0;
  char ribbonName[32] = {};         // ribbon select: the name the printer knows the ribbon by
  std::uint8_t ribbonLineFlag = 0;  // ribbon fields: write an own ribbon select line
  std::uint32_t ribbonMask = 0;     // ribbon select: the ribbons of the field sections it serves
};

// Where one label copy lands on the media (for the preview).
struct CPQCopy {
  std::int32_t x = 0;
  std::int32_t y = 0;
};

// What the layout builds for a print and the writer executes; empty entries stand for removed ones.
struct CQzplPrintPlan {
  std::vector<std::unique_ptr<CQzplPrintJob>> printJobs;
  std::vector<CWriteCmd> writeCommands;
  std::vector<std::unique_ptr<CTapeCutSet>> tapeCutSets;
  std::vector<CPQCopy> copies;
};

// Documents the plan writes: each print job counts as often as it repeats.
std::int64_t DocumentCount(const CQzplPrintPlan& plan);

// Appends a command; a null name leaves the name all zeros, a longer one is cut to 31 characters.
CWriteCmd& AddWriteCommand(CQzplPrintPlan& plan,
                           std::int32_t type,
                           std::int32_t ribbonIndex,
                           const char* ribbonName,
                           bool ribbonLineFlag);

// Label copy positions for rows x columns of the header, row by row; the previous positions are dropped.
void MakeCopyPositions(CQzplPrintPlan& plan, const CQzplHeader& header);

// Writes every print job of the plan as a document (a repeated one as often as it repeats). `storedDarkness` is the
// darkness setting (-1: none). Returns false at once when a document cannot be started or ended, and false when the
// plan has no document at all; otherwise the AND of every section's result.
bool Print(CQzplJobData& job, CQzplPrintPlan& plan, COutputChannel& out, int storedDarkness);

// "^PO<x>,<y>": once per document for a one-page job, before every page's data otherwise.
bool WritePageOffset(CQzplPage& page, COutputChannel& out);

// The fields of ribbon k of one page. When the colour consolidation changed the page, the fields are written as
// one merged field. `ribbonLineFlag` (shared by all pages of the section) asks for a ribbon select line first.
bool WriteRibbonFields(CQzplPage& page, COutputChannel& out, std::uint32_t ribbonIndex, bool& ribbonLineFlag);

// The page's cut objects in a freshly optimised order (kept only when it is not longer), after the page offset.
bool WriteCutData(CQzplPage& page, COutputChannel& out);

}  // namespace vyx
