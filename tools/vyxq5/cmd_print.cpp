// vyxq5 print JOB --options STR [--tag TAG] [--catalogue FILE] [--copies FILE] [--tape N] [--darkness N] [--yes]
// -o OUT: the manager's silent print with the output going to a file, for comparing printer streams anywhere.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "common/ini_file.h"
#include "common/seams/debug_output.h"
#include "common/string_ids.h"
#include "manager/model/options.h"
#include "manager/output/channel.h"
#include "manager/output/file_spooler_calls.h"
#include "manager/output/print_job_text.h"
#include "tools/vyxq5/commands.h"

namespace vyxq5 {
namespace {

constexpr const char* kUsage =
    "usage: vyxq5 print JOB --options STR [--tag TAG] [--catalogue FILE] [--copies FILE] [--tape N] [--darkness N] "
    "[--yes] -o OUT";

bool ReadWhole(const std::string& path, std::string& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

bool ReadNumber(const std::string& text, int& value) {
  try {
    std::size_t used = 0;
    const long v = std::stol(text, &used, 10);
    if (used != text.size() || v < INT32_MIN || v > INT32_MAX) return false;
    value = static_cast<int>(v);
    return true;
  } catch (...) {
    return false;
  }
}

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

}  // namespace

int RunPrint(const Args& args) {
  std::string jobPath, optionsText, tag, cataloguePath, copiesPath, outPath;
  int tape = -1, darkness = -1;
  bool yes = false, haveOptions = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool hasValue = i + 1 < args.size();
    if (a == "--options" && hasValue) {
      optionsText = args[++i];
      haveOptions = true;
    } else if (a == "--tag" && hasValue) {
      tag = args[++i];
    } else if (a == "--catalogue" && hasValue) {
      cataloguePath = args[++i];
    } else if (a == "--copies" && hasValue) {
      copiesPath = args[++i];
    } else if (a == "--tape" && hasValue) {
      if (!ReadNumber(args[++i], tape)) return FailUsage("--tape takes a whole number");
    } else if (a == "--darkness" && hasValue) {
      if (!ReadNumber(args[++i], darkness)) return FailUsage("--darkness takes a whole number");
    } else if (a == "--yes") {
      yes = true;
    } else if (a == "-o" && hasValue) {
      outPath = args[++i];
    } else if (jobPath.empty() && !a.empty() && a[0] != '-') {
      jobPath = a;
    } else {
      return FailUsage(kUsage);
    }
  }
  if (jobPath.empty() || outPath.empty() || !haveOptions) return FailUsage(kUsage);

  vyx::CJobTextPrint input;
  vyx::CNullDebugOutput debug;
  if (!vyx::ParseOptions(vyx::WidenUtf8(optionsText), input.options, debug))
    return FailUsage("options not valid: " + optionsText);
  if (!ReadWhole(jobPath, input.jobText)) return FailUsage("cannot read the job file " + jobPath);
  std::string copies;
  if (!copiesPath.empty()) {
    if (!ReadWhole(copiesPath, copies)) return FailUsage("cannot read the per-page copies file " + copiesPath);
    input.perPageCopies = &copies;
  }
  vyx::CIniFile catalogue;
  if (!cataloguePath.empty() && !catalogue.Load(cataloguePath))
    return FailUsage("cannot read the catalogue file " + cataloguePath);
  input.catalogue = &catalogue;
  input.jobTag = tag;
  input.loadedTape = tape;
  input.storedDarkness = darkness;
  CToolStrings strings;
  input.language = vyx::CLanguageText(&strings, 0);

  vyx::CFileSpoolerCalls calls;
  CConsoleMessages messages(yes);
  const std::wstring out = vyx::WidenUtf8(outPath);
  const bool ok = vyx::PrintJobText(input, calls, messages, [&out](vyx::CPrintChannel& channel) {
    channel.OpenFileOutput(out);
    return channel.Handle() != nullptr;
  });
  if (!ok) {
    if (!messages.cancelled) std::fprintf(stderr, "vyxq5: the print failed\n");
    return 1;
  }
  std::printf("%s\n", outPath.c_str());
  return 0;
}

}  // namespace vyxq5
