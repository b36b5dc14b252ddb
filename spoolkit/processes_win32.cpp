// Exports that start programs on the user's desktop ("WinSta0\Default") with the user's token and environment,
// wait for them, and reach the active console session with a terminal-services message.
#include "spoolkit/processes_win32.h"

#include <userenv.h>
#include <wtsapi32.h>

#include <optional>
#include <string>

#include "spoolkit/command_line.h"
#include "spoolkit/scoped_handles_win32.h"
#include "spoolkit/spoolkit.h"
#include "spoolkit/system_rules.h"

namespace vyx::spoolkit {

namespace {

static_assert(sizeof(STARTUPINFOW) == 104, "the start-up record is 104 bytes");

// Runs the program hidden, waits for it without a time limit and reads its exit code; both handles are closed.
BOOL RunAndWait(HANDLE token, LPCWSTR applicationPath, LPCWSTR parameters, DWORD* exitCode) {
  PROCESS_INFORMATION info{};
  if (!CreateLeashedProcessAsUser(token, applicationPath, parameters, &info, SW_HIDE)) return FALSE;
  CScopedHandle process(info.hProcess);
  CScopedHandle thread(info.hThread);
  WaitForSingleObject(process.Get(), INFINITE);
  return GetExitCodeProcess(process.Get(), exitCode);
}

// Where the message-box program lives: in `folder` when one is given, else in the driver directory's "3"
// folder. None when that full path cannot be made whole: a cut path would start another program.
std::optional<std::wstring> MessageBoxProgramPath(LPCWSTR folder) {
  if (folder != nullptr && *folder != L'\0') {
    std::optional<std::wstring> path = BuildProgramPathInFolder(folder, kMessageBoxProgram);
    if (!path) SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return path;
  }
  wchar_t path[MAX_PATH] = {};
  const std::wstring program(kMessageBoxProgram);
  if (!AppendToSubDriverDir(path, program.c_str())) return std::nullopt;
  if (!EndsWithWholeFile(path, kMessageBoxProgram)) {
    SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return std::nullopt;
  }
  return std::wstring(path);
}

}  // namespace

BOOL ShowMsgBoxInActiveSessionWith(const SPlatformCalls& calls,
                                   LPCWSTR title,
                                   LPCWSTR message,
                                   DWORD style,
                                   DWORD* response) {
  std::wstring titleText(title != nullptr ? title : L"");
  std::wstring messageText(message != nullptr ? message : L"");
  DWORD answer = 0;
  const BOOL sent =
      calls.sendSessionMessage(WTS_CURRENT_SERVER_HANDLE, calls.activeConsoleSession(), titleText.data(),
                               static_cast<DWORD>(titleText.size() * sizeof(wchar_t)), messageText.data(),
                               static_cast<DWORD>(messageText.size() * sizeof(wchar_t)), style, 0, &answer, TRUE);
  if (response != nullptr) *response = answer;
  return sent;
}

}  // namespace vyx::spoolkit

using namespace vyx::spoolkit;

extern "C" BOOL WINAPI CreateLeashedProcessAsUser(HANDLE token,
                                                  LPCWSTR applicationPath,
                                                  LPCWSTR parameters,
                                                  PROCESS_INFORMATION* processInformation,
                                                  WORD showWindow) {
  if (applicationPath == nullptr || processInformation == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  // The program is started by its full path, never searched for, and runs in its own folder.
  wchar_t fullPath[MAX_PATH] = {};
  const DWORD length = GetFullPathNameW(applicationPath, MAX_PATH, fullPath, nullptr);
  if (length == 0) return FALSE;
  if (length >= MAX_PATH) {
    SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return FALSE;
  }
  std::wstring folder = FolderOfPath(fullPath);

  *processInformation = PROCESS_INFORMATION{};
  wchar_t desktop[] = L"WinSta0\\Default";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.lpDesktop = desktop;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = showWindow;

  std::wstring commandLine;
  if (parameters != nullptr) commandLine = BuildLaunchCommandLine(applicationPath, parameters);
  wchar_t* commandLineArg = parameters != nullptr ? commandLine.data() : nullptr;
  const wchar_t* folderArg = folder.empty() ? nullptr : folder.c_str();
  constexpr DWORD kFlags = CREATE_UNICODE_ENVIRONMENT | NORMAL_PRIORITY_CLASS;

  if (token != nullptr) {
    // The user's own environment, not the spooler's; without it the program still starts.
    CScopedEnvironment environment;
    if (!CreateEnvironmentBlock(environment.Out(), token, FALSE)) environment.Detach();
    SetLastError(ERROR_SUCCESS);
    return CreateProcessAsUserW(token, fullPath, commandLineArg, nullptr, nullptr, FALSE, kFlags, environment.Get(),
                                folderArg, &startup, processInformation);
  }
  SetLastError(ERROR_SUCCESS);
  return CreateProcessW(fullPath, commandLineArg, nullptr, nullptr, FALSE, kFlags, nullptr, folderArg, &startup,
                        processInformation);
}

extern "C" BOOL WINAPI WrapCreateProcessAsUser(HANDLE token, LPCWSTR applicationPath, LPCWSTR parameters) {
  PROCESS_INFORMATION info{};
  if (!CreateLeashedProcessAsUser(token, applicationPath, parameters, &info, SW_SHOWNORMAL)) return FALSE;
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  return TRUE;
}

extern "C" BOOL WINAPI ExecuteProcessAsUser(HANDLE token,
                                            LPCWSTR applicationPath,
                                            LPCWSTR parameters,
                                            DWORD* exitCode) {
  DWORD code = 0;
  const BOOL read = RunAndWait(token, applicationPath, parameters, &code);
  if (read && exitCode != nullptr) *exitCode = code;
  return read;
}

extern "C" DWORD WINAPI
MessageBoxAsUser(LPCWSTR programFolder, HANDLE token, DWORD numberB, LPCWSTR text1, LPCWSTR text2, DWORD numberA) {
  const std::optional<std::wstring> program = MessageBoxProgramPath(programFolder);
  if (!program) return 0;
  // Texts from a print job are quoted so the program always receives them unchanged as two arguments.
  const std::optional<std::wstring> parameters = BuildMessageBoxParameters(
      *program, text1 != nullptr ? text1 : L"", text2 != nullptr ? text2 : L"", numberA, numberB);
  if (!parameters) {
    SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return 0;
  }
  DWORD code = 0;
  return RunAndWait(token, program->c_str(), parameters->c_str(), &code) ? code : 0;
}

extern "C" BOOL WINAPI ShowMsgBoxInActiveSession(LPCWSTR title, LPCWSTR message, DWORD style, DWORD* response) {
  return ShowMsgBoxInActiveSessionWith(RealPlatformCalls(), title, message, style, response);
}
