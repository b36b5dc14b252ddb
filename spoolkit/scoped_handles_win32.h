// Owners of what an export opens or allocates: each is released on every path, and the release keeps the thread's
// last error, so the code of a failing call survives the clean-up.
#pragma once

#include <userenv.h>
#include <windows.h>
#include <winspool.h>

namespace vyx::spoolkit {

template <typename T, auto Release>
class CScoped {
 public:
  CScoped() = default;
  explicit CScoped(T value) : m_value(value) {}
  ~CScoped() { Reset(); }
  CScoped(const CScoped&) = delete;
  CScoped& operator=(const CScoped&) = delete;

  T Get() const { return m_value; }
  // For calls that return the value through an out argument.
  T* Out() {
    Reset();
    return &m_value;
  }
  // Hands the value to the caller, who releases it.
  T Detach() {
    const T value = m_value;
    m_value = T{};
    return value;
  }
  void Reset(T value = T{}) {
    if (m_value != T{}) {
      const DWORD error = GetLastError();
      Release(m_value);
      SetLastError(error);
    }
    m_value = value;
  }
  explicit operator bool() const { return m_value != T{}; }

 private:
  T m_value{};
};

using CScopedHandle = CScoped<HANDLE, &CloseHandle>;
using CScopedPrinter = CScoped<HANDLE, &ClosePrinter>;
using CScopedKey = CScoped<HKEY, &RegCloseKey>;
using CScopedLocal = CScoped<HLOCAL, &LocalFree>;
using CScopedEnvironment = CScoped<void*, &DestroyEnvironmentBlock>;

}  // namespace vyx::spoolkit
