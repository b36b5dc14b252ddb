// The silent print on Windows: the printer queue named on the command line, its loaded-tape answer, the stored
// darkness and the program's message boxes.
#pragma once

#include <string>

#include "common/language.h"
#include "manager/model/catalogue.h"
#include "manager/model/job.h"
#include "manager/model/options.h"

namespace vyx {

// Prints the prepared job to `printerName` with the options; true when the output opened and the writer succeeded.
bool PrintSilentlyToPrinter(CQzplJobData& job,
                            CCatalogue& catalogue,
                            const COptions& options,
                            const std::wstring& printerName,
                            const std::wstring& jobTag,
                            const CLanguageText& language);

}  // namespace vyx
