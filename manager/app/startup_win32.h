// CVyxQ5ManagerApp: the manager's start-up, from the command line to the prepared job model.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "common/language_win32.h"
#include "manager/app/command_line.h"
#include "manager/app/job_location.h"
#include "manager/app/progress_dlg_win32.h"
#include "manager/model/catalogue.h"
#include "manager/model/job.h"

namespace vyx {

class CVyxQ5ManagerApp {
 public:
  explicit CVyxQ5ManagerApp(HINSTANCE instance) : m_instance(instance) {}

  // Handles one job from the command line to its end; the process ends afterwards with exit code 0.
  int InitInstance();

  // Splits the process command line and reads the three arguments into the application's fields.
  bool ReadCmdLineArgs();

 private:
  // Reads the stream and runs the preparation steps; false when nothing could be read.
  bool ReadAndPrepare(HANDLE jobData);
  void ShowNotConnected(bool jobDeleted);
  // The main window for a job whose options say "Mg"; modal until the user closes it.
  void RunMainWindowForJob();

  HINSTANCE m_instance;
  CCommandLineArgs m_args;
  CJobLocation m_location;
  CLanguageHolder m_language;
  bool m_languageLoaded = false;
  CProgressDlg m_progress;
  CQzplJobData m_job;
  CCatalogue m_catalogue;
};

}  // namespace vyx
