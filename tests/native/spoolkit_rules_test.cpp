// The session helper's portable rules: argument quoting and the message-box program's four arguments, the launch
// line's cut, driver environments and paths, impersonation levels, remote machines and the two-call decisions.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "spoolkit/command_line.h"
#include "spoolkit/system_rules.h"
#include "spoolkit/two_call.h"

namespace vyx::spoolkit {
namespace {

// Splits a command line as the C runtime does for the program's arguments (after the quoted program path).
std::vector<std::wstring> SplitCommandLine(std::wstring_view line) {
  std::vector<std::wstring> args;
  std::size_t i = 0;
  while (true) {
    while (i < line.size() && (line[i] == L' ' || line[i] == L'\t')) ++i;
    if (i == line.size()) break;
    std::wstring arg;
    bool quoted = false;
    while (i < line.size() && (quoted || (line[i] != L' ' && line[i] != L'\t'))) {
      if (line[i] == L'\\') {
        std::size_t run = 0;
        while (i < line.size() && line[i] == L'\\') ++run, ++i;
        if (i < line.size() && line[i] == L'"') {
          arg.append(run / 2, L'\\');
          if (run % 2 == 1) arg.push_back(L'"'), ++i;
        } else {
          arg.append(run, L'\\');
        }
      } else if (line[i] == L'"') {
        if (quoted && i + 1 < line.size() && line[i + 1] == L'"') {
          arg.push_back(L'"');
          i += 2;
        } else {
          quoted = !quoted;
          ++i;
        }
      } else {
        arg.push_back(line[i++]);
      }
    }
    args.push_back(arg);
  }
  return args;
}

TEST(SpoolkitCommandLine, QuotedArgumentsArriveUnchanged) {
  const std::vector<std::pair<std::wstring, std::wstring>> cases = {
      {L"", L"\"\""},
      {L"Label 1", L"\"Label 1\""},
      {L"say \"hi\"", L"\"say \\\"hi\\\"\""},
      {L"C:\\dir\\", L"\"C:\\dir\\\\\""},
      {L"a\\\\\"b", L"\"a\\\\\\\\\\\"b\""},
      {L"\\\\server\\share", L"\"\\\\server\\share\""},
  };
  for (const auto& [text, quoted] : cases) {
    EXPECT_EQ(quoted, QuoteArgument(text));
    EXPECT_EQ(std::vector<std::wstring>{text}, SplitCommandLine(QuoteArgument(text))) << text;
  }
}

TEST(SpoolkitCommandLine, LaunchLineQuotesTheProgramAndIsCutAt259) {
  EXPECT_EQ(L"\"C:\\Program Files\\VYX\\VyxQ5Manager.exe\" \\\\.\\pipe\\VYXQ5_7_ Q5 Mg",
            BuildLaunchCommandLine(L"C:\\Program Files\\VYX\\VyxQ5Manager.exe", L"\\\\.\\pipe\\VYXQ5_7_ Q5 Mg"));
  const std::wstring line = BuildLaunchCommandLine(L"C:\\m.exe", std::wstring(400, L'x'));
  EXPECT_EQ(kMaxCommandLine, line.size());
  EXPECT_EQ(L"\"C:\\m.exe\" xxx", line.substr(0, 14));
  EXPECT_EQ(L"C:\\dir\\", FolderOfPath(L"C:\\dir\\prog.exe"));
  EXPECT_EQ(L"C:\\", FolderOfPath(L"C:\\prog.exe"));
  EXPECT_EQ(L"", FolderOfPath(L"prog.exe"));
}

TEST(SpoolkitCommandLine, MessageBoxParametersKeepFourArguments) {
  const std::wstring program = L"C:\\windows\\system32\\spool\\drivers\\x64\\3\\Notifex.exe";
  EXPECT_EQ(L"\"Job \\\"A\\\"\" \"C:\\tmp\\\\\" 4 17",
            BuildMessageBoxParameters(program, L"Job \"A\"", L"C:\\tmp\\", 4, 17).value());

  struct SCase {
    std::wstring text1, text2;
    bool firstKeptWhole, secondKeptWhole;
  };
  const std::vector<SCase> cases = {
      {std::wstring(300, L'a'), L"short", false, true},
      {L"short", std::wstring(300, L'b'), true, false},
      {std::wstring(150, L'"'), std::wstring(150, L'\\') + L"x", false, false},
      {std::wstring(200, L'\\'), std::wstring(200, L'\\'), false, false},
  };
  for (const SCase& c : cases) {
    const std::optional<std::wstring> params = BuildMessageBoxParameters(program, c.text1, c.text2, 4294967295u, 0);
    ASSERT_TRUE(params);
    const std::wstring line = BuildLaunchCommandLine(program, *params);
    EXPECT_LE(line.size(), kMaxCommandLine);
    const std::vector<std::wstring> args = SplitCommandLine(*params);
    ASSERT_EQ(4u, args.size()) << *params;
    EXPECT_EQ(0u, c.text1.rfind(args[0], 0));
    EXPECT_EQ(0u, c.text2.rfind(args[1], 0));
    EXPECT_EQ(c.firstKeptWhole, args[0] == c.text1);
    EXPECT_EQ(c.secondKeptWhole, args[1] == c.text2);
    EXPECT_EQ(L"4294967295", args[2]);
    EXPECT_EQ(L"0", args[3]);
    // The budget is used: nothing shortened more than the line needs.
    EXPECT_GE(line.size(), kMaxCommandLine - 4);
  }
  // A program path that leaves no room even for two empty texts.
  EXPECT_FALSE(BuildMessageBoxParameters(std::wstring(250, L'p'), L"", L"", 1, 2));
}

TEST(SpoolkitCommandLine, ShorteningNeverSplitsASurrogatePairAndHoldsForAnyText) {
  const std::wstring program = L"C:\\N\\Notifex.exe";
  std::wstring pairs;
  for (int i = 0; i < 200; ++i) pairs += L"\xD83D\xDE00";
  const std::wstring params = BuildMessageBoxParameters(program, pairs, pairs, 1, 2).value();
  const std::vector<std::wstring> args = SplitCommandLine(params);
  ASSERT_EQ(4u, args.size());
  EXPECT_EQ(0u, args[0].size() % 2);
  EXPECT_EQ(0u, args[1].size() % 2);

  std::mt19937 random(16);
  const std::wstring alphabet = L"ab \"\\\t";
  for (int round = 0; round < 400; ++round) {
    std::wstring texts[2];
    for (std::wstring& text : texts)
      for (std::size_t n = random() % 300; n > 0; --n) text.push_back(alphabet[random() % alphabet.size()]);
    const std::optional<std::wstring> built = BuildMessageBoxParameters(program, texts[0], texts[1], random(), 7);
    ASSERT_TRUE(built);
    ASSERT_LE(BuildLaunchCommandLine(program, *built).size(), kMaxCommandLine);
    const std::vector<std::wstring> split = SplitCommandLine(*built);
    ASSERT_EQ(4u, split.size()) << *built;
    ASSERT_EQ(0u, texts[0].rfind(split[0], 0));
    ASSERT_EQ(0u, texts[1].rfind(split[1], 0));
  }
}

TEST(SpoolkitSystemRules, DriverEnvironmentByLastComponent) {
  const std::vector<std::pair<std::wstring, int>> cases = {
      {L"C:\\windows\\system32\\spool\\drivers\\x64", kEnvironmentX64},
      {L"C:\\Windows\\System32\\spool\\DRIVERS\\W32X86", kEnvironmentX86},
      {L"C:\\windows\\system32\\spool\\drivers\\IA64\\", kEnvironmentIa64},
      {L"C:\\windows\\system32\\spool\\drivers\\x64\\3", kEnvironmentUnknown},
      {L"C:\\x645", kEnvironmentUnknown},
      {L"", kEnvironmentUnknown},
  };
  for (const auto& [directory, code] : cases) EXPECT_EQ(code, ClassifyDriverDirectory(directory)) << directory;
  EXPECT_EQ(L"Windows NT x86", EnvironmentName(kEnvironmentX86));
  EXPECT_EQ(L"Windows x64", EnvironmentName(kEnvironmentX64));
  EXPECT_EQ(L"Windows IA64", EnvironmentName(kEnvironmentIa64));
  EXPECT_EQ(L"", EnvironmentName(kEnvironmentUnknown));
}

TEST(SpoolkitSystemRules, PathsBelowTheDriverDirectoryAreCutAt250) {
  EXPECT_EQ(L"C:\\drv\\x64\\3\\Notifex.exe", BuildSubDriverPath(L"C:\\drv\\x64", L"Notifex.exe"));
  const std::wstring deep(245, L'd');
  const std::wstring cut = BuildSubDriverPath(deep, L"Notifex.exe");
  EXPECT_EQ(kMaxSubDriverPath, cut.size());
  EXPECT_EQ(deep + L"\\3\\No", cut);
  EXPECT_FALSE(EndsWithWholeFile(cut, L"Notifex.exe"));
  EXPECT_TRUE(EndsWithWholeFile(BuildSubDriverPath(L"C:\\d", L"Notifex.exe"), L"Notifex.exe"));
  EXPECT_FALSE(EndsWithWholeFile(L"C:\\d\\MyNotifex.exe", L"Notifex.exe"));
  EXPECT_EQ(std::wstring(252, L'x'), BuildSubDriverPath(std::wstring(252, L'x'), L"a"));  // nothing appended

  EXPECT_EQ(L"D:\\tools\\Notifex.exe", BuildProgramPathInFolder(L"D:\\tools", kMessageBoxProgram).value());
  EXPECT_EQ(kMaxProgramPath, BuildProgramPathInFolder(std::wstring(247, L'f'), kMessageBoxProgram)->size());
  EXPECT_FALSE(BuildProgramPathInFolder(std::wstring(248, L'f'), kMessageBoxProgram));
}

TEST(SpoolkitSystemRules, ImpersonationLevelAndVistaByVersion) {
  struct SCase {
    std::optional<std::uint32_t> major;
    std::uint32_t minor;
    int level;
    bool vista;
  };
  const std::vector<SCase> cases = {
      {std::nullopt, 0, 2, false},
      {5, 1, 2, false},
      {5, 2, 3, false},
      {6, 0, 3, true},
      {6, 3, 3, true},
      {10, 0, 2, true},
      {4, 2, 2, false},
  };
  for (const SCase& c : cases) {
    EXPECT_EQ(c.level, ChooseImpersonationLevel(c.major, c.minor)) << c.major.value_or(0) << "." << c.minor;
    EXPECT_EQ(c.vista, IsVistaOrHigherVersion(c.major));
  }
}

TEST(SpoolkitSystemRules, RemoteMachinesSpoolerAndShellNames) {
  EXPECT_FALSE(IsOtherMachine(L"\\\\PRINTHOST", L"PRINTHOST"));
  EXPECT_TRUE(IsOtherMachine(L"\\\\printhost", L"PRINTHOST"));  // compared exactly
  EXPECT_TRUE(IsOtherMachine(L"\\\\OFFICE7", L"PRINTHOST"));
  EXPECT_TRUE(IsOtherMachine(L"\\\\", L"PRINTHOST"));
  EXPECT_FALSE(IsOtherMachine(L"\\", L"PRINTHOST"));

  EXPECT_TRUE(IsSpoolerCommandLine(L"C:\\Windows\\System32\\spoolsv.exe"));
  EXPECT_FALSE(IsSpoolerCommandLine(L"C:\\Windows\\System32\\SPOOLSV.EXE"));
  EXPECT_TRUE(EqualsIgnoringCase(L"explorer.exe", L"Explorer.EXE"));
  EXPECT_FALSE(EqualsIgnoringCase(L"explorer.ex", L"Explorer.EXE"));
}

TEST(SpoolkitTwoCall, SizeQueryOutcomesAndRepeatBound) {
  EXPECT_EQ(ESizeQueryOutcome::kSucceeded, DecideAfterSizeQuery(true, 0));
  EXPECT_EQ(ESizeQueryOutcome::kAllocate, DecideAfterSizeQuery(false, kErrorInsufficientBuffer));
  EXPECT_EQ(ESizeQueryOutcome::kFail, DecideAfterSizeQuery(false, 5));
  EXPECT_EQ(ESizeQueryOutcome::kFail, DecideAfterSizeQuery(false, 0));
  int attempts = 0;
  while (true) {
    ++attempts;
    if (!ShouldRepeatQuery(attempts, kErrorMoreData, kErrorMoreData)) break;
  }
  EXPECT_EQ(kMaxQueryAttempts, attempts);
  EXPECT_FALSE(ShouldRepeatQuery(1, 0, kErrorMoreData));
}

}  // namespace
}  // namespace vyx::spoolkit
