// Native spooler calls over C stdio files.
#include "manager/output/file_spooler_calls.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

namespace vyx {

namespace {

constexpr std::uint32_t kErrorFileNotFound = 2;
constexpr std::uint32_t kErrorInvalidPrinterName = 1801;
constexpr std::uint32_t kErrorWriteFault = 29;

std::string NarrowPath(const std::wstring& path) {
  // Paths on Linux are bytes; the tool only ever passes names it got from the command line, encoded back as UTF-8.
  std::string out;
  for (wchar_t wc : path) {
    const auto c = static_cast<std::uint32_t>(wc);
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

}  // namespace

bool CFileSpoolerCalls::Fail(std::uint32_t code) {
  m_lastError = code;
  return false;
}

bool CFileSpoolerCalls::OpenPrinterHandle(const std::wstring&, OutputHandle* handle) {
  *handle = nullptr;
  return Fail(kErrorInvalidPrinterName);
}

bool CFileSpoolerCalls::ClosePrinter(OutputHandle) {
  return Fail(kErrorInvalidHandle);
}
bool CFileSpoolerCalls::StartRawDocPrinter(OutputHandle, const std::wstring&) {
  return Fail(kErrorInvalidHandle);
}
bool CFileSpoolerCalls::StartPagePrinter(OutputHandle) {
  return Fail(kErrorInvalidHandle);
}
bool CFileSpoolerCalls::EndPagePrinter(OutputHandle) {
  return Fail(kErrorInvalidHandle);
}
bool CFileSpoolerCalls::EndDocPrinter(OutputHandle) {
  return Fail(kErrorInvalidHandle);
}

bool CFileSpoolerCalls::WritePrinter(OutputHandle, const void*, std::uint32_t, std::uint32_t* written) {
  *written = 0;
  return Fail(kErrorInvalidHandle);
}

OutputHandle CFileSpoolerCalls::CreateOutputFile(const std::wstring& path) {
  std::FILE* file = std::fopen(NarrowPath(path).c_str(), "wb");
  if (!file) Fail(kErrorFileNotFound);
  return file;
}

bool CFileSpoolerCalls::CloseHandle(OutputHandle handle) {
  if (!handle) return Fail(kErrorInvalidHandle);
  return std::fclose(static_cast<std::FILE*>(handle)) == 0 || Fail(kErrorWriteFault);
}

bool CFileSpoolerCalls::WriteFile(OutputHandle handle, const void* data, std::uint32_t count, std::uint32_t* written) {
  *written = 0;
  if (!handle) return Fail(kErrorInvalidHandle);
  if (count == 0) return true;
  *written = static_cast<std::uint32_t>(std::fwrite(data, 1, count, static_cast<std::FILE*>(handle)));
  return *written == count || Fail(kErrorWriteFault);
}

std::uint32_t CFileSpoolerCalls::TickCount() {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

void CFileSpoolerCalls::Sleep(std::uint32_t milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

std::wstring CFileSpoolerCalls::SystemMessage(std::uint32_t code) {
  switch (code) {
    case 0:
      return L"";
    case kErrorFileNotFound:
      return L"File not found.";
    case 5:
      return L"Access denied.";
    case kErrorInvalidHandle:
      return L"Invalid handle.";
    case kErrorWriteFault:
      return L"Write fault.";
    case kErrorInvalidPrinterName:
      return L"Invalid printer name.";
    default:
      return L"Error " + std::to_wstring(code) + L".";
  }
}

}  // namespace vyx
