// The colour part of vyxq5 inspect: catalogue, consolidation and outcome table.
#include "tools/vyxq5/inspect_colours.h"

#include <fstream>

#include "common/ini_file.h"
#include "common/seams/debug_output.h"
#include "manager/model/consolidation.h"
#include "manager/model/options.h"

namespace vyxq5 {

bool LoadInspectCatalogue(const std::string& path,
                          const std::string& options,
                          vyx::CCatalogue& catalogue,
                          std::string& error) {
  bool pn = false;
  if (!options.empty()) {
    vyx::COptions parsed;
    vyx::CNullDebugOutput debug;
    if (!vyx::ParseOptions(vyx::WidenUtf8(options), parsed, debug)) {
      error = "options string not valid: " + options;
      return false;
    }
    pn = parsed.black_punches != 0;
  }
  // The INI reader reports a missing file only by defaults; the tool wants to say so.
  if (!std::ifstream(path, std::ios::binary)) {
    error = "cannot read the catalogue file " + path;
    return false;
  }
  vyx::CIniFile ini;
  if (!ini.Load(path)) {
    error = "cannot read the catalogue file " + path;
    return false;
  }
  catalogue.Read(ini, pn, vyx::CLanguageText());
  return true;
}

int ConsolidateForInspect(vyx::CQzplJobData& job, const vyx::CCatalogue& catalogue) {
  std::vector<std::int32_t> colours = catalogue.RibbonColourTable();
  colours.resize(vyx::kRibbonOutcomeCount, -1);
  return vyx::ConsolidateJob(
      job, colours.data(),
      vyx::CConsolidationSettings{catalogue.palette.grayExcerptPercent, catalogue.palette.colorAngleWeight});
}

nlohmann::ordered_json OutcomesJson(const vyx::CQzplJobData& job) {
  nlohmann::ordered_json a = nlohmann::ordered_json::array();
  for (std::int32_t v : job.layout.ribbonOutcomes) a.push_back(v);
  return a;
}

}  // namespace vyxq5
