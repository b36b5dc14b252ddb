// Spooler calls on a printer handle; on a file handle they fail with ERROR_INVALID_HANDLE and the channel falls
// back to the file calls.
#include "manager/output/spooler_calls_win32.h"

#include <windows.h>
#include <winspool.h>

namespace vyx {

std::wstring FormatSystemMessageText(std::uint32_t code) {
  wchar_t* text = nullptr;
  const DWORD n = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
      MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring result = n && text ? std::wstring(text, n) : std::wstring();
  if (text) LocalFree(text);
  while (!result.empty() && (result.back() == L'\n' || result.back() == L'\r')) result.pop_back();
  return result;
}

bool CWin32SpoolerCalls::OpenPrinterHandle(const std::wstring& name, OutputHandle* handle) {
  HANDLE printer = nullptr;
  const BOOL ok = OpenPrinterW(const_cast<wchar_t*>(name.c_str()), &printer, nullptr);
  *handle = printer;
  return ok != FALSE;
}

bool CWin32SpoolerCalls::ClosePrinter(OutputHandle handle) {
  return ::ClosePrinter(handle) != FALSE;
}

OutputHandle CWin32SpoolerCalls::CreateOutputFile(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  return file == INVALID_HANDLE_VALUE ? nullptr : file;
}

bool CWin32SpoolerCalls::CloseHandle(OutputHandle handle) {
  return ::CloseHandle(handle) != FALSE;
}

bool CWin32SpoolerCalls::StartRawDocPrinter(OutputHandle handle, const std::wstring& documentName) {
  DOC_INFO_1W info{};
  info.pDocName = const_cast<wchar_t*>(documentName.c_str());
  info.pOutputFile = nullptr;
  info.pDatatype = const_cast<wchar_t*>(L"RAW");
  return StartDocPrinterW(handle, 1, reinterpret_cast<BYTE*>(&info)) != 0;
}

bool CWin32SpoolerCalls::StartPagePrinter(OutputHandle handle) {
  return ::StartPagePrinter(handle) != FALSE;
}

bool CWin32SpoolerCalls::EndPagePrinter(OutputHandle handle) {
  return ::EndPagePrinter(handle) != FALSE;
}

bool CWin32SpoolerCalls::EndDocPrinter(OutputHandle handle) {
  return ::EndDocPrinter(handle) != FALSE;
}

bool CWin32SpoolerCalls::WritePrinter(OutputHandle handle,
                                      const void* data,
                                      std::uint32_t count,
                                      std::uint32_t* written) {
  DWORD done = 0;
  const BOOL ok = ::WritePrinter(handle, const_cast<void*>(data), count, &done);
  *written = done;
  return ok != FALSE;
}

bool CWin32SpoolerCalls::WriteFile(OutputHandle handle, const void* data, std::uint32_t count, std::uint32_t* written) {
  DWORD done = 0;
  const BOOL ok = ::WriteFile(handle, data, count, &done, nullptr);
  *written = done;
  return ok != FALSE;
}

std::uint32_t CWin32SpoolerCalls::LastError() {
  return GetLastError();
}

std::uint32_t CWin32SpoolerCalls::TickCount() {
  return GetTickCount();
}

void CWin32SpoolerCalls::Sleep(std::uint32_t milliseconds) {
  ::Sleep(milliseconds);
}

std::wstring CWin32SpoolerCalls::SystemMessage(std::uint32_t code) {
  return FormatSystemMessageText(code);
}

}  // namespace vyx
