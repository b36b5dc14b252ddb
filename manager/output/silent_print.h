// The silent print: the job printed at once with the driver's options, without any window, over seams for the
// output, the printer's loaded-tape answer, messages and language strings.
#pragma once

#include <cstdint>
#include <functional>

#include "common/language.h"
#include "common/seams/message_sink.h"
#include "manager/model/catalogue.h"
#include "manager/model/job.h"
#include "manager/model/options.h"
#include "manager/output/channel.h"
#include "manager/output/writer.h"

namespace vyx {

// The length limit (metres) named in the confirmation message.
inline constexpr int kLengthLimitMetres = 12;
// What a job without any page shows instead of printing nothing.
inline constexpr const wchar_t* kNoPageText = L"the job has no page to print !";
inline constexpr const wchar_t* kNoPageCaption = L"PrintSilently";

struct CSilentPrintSeams {
  CPrintChannel* channel = nullptr;
  // Opens the channel's output (the printer named on the command line, or a file); false when it cannot.
  std::function<bool(CPrintChannel&)> openOutput;
  // The printer's loaded tape number, -1 when it does not answer.
  std::function<std::int32_t()> askLoadedTape;
  CMessageSink* messages = nullptr;
  CLanguageText language;   // strings of the length confirmation
  int storedDarkness = -1;  // the stored darkness setting, -1 when there is none
};

// The start-up's preparation after the parse: colour consolidation, overlap knock-out, same-ribbon merging, copies
// expansion, the end of the per-page copies table and the darkness override.
void PrepareParsedJob(CQzplJobData& job, const CCatalogue& catalogue, const COptions& options);

// Lays the job out from the options and writes it through the channel: open, loaded tape, working header,
// gap, margins, placement, outlines, tape cut sets, rows, copies, length confirmation, recipe and writer; the
// output is closed afterwards. True when the output opened and the writer succeeded; a job without pages is
// refused with a message before anything is opened.
bool PrintSilently(CQzplJobData& job,
                   CQzplPrintPlan& plan,
                   CCatalogue& catalogue,
                   const COptions& options,
                   CSilentPrintSeams& seams);

}  // namespace vyx
