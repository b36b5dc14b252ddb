// The spooler and file calls behind the print channel, as an interface so that the channel's rules can run on
// Windows (real calls), natively (a file, every spooler call failing as on a file handle) and in tests (a double).
#pragma once

#include <cstdint>
#include <string>

namespace vyx {

using OutputHandle = void*;  // a printer handle or a file handle; null when nothing is open

constexpr std::uint32_t kErrorInvalidHandle = 6;

class CSpoolerCalls {
 public:
  virtual ~CSpoolerCalls() = default;
  // Each call returns the platform's success flag; on failure LastError() gives the code.
  virtual bool OpenPrinterHandle(const std::wstring& name, OutputHandle* handle) = 0;
  virtual bool ClosePrinter(OutputHandle handle) = 0;
  // Created for writing, shared for writing, replacing an existing file; null on failure.
  virtual OutputHandle CreateOutputFile(const std::wstring& path) = 0;
  virtual bool CloseHandle(OutputHandle handle) = 0;
  // Level 1 document info: the name, no output file, data type "RAW".
  virtual bool StartRawDocPrinter(OutputHandle handle, const std::wstring& documentName) = 0;
  virtual bool StartPagePrinter(OutputHandle handle) = 0;
  virtual bool EndPagePrinter(OutputHandle handle) = 0;
  virtual bool EndDocPrinter(OutputHandle handle) = 0;
  virtual bool WritePrinter(OutputHandle handle, const void* data, std::uint32_t count, std::uint32_t* written) = 0;
  virtual bool WriteFile(OutputHandle handle, const void* data, std::uint32_t count, std::uint32_t* written) = 0;
  virtual std::uint32_t LastError() = 0;
  virtual std::uint32_t TickCount() = 0;
  virtual void Sleep(std::uint32_t milliseconds) = 0;
  // The system's message text for an error code (inserts ignored, neutral language); empty when there is none.
  virtual std::wstring SystemMessage(std::uint32_t code) = 0;
};

}  // namespace vyx
