// Path and system exports: driver environment, paths below the driver directory, the common documents folder,
// the computer name and the system version.
#include "spoolkit/paths_system_win32.h"

#include <shlobj.h>
#include <winspool.h>

#include <optional>
#include <string>

#include "spoolkit/spoolkit.h"
#include "spoolkit/system_rules.h"
#include "spoolkit/two_call.h"

namespace vyx::spoolkit {

namespace {

// The local printer-driver directory of our own environment; none when it cannot be read.
std::optional<std::wstring> ReadDriverDirectory() {
  wchar_t directory[MAX_PATH] = {};
  DWORD needed = 0;
  if (!GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(directory), sizeof directory, &needed))
    return std::nullopt;
  directory[MAX_PATH - 1] = L'\0';
  return std::wstring(directory);
}

// Copies `text` into a buffer of `capacity` characters, cut to fit, always terminated.
void CopyText(std::wstring_view text, LPWSTR buffer, DWORD capacity) {
  if (buffer == nullptr || capacity == 0) return;
  const std::size_t count = text.size() < capacity ? text.size() : capacity - 1;
  text.copy(buffer, count);
  buffer[count] = L'\0';
}

}  // namespace

BOOL ReadComputerName(LPWSTR name, DWORD* size) {
  const DWORD capacity = *size;
  BOOL ok = FALSE;
  for (int attempts = 0;;) {
    *size = capacity;
    ok = GetComputerNameW(name, size);
    ++attempts;
    if (ok || !ShouldRepeatQuery(attempts, GetLastError(), kErrorInsufficientBuffer)) break;
  }
  return ok;
}

BOOL IsVistaOrHigherWith(const SPlatformCalls& calls) {
  DWORD major = 0;
  DWORD minor = 0;
  const bool known = calls.systemVersion(&major, &minor);
  return IsVistaOrHigherVersion(known ? std::optional<std::uint32_t>(major) : std::nullopt) ? 1 : 0;
}

}  // namespace vyx::spoolkit

using namespace vyx::spoolkit;

extern "C" int WINAPI GetEnvironment(LPWSTR environment, DWORD capacity) {
  const std::optional<std::wstring> directory = ReadDriverDirectory();
  if (!directory) return kEnvironmentUnknown;
  const int code = ClassifyDriverDirectory(*directory);
  CopyText(EnvironmentName(code), environment, capacity);
  return code;
}

extern "C" BOOL WINAPI AppendToSubDriverDir(LPWSTR path, LPCWSTR fileName) {
  if (path == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const std::optional<std::wstring> directory = ReadDriverDirectory();
  if (!directory) return FALSE;
  CopyText(BuildSubDriverPath(*directory, fileName != nullptr ? fileName : L""), path, MAX_PATH);
  return TRUE;
}

extern "C" BOOL WINAPI GetCommonDocPath(LPWSTR path) {
  if (path == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const HRESULT result =
      SHGetFolderPathW(nullptr, CSIDL_COMMON_DOCUMENTS | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path);
  if (SUCCEEDED(result)) return TRUE;
  SetLastError(HRESULT_FACILITY(result) == FACILITY_WIN32 ? HRESULT_CODE(result) : static_cast<DWORD>(result));
  return FALSE;
}

extern "C" BOOL WINAPI WrapGetComputerName(LPWSTR name, DWORD* size) {
  if (name == nullptr || size == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return ReadComputerName(name, size);
}

extern "C" BOOL WINAPI IsVistaOrHigher(void) {
  return IsVistaOrHigherWith(RealPlatformCalls());
}
