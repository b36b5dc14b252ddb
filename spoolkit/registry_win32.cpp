// Registry exports: reading and writing a value under any root, and the per-user printer settings key.
#include <windows.h>

#include "spoolkit/scoped_handles_win32.h"
#include "spoolkit/spoolkit.h"
#include "spoolkit/two_call.h"

namespace vyx::spoolkit {

namespace {

constexpr wchar_t kDevModePerUserKey[] = L"Printers\\DevModePerUser";

// Queries a value, repeating while it reports ERROR_MORE_DATA (three attempts in all). Each attempt offers the
// caller's own size: the size the value needs is larger than the caller's buffer and must never be offered. On
// return *dataSize holds what the last query reported.
LONG QueryValue(HKEY key, LPCWSTR valueName, DWORD* type, BYTE* data, DWORD* dataSize) {
  const DWORD capacity = dataSize != nullptr ? *dataSize : 0;
  LONG status = ERROR_SUCCESS;
  for (int attempts = 0;;) {
    if (dataSize != nullptr) *dataSize = capacity;
    status = RegQueryValueExW(key, valueName, nullptr, type, data, dataSize);
    ++attempts;
    if (!ShouldRepeatQuery(attempts, static_cast<std::uint32_t>(status), kErrorMoreData)) break;
  }
  return status;
}

}  // namespace

}  // namespace vyx::spoolkit

using namespace vyx::spoolkit;

extern "C" LONG WINAPI
RegReadValue(HKEY root, LPCWSTR subkey, LPCWSTR valueName, DWORD* type, BYTE* data, DWORD* dataSize) {
  CScopedKey key;
  const LONG opened = RegOpenKeyExW(root, subkey, 0, KEY_READ, key.Out());
  if (opened != ERROR_SUCCESS) return opened;
  return QueryValue(key.Get(), valueName, type, data, dataSize);
}

extern "C" LONG WINAPI RegWriteValue(HKEY root,
                                     LPCWSTR subkey,
                                     LPCWSTR valueName,
                                     DWORD type,
                                     const BYTE* data,
                                     DWORD dataSize,
                                     BOOL openOnly) {
  CScopedKey key;
  wchar_t keyClass[] = L"key";
  const LONG opened = openOnly ? RegOpenKeyExW(root, subkey, 0, KEY_WRITE, key.Out())
                               : RegCreateKeyExW(root, subkey, 0, keyClass, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                                                 nullptr, key.Out(), nullptr);
  if (opened != ERROR_SUCCESS) return opened;
  return RegSetValueExW(key.Get(), valueName, 0, type, data, dataSize);
}

extern "C" LONG WINAPI RegGetSetDevmodePerUser(BYTE* data, DWORD* dataSize, LPCWSTR valueName, BOOL read) {
  if (dataSize == nullptr) return ERROR_INVALID_PARAMETER;
  CScopedKey key;
  const LONG opened = RegOpenKeyExW(HKEY_CURRENT_USER, kDevModePerUserKey, 0, read ? KEY_READ : KEY_WRITE, key.Out());
  if (opened != ERROR_SUCCESS) return opened;
  if (read) return QueryValue(key.Get(), valueName, nullptr, data, dataSize);
  return RegSetValueExW(key.Get(), valueName, 0, REG_BINARY, data, *dataSize);
}
