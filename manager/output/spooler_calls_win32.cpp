// Spooler calls on a printer handle; on a file handle they fail with ERROR_INVALID_HANDLE and the channel falls
// back to the file calls.
#include "manager/output/spooler_calls_win32.h"

#include <windows.h>
#include <winspool.h>

#include "common/failure_message_win32.h"

namespace vyx {

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
  return GetSystemMessageText(code);
}

}  // namespace vyx
