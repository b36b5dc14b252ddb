// The licence agreement of the VYX-Q5 host software.
#include "setup/licence_text.h"

namespace vyx {

const wchar_t* LicenceText() {
  return L"VYX-Q5 SOFTWARE LICENCE AGREEMENT\r\n"
         L"\r\n"
         L"Please read this agreement before you install the VYX-Q5 printer driver, the VYX-Q5 print manager and "
         L"the tools that come with them (the \"software\"). By choosing \"I accept\" and installing the software "
         L"you agree to these terms. If you do not agree, choose \"I do not accept\" and cancel the installation.\r\n"
         L"\r\n"
         L"1. Licence. You may install and use the software on any number of computers, for printing on VYX-Q5 "
         L"label printers that you own or operate.\r\n"
         L"\r\n"
         L"2. Restrictions. You may not sell, rent or lend the software, nor change, decompile or disassemble it, "
         L"except where the law allows it in spite of this restriction.\r\n"
         L"\r\n"
         L"3. Ownership. The software is licensed, not sold. Zavo B.V. and its suppliers keep all rights in it that "
         L"this agreement does not grant to you.\r\n"
         L"\r\n"
         L"4. No warranty. The software is provided \"as is\". As far as the law allows, Zavo B.V. gives no "
         L"warranty of any kind, express or implied, including fitness for a particular purpose.\r\n"
         L"\r\n"
         L"5. Limitation of liability. As far as the law allows, Zavo B.V. is not liable for lost profits, lost "
         L"data or any indirect or consequential damage arising from the use of the software, nor for more than "
         L"the price paid for the printer.\r\n"
         L"\r\n"
         L"6. Termination. This licence ends when you break its terms; you must then remove the software.\r\n"
         L"\r\n"
         L"7. Law. This agreement is governed by the law of the Netherlands.\r\n";
}

}  // namespace vyx
