// printf-style formatting of texts that come from the language resources, safe whatever the text holds.
#pragma once

#include <initializer_list>
#include <string>
#include <utility>

namespace vyx {

// One argument: a number or a text.
class CTextArg {
 public:
  CTextArg(long long number) : m_isNumber(true), m_number(number) {}
  CTextArg(int number) : CTextArg(static_cast<long long>(number)) {}
  CTextArg(unsigned number) : CTextArg(static_cast<long long>(number)) {}
  CTextArg(std::wstring text) : m_isNumber(false), m_text(std::move(text)) {}
  CTextArg(const wchar_t* text) : CTextArg(std::wstring(text != nullptr ? text : L"")) {}

  std::wstring AsText() const { return m_isNumber ? std::to_wstring(m_number) : m_text; }

 private:
  bool m_isNumber;
  long long m_number = 0;
  std::wstring m_text;
};

// Replaces each %d, %i, %u, %s, %ls or %S of `format` by the next argument as text, and "%%" by "%". A translated
// text cannot be trusted to match the arguments the program passes, so a conversion that finds no argument left, and
// every other '%' sequence, stays as written; nothing is ever read beyond the arguments given.
std::wstring FormatText(const std::wstring& format, std::initializer_list<CTextArg> args);

}  // namespace vyx
