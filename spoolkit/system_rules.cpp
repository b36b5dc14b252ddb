// The session helper's portable decisions; the Win32 exports feed them what the system answers.
#include "spoolkit/system_rules.h"

#include <array>

namespace vyx::spoolkit {

namespace {

wchar_t FoldAscii(wchar_t c) {
  return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

struct SEnvironment {
  std::wstring_view directory;
  std::wstring_view name;
};

constexpr std::array<SEnvironment, 3> kEnvironments = {{
    {L"w32x86", L"Windows NT x86"},
    {L"x64", L"Windows x64"},
    {L"ia64", L"Windows IA64"},
}};

// Appends as much of `more` as keeps `path` within `limit` characters.
void AppendWithin(std::wstring& path, std::wstring_view more, std::size_t limit) {
  if (path.size() >= limit) return;
  path.append(more.substr(0, limit - path.size()));
}

}  // namespace

bool EqualsIgnoringCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  return true;
}

int ClassifyDriverDirectory(std::wstring_view driverDirectory) {
  while (!driverDirectory.empty() && (driverDirectory.back() == L'\\' || driverDirectory.back() == L'/'))
    driverDirectory.remove_suffix(1);
  const std::size_t last = driverDirectory.find_last_of(L"\\/");
  const std::wstring_view component =
      last == std::wstring_view::npos ? driverDirectory : driverDirectory.substr(last + 1);
  for (std::size_t i = 0; i < kEnvironments.size(); ++i)
    if (EqualsIgnoringCase(component, kEnvironments[i].directory)) return static_cast<int>(i);
  return kEnvironmentUnknown;
}

std::wstring_view EnvironmentName(int code) {
  if (code < 0 || code >= static_cast<int>(kEnvironments.size())) return {};
  return kEnvironments[static_cast<std::size_t>(code)].name;
}

std::wstring BuildSubDriverPath(std::wstring_view driverDirectory, std::wstring_view fileName) {
  std::wstring path(driverDirectory);
  AppendWithin(path, L"\\3\\", kMaxSubDriverPath);
  AppendWithin(path, fileName, kMaxSubDriverPath);
  return path;
}

std::optional<std::wstring> BuildProgramPathInFolder(std::wstring_view folder, std::wstring_view program) {
  std::wstring path(folder);
  path.push_back(L'\\');
  path.append(program);
  if (path.size() > kMaxProgramPath) return std::nullopt;
  return path;
}

bool EndsWithWholeFile(std::wstring_view path, std::wstring_view fileName) {
  return path.size() > fileName.size() && path.substr(path.size() - fileName.size()) == fileName &&
         path[path.size() - fileName.size() - 1] == L'\\';
}

int ChooseImpersonationLevel(std::optional<std::uint32_t> major, std::uint32_t minor) {
  constexpr int kImpersonation = 2;
  constexpr int kDelegation = 3;
  if (!major) return kImpersonation;
  return *major == 6 || (*major == 5 && minor == 2) ? kDelegation : kImpersonation;
}

bool IsVistaOrHigherVersion(std::optional<std::uint32_t> major) {
  return major && *major > 5;
}

bool IsOtherMachine(std::wstring_view machineName, std::wstring_view computerName) {
  if (machineName.size() < 2) return false;
  return machineName.substr(2) != computerName;
}

bool IsSpoolerCommandLine(std::wstring_view commandLine) {
  return commandLine.find(L"spoolsv.exe") != std::wstring_view::npos;
}

}  // namespace vyx::spoolkit
