// Command lines of the programs the session helper starts: argument quoting, the launch line and its cut, the
// message-box program's parameters, and the folder a program runs in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vyx::spoolkit {

// Longest command line a started program receives, in characters.
constexpr std::size_t kMaxCommandLine = 259;

// `text` as one argument by the rules programs use to split their command line: always in quotes, a quote
// escaped by a backslash, backslashes doubled where they precede a quote or the closing quote.
std::wstring QuoteArgument(std::wstring_view text);

// The launch line `"<application>" <parameters>`, cut to kMaxCommandLine characters.
std::wstring BuildLaunchCommandLine(std::wstring_view applicationPath, std::wstring_view parameters);

// Parameters for the message-box program: text 1 and text 2 quoted, then numbers A and B. When the launch line
// of `programPath` with them would be longer than kMaxCommandLine, the texts are shortened (the longer one first,
// never inside a quote escape or a surrogate pair) so the program still receives exactly four arguments. None
// when even two empty texts do not fit.
std::optional<std::wstring> BuildMessageBoxParameters(std::wstring_view programPath,
                                                      std::wstring_view text1,
                                                      std::wstring_view text2,
                                                      std::uint32_t numberA,
                                                      std::uint32_t numberB);

// The folder of a full path: everything up to and including its last separator; empty when there is none.
std::wstring FolderOfPath(std::wstring_view fullPath);

}  // namespace vyx::spoolkit
