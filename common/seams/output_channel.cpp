// The in-memory output channel used by tests, fuzzers and the native tool.
#include "common/seams/output_channel.h"

namespace vyx {

bool CMemoryChannel::StartDocument(unsigned number) {
  m_documents.push_back(number);
  ++m_open;
  return true;
}

bool CMemoryChannel::Write(const void* data, std::size_t size) {
  if (size != 0) m_bytes.append(static_cast<const char*>(data), size);
  return true;
}

bool CMemoryChannel::EndDocument() {
  if (m_open == 0) return false;
  --m_open;
  return true;
}

}  // namespace vyx
