// Decisions of the session helper that need no system: the driver environment by directory, paths below the
// driver directory, the impersonation level by system version, remote job machines and the spooler's command line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vyx::spoolkit {

// Environment codes: the printer-driver environment a driver directory belongs to.
enum EDriverEnvironment : int {
  kEnvironmentX86 = 0,
  kEnvironmentX64 = 1,
  kEnvironmentIa64 = 2,
  kEnvironmentUnknown = -1,
};

// The code of the driver directory by its last path component ("w32x86", "x64", "ia64", case ignored).
int ClassifyDriverDirectory(std::wstring_view driverDirectory);
// "Windows NT x86", "Windows x64", "Windows IA64"; empty for an unknown code.
std::wstring_view EnvironmentName(int code);

// Longest path built below the driver directory, in characters.
constexpr std::size_t kMaxSubDriverPath = 250;
// Name of the message-box program.
constexpr std::wstring_view kMessageBoxProgram = L"Notifex.exe";
// Longest path of a program the helper starts, in characters.
constexpr std::size_t kMaxProgramPath = 259;

// The driver directory, then "\3\" and the file name; each append is cut so the path stays within
// kMaxSubDriverPath characters.
std::wstring BuildSubDriverPath(std::wstring_view driverDirectory, std::wstring_view fileName);
// The message-box program in `folder`; none when that path would be longer than kMaxProgramPath, since a cut
// path names another file.
std::optional<std::wstring> BuildProgramPathInFolder(std::wstring_view folder, std::wstring_view program);
// Whether a path built by BuildSubDriverPath names `fileName` whole (it was not cut).
bool EndsWithWholeFile(std::wstring_view path, std::wstring_view fileName);

// Impersonation level of the primary token duplicated from an impersonation token: delegation (3) on systems of
// major version 6 and on 5.2, impersonation (2) otherwise and when the version is not known.
int ChooseImpersonationLevel(std::optional<std::uint32_t> major, std::uint32_t minor);
// Whether the system is Vista or later (major version above 5); false when the version is not known.
bool IsVistaOrHigherVersion(std::optional<std::uint32_t> major);

// Whether a job's machine name ("\\" and the host) names another computer than `computerName`: the name after
// its first two characters is compared exactly. A name too short to hold the two backslashes names no machine.
bool IsOtherMachine(std::wstring_view machineName, std::wstring_view computerName);

// Whether a process command line is the spooler's ("spoolsv.exe" anywhere in it, case-sensitive).
bool IsSpoolerCommandLine(std::wstring_view commandLine);

// Whether two module base names are the same, ASCII case ignored (the shell's name is compared this way).
bool EqualsIgnoringCase(std::wstring_view a, std::wstring_view b);

}  // namespace vyx::spoolkit
