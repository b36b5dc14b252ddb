// One job text through the manager's preparation and the silent print, as the start-up runs them.
#include "manager/output/print_job_text.h"

#include "common/ini_file.h"
#include "manager/model/catalogue.h"
#include "manager/model/job.h"
#include "manager/output/channel.h"
#include "manager/output/silent_print.h"

namespace vyx {

namespace {

std::wstring WidenTag(const std::string& tag) {
  return WidenUtf8(tag);
}

}  // namespace

bool PrintReadJob(CQzplJobData& job,
                  const CJobPrintSettings& input,
                  CSpoolerCalls& calls,
                  CMessageSink& messages,
                  const std::function<bool(CPrintChannel&)>& openOutput) {
  job.jobTag = input.jobTag;
  CCatalogue catalogue;
  CIniFile empty;
  catalogue.Read(input.catalogue ? *input.catalogue : empty, input.options.black_punches != 0, input.language);
  job.ParseJob();
  PrepareParsedJob(job, catalogue, input.options);

  CPrintChannel channel(calls, messages, WidenTag(input.jobTag));
  CQzplPrintPlan plan;
  CSilentPrintSeams seams;
  seams.channel = &channel;
  seams.openOutput = openOutput;
  const std::int32_t tape = input.loadedTape;
  seams.askLoadedTape = [tape] { return tape; };
  seams.messages = &messages;
  seams.language = input.language;
  seams.storedDarkness = input.storedDarkness;
  return PrintSilently(job, plan, catalogue, input.options, seams);
}

bool PrintJobText(const CJobTextPrint& input,
                  CSpoolerCalls& calls,
                  CMessageSink& messages,
                  const std::function<bool(CPrintChannel&)>& openOutput) {
  CQzplJobData job;
  job.SetText(input.jobText.data(), input.jobText.size());
  if (input.perPageCopies) job.SetPerPageCopies(input.perPageCopies->data(), input.perPageCopies->size());
  return PrintReadJob(job, input, calls, messages, openOutput);
}

}  // namespace vyx
