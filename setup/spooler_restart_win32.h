// The spooler restart on Windows: the service control manager's calls behind a table, so that tests can answer
// for the platform.
#pragma once

#include <windows.h>

#include "setup/spooler_restart.h"

namespace vyx {

struct CServiceCalls {
  decltype(&OpenSCManagerW) open_manager;
  decltype(&OpenServiceW) open_service;
  decltype(&ControlService) control;
  decltype(&StartServiceW) start;
  decltype(&CloseServiceHandle) close;
  decltype(&Sleep) sleep;
};

// The calls the restart makes; the real API unless a test replaced members (restore them after).
CServiceCalls& ServiceCalls();
const CServiceCalls& RealServiceCalls();

// The "Spooler" service of the local machine, opened for each request with the access it needs.
class CWin32SpoolerService : public CSpoolerService {
 public:
  unsigned long Stop() override;
  unsigned long Start() override;
  void Wait(unsigned milliseconds) override;
};

// Restarts the print spooler with the consent kept in the wizard state: 0 when restarted, -1 when the user
// refused (now or earlier), else the error of the step that failed (shown).
int WrapRestartSpooler(CWizardState& state);

}  // namespace vyx
