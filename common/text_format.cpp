// Formatting of resource texts with a fixed argument list: no conversion can read what was not passed.
#include "common/text_format.h"

#include <vector>

namespace vyx {

std::wstring FormatText(const std::wstring& format, std::initializer_list<CTextArg> args) {
  const std::vector<CTextArg> list(args);
  std::size_t next = 0;
  std::wstring out;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] != L'%' || i + 1 >= format.size()) {
      out += format[i];
      continue;
    }
    if (format[i + 1] == L'%') {
      out += L'%';
      ++i;
      continue;
    }
    // %d %i %u %s %S and the wide-string spelling %ls.
    std::size_t end = i + 1;
    if (format[end] == L'l' && end + 1 < format.size() && format[end + 1] == L's') ++end;
    const wchar_t kind = format[end];
    const bool known = kind == L'd' || kind == L'i' || kind == L'u' || kind == L's' || kind == L'S';
    if (!known || next >= list.size()) {
      out += format[i];
      continue;
    }
    out += list[next++].AsText();
    i = end;
  }
  return out;
}

}  // namespace vyx
