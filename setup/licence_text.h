// The licence agreement the wizard shows before installing; it lives in the program, in the language it was
// written in, not in the language resources.
#pragma once

namespace vyx {

// Paragraphs separated by blank lines ("\r\n"), for a multi-line box that wraps at its own width.
const wchar_t* LicenceText();

}  // namespace vyx
