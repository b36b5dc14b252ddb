// The portable model of a wizard page: its rules and a view state per control id (texts, shown, enabled, checked,
// list rows and selection) that the Win32 page only copies onto its controls. Pages take part in the property
// sheet's events: initialise, activate, next, back, finish, and the control events the window forwards.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "common/seams/debug_output.h"
#include "common/seams/message_sink.h"
#include "common/settings.h"
#include "setup/driver_package.h"
#include "setup/printers_ports.h"
#include "setup/spooler_queries.h"
#include "setup/wizard_state.h"

namespace vyx {

// What Next and Back return besides a template number to jump to.
inline constexpr int kGoOn = 0;         // the following (or previous) page
inline constexpr int kStayOnPage = -1;  // a step failed; the user can retry or cancel

enum class EWizardButtons { kNext, kBackNext, kBack, kFinish };

struct CPageControlView {
  std::optional<std::wstring> text;  // unset: the template's own text stays (a missing string)
  bool visible = true;
  bool enabled = true;
  bool checked = false;
  std::vector<std::wstring> rows;  // list and combo box entries
  int selection = -1;
  bool operator==(const CPageControlView&) const = default;
};

struct CPageView {
  std::optional<std::wstring> title;  // the page's tab caption; unset when the string is missing
  EWizardButtons buttons = EWizardButtons::kBackNext;
  bool cancel_hidden = false;
  std::optional<std::wstring> finish_text;
  std::map<int, CPageControlView> controls;
};

// Everything the pages work with besides their own state.
struct CSetupContext {
  CWizardState& state;
  CSettingsStore& settings;
  const CProgramSettings& program;
  CMessageSink& messages;
  CDebugOutput& debug;
  CSpoolerQueries& spooler;
  CDriverPackage& package;
  CPrintersPorts& printers;
  bool (*measure)(std::wstring& text);  // the user locale's measurement system
};

class CWizardPage {
 public:
  CWizardPage(CSetupContext& context, int template_id) : m_context(context), m_template(template_id) {}
  virtual ~CWizardPage() = default;
  CWizardPage(const CWizardPage&) = delete;
  CWizardPage& operator=(const CWizardPage&) = delete;

  int Template() const { return m_template; }
  // Labels the controls and sets the page's defaults; once, when its window is created.
  void Initialise();
  // Counts the activation; every activation after the first labels the page again (a language chosen since shows).
  void Activate();
  // kGoOn, a template number, or kStayOnPage.
  virtual int Next() { return kGoOn; }
  virtual int Back() { return kGoOn; }
  // True lets the wizard close.
  virtual bool Finish() { return true; }

  // Forwarded control events: a list entry chosen, a radio button or check box clicked, a push button pressed,
  // an edit field changed.
  virtual void OnSelect(int /*control*/, int /*index*/) {}
  virtual void OnCheck(int /*control*/, bool /*checked*/) {}
  virtual void OnClick(int /*control*/) {}
  virtual void OnText(int /*control*/, const std::wstring& /*text*/) {}

  const CPageView& View() const { return m_view; }
  int Activations() const { return m_activations; }
  bool Initialised() const { return m_initialised; }

 protected:
  virtual void Label() = 0;
  virtual void SetDefaults() {}
  // Sets the wizard buttons and whatever else changes on each activation.
  virtual void OnActivate() {}

  std::wstring String(int offset) const { return m_context.state.language.GetString(offset); }
  CPageControlView& Control(int id) { return m_view.controls[id]; }
  // The text of base + offset onto a control or the title, when the string exists.
  void SetLabel(int control, int offset);
  void SetTitle(int offset);
  // A message from the resources with the wizard's common caption (+1250).
  int ShowResourceMessage(int text_offset, unsigned style);
  // Makes `chosen` the one checked button of a radio group.
  void CheckRadio(std::initializer_list<int> group, int chosen);

  CSetupContext& m_context;
  CPageView m_view;

 private:
  int m_template;
  int m_activations = 0;
  bool m_initialised = false;
};

}  // namespace vyx
