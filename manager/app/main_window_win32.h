// CVyxQ5ManagerDlg: the manager's main window (resource dialog 102). It binds the controls to CMainWindowModel,
// forwards every event to it and renders its view; it owns the list's image lists, the tool tip, the copies
// picture, the status poll and the worker that writes a print.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "common/language.h"
#include "common/seams/debug_output_win32.h"
#include "manager/app/busy_work_win32.h"
#include "manager/app/dialog_binding_win32.h"
#include "manager/app/job_list_view_win32.h"
#include "manager/app/main_window_layout.h"
#include "manager/app/main_window_model.h"
#include "manager/app/preview_pane_win32.h"
#include "manager/app/status_poll_win32.h"
#include "manager/model/catalogue.h"
#include "manager/model/job.h"
#include "manager/model/options.h"
#include "manager/output/channel.h"
#include "manager/output/spooler_calls_win32.h"

namespace vyx {

// Everything the window works on; the job and the catalogue stay the application's.
struct CManagerDlgContext {
  CQzplJobData* job = nullptr;
  CCatalogue* catalogue = nullptr;
  CLanguageText language;
  COptions options;
  int unit = 0;  // the stored unit setting
  std::wstring printerName;
  std::wstring jobTag;
  std::int32_t jobId = 0;
  std::wstring iconFolder;                    // where the catalogue's relative icon paths are found
  const CStatusCalls* statusCalls = nullptr;  // the printer calls of the status poll; null: the real ones
};

class CVyxQ5ManagerDlg {
 public:
  static constexpr UINT_PTR kPreviewTimer = 234;
  static constexpr UINT_PTR kStatusTimer = 235;
  static constexpr UINT kFirstStatusMs = 1000;
  static constexpr UINT kStatusIntervalMs = 5000;

  // `resources` holds dialog 102, the icons and the copies picture.
  CVyxQ5ManagerDlg(HINSTANCE resources, const CManagerDlgContext& context);
  ~CVyxQ5ManagerDlg();
  CVyxQ5ManagerDlg(const CVyxQ5ManagerDlg&) = delete;
  CVyxQ5ManagerDlg& operator=(const CVyxQ5ManagerDlg&) = delete;

  // Runs the window modally; IDOK after Done, IDCANCEL otherwise, -1 when it cannot be shown.
  INT_PTR DoModal(HWND owner = nullptr);

 private:
  friend INT_PTR CALLBACK vyx::BoundDialogProc<CVyxQ5ManagerDlg>(HWND, UINT, WPARAM, LPARAM);
  void Attach(HWND window) { m_window = window; }
  static LRESULT CALLBACK
  CopiesEditProc(HWND edit, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR id, DWORD_PTR self);
  INT_PTR Handle(UINT message, WPARAM wparam, LPARAM lparam);

  void OnInitDialog();
  void OnCommand(int id, int code, HWND control);
  bool OnNotify(NMHDR* header, LRESULT* result);
  void OnListClick(const NMITEMACTIVATE* click);
  void OnTimer(UINT_PTR id);
  void OnStatusReply(const std::string& reply);
  void OnDone();
  void OnPrint();
  void OnAdvanced();
  void OnDestroy();

  // Renders the model's view and restarts the preview timer when the model asks for a repaint.
  void AfterModelChange();
  void Render();
  void SetControlText(HWND control, const std::wstring& text);
  void StartPreviewPainting();
  // The preview frame, its bars and the upper controls placed for the client size.
  void TakeTemplateLayout();
  void LayOutControls();
  // A click on the preview picks the job list row printed in the colour under it.
  void OnPreviewClicked();

  // Work that must not hold up this thread: the window takes no input until `done` has run.
  void RunBusy(std::function<void()> work, std::function<void()> done);
  void OnBusyDone();

  void SetUpControls();
  void FitOutlineCheckBox();

  HINSTANCE m_resources;
  CManagerDlgContext m_context;
  CMainWindowModel m_model;
  HWND m_window = nullptr;
  CJobListView m_list;
  CStatusPoll m_status;
  bool m_statusIntervalSet = false;
  CBusyWork m_busy;
  std::function<void()> m_busyDone;
  HWND m_focusBeforeBusy = nullptr;
  std::optional<std::string> m_replyWhileBusy;
  bool m_repaintWhileBusy = false;
  CWin32SpoolerCalls m_spooler;
  std::unique_ptr<CPrintChannel> m_channel;
  bool m_written = false;

  std::map<int, CControlView> m_shown;
  bool m_rendering = false;
  bool m_tapeShortShown = false;
  bool m_minimized = false;
  CWin32DebugOutput m_debug;
  CPreviewPane m_preview{m_debug};
  std::unique_ptr<CMainWindowLayout> m_layout;
  HWND m_toolTip = nullptr;
  std::wstring m_toolTipText;
  HENHMETAFILE m_metafile = nullptr;
  HICON m_bigIcon = nullptr;
  HICON m_smallIcon = nullptr;
};

// Runs the main window for a prepared job; the folder of the catalogue file holds the ribbon icons.
INT_PTR RunMainWindow(HINSTANCE resources, const CManagerDlgContext& context);

}  // namespace vyx
