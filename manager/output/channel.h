// The print channel: one output handle (a printer queue or a file), the document frame and the output rule.
#pragma once

#include <cstdint>
#include <string>

#include "common/seams/message_sink.h"
#include "common/seams/output_channel.h"
#include "manager/output/spooler_calls.h"

namespace vyx {

// Prefix of every document name and of the job pipe's last part.
inline constexpr wchar_t kDocumentPrefix[] = L"VYXQ5_";

class CPrintChannel : public COutputChannel {
 public:
  CPrintChannel(CSpoolerCalls& calls, CMessageSink& messages, std::wstring jobTag);
  ~CPrintChannel() override;
  CPrintChannel(const CPrintChannel&) = delete;
  CPrintChannel& operator=(const CPrintChannel&) = delete;

  // Opens the printer queue for output; false after a message box.
  bool OpenPrinterOutput(const std::wstring& printerName);
  // Opens (replaces) a file for output. A file that cannot be created is reported, and every later write fails.
  void OpenFileOutput(const std::wstring& fileName);
  // Closes the printer handle, or the file handle when the spooler calls it invalid.
  void CloseOutput();

  bool StartDocument(unsigned number) override;
  bool Write(const void* data, std::size_t size) override;
  bool EndDocument() override;

  // The name of document n started at the given tick count: prefix, job tag, "_", tick + n.
  std::wstring DocumentName(std::uint32_t tick, unsigned number) const;
  OutputHandle Handle() const { return m_handle; }

 private:
  // Shows the system text of `code` with the caption; nothing for code 0.
  void ShowSystemError(std::uint32_t code, const wchar_t* caption);

  CSpoolerCalls& m_calls;
  CMessageSink& m_messages;
  std::wstring m_jobTag;
  OutputHandle m_handle = nullptr;
};

// Sends a block to the printer as a document of its own (firmware files): open, start the document, write by the
// output rule, wait 1500 ms so that the printer takes the block before the document ends, end, close.
bool SendRawBlock(CSpoolerCalls& calls,
                  CMessageSink& messages,
                  const std::wstring& printerName,
                  const void* data,
                  std::size_t size);

// Formats "OpenPrinter( %s ) failed: %u".
std::wstring FormatOpenPrinterFailure(const std::wstring& printerName, std::uint32_t code);

}  // namespace vyx
