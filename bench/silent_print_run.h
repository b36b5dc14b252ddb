// The silent print as the benchmarks run it: a spooler that keeps the printer stream in memory or only counts it,
// the catalogue and options of the generated jobs, and one run from the stream reader to the last document.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "common/ini_file.h"
#include "manager/model/job.h"
#include "manager/output/print_job_text.h"

namespace vyx::bench {

// Takes every byte like a printer queue that never refuses.
class CCountingSpooler : public CSpoolerCalls {
 public:
  bool OpenPrinterHandle(const std::wstring&, OutputHandle* handle) override {
    *handle = this;
    return true;
  }
  bool ClosePrinter(OutputHandle) override { return true; }
  OutputHandle CreateOutputFile(const std::wstring&) override { return nullptr; }
  bool CloseHandle(OutputHandle) override { return true; }
  bool StartRawDocPrinter(OutputHandle, const std::wstring&) override { return true; }
  bool StartPagePrinter(OutputHandle) override { return true; }
  bool EndPagePrinter(OutputHandle) override { return true; }
  bool EndDocPrinter(OutputHandle) override { return true; }
  bool WritePrinter(OutputHandle, const void* data, std::uint32_t count, std::uint32_t* written) override {
    total += count;
    if (keep) Keep(static_cast<const char*>(data), count);
    *written = count;
    return true;
  }
  bool WriteFile(OutputHandle, const void*, std::uint32_t, std::uint32_t*) override { return false; }
  std::uint32_t LastError() override { return 0; }
  std::uint32_t TickCount() override { return 0; }
  void Sleep(std::uint32_t) override {}
  std::wstring SystemMessage(std::uint32_t) override { return {}; }
  bool keep = true;
  std::size_t total = 0;

 private:
  // In blocks of 1 MiB, as a spool file grows: nothing is copied twice.
  void Keep(const char* data, std::size_t count) {
    constexpr std::size_t kBlock = 1 << 20;
    while (count > 0) {
      if (m_blocks.empty() || m_blocks.back().size() == kBlock) m_blocks.emplace_back().reserve(kBlock);
      std::string& block = m_blocks.back();
      const std::size_t n = std::min(count, kBlock - block.size());
      block.append(data, n);
      data += n;
      count -= n;
    }
  }
  std::vector<std::string> m_blocks;
};

// Reads the job from `source` and prints it silently into `spooler`; false when the print fails.
inline bool RunSilentPrint(CJobStreamSource& source, CCountingSpooler& spooler) {
  static const std::string kCatalogue =
      "[Palette]\nNumberOfColors=3\nNumberOfTapeColors=0\n"
      "[ColorA]\nName=Cyan\nRedVal=0\nGreenVal=160\nBlueVal=230\nRibbonID=2\nQZPLName=CYAN\n"
      "[ColorB]\nName=Red\nRedVal=230\nGreenVal=0\nBlueVal=0\nRibbonID=5\nQZPLName=RED\n"
      "[ColorC]\nName=Black\nRedVal=0\nGreenVal=0\nBlueVal=0\nRibbonID=0\nQZPLName=BLACK\n";
  CIniFile catalogue;
  catalogue.Parse(kCatalogue);
  CJobPrintSettings settings;
  CNullDebugOutput debug;
  ParseOptions(L"LnSlSvBo9;59;59;24;0;OpAmLrAeAcCtPlAoAhNt", settings.options, debug);
  settings.catalogue = &catalogue;
  CRecordingMessageSink messages;
  CQzplJobData job;
  job.ReadStream(&source);
  return PrintReadJob(job, settings, spooler, messages, [](CPrintChannel& c) { return c.OpenPrinterOutput(L"q"); });
}

}  // namespace vyx::bench
