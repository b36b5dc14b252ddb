// Exports that find processes by the base name of their program, and whether we run inside the spooler.
#include "spoolkit/process_search_win32.h"

#include <psapi.h>

#include "spoolkit/spoolkit.h"
#include "spoolkit/system_rules.h"

namespace vyx::spoolkit {

namespace {

constexpr DWORD kMaxProcesses = 1024;
constexpr DWORD kFoundNothing = static_cast<DWORD>(-1);

}  // namespace

bool VisitNamedProcesses(DWORD access, const FProcessVisitor& visit) {
  DWORD ids[kMaxProcesses] = {};
  DWORD bytes = 0;
  if (!EnumProcesses(ids, sizeof ids, &bytes)) return false;
  const DWORD count = bytes / sizeof ids[0];
  for (DWORD i = 0; i < count && i < kMaxProcesses; ++i) {
    CScopedHandle process(OpenProcess(access, FALSE, ids[i]));
    if (!process) continue;
    // The first module is the program itself.
    HMODULE program = nullptr;
    DWORD needed = 0;
    if (!EnumProcessModules(process.Get(), &program, sizeof program, &needed) || program == nullptr) continue;
    wchar_t name[MAX_PATH] = {};
    const DWORD length = GetModuleBaseNameW(process.Get(), program, name, MAX_PATH);
    if (length == 0) continue;
    if (!visit(process, std::wstring_view(name, length))) break;
  }
  return true;
}

}  // namespace vyx::spoolkit

using namespace vyx::spoolkit;

extern "C" HANDLE WINAPI FindProcessHandleByName(LPCWSTR baseName) {
  if (baseName == nullptr) return nullptr;
  HANDLE found = nullptr;
  VisitNamedProcesses(PROCESS_ALL_ACCESS, [&](CScopedHandle& process, std::wstring_view name) {
    if (name != baseName) return true;
    found = process.Detach();
    return false;
  });
  return found;
}

extern "C" DWORD WINAPI FindProcessHandlesByName(LPCWSTR baseName, HANDLE* handles, DWORD capacity) {
  if (baseName == nullptr || handles == nullptr || capacity == 0) return 0;
  DWORD stored = 0;
  const bool listed = VisitNamedProcesses(PROCESS_ALL_ACCESS, [&](CScopedHandle& process, std::wstring_view name) {
    if (name != baseName) return true;
    handles[stored++] = process.Detach();
    return stored < capacity;
  });
  return listed ? stored : kFoundNothing;
}

extern "C" BOOL WINAPI IsSpoolerProcess(void) {
  const wchar_t* commandLine = GetCommandLineW();
  return commandLine != nullptr && IsSpoolerCommandLine(commandLine) ? 1 : 0;
}
