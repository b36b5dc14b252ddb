// vyxq5 print JOB --options STR [--tag TAG] [--catalogue FILE] [--copies FILE] [--tape N] [--darkness N] [--yes]
// -o OUT: the manager's silent print with the output going to a file, for comparing printer streams anywhere.
#include <cstdio>
#include <memory>
#include <string>

#include "common/ini_file.h"
#include "common/seams/debug_output.h"
#include "common/string_ids.h"
#include "manager/model/options.h"
#include "manager/output/channel.h"
#include "manager/output/file_spooler_calls.h"
#include "manager/output/print_job_text.h"
#include "tools/vyxq5/commands.h"
#include "tools/vyxq5/job_file.h"

namespace vyxq5 {
namespace {

std::string Narrow(const std::wstring& text) {
  std::string out;
  for (wchar_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

// The length confirmation on a terminal: shown on standard error, answered by --yes.
class CConsoleMessages : public vyx::CMessageSink {
 public:
  explicit CConsoleMessages(bool yes) : m_yes(yes) {}
  int Show(const std::wstring& text, const std::wstring& caption, unsigned style) override {
    std::fprintf(stderr, "vyxq5: %s: %s\n", Narrow(caption).c_str(), Narrow(text).c_str());
    if ((style & 0xF) == vyx::kMbOkCancel) {
      cancelled = !m_yes;
      return m_yes ? vyx::kIdOk : vyx::kIdCancel;
    }
    return vyx::kIdOk;
  }
  bool cancelled = false;

 private:
  bool m_yes;
};

// The two strings the silent print asks for; the language library itself is a Windows resource.
class CToolStrings : public vyx::CStringLoader {
 public:
  int Load(int id, int capacity, std::wstring& text, unsigned long& error) override {
    if (id == vyx::kStrLengthLimit)
      text = L"The print is longer than %d m. Print it anyway?";
    else if (id == vyx::kStrManagerCaption)
      text = L"VYX-Q5";
    else {
      error = vyx::kErrorResourceNameNotFound;
      return 0;
    }
    if (capacity > 0 && text.size() >= static_cast<std::size_t>(capacity))
      text.resize(static_cast<std::size_t>(capacity) - 1);
    return static_cast<int>(text.size());
  }
};

struct CPrintArgs {
  std::string jobPath, optionsText, tag, cataloguePath, copiesPath, outPath;
  int tape = -1, darkness = -1;
  bool yes = false;
};

int RunPrint(const CPrintArgs& a) {
  constexpr std::string_view kName = "print";
  vyx::CJobPrintSettings input;
  vyx::CNullDebugOutput debug;
  if (!vyx::ParseOptions(vyx::WidenUtf8(a.optionsText), input.options, debug))
    return FailUsage(kName, "options not valid: " + a.optionsText);
  vyx::CQzplJobData job;
  std::string error;
  if (!ReadJobAndCopiesFiles(a.jobPath, a.copiesPath, job, error)) return FailUsage(kName, error);
  vyx::CIniFile catalogue;
  if (!a.cataloguePath.empty() && !catalogue.Load(a.cataloguePath))
    return FailUsage(kName, "cannot read the catalogue file " + a.cataloguePath);
  input.catalogue = &catalogue;
  input.jobTag = a.tag;
  input.loadedTape = a.tape;
  input.storedDarkness = a.darkness;
  CToolStrings strings;
  input.language = vyx::CLanguageText(&strings, 0);

  vyx::CFileSpoolerCalls calls;
  CConsoleMessages messages(a.yes);
  const std::wstring out = vyx::WidenUtf8(a.outPath);
  const bool ok = vyx::PrintReadJob(job, input, calls, messages, [&out](vyx::CPrintChannel& channel) {
    channel.OpenFileOutput(out);
    return channel.Handle() != nullptr;
  });
  if (!ok) return messages.cancelled ? kExitFailure : Fail(kName, "the print failed");
  std::printf("%s\n", a.outPath.c_str());
  return 0;
}

}  // namespace

void AddPrintCommand(CCommandSet& commands) {
  auto a = std::make_shared<CPrintArgs>();
  CLI::App& cmd = commands.Add("print",
                               "The manager's silent print with the output going to a file, for comparing printer "
                               "streams anywhere.",
                               [a] { return RunPrint(*a); });
  cmd.add_option("JOB", a->jobPath, "the job stream file")->required();
  cmd.add_option("--options", a->optionsText, "the job options string the driver passes")->required();
  cmd.add_option("-o,--out", a->outPath, "the printer stream file to write")->required();
  cmd.add_option("--tag", a->tag, "the job tag of the pipe name (its job id names the documents)");
  cmd.add_option("--catalogue", a->cataloguePath, "the colour catalogue (every default without one)");
  cmd.add_option("--copies", a->copiesPath, "a per-page copies file (never deleted)");
  cmd.add_option("--tape", a->tape, "the tape number the printer reports as loaded (-1: no answer)");
  cmd.add_option("--darkness", a->darkness, "the stored darkness setting (-1: none)");
  cmd.add_flag("--yes", a->yes, "answer the length confirmation with OK");
}

}  // namespace vyxq5
