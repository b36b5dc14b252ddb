// vyxq5 options STR: parses a job options string and prints the record as JSON.
#include <cstdio>
#include <memory>
#include <string>

#include <nlohmann/json.hpp>

#include "manager/model/options.h"
#include "tools/vyxq5/commands.h"

namespace vyxq5 {
namespace {

// Decodes UTF-8 into wide characters; false on a malformed sequence.
bool DecodeUtf8(const std::string& in, std::wstring& out) {
  out.clear();
  for (std::size_t i = 0; i < in.size();) {
    const unsigned char lead = static_cast<unsigned char>(in[i]);
    int extra = 0;
    char32_t cp = 0;
    if (lead < 0x80) {
      cp = lead;
    } else if ((lead & 0xE0) == 0xC0) {
      extra = 1, cp = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
      extra = 2, cp = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
      extra = 3, cp = lead & 0x07;
    } else {
      return false;
    }
    if (extra > 0 && i + static_cast<std::size_t>(extra) >= in.size()) return false;
    for (int k = 1; k <= extra; ++k) {
      const unsigned char next = static_cast<unsigned char>(in[i + static_cast<std::size_t>(k)]);
      if ((next & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (next & 0x3F);
    }
    const char32_t minimum[4] = {0, 0x80, 0x800, 0x10000};
    if (cp < minimum[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    out.push_back(static_cast<wchar_t>(cp));
    i += static_cast<std::size_t>(extra) + 1;
  }
  return true;
}

int RunOptions(const std::string& argument) {
  std::wstring text;
  if (!DecodeUtf8(argument, text)) return FailUsage("options", "options string is not valid UTF-8");

  vyx::COptions o;
  vyx::CNullDebugOutput debug;
  if (!vyx::ParseOptions(text, o, debug)) {
    std::fprintf(stderr, "Wrong parameter syntax! Please uninstall and reinstall!\n%s\n", argument.c_str());
    return kExitFailure;
  }
  const nlohmann::ordered_json record = {
      {"orientation", o.orientation},
      {"show_main_window", o.show_main_window},
      {"code3", o.code3},
      {"black_punches", o.black_punches},
      {"ribbon_selection", o.ribbon_selection},
      {"margin_x", o.margin_x},
      {"margin_y", o.margin_y},
      {"corner_radius", o.corner_radius},
      {"labels_per_set", o.labels_per_set},
      {"optimised_size", o.optimised_size},
      {"automatic_margins", o.automatic_margins},
      {"centre_pages", o.centre_pages},
      {"automatic_outline", o.automatic_outline},
      {"automatic_corner_radius", o.automatic_corner_radius},
      {"outline_every_page", o.outline_every_page},
      {"laminate", o.laminate},
      {"automatic_gap", o.automatic_gap},
      {"automatic_darkness", o.automatic_darkness},
      {"tape_cut_sets", o.tape_cut_sets},
  };
  std::printf("%s\n", record.dump().c_str());
  return 0;
}

}  // namespace

void AddOptionsCommand(CCommandSet& commands) {
  auto text = std::make_shared<std::string>();
  CLI::App& cmd = commands.Add("options", "Parses a job options string and prints the record as JSON.",
                               [text] { return RunOptions(*text); });
  cmd.add_option("STR", *text, "the job options string the driver passes")->required();
}

}  // namespace vyxq5
