// The silent path on a job held in memory and an output of the caller's choice: parse, page steps, copies and the
// silent print. `vyxq5 print`, the benchmark and the end-to-end comparison under Wine all run it, so that one job
// gives one printer stream wherever it is produced.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "common/language.h"
#include "common/seams/message_sink.h"
#include "common/seams/profile_reader.h"
#include "manager/model/options.h"
#include "manager/output/channel.h"
#include "manager/output/spooler_calls.h"

namespace vyx {

class CQzplJobData;

// What the print takes besides the job.
struct CJobPrintSettings {
  CProfileReader* catalogue = nullptr;  // the catalogue file; none reads every default
  COptions options;
  std::string jobTag;  // the part of the pipe name behind "VYXQ5_" ("_btw" ends a BarTender job)
  std::int32_t loadedTape = -1;
  int storedDarkness = -1;
  CLanguageText language;  // strings of the length confirmation
};

// A job given as text.
struct CJobTextPrint : CJobPrintSettings {
  std::string jobText;
  const std::string* perPageCopies = nullptr;  // bytes of a per-page copies file, or none
};

// Runs the whole path on a job that has been read (and has its per-page copies table) but is not parsed yet;
// `openOutput` opens the channel (a file, or a printer queue through `calls`). Returns the silent print's result.
bool PrintReadJob(CQzplJobData& job,
                  const CJobPrintSettings& settings,
                  CSpoolerCalls& calls,
                  CMessageSink& messages,
                  const std::function<bool(CPrintChannel&)>& openOutput);

// The same on a job text.
bool PrintJobText(const CJobTextPrint& input,
                  CSpoolerCalls& calls,
                  CMessageSink& messages,
                  const std::function<bool(CPrintChannel&)>& openOutput);

}  // namespace vyx
