// Restarting the print spooler service with the user's consent, asked at most once per run; the service control
// itself is behind CSpoolerService.
#pragma once

#include <string>

#include "common/seams/debug_output.h"
#include "common/seams/message_sink.h"
#include "setup/wizard_state.h"

namespace vyx {

inline constexpr unsigned long kErrorServiceNotActive = 1062;
inline constexpr unsigned kSpoolerStopWaitMs = 3000;
inline constexpr unsigned kSpoolerStartWaitMs = 3000;
inline constexpr unsigned kSpoolerSettleWaitMs = 1500;

// The "Spooler" service of the local machine.
class CSpoolerService {
 public:
  virtual ~CSpoolerService() = default;
  // Sends the stop control; 0 or the platform's error code.
  virtual unsigned long Stop() = 0;
  // Starts the service without arguments; 0 or the platform's error code.
  virtual unsigned long Start() = 0;
  virtual void Wait(unsigned milliseconds) = 0;
};

// What restarting needs besides the service: where messages and notes go and the system's error texts.
struct CRestartContext {
  CWizardState& state;
  CMessageSink& messages;
  CDebugOutput& debug;
  std::wstring (*system_text)(unsigned long error);
};

// Asks once (text +1169, caption +1250, OK and Cancel), then stops the service, waits, starts it and waits.
// 0 when the spooler was restarted; -1 when the user refused, now or earlier; otherwise the error of the step that
// failed, shown with the caption "WrapRestartSpooler: StopSpooler" or "WrapRestartSpooler: StartSpooler". A
// spooler that is not running counts as stopped.
int RestartSpoolerWithConsent(const CRestartContext& context, CSpoolerService& service);

}  // namespace vyx
