// Memory in the program under test and calls into the agent library the driver loads there. A list view of
// another process dereferences the pointers of its messages in its own address space, and Wine reads menus only
// in the process that made them.
#include <windows.h>

#include <psapi.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/support/ui_agent_protocol.h"
#include "tests/support/ui_driver_detail_win32.h"

namespace vyx::testing::detail {

HANDLE OpenProcessOf(HWND window) {
  DWORD pid = 0;
  if (!window || !GetWindowThreadProcessId(window, &pid)) return nullptr;
  return OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION |
                         PROCESS_CREATE_THREAD | SYNCHRONIZE,
                     FALSE, pid);
}

CRemoteBuffer::CRemoteBuffer(HWND window, SIZE_T size) : process_(OpenProcessOf(window)), size_(size) {
  if (process_) address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}

CRemoteBuffer::~CRemoteBuffer() {
  if (address_ && !abandoned_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
  if (process_) CloseHandle(process_);
}

bool CRemoteBuffer::Write(SIZE_T offset, const void* data, SIZE_T size) {
  SIZE_T done = 0;
  return address_ && offset + size <= size_ &&
         WriteProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, &done) && done == size;
}

bool CRemoteBuffer::Read(SIZE_T offset, void* data, SIZE_T size) const {
  SIZE_T done = 0;
  return address_ && offset + size <= size_ &&
         ReadProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, &done) && done == size;
}

namespace {

// Where a module of this name is loaded in `process`, or nullptr.
HMODULE RemoteModule(HANDLE process, const wchar_t* name) {
  HMODULE modules[1024];
  DWORD bytes = 0;
  if (!EnumProcessModulesEx(process, modules, sizeof modules, &bytes, LIST_MODULES_ALL)) return nullptr;
  for (DWORD i = 0; i < bytes / sizeof(HMODULE) && i < 1024; ++i) {
    wchar_t base[MAX_PATH] = {};
    if (GetModuleBaseNameW(process, modules[i], base, MAX_PATH) && _wcsicmp(base, name) == 0) return modules[i];
  }
  return nullptr;
}

// The address in `process` of a function this process has loaded from the same library.
LPTHREAD_START_ROUTINE RemoteFunction(HANDLE process, HMODULE local, const wchar_t* name, const char* function) {
  const HMODULE remote = RemoteModule(process, name);
  const FARPROC proc = GetProcAddress(local, function);
  if (!remote || !proc) return nullptr;
  const auto offset = reinterpret_cast<const char*>(proc) - reinterpret_cast<const char*>(local);
  return reinterpret_cast<LPTHREAD_START_ROUTINE>(reinterpret_cast<char*>(remote) + offset);
}

// Runs `start(argument)` on a new thread of `process`; its exit code, or 0. `*ended` says whether the thread
// ended in time (if not, what it uses must stay).
DWORD RunRemoteThread(HANDLE process,
                      LPTHREAD_START_ROUTINE start,
                      LPARAM argument,
                      DWORD timeoutMs,
                      bool* ended = nullptr) {
  if (ended) *ended = true;
  if (!start) return 0;
  HANDLE thread = CreateRemoteThread(process, nullptr, 0, start, reinterpret_cast<void*>(argument), 0, nullptr);
  if (!thread) return 0;
  DWORD code = 0;
  if (WaitForSingleObject(thread, timeoutMs) != WAIT_OBJECT_0) {
    if (ended) *ended = false;
  } else if (!GetExitCodeThread(thread, &code)) {
    code = 0;
  }
  CloseHandle(thread);
  return code;
}

std::wstring AgentName() {
  const std::string name = kAgentLibrary;
  return std::wstring(name.begin(), name.end());
}

// The agent is built next to the test programs.
std::wstring AgentPath() {
  wchar_t path[MAX_PATH] = {};
  const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, n);
  folder.resize(folder.find_last_of(L"\\/") + 1);
  return folder + AgentName();
}

// The agent's offsets come from loading it here too, which is harmless: its entry point does nothing.
HMODULE LocalAgent() {
  static const HMODULE local = LoadLibraryW(AgentPath().c_str());
  return local;
}

// Loads the agent into `process` unless it is there already; where it is loaded there.
HMODULE LoadAgent(HANDLE process, DWORD timeoutMs) {
  if (const HMODULE loaded = RemoteModule(process, AgentName().c_str())) return loaded;
  const std::wstring path = AgentPath();
  const SIZE_T bytes = (path.size() + 1) * sizeof(wchar_t);
  void* remotePath = VirtualAllocEx(process, nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (!remotePath) return nullptr;
  SIZE_T written = 0;
  bool ended = true;
  if (WriteProcessMemory(process, remotePath, path.c_str(), bytes, &written) && written == bytes) {
    const LPTHREAD_START_ROUTINE loadLibrary =
        RemoteFunction(process, GetModuleHandleW(L"kernel32.dll"), L"kernel32.dll", "LoadLibraryW");
    RunRemoteThread(process, loadLibrary, reinterpret_cast<LPARAM>(remotePath), timeoutMs, &ended);
  }
  if (ended) VirtualFreeEx(process, remotePath, 0, MEM_RELEASE);
  return RemoteModule(process, AgentName().c_str());
}

// Where the agent is in `process`: listing a process's modules is slow under Wine, so each is looked up once.
HMODULE AgentIn(HANDLE process, DWORD timeoutMs) {
  static std::vector<std::pair<CProcessIdentity, HMODULE>> known;
  const CProcessIdentity identity = IdentityOf(process);
  for (const auto& [who, where] : known)
    if (who == identity) return where;
  const HMODULE loaded = LoadAgent(process, timeoutMs);
  if (loaded) known.emplace_back(identity, loaded);
  return loaded;
}

}  // namespace

CProcessIdentity IdentityOf(HANDLE process) {
  FILETIME created{}, exited{}, kernel{}, user{};
  GetProcessTimes(process, &created, &exited, &kernel, &user);
  return {GetProcessId(process), (static_cast<ULONGLONG>(created.dwHighDateTime) << 32) | created.dwLowDateTime};
}

LPARAM AgentExport(HANDLE process, const char* name, DWORD timeoutMs) {
  const HMODULE local = LocalAgent();
  const FARPROC proc = local ? GetProcAddress(local, name) : nullptr;
  const HMODULE remote = process && proc ? AgentIn(process, timeoutMs) : nullptr;
  if (!remote) return 0;
  return reinterpret_cast<LPARAM>(remote) +
         (reinterpret_cast<const char*>(proc) - reinterpret_cast<const char*>(local));
}

DWORD CallAgent(HANDLE process, const char* function, LPARAM argument, DWORD timeoutMs, bool* ended) {
  const auto start = reinterpret_cast<LPTHREAD_START_ROUTINE>(AgentExport(process, function, timeoutMs));
  return RunRemoteThread(process, start, argument, timeoutMs, ended);
}

}  // namespace vyx::testing::detail
