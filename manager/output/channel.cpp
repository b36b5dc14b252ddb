// The print channel's rules: a spooler call that fails with "invalid handle" means the handle is a file, so the
// file counterpart is used or the step is skipped; every other failure is shown and ends the step.
#include "manager/output/channel.h"

#include <limits>
#include <utility>

namespace vyx {

namespace {

constexpr wchar_t kOpenChannel[] = L"OpenChannel";
constexpr wchar_t kInvalidHandle[] = L"invalid handle!";
constexpr wchar_t kWrapStartDocPrinter[] = L"WrapStartDocPrinter";
constexpr std::uint32_t kRawBlockSettleMs = 1500;

// One call per span: the platform's count is 32 bits, so a larger span is refused rather than cut short.
bool FitsOneCall(std::size_t size) {
  return size <= std::numeric_limits<std::uint32_t>::max();
}

// The output rule on any handle: the printer write, then the file write when the handle is not a printer's.
bool WriteByOutputRule(CSpoolerCalls& calls, OutputHandle handle, const void* data, std::size_t size) {
  if (!FitsOneCall(size)) return false;
  const auto count = static_cast<std::uint32_t>(size);
  std::uint32_t written = 0;
  if (calls.WritePrinter(handle, data, count, &written)) return written == count;
  if (calls.LastError() != kErrorInvalidHandle) return false;
  written = 0;
  return calls.WriteFile(handle, data, count, &written) && written == count;
}

}  // namespace

std::wstring FormatOpenPrinterFailure(const std::wstring& printerName, std::uint32_t code) {
  return L"OpenPrinter( " + printerName + L" ) failed: " + std::to_wstring(code);
}

CPrintChannel::CPrintChannel(CSpoolerCalls& calls, CMessageSink& messages, std::wstring jobTag)
    : m_calls(calls), m_messages(messages), m_jobTag(std::move(jobTag)) {}

CPrintChannel::~CPrintChannel() {
  if (m_handle) CloseOutput();
}

bool CPrintChannel::OpenPrinterOutput(const std::wstring& printerName) {
  OutputHandle handle = nullptr;
  if (!m_calls.OpenPrinterHandle(printerName, &handle)) {
    m_handle = nullptr;
    m_messages.Show(FormatOpenPrinterFailure(printerName, m_calls.LastError()), kOpenChannel, kMbOk);
    return false;
  }
  m_handle = handle;
  if (!handle) {
    m_messages.Show(kInvalidHandle, kOpenChannel, kMbOk);
    return false;
  }
  return true;
}

void CPrintChannel::OpenFileOutput(const std::wstring& fileName) {
  m_handle = m_calls.CreateOutputFile(fileName);
  if (!m_handle) m_messages.Show(kInvalidHandle, kOpenChannel, kMbOk);
}

void CPrintChannel::CloseOutput() {
  if (!m_handle) return;
  if (!m_calls.ClosePrinter(m_handle) && m_calls.LastError() == kErrorInvalidHandle) m_calls.CloseHandle(m_handle);
  m_handle = nullptr;
}

std::wstring CPrintChannel::DocumentName(std::uint32_t tick, unsigned number) const {
  // Unsigned arithmetic: the sum wraps with the tick counter, as the counter itself does.
  return kDocumentPrefix + m_jobTag + L"_" + std::to_wstring(static_cast<std::uint32_t>(tick + number));
}

void CPrintChannel::ShowSystemError(std::uint32_t code, const wchar_t* caption) {
  if (code == 0) return;
  m_messages.Show(m_calls.SystemMessage(code), caption, kMbOk);
}

bool CPrintChannel::StartDocument(unsigned number) {
  const std::wstring name = DocumentName(m_calls.TickCount(), number);
  if (!m_calls.StartRawDocPrinter(m_handle, name)) {
    const std::uint32_t code = m_calls.LastError();
    if (code != kErrorInvalidHandle) {
      ShowSystemError(code, L"WrapStartDocPagePrinter: StartDocPrinter");
      return false;
    }
  }
  if (!m_calls.StartPagePrinter(m_handle)) {
    const std::uint32_t code = m_calls.LastError();
    if (code != kErrorInvalidHandle) {
      ShowSystemError(code, L"WrapStartDocPagePrinter: StartPagePrinter");
      return false;
    }
  }
  return true;
}

bool CPrintChannel::Write(const void* data, std::size_t size) {
  return WriteByOutputRule(m_calls, m_handle, data, size);
}

bool CPrintChannel::EndDocument() {
  bool ok = true;
  if (!m_calls.EndPagePrinter(m_handle) && m_calls.LastError() != kErrorInvalidHandle) ok = false;
  if (!m_calls.EndDocPrinter(m_handle) && m_calls.LastError() != kErrorInvalidHandle) ok = false;
  return ok;
}

bool SendRawBlock(CSpoolerCalls& calls,
                  CMessageSink& messages,
                  const std::wstring& printerName,
                  const void* data,
                  std::size_t size) {
  OutputHandle handle = nullptr;
  if (!calls.OpenPrinterHandle(printerName, &handle) || !handle) {
    messages.Show(FormatOpenPrinterFailure(printerName, calls.LastError()), kWrapStartDocPrinter, kMbOk);
    return false;
  }
  const std::wstring name = L"Stream_Write_" + std::to_wstring(calls.TickCount());
  if (!calls.StartRawDocPrinter(handle, name)) {
    messages.Show(L"StartDocPrinter failed", kWrapStartDocPrinter, kMbOk);
    calls.ClosePrinter(handle);
    return false;
  }
  const bool written = WriteByOutputRule(calls, handle, data, size);
  calls.Sleep(kRawBlockSettleMs);
  const bool ended = calls.EndDocPrinter(handle);
  calls.ClosePrinter(handle);
  return written && ended;
}

}  // namespace vyx
