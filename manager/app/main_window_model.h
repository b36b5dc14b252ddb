// CMainWindowModel: the rules of the manager's main window without the window. It holds the window's state (unit,
// margins, corner radius, offset, copies, tape cut sets, materials, job list), runs the layout operations after
// every change the user makes, builds the PRINT recipe from the job list and reads the printer's material replies.
// Its output is a view state per control id that the Win32 dialog renders.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/language.h"
#include "manager/app/job_list.h"
#include "manager/app/resource.h"
#include "manager/app/window_view.h"
#include "manager/model/catalogue.h"
#include "manager/model/job.h"
#include "manager/model/options.h"
#include "manager/output/channel.h"
#include "manager/output/writer.h"

namespace vyx {

// The copies edit may never be emptied by a key: its handler would see no number.
inline constexpr wchar_t kEmptyCopiesMessage[] =
    L"Field must not be empty, not even temporarily. Please use Alt+Arrow instead of Backspace or Delete-key on "
    L"1-digit number of copies!";
inline constexpr wchar_t kManagerWindowCaption[] = L"VYX-Q5 Manager";
// Where a print to a file goes unless the user picks another name; %d is the job id.
inline constexpr wchar_t kPrintFileFolder[] = L"C:\\Users\\Public\\Documents";
inline constexpr std::int32_t kMaxCopies = 99999999;
inline constexpr std::int32_t kStartTapeRemaining = 3000;
inline constexpr std::int32_t kStartRibbonRemaining = 5500;
// Repaint requests: none, at once, after a settings change.
inline constexpr int kNoRepaint = -1;
inline constexpr int kRepaintNow = 0;
inline constexpr int kRepaintAfterChange = 350;

// What the advanced settings dialog shows and gives back.
struct CAdvancedSettingsValues {
  bool ribbonSaving = true;
  bool printToFile = false;
  int darkness = 15;
};

// What PRINT needs of the outside world.
struct CWindowPrintSeams {
  std::wstring printerName;
  std::int32_t jobId = 0;
  int storedDarkness = -1;
  // The save dialog of a print to a file: the offered name in, the chosen one out; none when the user cancels.
  std::function<std::optional<std::wstring>(const std::wstring& offered)> chooseFile;
};

// A Done that cannot close: the message to show and the edit to put the focus in.
struct CReadBackFailure {
  int control = 0;
  std::wstring message;
};

// What a material reply changed.
struct CStatusUpdate {
  bool accepted = false;     // the reply was good and is now the materials' state
  bool tapeChanged = false;  // the black tape rule must run (RunBlackTapeRule)
};

class CMainWindowModel {
 public:
  // `unit` is the stored unit setting (1 inch, anything else mm).
  CMainWindowModel(CQzplJobData& job, CCatalogue& catalogue, CLanguageText language, const COptions& options, int unit);

  // The opening steps: texts, margins, offset, form size, tape cut sets, laminate, mode, copies, job list, outline
  // and the ribbon selection. The status poll is the dialog's.
  void Open();

  // A button, radio button or check box was clicked; check boxes report their new state.
  void OnClicked(int id, bool checked = false);
  // The text of an edit changed (typed, pasted or set by the dialog).
  void OnEditChanged(int id, const std::wstring& text);
  // A spin button of an edit was pressed.
  void OnSpin(int spinId, bool up);
  // Backspace or Delete in the copies edit holding `text`: true when the key must be dropped (with the message).
  static bool DropsDeletionKey(const std::wstring& text) { return text.size() == 1; }

  // Job list: a click in a row's column (numbered from 1); the check box of a row.
  void OnListClick(std::size_t row, int column);
  bool OffersRibbonMenu(std::size_t row) const { return m_list.OffersRibbonMenu(row); }
  std::vector<CRibbonMenuEntry> RibbonMenu(std::size_t row) const;
  void OnRibbonChosen(std::size_t row, int choice);
  void OnListChecked(std::size_t row, bool checked);

  // Done reads back copies and labels per set; none when the window may close.
  std::optional<CReadBackFailure> ReadBack() const;

  // The advanced settings: the values the dialog opens with, and what it gives back on OK.
  CAdvancedSettingsValues AdvancedValues() const;
  void ApplyAdvancedValues(const CAdvancedSettingsValues& values);

  // PRINT in three steps, so that the writing can run while the window takes no input: BeginPrint opens the output
  // (after the save dialog when printing to a file) and builds the recipe from the job list (false, rows unchanged,
  // when the user cancels or the output cannot be opened); WritePrint runs the writer; EndPrint closes the output
  // and swaps PRINT for Reset all jobs (after a failed write the rows are as before and PRINT stays).
  bool BeginPrint(CPrintChannel& channel, const CWindowPrintSeams& seams);
  bool WritePrint(CPrintChannel& channel, int storedDarkness);
  void EndPrint(CPrintChannel& channel, bool written);
  // The three in a row; the writer's result.
  bool Print(CPrintChannel& channel, const CWindowPrintSeams& seams);
  void ResetAllJobs();

  // A reply to the material query. Malformed, empty, overlong replies and unknown tapes change nothing.
  CStatusUpdate OnStatusReply(const char* reply, std::size_t size);
  // The black tape rule for the loaded tape (it may run the knock-out of every page); whether it changed the job.
  bool RunBlackTapeRule();

  const CWindowView& View() const { return m_view; }
  // The pending preview repaint: kNoRepaint, kRepaintNow or a delay in ms; taking it clears it.
  int TakeRepaint();
  bool TapeShort() const { return m_tapeShort; }
  // The opening asks for the window to come to the foreground (BarTender jobs).
  bool WantsForeground() const { return m_foreground; }
  // The outline check box is fitted to its text with this extra width (wider for Polish).
  int OutlineCheckExtraWidth() const;

  const CQzplPrintPlan& Plan() const { return m_plan; }
  CQzplPrintPlan& Plan() { return m_plan; }
  const CJobList& JobList() const { return m_list; }
  std::int32_t Copies() const { return m_copies; }
  std::int32_t LabelsPerSet() const { return m_labelsPerSet; }
  double MarginX() const { return m_marginX; }
  double MarginY() const { return m_marginY; }
  double Radius() const { return m_radius; }
  double Offset() const { return m_offset; }
  std::int32_t LoadedTapeId() const { return m_tapeId; }
  // The total length of the 1031 line in mm, lamination included.
  double TotalLengthMm() const;

 private:
  bool Checked(int id) const { return m_view.At(id).checked; }
  bool Optimised() const { return Checked(IDC_OPTIMISED); }
  bool Landscape() const { return m_options.orientation == 2; }
  bool RightToLeftFill() const;
  CQzplHeader& InForce();
  const CQzplHeader& InForce() const;
  CCustomQzplHeader* InForceCustom();
  std::int32_t PageCount() const;

  void SetText(int id, std::wstring text);
  void SetLanguageText(int id, int offset);
  void Enable(int id, bool enabled);
  void Show(int id, bool visible);
  void Select(int id, int other);
  // Sets the edit's text from the value and returns the value the text means.
  double ShowLength(int id, double value);
  void ShowCount(int id, std::int32_t value);
  void Repaint(int delay);

  // Handlers.
  void OnFormSize();
  void OnOptimised();
  void RePlace();
  void ApplyMarginX(double value);
  void ApplyMarginY(double value);
  void ApplyRadius(double value);
  void ApplyOffset(double value);
  void ApplyCopies(std::int32_t copies);
  void ApplyLabelsPerSet(std::int32_t labels);
  void OnOutline(bool on);
  void OnLaminate(bool on);
  void OnTapeCutSets(bool on);
  void OnFillDirection();

  // Layout helpers.
  void ArrangeLayout();
  void SplitCopiesWithinLimit();
  void FitOutlinesWhenOn();
  void ApplyOutlineRadiusWithRetry();
  bool SeveralDocumentsOfDifferentPages() const;

  // Texts.
  void RefreshTexts();
  void RefreshPrintSize();
  void RefreshTotalLength();
  void RefreshCopiesInfo();
  void RefreshList();
  void RefreshTapeLine();
  void RefreshRibbonLine();
  std::wstring UnitText() const;
  std::wstring Length(double value) const;

  CQzplJobData& m_job;
  CCatalogue& m_catalogue;
  CLanguageText m_language;
  COptions m_options;
  int m_unit;
  double m_unitPerDot;
  CQzplPrintPlan m_plan;
  CJobList m_list;
  std::vector<CJobRow> m_rowsBeforePrint;
  CWindowView m_view;

  double m_marginX = 0, m_marginY = 0, m_radius = 0, m_offset = 0;
  double m_largestSideMargin = 0;
  double m_formWidth = 0, m_formLength = 0;
  std::int32_t m_copies = 1;
  std::int32_t m_labelsPerSet = 0;
  bool m_printToFile = false;
  bool m_ownCuts = false;
  bool m_foreground = false;
  bool m_opening = false;        // the opening runs the copies rules once, at its end
  bool m_copiesChanged = false;  // switching tape cut sets off gave the copies a new count

  std::int32_t m_tapeId = -1;
  std::int32_t m_tapeRemaining = kStartTapeRemaining;
  std::int32_t m_ribbonId = -1;
  std::int32_t m_ribbonRemaining = kStartRibbonRemaining;
  bool m_tapeReported = false;
  bool m_ribbonReported = false;
  bool m_tapeShort = false;

  int m_repaint = kNoRepaint;
};

}  // namespace vyx
