// Argument quoting follows the splitting rules of the C runtime and CommandLineToArgvW: inside quotes, backslashes
// are literal unless a quote follows them.
#include "spoolkit/command_line.h"

#include <algorithm>

namespace vyx::spoolkit {

namespace {

bool IsHighSurrogate(wchar_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}

// Length of the longest prefix of `text` whose quoted form has at most `budget` characters, not ending between
// the two halves of a surrogate pair. The quoted length is not monotonic in the prefix (a trailing backslash
// costs two, one in the middle costs one), so every prefix is measured.
std::size_t LongestQuotedPrefix(std::wstring_view text, std::size_t budget) {
  if (budget < 2) return 0;
  std::size_t best = 0;
  std::size_t cost = 0;  // quoted length of the prefix without the quotes and without doubling its trailing run
  std::size_t run = 0;   // backslashes at the end of the prefix
  for (std::size_t k = 0; k < text.size(); ++k) {
    const wchar_t c = text[k];
    if (c == L'\\') {
      ++run;
      cost += 1;
    } else if (c == L'"') {
      cost += run + 2;
      run = 0;
    } else {
      cost += 1;
      run = 0;
    }
    if (2 + cost + run <= budget && !IsHighSurrogate(c)) best = k + 1;
    if (2 + cost > budget) break;  // the cost without the trailing run only grows
  }
  return best;
}

}  // namespace

std::wstring QuoteArgument(std::wstring_view text) {
  std::wstring quoted;
  quoted.reserve(text.size() + 2);
  quoted.push_back(L'"');
  std::size_t run = 0;
  for (const wchar_t c : text) {
    if (c == L'\\') {
      ++run;
      continue;
    }
    // Backslashes before a quote are doubled and the quote escaped; elsewhere they stand for themselves.
    quoted.append(c == L'"' ? 2 * run + 1 : run, L'\\');
    quoted.push_back(c);
    run = 0;
  }
  quoted.append(2 * run, L'\\');
  quoted.push_back(L'"');
  return quoted;
}

std::wstring BuildLaunchCommandLine(std::wstring_view applicationPath, std::wstring_view parameters) {
  std::wstring line;
  line.reserve(applicationPath.size() + parameters.size() + 3);
  line.push_back(L'"');
  line.append(applicationPath);
  line.append(L"\" ");
  line.append(parameters);
  if (line.size() > kMaxCommandLine) line.resize(kMaxCommandLine);
  return line;
}

std::optional<std::wstring> BuildMessageBoxParameters(std::wstring_view programPath,
                                                      std::wstring_view text1,
                                                      std::wstring_view text2,
                                                      std::uint32_t numberA,
                                                      std::uint32_t numberB) {
  const std::wstring numbers = L" " + std::to_wstring(numberA) + L" " + std::to_wstring(numberB);
  // What the launch line holds besides the two quoted texts: the quoted program, a blank, the blank between the
  // texts and the numbers.
  const std::size_t fixed = programPath.size() + 3 + 1 + numbers.size();
  if (fixed + 4 > kMaxCommandLine) return std::nullopt;
  const std::size_t budget = kMaxCommandLine - fixed;

  std::wstring quoted1 = QuoteArgument(text1);
  std::wstring quoted2 = QuoteArgument(text2);
  if (quoted1.size() + quoted2.size() > budget) {
    // The longer text gives way first; whatever the shorter one leaves unused goes to the longer one.
    const bool firstIsLonger = quoted1.size() >= quoted2.size();
    std::wstring_view longer = firstIsLonger ? text1 : text2;
    std::wstring_view shorter = firstIsLonger ? text2 : text1;
    const std::size_t half = budget / 2;
    const std::wstring keptShorter = QuoteArgument(shorter.substr(0, LongestQuotedPrefix(shorter, half)));
    const std::size_t rest = budget - keptShorter.size();
    const std::wstring keptLonger = QuoteArgument(longer.substr(0, LongestQuotedPrefix(longer, rest)));
    quoted1 = firstIsLonger ? keptLonger : keptShorter;
    quoted2 = firstIsLonger ? keptShorter : keptLonger;
  }
  return quoted1 + L" " + quoted2 + numbers;
}

std::wstring FolderOfPath(std::wstring_view fullPath) {
  const std::size_t last = fullPath.find_last_of(L"\\/");
  return last == std::wstring_view::npos ? std::wstring() : std::wstring(fullPath.substr(0, last + 1));
}

}  // namespace vyx::spoolkit
