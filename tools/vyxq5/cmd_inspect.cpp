// vyxq5 inspect [--copies FILE] [--steps MASK] JOB: reads a job stream file (or '-' for standard input) the way
// the manager reads its pipe, parses it and prints header, pages, bitmap fields and trailer as JSON.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include <nlohmann/json.hpp>

#include "manager/model/job.h"
#include "tools/vyxq5/commands.h"

namespace vyxq5 {
namespace {

using nlohmann::ordered_json;

ordered_json Rect(const vyx::CDotRect& r) {
  if (r.HasUnsetBound()) return nullptr;
  return ordered_json::array({r.left, r.top, r.right, r.bottom});
}

// Offset of a position inside the job buffer, or null (unset, or an object's own buffer).
ordered_json Offset(const vyx::CQzplJobData& job, const char* p) {
  const char* base = job.Text();
  if (p == nullptr || base == nullptr || p < base || p > base + job.jobLength) return nullptr;
  return static_cast<std::int64_t>(p - base);
}

ordered_json Span(const vyx::CQzplJobData& job, const vyx::CQzplObj& o) {
  return {{"start", Offset(job, o.textStart)}, {"end", Offset(job, o.textEnd)}, {"length", o.textLength}};
}

const char* TypeName(int type) {
  switch (type) {
    case vyx::kTypeGraphicField: return "CGraphicField";
    case vyx::kTypeSyntheticGraphicField: return "CSyntheticGraphicField";
    case vyx::kTypeGraphicFieldClone: return "CGraphicFieldClone";
    default: return "other";
  }
}

ordered_json Field(const vyx::CQzplJobData& job, const vyx::CGraphicField& f) {
  ordered_json j = {
      {"type", TypeName(f.GetType())},
      {"ribbon_index", f.ribbonIndex},
      {"ribbon_name", f.ribbonName},
      {"format", f.format == 0 ? std::string() : std::string(1, f.format)},
      {"origin", ordered_json::array({f.extent.left, f.extent.top})},
      {"extent", ordered_json::array({f.extent.left, f.extent.top, f.extent.right, f.extent.bottom})},
      {"total_bytes", f.totalBytes},
      {"bytes_per_row", f.bytesPerRow},
      {"rows", f.RowCount()},
      {"pixels", f.pixelCount},
      {"ink_box", Rect(f.inkBox)},
      {"span", Span(job, f)},
  };
  if (f.GetType() != vyx::kTypeGraphicField) {
    j["sources"] = static_cast<const vyx::CSyntheticGraphicField&>(f).sources.size();
  }
  return j;
}

bool ReadFile(const std::string& path, std::string& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

}  // namespace

int RunInspect(const Args& args) {
  const char* usage = "usage: vyxq5 inspect [--copies FILE] [--steps NONPUNCHMASK] JOB|-";
  std::string jobPath, copiesPath;
  bool steps = false;
  unsigned long nonPunch = 0;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--copies" && i + 1 < args.size()) {
      copiesPath = args[++i];
    } else if (args[i] == "--steps" && i + 1 < args.size()) {
      char* end = nullptr;
      nonPunch = std::strtoul(args[++i].c_str(), &end, 0);
      if (end == nullptr || *end != '\0') return FailUsage("--steps takes a ribbon mask such as 0 or 0x4");
      steps = true;
    } else if (jobPath.empty() && (args[i] == "-" || args[i].rfind("--", 0) != 0)) {
      jobPath = args[i];
    } else {
      return FailUsage(usage);
    }
  }
  if (jobPath.empty()) return FailUsage(usage);

  vyx::CQzplJobData job;
  if (!copiesPath.empty()) {
    std::string table;
    if (!ReadFile(copiesPath, table)) return FailUsage("cannot read " + copiesPath);
    job.SetPerPageCopies(table.data(), table.size());  // the tool never deletes the user's file
  }
  std::FILE* in = jobPath == "-" ? stdin : std::fopen(jobPath.c_str(), "rb");
  if (in == nullptr) return FailUsage("cannot read " + jobPath);
  vyx::CStdioStreamSource source(in);
  const std::int64_t length = job.ReadStream(&source);
  if (length < 1) return FailUsage("file load failed ! (" + jobPath + " gave no data)");
  const int pageCount = job.ParseJob();
  ordered_json stepsJson = nullptr;
  if (steps) {
    const std::int64_t cleared = job.KnockOutOverlaps(static_cast<std::uint32_t>(nonPunch));
    const int merges = job.MergeSameRibbonFields();
    stepsJson = {{"non_punch_mask", nonPunch}, {"knocked_out_pixels", cleared}, {"merges", merges}};
  }

  const vyx::CQzplHeader& h = job.parsedHeader;
  ordered_json header = {
      {"width", h.width},
      {"length", h.length},
      {"home", ordered_json::array({h.homeX, h.homeY})},
      {"rows", h.rows},
      {"row_gap", h.rowGap},
      {"columns", h.columns},
      {"column_gap", h.columnGap},
      {"total_labels", h.totalLabels},
      {"labels_across", h.labelsAcross},
      {"rsr", h.rsrValue},
      {"darkness", h.darkness},
      {"column_pitch", job.formSizeHeader.columnPitch},
      {"column_offset", job.formSizeHeader.columnOffset},
      {"span", Span(job, h)},
  };
  ordered_json pages = ordered_json::array();
  int index = 0;
  for (const vyx::CQzplPage* p : job.pages) {
    ordered_json fields = ordered_json::array();
    for (const vyx::CGraphicField* f : p->graphicFields) fields.push_back(Field(job, *f));
    pages.push_back({
        {"index", ++index},
        {"copies", p->copies},
        {"ribbon_mask", p->ribbonMask},
        {"content_bounds", p->contentBounds.IsEmpty() ? ordered_json(nullptr) : Rect(p->contentBounds)},
        {"cut_objects", p->cutObjects.size()},
        {"span", Span(job, *p)},
        {"fields", fields},
    });
  }
  ordered_json out = {
      {"length", length},
      {"per_page_copies", job.HasPerPageCopies() ? ordered_json(job.PerPageCopies()) : ordered_json(nullptr)},
      {"header", header},
      {"page_count", pageCount},
      {"pages", pages},
      {"trailer", Span(job, job.trailer)},
  };
  if (steps) out["steps"] = stepsJson;
  std::printf("%s\n", out.dump(2).c_str());
  return 0;
}

}  // namespace vyxq5
