// The colour part of vyxq5 inspect: the catalogue from --catalogue (with the Pn flag of --options), the colour
// consolidation before the other page steps, and the outcome table as JSON.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "manager/model/catalogue.h"
#include "manager/model/job.h"

namespace vyxq5 {

// Reads the catalogue file; the options string (may be empty) decides the Pn flag. False with a one-line reason
// when the file cannot be read or the options string is not valid.
bool LoadInspectCatalogue(const std::string& path,
                          const std::string& options,
                          vyx::CCatalogue& catalogue,
                          std::string& error);

// Page step 1 with the catalogue's ribbon colour table and palette; returns the number of changes.
int ConsolidateForInspect(vyx::CQzplJobData& job, const vyx::CCatalogue& catalogue);

// The 32 entries of the job's ribbon outcome table.
nlohmann::ordered_json OutcomesJson(const vyx::CQzplJobData& job);

}  // namespace vyxq5
