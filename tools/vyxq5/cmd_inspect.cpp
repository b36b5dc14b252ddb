// vyxq5 inspect JOB [--tag TAG] [--copies FILE] [--catalogue FILE [--options STR]] [--steps] [--bitmaps]: reads a
// job stream file through the manager's stream reader, parses it and prints header, pages and bitmap fields as one
// JSON object. With a catalogue the steps start with the colour consolidation, and outcomes and marks are shown.
#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

#include <nlohmann/json.hpp>

#include "manager/model/cut_path.h"
#include "manager/model/job.h"
#include "manager/model/rounded_rect.h"
#include "tools/vyxq5/commands.h"
#include "tools/vyxq5/inspect_colours.h"
#include "tools/vyxq5/job_file.h"

namespace vyxq5 {
namespace {

using nlohmann::ordered_json;

// Raw values: unset coordinates stay -111111111.
ordered_json Rect(const vyx::CDotRect& r) {
  return ordered_json::array({r.left, r.top, r.right, r.bottom});
}

// The rows of the field extent that its data reaches, as '0'/'1' strings from the pixel query; a row that the end
// of the data cuts short ends there. A field may declare any extent: only the data it carries is walked.
ordered_json Rows(const vyx::CGraphicField& f) {
  ordered_json rows = ordered_json::array();
  if (f.data == nullptr || f.dataEnd <= f.data || f.charsPerRow <= 0 || f.pixelsPerChar <= 0) return rows;
  const std::int64_t width = f.extent.right > f.extent.left ? f.extent.Width() : 0;
  const std::int64_t chars = f.dataEnd - f.data;
  for (std::int64_t y = f.extent.top, at = 0; y < f.extent.bottom && at < chars; ++y, at += f.charsPerRow) {
    const std::int64_t present = std::min<std::int64_t>(f.charsPerRow, chars - at) * f.pixelsPerChar;
    std::string row(static_cast<std::size_t>(std::min(width, present)), '0');
    for (std::size_t x = 0; x < row.size(); ++x)
      if (f.PixelAt(f.extent.left + static_cast<std::int64_t>(x), y) == 1) row[x] = '1';
    rows.push_back(std::move(row));
  }
  return rows;
}

ordered_json Field(const vyx::CGraphicField& f, bool bitmaps, bool colours) {
  ordered_json j = {
      {"type", f.GetType()},
      {"ribbon", f.ribbonIndex},
      {"name", f.ribbonName},
      {"format", (f.format == 'A' || f.format == 'B') ? std::string(1, f.format) : std::string()},
      {"extent", Rect(f.extent)},
      {"ink", Rect(f.inkBox)},
      {"pixels", f.pixelCount},
      {"bytes_per_row", f.bytesPerRow},
      {"total_bytes", f.totalBytes},
  };
  if (colours) {
    j["mark"] = f.consolidationMark;
    if (f.GetType() == vyx::kTypeGraphicFieldClone) j["contact_score"] = f.GetContactScore();
  }
  if (bitmaps) j["rows"] = Rows(f);
  return j;
}

ordered_json Point(const vyx::CQuarterPoint& q) {
  return ordered_json::array({q.x, q.y});
}

// A cut object: its stroke values (quarter dots) when it is one of the cut types, which all derive from CCutObj.
ordered_json Cut(const vyx::CGraphicObj& c) {
  if (!vyx::IsCutObjType(c.GetType())) return {{"type", c.GetType()}, {"ink", Rect(c.inkBox)}};
  const auto& cut = static_cast<const vyx::CCutObj&>(c);
  ordered_json j;
  j["type"] = cut.GetType();
  j["first"] = Point(cut.firstPoint);
  j["last"] = Point(cut.lastPoint);
  j["points"] = cut.pointCount;
  j["closed"] = cut.closed;
  j["beziers"] = cut.bezierCount;
  j["ink"] = Rect(cut.inkBox);
  // Rounded rectangles (the outline and BarTender rectangles) are generated from their box and corner radius.
  if (cut.GetType() == vyx::kTypeRoundedRect || cut.GetType() == vyx::kTypeBarTenderRect) {
    j["radius"] = static_cast<const vyx::CRoundedRect&>(cut).radius;
  }
  return j;
}

ordered_json Page(const vyx::CQzplPage& p, bool bitmaps, bool colours) {
  ordered_json fields = ordered_json::array();
  for (const vyx::CGraphicField* f : p.graphicFields) fields.push_back(Field(*f, bitmaps, colours));
  ordered_json cuts = ordered_json::array();
  for (const vyx::CGraphicObj* c : p.cutObjects) cuts.push_back(Cut(*c));
  return {
      {"copies", p.copies},
      {"copy_index", p.copyIndex},
      {"ribbon_mask", p.ribbonMask},
      {"bounds", Rect(p.contentBounds)},
      {"change_counter", p.changeCounter},
      {"cut_travel", p.cutTravel},
      {"fields", fields},
      {"cuts", cuts},
  };
}

struct CInspectArgs {
  std::string jobPath, copiesPath, tag, cataloguePath, options;
  bool steps = false, bitmaps = false;
};

int RunInspect(const CInspectArgs& a) {
  constexpr std::string_view kName = "inspect";
  const std::string& cataloguePath = a.cataloguePath;
  const bool steps = a.steps, bitmaps = a.bitmaps;
  const bool colours = !cataloguePath.empty();
  vyx::CCatalogue catalogue;
  std::string error;
  if (colours && !LoadInspectCatalogue(cataloguePath, a.options, catalogue, error)) return FailUsage(kName, error);

  vyx::CQzplJobData job;
  job.jobTag = a.tag;
  if (!ReadJobAndCopiesFiles(a.jobPath, a.copiesPath, job, error)) return FailUsage(kName, error);
  const std::int64_t bytes = job.jobLength;
  job.ParseJob();
  int merges = 0;
  if (steps && colours) {
    ConsolidateForInspect(job, catalogue);
    job.KnockOutOverlaps(catalogue.nonPunchMask);
    merges = job.MergeSameRibbonFields(catalogue.palette.packetWeightInPixels);
  } else if (steps) {
    job.KnockOutOverlaps(0);
    merges = job.MergeSameRibbonFields();
  }

  const vyx::CQzplHeader& h = job.parsedHeader;
  ordered_json pages = ordered_json::array();
  for (const vyx::CQzplPage* p : job.pages) pages.push_back(Page(*p, bitmaps, colours));
  ordered_json out = {
      {"bytes", bytes},
      {"header",
       {
           {"width", h.width},
           {"length", h.length},
           {"home_x", h.homeX},
           {"home_y", h.homeY},
           {"total_labels", h.totalLabels},
           {"rows", h.rows},
           {"row_gap", h.rowGap},
           {"columns", h.columns},
           {"column_gap", h.columnGap},
           {"rsr", h.rsrValue},
           {"darkness", h.darkness},
           {"labels_across", h.labelsAcross},
       }},
      {"pages", pages},
  };
  if (steps) out["merges"] = merges;
  if (colours) out["outcomes"] = OutcomesJson(job);
  // Ribbon names are raw bytes of the stream: replace what is not UTF-8 rather than fail.
  std::printf("%s\n", out.dump(-1, ' ', false, ordered_json::error_handler_t::replace).c_str());
  return 0;
}

}  // namespace

void AddInspectCommand(CCommandSet& commands) {
  auto a = std::make_shared<CInspectArgs>();
  CLI::App& cmd = commands.Add("inspect",
                               "Reads a job stream file through the manager's stream reader, parses it and prints "
                               "header, pages, bitmap fields and cuts as one JSON object.",
                               [a] { return RunInspect(*a); });
  cmd.add_option("JOB", a->jobPath, "the job stream file")->required();
  cmd.add_option("--tag", a->tag, "the job tag of the pipe name (\"_btw\" ends a BarTender job)");
  cmd.add_option("--copies", a->copiesPath, "a per-page copies file (never deleted)");
  CLI::Option* catalogue =
      cmd.add_option("--catalogue", a->cataloguePath, "the colour catalogue: consolidation, outcomes and marks");
  cmd.add_option("--options", a->options, "the job options string (its Pn flag) for the catalogue")->needs(catalogue);
  cmd.add_flag("--steps", a->steps, "run the page steps before printing");
  cmd.add_flag("--bitmaps", a->bitmaps, "show every field's rows as '0'/'1' strings");
}

}  // namespace vyxq5
