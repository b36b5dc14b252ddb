// Stand-in for the printer driver: serves a job stream on \\.\pipe\VYXQ5_<id>_<tag> (or as a file), optionally
// writes the per-page copies file, starts VyxQ5Manager.exe with its three arguments, lets the UI robot watch it,
// waits and reports.
//   vyx_driver_sim --job FILE [--id N] [--tag T] [--delay-ms N] [--as-file] [--copies 2,1,3]
//                  [--manager EXE] [--printer NAME] [--options STR] [--argv "raw arguments"]
//                  [--robot-log FILE] [--answers A,B] [--shots DIR] [--timeout SECONDS]
// Prints "exit=<code> served=<bytes> connected=<0|1>" and exits with the manager's exit code (99 on its own failure).
#include <shlobj.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

struct CServe {
  std::wstring pipeName;
  std::vector<char> data;
  DWORD delayMs = 0;
  DWORD timeoutMs = 120000;
  volatile LONG served = 0;
  volatile LONG connected = 0;
};

DWORD WINAPI ServePipe(void* param) {
  auto* s = static_cast<CServe*>(param);
  Sleep(s->delayMs);
  HANDLE pipe = CreateNamedPipeW(s->pipeName.c_str(), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE | PIPE_WAIT, 1, 65536, 65536,
                                 0, nullptr);
  if (pipe == INVALID_HANDLE_VALUE) {
    std::fprintf(stderr, "driver_sim: CreateNamedPipe failed: %lu\n", GetLastError());
    return 1;
  }
  if (ConnectNamedPipe(pipe, nullptr) || GetLastError() == ERROR_PIPE_CONNECTED) {
    InterlockedExchange(&s->connected, 1);
    size_t offset = 0;
    while (offset < s->data.size()) {
      const DWORD chunk = static_cast<DWORD>(std::min<size_t>(65536, s->data.size() - offset));
      DWORD written = 0;
      if (!WriteFile(pipe, s->data.data() + offset, chunk, &written, nullptr) || written == 0) break;
      offset += written;
      InterlockedExchange(&s->served, static_cast<LONG>(offset));
    }
    FlushFileBuffers(pipe);  // returns once the manager has read everything
  }
  CloseHandle(pipe);
  return 0;
}

std::wstring ModuleDir() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring dir = path;
  return dir.substr(0, dir.find_last_of(L"\\/") + 1);
}

std::wstring Quote(const std::wstring& s) {
  return L"\"" + s + L"\"";
}

bool ReadWholeFile(const std::wstring& path, std::vector<char>& out) {
  FILE* f = _wfopen(path.c_str(), L"rb");
  if (!f) return false;
  char buf[65536];
  size_t n = 0;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.insert(out.end(), buf, buf + n);
  std::fclose(f);
  return true;
}

bool WriteCopiesFile(int jobId, const std::wstring& list) {
  wchar_t folder[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_COMMON_DOCUMENTS | CSIDL_FLAG_CREATE, nullptr, 0, folder))) return false;
  std::vector<short> counts;
  for (size_t start = 0; start < list.size();) {
    const size_t comma = list.find(L',', start);
    counts.push_back(static_cast<short>(_wtoi(list.substr(start, comma - start).c_str())));
    if (comma == std::wstring::npos) break;
    start = comma + 1;
  }
  const std::wstring path = std::wstring(folder) + L"\\PerPageCopies_" + std::to_wstring(jobId) + L".dat";
  FILE* f = _wfopen(path.c_str(), L"wb");
  if (!f) return false;
  const bool ok = std::fwrite(counts.data(), sizeof(short), counts.size(), f) == counts.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::wstring jobFile, tag = L"sim", manager = ModuleDir() + L"VyxQ5Manager.exe", printer = L"VYX-Q5";
  std::wstring options = L"LnMgSvBo0;59;59;24;0;OpAmLrAeAcCtPlAoAhNt", rawArgs, robotLog, answers, shots, copies;
  int jobId = 42;
  bool asFile = false, rawGiven = false;
  CServe serve;
  for (int i = 1; i < argc; ++i) {
    const std::wstring key = argv[i];
    if (key == L"--as-file") {
      asFile = true;
      continue;
    }
    if (i + 1 >= argc) break;
    const std::wstring value = argv[++i];
    if (key == L"--job")
      jobFile = value;
    else if (key == L"--id")
      jobId = _wtoi(value.c_str());
    else if (key == L"--tag")
      tag = value;
    else if (key == L"--delay-ms")
      serve.delayMs = static_cast<DWORD>(_wtoi(value.c_str()));
    else if (key == L"--manager")
      manager = value;
    else if (key == L"--printer")
      printer = value;
    else if (key == L"--options")
      options = value;
    else if (key == L"--argv")
      rawArgs = value, rawGiven = true;
    else if (key == L"--robot-log")
      robotLog = value;
    else if (key == L"--answers")
      answers = value;
    else if (key == L"--shots")
      shots = value;
    else if (key == L"--copies")
      copies = value;
    else if (key == L"--timeout")
      serve.timeoutMs = static_cast<DWORD>(_wtoi(value.c_str())) * 1000;
  }
  if (jobFile.empty() || !ReadWholeFile(jobFile, serve.data)) {
    std::fprintf(stderr, "driver_sim: cannot read the job file\n");
    return 99;
  }
  if (!copies.empty() && !WriteCopiesFile(jobId, copies)) {
    std::fprintf(stderr, "driver_sim: cannot write the per-page copies file\n");
    return 99;
  }
  serve.pipeName = L"\\\\.\\pipe\\VYXQ5_" + std::to_wstring(jobId) + L"_" + tag;
  const std::wstring location = asFile ? jobFile : serve.pipeName;
  HANDLE server = nullptr;
  if (!asFile) server = CreateThread(nullptr, 0, ServePipe, &serve, 0, nullptr);

  std::wstring cmd =
      Quote(manager) + L" " + (rawGiven ? rawArgs : Quote(location) + L" " + Quote(printer) + L" " + Quote(options));
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(manager.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    std::fprintf(stderr, "driver_sim: cannot start the manager: %lu\n", GetLastError());
    return 99;
  }
  PROCESS_INFORMATION robot{};
  if (!robotLog.empty()) {
    std::wstring rcmd = Quote(ModuleDir() + L"vyx_ui_robot.exe") + L" --pid " + std::to_wstring(pi.dwProcessId) +
                        L" --log " + Quote(robotLog) + L" --timeout " + std::to_wstring(serve.timeoutMs / 1000);
    if (!answers.empty()) rcmd += L" --answers " + Quote(answers);
    if (!shots.empty()) rcmd += L" --shots " + Quote(shots);
    STARTUPINFOW rsi{};
    rsi.cb = sizeof rsi;
    if (!CreateProcessW(nullptr, rcmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &rsi, &robot))
      std::fprintf(stderr, "driver_sim: cannot start the robot: %lu\n", GetLastError());
  }
  DWORD exitCode = 99;
  if (WaitForSingleObject(pi.hProcess, serve.timeoutMs) == WAIT_TIMEOUT) {
    std::fprintf(stderr, "driver_sim: the manager did not end in time\n");
    TerminateProcess(pi.hProcess, 98);
  }
  GetExitCodeProcess(pi.hProcess, &exitCode);
  if (robot.hProcess) {
    WaitForSingleObject(robot.hProcess, 5000);
    CloseHandle(robot.hProcess);
    CloseHandle(robot.hThread);
  }
  if (server) {
    // The manager has ended: unblock a server still waiting for a client, then collect it.
    if (WaitForSingleObject(server, 200) == WAIT_TIMEOUT) {
      HANDLE poke = CreateFileW(serve.pipeName.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
      if (poke != INVALID_HANDLE_VALUE) CloseHandle(poke);
      WaitForSingleObject(server, 2000);
    }
    CloseHandle(server);
  }
  const LONG served = asFile ? static_cast<LONG>(serve.data.size()) : serve.served;
  std::printf("exit=%lu served=%ld connected=%ld\n", exitCode, served, asFile ? 1L : serve.connected);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  return static_cast<int>(exitCode);
}
