// Catalogue file location and printer material queries.
#include "manager/app/catalogue_win32.h"

#include <windows.h>
#include <winspool.h>

#include <algorithm>

#include "common/profile_reader_win32.h"

namespace vyx {

namespace {

// The options record of OpenPrinter2W, declared here because not every SDK's headers have it.
struct CPrinterOptions {
  UINT cbSize;
  DWORD dwFlags;
};
constexpr DWORD kPrinterOptionNoCache = 1;

}  // namespace

// The reply must come from the printer, not from what the spooler remembers.
HANDLE OpenPrinterForMaterials(const std::wstring& printerName) {
  PRINTER_DEFAULTSW defaults{nullptr, nullptr, PRINTER_ALL_ACCESS};
  HANDLE printer = nullptr;
  using OpenPrinter2Fn = BOOL(WINAPI*)(LPCWSTR, LPHANDLE, PPRINTER_DEFAULTSW, CPrinterOptions*);
  HMODULE spool = GetModuleHandleW(L"winspool.drv");
  auto open2 = spool ? reinterpret_cast<OpenPrinter2Fn>(reinterpret_cast<void*>(GetProcAddress(spool, "OpenPrinter2W")))
                     : nullptr;
  if (open2) {
    CPrinterOptions options{sizeof(CPrinterOptions), kPrinterOptionNoCache};
    if (open2(printerName.c_str(), &printer, &defaults, &options) && printer) return printer;
    printer = nullptr;
  }
  if (!OpenPrinterW(const_cast<wchar_t*>(printerName.c_str()), &printer, &defaults)) return nullptr;
  return printer;
}

bool QueryMaterials(HANDLE printer, char (&reply)[kMaterialsReplyBytes], DWORD* got) {
  DWORD type = 0, needed = 0;
  const DWORD status = GetPrinterDataW(printer, const_cast<wchar_t*>(kMaterialsQuery), &type,
                                       reinterpret_cast<BYTE*>(reply), kMaterialsReplyBytes, &needed);
  if (got) *got = status == ERROR_SUCCESS ? std::min<DWORD>(needed, kMaterialsReplyBytes) : 0;
  return status == ERROR_SUCCESS;
}

std::wstring CataloguePath() {
  wchar_t folder[MAX_PATH] = {};
  DWORD needed = 0;
  if (!GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(folder), sizeof folder, &needed))
    return {};
  return std::wstring(folder) + L"\\3\\VyxQ5Colors.ini";
}

int ReadCatalogueFromDriverFolder(CCatalogue& catalogue, bool pnFlag, const CLanguageText& language) {
  const std::wstring path = CataloguePath();
  if (path.empty()) return -1;
  CWin32ProfileReader profile(path);
  return catalogue.Read(profile, pnFlag, language);
}

bool QueryMaterialsReply(const std::wstring& printerName, char (&reply)[kMaterialsReplyBytes]) {
  HANDLE printer = OpenPrinterForMaterials(printerName);
  if (!printer) return false;
  const bool ok = QueryMaterials(printer, reply, nullptr);
  ClosePrinter(printer);
  return ok;
}

std::int32_t AskLoadedTape(const std::wstring& printerName) {
  char reply[kMaterialsReplyBytes] = {};
  if (!QueryMaterialsReply(printerName, reply)) return -1;
  return ParseLoadedTape(reply, sizeof reply);
}

std::vector<CLoadedMaterial> AskLoadedMaterials(const std::wstring& printerName) {
  char reply[kMaterialsReplyBytes] = {};
  if (!QueryMaterialsReply(printerName, reply)) return {};
  return ParseLoadedMaterials(reply, sizeof reply);
}

}  // namespace vyx
