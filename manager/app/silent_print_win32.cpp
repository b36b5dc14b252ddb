// The silent print's Windows seams: spooler calls on the printer queue, AskLoadedTape, ReadDarkness, message boxes.
#include "manager/app/silent_print_win32.h"

#include "common/seams/message_sink_win32.h"
#include "common/settings.h"
#include "manager/app/catalogue_win32.h"
#include "manager/output/channel.h"
#include "manager/output/silent_print.h"
#include "manager/output/spooler_calls_win32.h"
#include "manager/output/writer.h"

namespace vyx {

bool PrintSilentlyToPrinter(CQzplJobData& job,
                            CCatalogue& catalogue,
                            const COptions& options,
                            const std::wstring& printerName,
                            const std::wstring& jobTag,
                            const CLanguageText& language) {
  CWin32SpoolerCalls calls;
  CPrintChannel channel(calls, ProgramMessageSink(), jobTag);
  CQzplPrintPlan plan;
  CSilentPrintSeams seams;
  seams.channel = &channel;
  seams.openOutput = [&printerName](CPrintChannel& c) { return c.OpenPrinterOutput(printerName); };
  seams.askLoadedTape = [&printerName] { return AskLoadedTape(printerName); };
  seams.messages = &ProgramMessageSink();
  seams.language = language;
  seams.storedDarkness = ReadDarkness();
  return PrintSilently(job, plan, catalogue, options, seams);
}

}  // namespace vyx
