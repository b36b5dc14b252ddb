// The driver package work of a build that cannot install packages: clear messages, and the page stays.
#include "setup/driver_package.h"

namespace vyx {
namespace {

constexpr const wchar_t* kNoPackageWork =
    L"This version of VYX-Q5 Setup cannot install, update or remove the printer driver package.";

}  // namespace

void ShowUnavailableStep(CMessageSink& messages, const std::wstring& operation, const std::wstring& text) {
  messages.Show(text, operation + L": not available", kMbOk | kMbIconError);
}

bool CUnavailableDriverPackage::InstallDriverOnly() {
  ShowUnavailableStep(m_messages, L"InstallDriverOnly", kNoPackageWork);
  return false;
}

bool CUnavailableDriverPackage::UpdateDriver() {
  ShowUnavailableStep(m_messages, L"UpdateDriver", kNoPackageWork);
  return false;
}

bool CUnavailableDriverPackage::InstallWithSystemWizard() {
  ShowUnavailableStep(m_messages, L"InstallWithSystemWizard", kNoPackageWork);
  return false;
}

int CUnavailableDriverPackage::RemoveDriver(const std::wstring& driver_name, ERemoval removal) {
  if (removal == ERemoval::kPartial) {
    m_debug.Print(L"RemoveDriver: not available, \"" + driver_name + L"\" left alone\n");
    return 0;
  }
  ShowUnavailableStep(m_messages, L"RemoveDriver", kNoPackageWork);
  return kRemovalFailed;
}

void CUnavailableDriverPackage::CleanUpOnFinish() {
  m_debug.Print(L"CleanUpOnFinish: not available\n");
}

unsigned long CUnavailableDriverPackage::UpdateMonitorFile() {
  ShowUnavailableStep(m_messages, L"UpdateMonitorFile", kNoPackageWork);
  return kErrorNotImplemented;
}

unsigned long CUnavailableDriverPackage::UploadPackage(std::wstring& store_path) {
  store_path.clear();
  ShowUnavailableStep(m_messages, L"UploadPrinterDriverPackage", kNoPackageWork);
  return kErrorNotImplemented;
}

unsigned long CUnavailableDriverPackage::InstallFromPackage(const std::wstring&) {
  ShowUnavailableStep(m_messages, L"InstallPrinterDriverFromPackage", kNoPackageWork);
  return kErrorNotImplemented;
}

}  // namespace vyx
