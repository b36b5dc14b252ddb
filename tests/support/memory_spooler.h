// Spooler calls into memory for tests: a printer that opens (or not), takes every byte and remembers where each
// document starts; files can be "created" too and land in the same buffer. Header-only, portable.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "manager/output/spooler_calls.h"

namespace vyx::testing {

class CMemorySpoolerCalls : public CSpoolerCalls {
 public:
  bool OpenPrinterHandle(const std::wstring& name, OutputHandle* handle) override {
    opened = name;
    if (!canOpen) {
      m_error = 1801;
      return false;
    }
    *handle = this;
    return true;
  }
  bool ClosePrinter(OutputHandle handle) override {
    ++closes;
    if (handle == &file) {
      m_error = kErrorInvalidHandle;
      return false;
    }
    return true;
  }
  OutputHandle CreateOutputFile(const std::wstring& path) override {
    createdFile = path;
    return canCreateFile ? &file : nullptr;
  }
  bool CloseHandle(OutputHandle) override { return true; }
  bool StartRawDocPrinter(OutputHandle handle, const std::wstring& name) override {
    if (handle == &file) {
      m_error = kErrorInvalidHandle;
      return false;
    }
    documents.push_back(name);
    starts.push_back(bytes.size());
    return true;
  }
  bool StartPagePrinter(OutputHandle) override { return true; }
  bool EndPagePrinter(OutputHandle) override { return true; }
  bool EndDocPrinter(OutputHandle handle) override {
    if (handle != &file) return true;
    m_error = kErrorInvalidHandle;
    return false;
  }
  bool WritePrinter(OutputHandle handle, const void* data, std::uint32_t count, std::uint32_t* written) override {
    if (handle == &file) {
      m_error = kErrorInvalidHandle;
      return false;
    }
    if (failWrites) {
      m_error = 5;
      return false;
    }
    bytes.append(static_cast<const char*>(data), count);
    *written = count;
    return true;
  }
  bool WriteFile(OutputHandle, const void* data, std::uint32_t count, std::uint32_t* written) override {
    bytes.append(static_cast<const char*>(data), count);
    *written = count;
    return true;
  }
  std::uint32_t LastError() override { return m_error; }
  std::uint32_t TickCount() override { return 1000; }
  void Sleep(std::uint32_t) override {}
  std::wstring SystemMessage(std::uint32_t) override { return L"system text"; }

  bool canOpen = true;
  bool canCreateFile = true;
  bool failWrites = false;
  std::wstring opened;
  std::wstring createdFile;
  std::vector<std::wstring> documents;
  std::vector<std::size_t> starts;  // where each document begins in `bytes`
  std::string bytes;
  int closes = 0;
  char file = 0;  // the handle of a created file

 private:
  std::uint32_t m_error = 0;
};

}  // namespace vyx::testing
