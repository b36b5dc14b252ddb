// The main window's Win32 shell: controls bound by id, events forwarded to the model, its view rendered.
#include "manager/app/main_window_win32.h"

#include <commdlg.h>
#include <windowsx.h>

#include <algorithm>

#include "common/language_win32.h"
#include "common/seams/message_sink_win32.h"
#include "common/settings.h"
#include "manager/app/advanced_settings_win32.h"
#include "manager/app/dialog_binding_win32.h"
#include "manager/app/preview_pick.h"
#include "manager/app/resource.h"

namespace vyx {

namespace {

constexpr int kCheckableIds[] = {IDC_FORM_SIZE,      IDC_OPTIMISED,     IDC_ADJUST_INDIVIDUALLY,
                                 IDC_ADJUST_LARGEST, IDC_OUTLINE,       IDC_LAMINATE,
                                 IDC_TAPE_CUT_SETS,  IDC_LEFT_TO_RIGHT, IDC_RIGHT_TO_LEFT};
constexpr int kEditIds[] = {IDC_MARGIN_X, IDC_MARGIN_Y, IDC_RADIUS, IDC_COPIES, IDC_OFFSET, IDC_LABELS_PER_SET};
constexpr int kSpinIds[] = {IDC_MARGIN_X_SPIN, IDC_MARGIN_Y_SPIN,       IDC_RADIUS_SPIN,
                            IDC_COPIES_SPIN,   IDC_LABELS_PER_SET_SPIN, IDC_OFFSET_SPIN};
constexpr UINT_PTR kCopiesEditSubclass = 1;
constexpr COLORREF kTapeShortColour = RGB(255, 0, 0);

bool IsCheckable(int id) {
  return std::find(std::begin(kCheckableIds), std::end(kCheckableIds), id) != std::end(kCheckableIds);
}

bool IsEdit(int id) {
  return std::find(std::begin(kEditIds), std::end(kEditIds), id) != std::end(kEditIds);
}

// The save dialog of a print to a file; none when the user cancels.
std::optional<std::wstring> ChoosePrintFile(HWND owner, const std::wstring& offered) {
  wchar_t path[MAX_PATH] = {};
  offered.copy(path, MAX_PATH - 1);
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = L"Zebra Programming Language (*.zpl)\0*.zpl\0";
  dialog.lpstrFile = path;
  dialog.nMaxFile = MAX_PATH;
  dialog.lpstrInitialDir = kPrintFileFolder;
  dialog.lpstrDefExt = L"zpl";
  dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
  if (!GetSaveFileNameW(&dialog)) return std::nullopt;
  return std::wstring(path);
}

HENHMETAFILE LoadCopiesPicture(HINSTANCE resources) {
  HRSRC found = FindResourceW(resources, MAKEINTRESOURCEW(IDR_COPIES_METAFILE), L"Metafile");
  if (!found) return nullptr;
  HGLOBAL loaded = LoadResource(resources, found);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes) return nullptr;
  return SetEnhMetaFileBits(SizeofResource(resources, found), static_cast<const BYTE*>(bytes));
}

}  // namespace

CVyxQ5ManagerDlg::CVyxQ5ManagerDlg(HINSTANCE resources, const CManagerDlgContext& context)
    : m_resources(resources),
      m_context(context),
      m_model(*context.job, *context.catalogue, context.language, context.options, context.unit),
      m_status(context.statusCalls ? *context.statusCalls : RealStatusCalls()) {}

CVyxQ5ManagerDlg::~CVyxQ5ManagerDlg() {
  m_busy.Finish();
  m_status.Stop();
  m_list.Destroy();
  if (m_metafile) DeleteEnhMetaFile(m_metafile);
  if (m_bigIcon) DestroyIcon(m_bigIcon);
  if (m_smallIcon) DestroyIcon(m_smallIcon);
}

INT_PTR CVyxQ5ManagerDlg::DoModal(HWND owner) {
  return DialogBoxParamW(m_resources, MAKEINTRESOURCEW(IDD_VYXQ5MANAGER_DIALOG), owner,
                         BoundDialogProc<CVyxQ5ManagerDlg>, reinterpret_cast<LPARAM>(this));
}

INT_PTR CVyxQ5ManagerDlg::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG:
      OnInitDialog();
      return TRUE;
    case WM_COMMAND:
      OnCommand(LOWORD(wparam), HIWORD(wparam), reinterpret_cast<HWND>(lparam));
      return TRUE;
    case WM_NOTIFY: {
      LRESULT result = 0;
      if (!OnNotify(reinterpret_cast<NMHDR*>(lparam), &result)) return FALSE;
      SetWindowLongPtrW(m_window, DWLP_MSGRESULT, result);
      return TRUE;
    }
    case WM_TIMER:
      OnTimer(wparam);
      return TRUE;
    case WM_CTLCOLORSTATIC:
      if (reinterpret_cast<HWND>(lparam) == GetDlgItem(m_window, IDC_TAPE_LINE)) {
        HDC dc = reinterpret_cast<HDC>(wparam);
        SetTextColor(dc, m_model.TapeShort() ? kTapeShortColour : GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
      }
      return FALSE;
    case WM_MEASUREITEM:
      return m_list.MeasureMenuItem(reinterpret_cast<MEASUREITEMSTRUCT*>(lparam));
    case WM_DRAWITEM:
      return m_list.DrawMenuItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lparam));
    case WM_SIZE:
      if (wparam == SIZE_MINIMIZED) {
        m_minimized = true;
        return FALSE;
      }
      LayOutControls();
      // Restoring from minimised and maximising paint at once, other size changes after a moment.
      m_preview.Schedule(m_minimized || wparam == SIZE_MAXIMIZED ? kRepaintNow : kRepaintResize);
      m_minimized = false;
      return FALSE;
    case WM_GETMINMAXINFO:
      reinterpret_cast<MINMAXINFO*>(lparam)->ptMinTrackSize.y = kMinWindowHeight;
      return TRUE;
    case WM_VSCROLL:
    case WM_HSCROLL:
      return m_preview.OnScroll(reinterpret_cast<HWND>(lparam), LOWORD(wparam)) ? TRUE : FALSE;
    case WM_MOUSEWHEEL: {
      const POINT at{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
      RECT frame{};
      if (!m_preview.Frame() || !GetWindowRect(m_preview.Frame(), &frame) || !PtInRect(&frame, at)) return FALSE;
      m_preview.OnWheel(GET_WHEEL_DELTA_WPARAM(wparam));
      return TRUE;
    }
    case CStatusPoll::kReplyMessage:
      if (std::optional<std::string> reply = m_status.TakeReply()) {
        if (m_busy.Busy())
          m_replyWhileBusy = std::move(reply);
        else
          OnStatusReply(*reply);
      }
      return TRUE;
    case CBusyWork::kDoneMessage:
      OnBusyDone();
      return TRUE;
    case WM_DESTROY:
      OnDestroy();
      return FALSE;
    default:
      return FALSE;
  }
}

// --- opening -------------------------------------------------------------------------------------------------

void CVyxQ5ManagerDlg::OnInitDialog() {
  m_bigIcon = static_cast<HICON>(LoadImageW(m_resources, MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON,
                                            GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
  m_smallIcon = static_cast<HICON>(LoadImageW(m_resources, MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON,
                                              GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
  SendMessageW(m_window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_bigIcon));
  SendMessageW(m_window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_smallIcon));
  SetUpControls();
  TakeTemplateLayout();
  m_preview.Attach(m_window);
  // The first size, reduced to the work area when it does not fit; the controls follow in WM_SIZE.
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const CFirstSize size = FitFirstSize(work.right - work.left, work.bottom - work.top);
  SetWindowPos(m_window, nullptr, work.left + (work.right - work.left - size.width) / 2,
               work.top + (work.bottom - work.top - size.height) / 2, size.width, size.height,
               SWP_NOZORDER | SWP_NOACTIVATE);

  m_model.Open();
  if (m_model.WantsForeground()) SetForegroundWindow(m_window);
  Render();
  FitOutlineCheckBox();
  m_model.TakeRepaint();
  // The first painting comes with the window, a moment later when the window had to be reduced.
  m_preview.Schedule(size.reduced ? kRepaintFirstReduced : kRepaintNow);

  if (m_status.Open(m_context.printerName)) SetTimer(m_window, kStatusTimer, kFirstStatusMs, nullptr);
}

void CVyxQ5ManagerDlg::SetUpControls() {
  m_list.Attach(GetDlgItem(m_window, IDC_JOB_LIST), m_resources, *m_context.catalogue, m_context.iconFolder,
                m_context.language);
  for (int id : kSpinIds) {
    HWND spin = GetDlgItem(m_window, id);
    // The edits hold decimals and counts beyond 16 bits: the model steps them; the spin only reports the press.
    SendMessageW(spin, UDM_SETRANGE32, 0, 100);
    SendMessageW(spin, UDM_SETPOS32, 0, 50);
  }
  for (int id : kEditIds) SendDlgItemMessageW(m_window, id, EM_SETLIMITTEXT, 64, 0);
  SetWindowSubclass(GetDlgItem(m_window, IDC_COPIES), CopiesEditProc, kCopiesEditSubclass,
                    reinterpret_cast<DWORD_PTR>(this));

  m_metafile = LoadCopiesPicture(m_resources);
  if (m_metafile)
    SendDlgItemMessageW(m_window, IDC_COPIES_INFO_ICON, STM_SETIMAGE, IMAGE_ENHMETAFILE,
                        reinterpret_cast<LPARAM>(m_metafile));

  m_toolTip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_window, nullptr, nullptr, nullptr);
  if (m_toolTip) {
    for (int id : {IDC_COPIES_INFO, IDC_COPIES_INFO_ICON}) {
      TTTOOLINFOW tool{};
      tool.cbSize = sizeof tool;
      tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
      tool.hwnd = m_window;
      tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(m_window, id));
      tool.lpszText = const_cast<wchar_t*>(L"");
      SendMessageW(m_toolTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    SendMessageW(m_toolTip, TTM_SETMAXTIPWIDTH, 0, 400);
  }
}

void CVyxQ5ManagerDlg::FitOutlineCheckBox() {
  HWND check = GetDlgItem(m_window, IDC_OUTLINE);
  const int moved = FitControlToText(check, WindowText(check), m_model.OutlineCheckExtraWidth());
  if (moved == 0) return;
  for (int id : {IDC_RADIUS, IDC_RADIUS_SPIN, IDC_RADIUS_UNIT})
    ShiftChildWindow(m_window, GetDlgItem(m_window, id), moved);
}

// --- events --------------------------------------------------------------------------------------------------

void CVyxQ5ManagerDlg::OnCommand(int id, int code, HWND control) {
  if (m_rendering || m_busy.Busy()) return;
  if (id == IDC_PREVIEW) {
    if (code == STN_CLICKED) OnPreviewClicked();
    return;
  }
  // Whatever follows may change the job: no painter reads it meanwhile.
  m_preview.StopPainters();
  if (IsEdit(id)) {
    if (code != EN_CHANGE) return;
    m_model.OnEditChanged(id, WindowText(control));
    AfterModelChange();
    return;
  }
  if (code != BN_CLICKED) return;
  switch (id) {
    case IDC_DONE:
      OnDone();
      return;
    case IDC_CANCEL:
      EndDialog(m_window, IDCANCEL);
      return;
    case IDC_PRINT:
      OnPrint();
      return;
    case IDC_ADVANCED:
      OnAdvanced();
      return;
    default:
      break;
  }
  m_model.OnClicked(id, IsCheckable(id) && Button_GetCheck(control) == BST_CHECKED);
  AfterModelChange();
}

bool CVyxQ5ManagerDlg::OnNotify(NMHDR* header, LRESULT* result) {
  if (m_busy.Busy()) return false;
  const int id = static_cast<int>(header->idFrom);
  if (header->code == UDN_DELTAPOS) {
    m_preview.StopPainters();
    const auto* spin = reinterpret_cast<const NMUPDOWN*>(header);
    m_model.OnSpin(id, spin->iDelta > 0);
    AfterModelChange();
    *result = TRUE;  // the spin's own position never moves
    return true;
  }
  if (id != IDC_JOB_LIST || m_list.Rendering()) return false;
  if (header->code == NM_CLICK) {
    OnListClick(reinterpret_cast<const NMITEMACTIVATE*>(header));
    return true;
  }
  const auto* change = reinterpret_cast<const NMLISTVIEW*>(header);
  const bool stateImage = (change->uChanged & LVIF_STATE) &&
                          ((change->uNewState ^ change->uOldState) & LVIS_STATEIMAGEMASK) != 0 && change->iItem >= 0;
  if (header->code == LVN_ITEMCHANGING && stateImage) {
    const auto& rows = m_model.View().rows;
    // A row without a check box keeps having none.
    *result = static_cast<std::size_t>(change->iItem) < rows.size() && !rows[change->iItem].hasCheckBox;
    return true;
  }
  if (header->code == LVN_ITEMCHANGED && stateImage) {
    m_preview.StopPainters();
    m_model.OnListChecked(static_cast<std::size_t>(change->iItem),
                          ((change->uNewState & LVIS_STATEIMAGEMASK) >> 12) == 2);
    AfterModelChange();
    return true;
  }
  return false;
}

void CVyxQ5ManagerDlg::OnListClick(const NMITEMACTIVATE* click) {
  const CListHit hit = m_list.HitTest(click->ptAction);
  if (hit.row < 0 || hit.onCheckBox) return;
  const auto row = static_cast<std::size_t>(hit.row);
  // The step column has no width: its state is shown by the status column, whose click toggles it.
  const int column = hit.column == kColumnStatus ? kColumnStep : hit.column;
  m_preview.StopPainters();
  if (column == kColumnRibbonChoice && m_model.OffersRibbonMenu(row)) {
    const std::vector<CRibbonMenuEntry> entries = m_model.RibbonMenu(row);
    POINT at = click->ptAction;
    ClientToScreen(m_list.Window(), &at);
    const int chosen = m_list.ChooseFromMenu(m_window, at, entries);
    if (chosen >= 0 && static_cast<std::size_t>(chosen) < entries.size())
      m_model.OnRibbonChosen(row, entries[static_cast<std::size_t>(chosen)].choice);
  } else {
    m_model.OnListClick(row, column);
  }
  AfterModelChange();
}

LRESULT CALLBACK
CVyxQ5ManagerDlg::CopiesEditProc(HWND edit, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR selfPtr) {
  auto* self = reinterpret_cast<CVyxQ5ManagerDlg*>(selfPtr);
  const bool deletionKey = (message == WM_KEYDOWN && (wparam == VK_BACK || wparam == VK_DELETE)) ||
                           (message == WM_CHAR && wparam == VK_BACK);
  if (deletionKey && CMainWindowModel::DropsDeletionKey(WindowText(edit))) {
    if (message == WM_KEYDOWN) MessageBoxW(self->m_window, kEmptyCopiesMessage, kManagerWindowCaption, MB_OK);
    return 0;
  }
  if (message == WM_NCDESTROY) RemoveWindowSubclass(edit, CopiesEditProc, kCopiesEditSubclass);
  return DefSubclassProc(edit, message, wparam, lparam);
}

void CVyxQ5ManagerDlg::OnDone() {
  HWND focus = GetFocus();
  // Enter on PRINT or Reset all jobs presses that button rather than closing the window.
  if (focus == GetDlgItem(m_window, IDC_PRINT) || focus == GetDlgItem(m_window, IDC_RESET_JOBS)) {
    PostMessageW(focus, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(focus, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    return;
  }
  if (const std::optional<CReadBackFailure> failure = m_model.ReadBack()) {
    ShowReadBackFailure(m_window, failure->control, failure->message, kManagerWindowCaption);
    return;
  }
  EndDialog(m_window, IDOK);
}

void CVyxQ5ManagerDlg::OnPrint() {
  CWindowPrintSeams seams;
  seams.printerName = m_context.printerName;
  seams.jobId = m_context.jobId;
  seams.storedDarkness = ReadDarkness();
  seams.chooseFile = [this](const std::wstring& offered) { return ChoosePrintFile(m_window, offered); };
  m_channel = std::make_unique<CPrintChannel>(m_spooler, ProgramMessageSink(), m_context.jobTag);
  if (!m_model.BeginPrint(*m_channel, seams)) {
    m_channel.reset();
    AfterModelChange();
    return;
  }
  const int darkness = seams.storedDarkness;
  RunBusy([this, darkness] { m_written = m_model.WritePrint(*m_channel, darkness); },
          [this] {
            m_model.EndPrint(*m_channel, m_written);
            m_channel.reset();
          });
}

void CVyxQ5ManagerDlg::OnAdvanced() {
  CAdvancedSettingsContext context;
  context.owner = m_window;
  context.resources = m_resources;
  context.language = m_context.language;
  context.unitCode = m_context.unit;
  context.printerName = m_context.printerName;
  CAdvancedSettingsValues values = m_model.AdvancedValues();
  if (!ShowAdvancedSettings(context, values)) return;
  m_model.ApplyAdvancedValues(values);
  AfterModelChange();
}

void CVyxQ5ManagerDlg::OnTimer(UINT_PTR id) {
  if (id == kPreviewTimer) {
    m_preview.TimerFired();
    if (m_busy.Busy())
      m_repaintWhileBusy = true;
    else
      StartPreviewPainting();
    return;
  }
  if (id != kStatusTimer || m_status.Running()) return;
  if (m_status.Polls() > 0 && !m_statusIntervalSet) {
    SetTimer(m_window, kStatusTimer, kStatusIntervalMs, nullptr);
    m_statusIntervalSet = true;
  }
  m_status.Poll(m_window);
}

void CVyxQ5ManagerDlg::OnStatusReply(const std::string& reply) {
  m_preview.StopPainters();
  const CStatusUpdate update = m_model.OnStatusReply(reply.data(), reply.size());
  AfterModelChange();
  // On a black tape the knock-out of every page may run again: not on this thread.
  if (update.tapeChanged) RunBusy([this] { m_model.RunBlackTapeRule(); }, [] {});
}

void CVyxQ5ManagerDlg::StartPreviewPainting() {
  m_preview.Start(MakePreviewScene(*m_context.job, m_model.Plan(), m_model.JobList(), *m_context.catalogue,
                                   m_model.LoadedTapeId()));
}

void CVyxQ5ManagerDlg::OnPreviewClicked() {
  const DWORD pos = GetMessagePos();
  POINT at{GET_X_LPARAM(pos), GET_Y_LPARAM(pos)};
  ScreenToClient(m_preview.Frame(), &at);
  const std::int64_t colour = m_preview.ColourAt(at);
  if (colour < 0) return;
  const int row = PickRowByColour(m_model.JobList(), *m_context.catalogue, static_cast<ColorRef>(colour));
  if (row < 0) return;
  HWND list = m_list.Window();
  ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_EnsureVisible(list, row, FALSE);
  SetFocus(list);
}

void CVyxQ5ManagerDlg::TakeTemplateLayout() {
  RECT client{};
  GetClientRect(m_window, &client);
  std::vector<CPlacedControl> controls;
  for (HWND child = GetWindow(m_window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, m_window, reinterpret_cast<POINT*>(&r), 2);
    controls.push_back({GetDlgCtrlID(child), {r.left, r.top, r.right, r.bottom}});
  }
  m_layout = std::make_unique<CMainWindowLayout>(client.right, client.bottom, std::move(controls));
}

void CVyxQ5ManagerDlg::LayOutControls() {
  if (!m_layout) return;
  RECT client{};
  GetClientRect(m_window, &client);
  const std::vector<CPlacedControl> placed = m_layout->LayOut(client.right, client.bottom);
  HDWP moves = BeginDeferWindowPos(static_cast<int>(placed.size()));
  for (const CPlacedControl& c : placed) {
    HWND child = GetDlgItem(m_window, c.id);
    if (!child || !moves) continue;
    moves = DeferWindowPos(moves, child, nullptr, c.rect.left, c.rect.top, c.rect.Width(), c.rect.Height(),
                           SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (moves) EndDeferWindowPos(moves);
  for (const CPlacedControl& c : placed)
    if (c.id == IDC_PREVIEW_HSCROLL) ShowWindow(GetDlgItem(m_window, c.id), c.visible ? SW_SHOWNA : SW_HIDE);
  InvalidateRect(m_window, nullptr, TRUE);
}

void CVyxQ5ManagerDlg::OnDestroy() {
  KillTimer(m_window, kStatusTimer);
  // The painters end before the window and its frame go.
  m_preview.Close();
  m_status.Stop();
}

// --- rendering and busy work ---------------------------------------------------------------------------------

void CVyxQ5ManagerDlg::AfterModelChange() {
  Render();
  const int repaint = m_model.TakeRepaint();
  if (repaint != kNoRepaint) m_preview.Schedule(repaint);
}

void CVyxQ5ManagerDlg::SetControlText(HWND control, const std::wstring& text) {
  if (WindowText(control) == text) return;
  const bool focused = GetFocus() == control;
  DWORD start = 0, end = 0;
  if (focused) SendMessageW(control, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  SetWindowTextW(control, text.c_str());
  if (focused) {
    const auto length = static_cast<DWORD>(text.size());
    SendMessageW(control, EM_SETSEL, std::min(start, length), std::min(end, length));
  }
}

void CVyxQ5ManagerDlg::Render() {
  m_rendering = true;
  const CWindowView& view = m_model.View();
  for (const auto& [id, control] : view.controls) {
    HWND window = GetDlgItem(m_window, id);
    if (!window) continue;
    const auto shown = m_shown.find(id);
    const CControlView* before = shown == m_shown.end() ? nullptr : &shown->second;
    if (control.text && (!before || before->text != control.text || IsEdit(id))) SetControlText(window, *control.text);
    if (!before || before->enabled != control.enabled) EnableWindow(window, control.enabled);
    if (!before || before->visible != control.visible) ShowWindow(window, control.visible ? SW_SHOW : SW_HIDE);
    if (IsCheckable(id) && (!before || before->checked != control.checked))
      Button_SetCheck(window, control.checked ? BST_CHECKED : BST_UNCHECKED);
    m_shown[id] = control;
  }
  m_list.Render(view.rows);
  const auto tip = view.toolTips.find(IDC_COPIES_INFO);
  const std::wstring tipText = tip == view.toolTips.end() ? std::wstring() : tip->second;
  if (m_toolTip && tipText != m_toolTipText) {
    m_toolTipText = tipText;
    for (int id : {IDC_COPIES_INFO, IDC_COPIES_INFO_ICON}) {
      TTTOOLINFOW tool{};
      tool.cbSize = sizeof tool;
      tool.hwnd = m_window;
      tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(m_window, id));
      tool.lpszText = m_toolTipText.data();
      SendMessageW(m_toolTip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    }
  }
  if (m_model.TapeShort() != m_tapeShortShown) {
    m_tapeShortShown = m_model.TapeShort();
    InvalidateRect(GetDlgItem(m_window, IDC_TAPE_LINE), nullptr, TRUE);
  }
  m_rendering = false;
}

void CVyxQ5ManagerDlg::RunBusy(std::function<void()> work, std::function<void()> done) {
  m_preview.StopPainters();
  m_focusBeforeBusy = GetFocus();
  m_busyDone = std::move(done);
  EnableWindow(m_window, FALSE);
  if (!m_busy.Start(m_window, work)) {
    // No thread: the work runs here rather than not at all.
    EnableWindow(m_window, TRUE);
    work();
    m_busyDone();
    m_busyDone = nullptr;
    AfterModelChange();
  }
}

void CVyxQ5ManagerDlg::OnBusyDone() {
  m_busy.Finish();
  EnableWindow(m_window, TRUE);
  if (m_focusBeforeBusy && IsWindowEnabled(m_focusBeforeBusy)) SetFocus(m_focusBeforeBusy);
  if (m_busyDone) {
    std::function<void()> done = std::move(m_busyDone);
    m_busyDone = nullptr;
    done();
  }
  AfterModelChange();
  if (m_repaintWhileBusy) {
    m_repaintWhileBusy = false;
    m_preview.Schedule(kRepaintNow);
  }
  if (m_replyWhileBusy) {
    const std::string reply = std::move(*m_replyWhileBusy);
    m_replyWhileBusy.reset();
    OnStatusReply(reply);
  }
}

INT_PTR RunMainWindow(HINSTANCE resources, const CManagerDlgContext& context) {
  CVyxQ5ManagerDlg dialog(resources, context);
  return dialog.DoModal();
}

}  // namespace vyx
