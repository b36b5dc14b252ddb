// Stopping and starting the "Spooler" service through the service control manager.
#include "setup/spooler_restart_win32.h"

#include "common/failure_message_win32.h"
#include "common/seams/debug_output_win32.h"
#include "common/seams/message_sink_win32.h"

namespace vyx {
namespace {

const CServiceCalls kRealCalls = {&OpenSCManagerW, &OpenServiceW,       &ControlService,
                                  &StartServiceW,  &CloseServiceHandle, &Sleep};
CServiceCalls g_calls = kRealCalls;

// Opens the service and runs `request` on it; 0 or the error of the first call that failed.
template <class Request>
unsigned long OnSpoolerService(Request request) {
  const SC_HANDLE manager =
      g_calls.open_manager(nullptr, SERVICES_ACTIVE_DATABASEW,
                           SC_MANAGER_CONNECT | SC_MANAGER_ENUMERATE_SERVICE | SC_MANAGER_QUERY_LOCK_STATUS);
  if (manager == nullptr) return GetLastError();
  unsigned long error = 0;
  const SC_HANDLE service =
      g_calls.open_service(manager, L"Spooler", SERVICE_STOP | SERVICE_START | SERVICE_PAUSE_CONTINUE);
  if (service == nullptr) {
    error = GetLastError();
  } else {
    if (!request(service)) error = GetLastError();
    g_calls.close(service);
  }
  g_calls.close(manager);
  return error;
}

}  // namespace

CServiceCalls& ServiceCalls() {
  return g_calls;
}

const CServiceCalls& RealServiceCalls() {
  return kRealCalls;
}

unsigned long CWin32SpoolerService::Stop() {
  return OnSpoolerService([](SC_HANDLE service) {
    SERVICE_STATUS status{};
    return g_calls.control(service, SERVICE_CONTROL_STOP, &status);
  });
}

unsigned long CWin32SpoolerService::Start() {
  return OnSpoolerService([](SC_HANDLE service) { return g_calls.start(service, 0, nullptr); });
}

void CWin32SpoolerService::Wait(unsigned milliseconds) {
  g_calls.sleep(milliseconds);
}

int WrapRestartSpooler(CWizardState& state) {
  CWin32SpoolerService service;
  CWin32DebugOutput debug;
  return RestartSpoolerWithConsent({state, ProgramMessageSink(), debug, &GetSystemMessageText}, service);
}

}  // namespace vyx
