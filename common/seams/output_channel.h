// Output channel seam: where the printer stream goes (a RAW spooler document, a file, or memory in tests).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace vyx {

class COutputChannel {
 public:
  virtual ~COutputChannel() = default;
  // Starts document number n (the print job index, from 0); the channel names the document itself.
  virtual bool StartDocument(unsigned number) = 0;
  // Succeeds only when every byte was accepted.
  virtual bool Write(const void* data, std::size_t size) = 0;
  virtual bool EndDocument() = 0;
};

// Keeps everything in memory: the bytes of all documents in order and the numbers of the documents started.
class CMemoryChannel : public COutputChannel {
 public:
  bool StartDocument(unsigned number) override;
  bool Write(const void* data, std::size_t size) override;
  bool EndDocument() override;

  const std::string& Bytes() const { return m_bytes; }
  const std::vector<unsigned>& Documents() const { return m_documents; }
  int OpenDocuments() const { return m_open; }

 private:
  std::string m_bytes;
  std::vector<unsigned> m_documents;
  int m_open = 0;
};

}  // namespace vyx
