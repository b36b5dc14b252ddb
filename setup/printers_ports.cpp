// The printer and port work of a build that cannot do it: clear messages, and the page stays.
#include "setup/printers_ports.h"

#include "setup/driver_package.h"

namespace vyx {
namespace {

constexpr const wchar_t* kNoPrinterWork = L"This version of VYX-Q5 Setup cannot create printers or change ports.";

}  // namespace

bool CUnavailablePrintersPorts::CreatePrinter(const CPrinterRequest&) {
  ShowUnavailableStep(m_messages, L"CreatePrinter", kNoPrinterWork);
  return false;
}

bool CUnavailablePrintersPorts::DeletePrinter(const std::wstring&) {
  ShowUnavailableStep(m_messages, L"DeletePrinter", kNoPrinterWork);
  return false;
}

std::wstring CUnavailablePrintersPorts::AddPort(bool) {
  ShowUnavailableStep(m_messages, L"AddPort", kNoPrinterWork);
  return {};
}

bool CUnavailablePrintersPorts::DeletePort(const std::wstring&) {
  ShowUnavailableStep(m_messages, L"DeleteTcpIpPort", kNoPrinterWork);
  return false;
}

void CUnavailablePrintersPorts::RefreshNetworkPorts() {
  m_debug.Print(L"RefreshNetworkPorts: not available\n");
}

}  // namespace vyx
