// Opening a job for its preview as the start-up and the main window do.
#include "manager/app/preview_job.h"

#include <string>

#include "common/ini_file.h"
#include "manager/output/silent_print.h"

namespace vyx {

CWindowJob::CWindowJob(CQzplJobData& job,
                       CProfileReader* catalogueFile,
                       const COptions& options,
                       const CLanguageText& language)
    : m_job(job) {
  CIniFile empty;
  m_catalogue.Read(catalogueFile ? *catalogueFile : empty, options.black_punches != 0, language);
  m_job.ParseJob();
  PrepareParsedJob(m_job, m_catalogue, options);
  m_model = std::make_unique<CMainWindowModel>(m_job, m_catalogue, language, options, 0);
  m_model->Open();
}

bool CWindowJob::ReportLoadedTape(std::int32_t tapeId) {
  const std::string reply = std::to_string(tapeId) + "," + std::to_string(kStartTapeRemaining) + "\r\n";
  const CStatusUpdate update = m_model->OnStatusReply(reply.data(), reply.size());
  if (!update.accepted) return false;
  if (update.tapeChanged) m_model->RunBlackTapeRule();
  return true;
}

CPreviewScene CWindowJob::Scene() const {
  return MakePreviewScene(m_job, m_model->Plan(), m_model->JobList(), m_catalogue, m_model->LoadedTapeId());
}

}  // namespace vyx
