// The consent rule and the stop-wait-start sequence of a spooler restart.
#include "setup/spooler_restart.h"

#include "common/failure_message.h"
#include "common/string_ids.h"

namespace vyx {

int RestartSpoolerWithConsent(const CRestartContext& context, CSpoolerService& service) {
  CWizardState& state = context.state;
  if (state.restart_consent == kConsentNotAsked) {
    const int answer = context.messages.Show(state.language.GetString(kStrRestartSpooler),
                                             state.language.GetString(kStrSetupCaption), kMbOkCancel);
    state.restart_consent = answer == kIdOk ? kConsentAgreed : kConsentRefused;
  } else if (state.restart_consent == kConsentRefused) {
    context.debug.Print(L"WrapRestartSpooler: prevented asking user more than once");
  }
  if (state.restart_consent == kConsentRefused) return -1;

  unsigned long error = service.Stop();
  // A spooler that is not running needs no stop; starting it is what the caller is after.
  if (error == kErrorServiceNotActive) error = 0;
  if (error != 0) {
    ShowFailureMessage(context.messages, error, L"WrapRestartSpooler: StopSpooler", context.system_text);
    return static_cast<int>(error);
  }
  service.Wait(kSpoolerStopWaitMs);
  error = service.Start();
  if (error != 0) {
    ShowFailureMessage(context.messages, error, L"WrapRestartSpooler: StartSpooler", context.system_text);
    return static_cast<int>(error);
  }
  service.Wait(kSpoolerStartWaitMs);
  service.Wait(kSpoolerSettleWaitMs);
  return 0;
}

}  // namespace vyx
