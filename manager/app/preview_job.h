// A job opened the way the main window opens it, for drawing its preview away from the window (the command-line
// tool, tests and benchmarks): catalogue, parse, page steps, the window's model opened with the options, and the
// tape the printer reports.
#pragma once

#include <cstdint>
#include <memory>

#include "common/language.h"
#include "common/seams/profile_reader.h"
#include "manager/app/main_window_model.h"
#include "manager/app/preview_painter.h"

namespace vyx {

class CWindowJob {
 public:
  // `job` has been read (with its per-page copies table) but not parsed; `catalogueFile` may be none (every
  // default). The job must outlive this object.
  CWindowJob(CQzplJobData& job, CProfileReader* catalogueFile, const COptions& options, const CLanguageText& language);

  // The printer's first status reply names `tapeId` as loaded, with what the window does then (rows of the tape's
  // class skipped, the black tape rule). False, with nothing changed, when the catalogue has no such tape.
  bool ReportLoadedTape(std::int32_t tapeId);

  CPreviewScene Scene() const;
  CMainWindowModel& Model() { return *m_model; }
  const CCatalogue& Catalogue() const { return m_catalogue; }

 private:
  CQzplJobData& m_job;
  CCatalogue m_catalogue;
  std::unique_ptr<CMainWindowModel> m_model;
};

}  // namespace vyx
