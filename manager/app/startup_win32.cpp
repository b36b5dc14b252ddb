// The manager's start-up: command line, job location, wait for the job data, read with progress, page steps,
// and every message of its failure paths. It runs on the main thread without a message loop of its own.
#include "manager/app/startup_win32.h"

#include <commctrl.h>
#include <shellapi.h>
#include <winsock2.h>
#include <winspool.h>

#include <vector>

#include "common/seams/debug_output_win32.h"
#include "common/seams/message_sink_win32.h"
#include "common/settings_win32.h"
#include "common/string_ids.h"
#include "common/text_format.h"
#include "manager/app/catalogue_win32.h"
#include "manager/app/job_wait_win32.h"
#include "manager/app/main_window_win32.h"
#include "manager/app/resource.h"
#include "manager/app/silent_print_win32.h"
#include "manager/model/job_progress.h"
#include "manager/model/job_reader_win32.h"
#include "manager/output/silent_print.h"

namespace vyx {

namespace {

constexpr int kProgressUnit = 400000;
constexpr int kProgressUnits = 32;

std::wstring LoadOwnString(HINSTANCE instance, UINT id) {
  wchar_t text[256] = {};
  LoadStringW(instance, id, text, 256);
  return text;
}

}  // namespace

bool CVyxQ5ManagerApp::ReadCmdLineArgs() {
  const wchar_t* commandLine = GetCommandLineW();
  int count = 0;
  wchar_t** argv = CommandLineToArgvW(commandLine, &count);
  std::vector<std::wstring> args;
  for (int i = 0; argv && i < count; ++i) args.emplace_back(argv[i] ? argv[i] : L"");
  if (argv) LocalFree(argv);
  CWin32DebugOutput debug;
  return vyx::ReadCmdLineArgs(args, commandLine, m_args, ProgramMessageSink(), debug);
}

int CVyxQ5ManagerApp::InitInstance() {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);

  WSADATA wsa{};
  if (WSAStartup(MAKEWORD(2, 2), &wsa) != 0) {
    ProgramMessageSink().Show(LoadOwnString(m_instance, IDS_SOCKETS_FAILED), L"", kMbOk);
    return 0;
  }

  m_languageLoaded = m_language.Initialise();

  m_progress.Create(m_instance, m_languageLoaded ? &m_language : nullptr);
  m_progress.SetPos(0);
  m_progress.SetRange(0, kProgressUnit * kProgressUnits);

  ReadCmdLineArgs();
  m_location = AnalyseJobLocation(m_args.jobLocation);

  PRINTER_DEFAULTSW defaults{nullptr, nullptr, READ_CONTROL | PRINTER_ACCESS_USE};
  HANDLE printer = nullptr;
  if (!OpenPrinterW(const_cast<wchar_t*>(m_args.printerName.c_str()), &printer, &defaults)) printer = nullptr;

  CWin32JobWaitCalls calls(printer);
  CJobWaitTexts texts;
  if (m_languageLoaded) {
    const std::wstring text = m_language.GetString(kStrJobDataMissing);
    const std::wstring caption = m_language.GetString(kStrManagerCaption);
    if (!text.empty() && !caption.empty()) {
      texts.notFoundText = text;
      texts.notFoundCaption = caption;
    }
    texts.logonFailure = [this](const std::wstring& machine) -> std::optional<std::wstring> {
      const std::wstring format = m_language.GetString(kStrLogonFailed);
      if (format.empty()) return std::nullopt;
      return FormatText(format, {machine});
    };
  }
  const CJobWaitResult wait =
      WaitForJobData(calls, ProgramMessageSink(), texts, m_location.location, m_location.machineName, m_location.jobId);
  if (printer) ClosePrinter(printer);

  if (wait.outcome == EJobWait::kCancelled) {
    CancelSpoolerJob(m_args.printerName, m_location.jobId);
    m_progress.Destroy();
    m_language.Free();
    return 0;
  }

  bool ready = false;
  if (wait.outcome == EJobWait::kConnected) ready = ReadAndPrepare(calls.JobData());
  m_job.FreePerPageCopies();
  m_progress.Destroy();

  bool printFailed = false;
  if (!ready) {
    ShowNotConnected(wait.jobDeleted);
  } else if (!m_args.options.show_main_window) {
    // A silent print that wrote nothing ends the process with a failure status, never as a success.
    printFailed = !PrintSilentlyToPrinter(m_job, m_catalogue, m_args.options, m_args.printerName, m_location.jobTag,
                                          m_languageLoaded ? m_language.Text() : CLanguageText());
  } else if (m_languageLoaded) {
    RunMainWindowForJob();
  }
  m_language.Free();
  WSACleanup();
  return printFailed ? 1 : 0;
}

bool CVyxQ5ManagerApp::ReadAndPrepare(HANDLE jobData) {
  m_job.progress.sink = &m_progress;
  const std::int64_t read = ReadJobStream(m_job, jobData);
  if (read < 1) {
    ProgramMessageSink().Show(L"file load failed !", L"InitInstance 1.18.6.1", kMbOk);
    return false;
  }
  m_job.progress.Advance(kProgressRead);
  ReadCatalogueFromDriverFolder(m_catalogue, m_args.options.black_punches != 0,
                                m_languageLoaded ? m_language.Text() : CLanguageText());
  ReadPerPageCopies(m_job, m_location.jobId);
  // The tag decides whether BarTender shapes are recognised while the pages are parsed.
  m_job.jobTag.assign(m_location.jobTag.begin(), m_location.jobTag.end());
  m_job.ParseJob();
  m_job.progress.Advance(kProgressParsed);
  // Consolidation, knock-out, merging and copies expansion, each moving the bar over its own span.
  PrepareParsedJob(m_job, m_catalogue, m_args.options);
  return true;
}

void CVyxQ5ManagerApp::RunMainWindowForJob() {
  CManagerDlgContext context;
  context.job = &m_job;
  context.catalogue = &m_catalogue;
  context.language = m_language.Text();
  context.options = m_args.options;
  context.unit = ReadUnitCodeWithDefault();
  context.printerName = m_args.printerName;
  context.jobTag = m_location.jobTag;
  context.jobId = m_location.jobId;
  const std::wstring catalogue = CataloguePath();
  context.iconFolder = catalogue.substr(0, catalogue.find_last_of(L'\\'));
  RunMainWindow(m_instance, context);
}

void CVyxQ5ManagerApp::ShowNotConnected(bool jobDeleted) {
  if (jobDeleted) return;
  std::wstring caption = m_languageLoaded ? m_language.GetString(kStrConnectionFailed) : std::wstring();
  if (caption.empty()) caption = L"pipe connection failure or timeout !";
  ProgramMessageSink().Show(m_location.location, caption, kMbOk);
}

}  // namespace vyx
