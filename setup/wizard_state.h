// The setup wizard's state that every page reads: language, the user's choices so far and the spooler restart
// consent.
#pragma once

#include <string>

#include "common/language.h"

namespace vyx {

inline constexpr const wchar_t* kDriverName = L"VYX - Q5";
inline constexpr const wchar_t* kOlderDriverName = L"VYX-Q five";

// The user's answer to restarting the print spooler; asked at most once per run.
enum ERestartConsent : int { kConsentNotAsked = 0, kConsentAgreed = 1, kConsentRefused = -1 };

struct CWizardState {
  CLanguageText language;  // the resource library and the base every page text is fetched with
  bool install = true;
  bool driver_only = false;
  std::wstring printer_name;
  std::wstring port_name;
  bool make_default = false;
  bool share = false;
  int restart_consent = kConsentNotAsked;
};

}  // namespace vyx
