// The setup wizard's flow over its portable page models: page order, jumps, what each page shows and writes, and
// the "stay on the page" rule when a step fails.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/string_ids.h"
#include "setup/wizard_flow.h"
#include "setup/wizard_pages.h"

namespace vyx {
namespace {

// Three languages; every other string of a language is its own number ("2120"), so a label shows which language
// and offset it came from.
class CNumberStrings : public CStringLoader {
 public:
  int Load(int id, int capacity, std::wstring& text, unsigned long& error) override {
    text.clear();
    if (id < 1000 || id >= 4000) {
      error = kErrorResourceNameNotFound;
      return 0;
    }
    static const wchar_t* const kNames[] = {L"Deutsch", L"English", L"Nederlands"};
    text = id % 1000 == kStrLanguageDisplayName % 1000 ? kNames[id / 1000 - 1] : std::to_wstring(id);
    text.resize(std::min(text.size(), static_cast<std::size_t>(capacity - 1)));
    return static_cast<int>(text.size());
  }
};

class CScriptedPackage : public CDriverPackage {
 public:
  bool InstallDriverOnly() override { return Log(L"InstallDriverOnly", succeeds); }
  bool UpdateDriver() override { return Log(L"UpdateDriver", succeeds); }
  bool InstallWithSystemWizard() override { return Log(L"InstallWithSystemWizard", succeeds); }
  int RemoveDriver(const std::wstring& name, ERemoval removal) override {
    calls.push_back(L"RemoveDriver " + name + (removal == ERemoval::kFull ? L" full" : L" partial"));
    return removal == ERemoval::kFull ? removal_result : 0;
  }
  void CleanUpOnFinish() override { calls.push_back(L"CleanUpOnFinish"); }
  unsigned long UpdateMonitorFile() override { return 0; }
  unsigned long UploadPackage(std::wstring&) override { return 0; }
  unsigned long InstallFromPackage(const std::wstring&) override { return 0; }

  bool Log(const wchar_t* call, bool result) {
    calls.push_back(call);
    return result;
  }
  bool succeeds = true;
  int removal_result = 0;
  std::vector<std::wstring> calls;
};

class CScriptedPrinters : public CPrintersPorts {
 public:
  bool CreatePrinter(const CPrinterRequest& request) override {
    calls.push_back(L"CreatePrinter " + request.name + L" on " + request.port +
                    (request.make_default ? L" default" : L"") + (request.share ? L" shared" : L""));
    return succeeds;
  }
  bool DeletePrinter(const std::wstring& name) override {
    calls.push_back(L"DeletePrinter " + name);
    return succeeds;
  }
  std::wstring AddPort(bool expert) override {
    calls.push_back(expert ? L"AddPort expert" : L"AddPort");
    return new_port;
  }
  bool DeletePort(const std::wstring& port) override {
    calls.push_back(L"DeletePort " + port);
    if (succeeds && spooler != nullptr) {
      for (CPrinterRecord& printer : spooler->printers) {
        if (printer.port == port) printer.port = L"FILE:";
      }
      std::erase_if(spooler->ports, [&](const CListedSpooler::CPort& p) { return p.name == port; });
    }
    return succeeds;
  }
  void RefreshNetworkPorts() override { calls.push_back(L"RefreshNetworkPorts"); }

  bool succeeds = true;
  std::wstring new_port;
  CListedSpooler* spooler = nullptr;
  std::vector<std::wstring> calls;
};

class CFailingStore : public CMemorySettingsStore {
 public:
  bool Write(EHive, ESetting, int) override { return false; }
};

bool MetricLocale(std::wstring& text) {
  text = L"0";
  return true;
}

class SetupWizard : public ::testing::Test {
 protected:
  SetupWizard() {
    state.language = CLanguageText(&strings, 1000);
    spooler.ports = {{L"LPT1:", L"Local Port"}, {L"FILE:", L"Local Port"}, {L"TCP_IP_10.0.0.7:9100", L"TCPMON.DLL"}};
    printers.spooler = &spooler;
  }

  const CPageView& View() const { return flow.Current().View(); }
  const CPageControlView& Control(int id) const { return View().controls.at(id); }
  int Page() const { return flow.Current().Template(); }
  std::wstring Title() const { return View().title.value_or(L""); }
  std::wstring Text(int id) const { return Control(id).text.value_or(L""); }

  // From the welcome page through the action page with its choice, accepting the licence when installing.
  void GoToDriverPrinterPage(bool install) {
    flow.Start();
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(flow.Next());
    if (!install) flow.Current().OnCheck(IDC_UNINSTALL, true);
    ASSERT_TRUE(flow.Next());
    if (install) {
      flow.Current().OnCheck(IDC_LICENCE_ACCEPT, true);
      ASSERT_TRUE(flow.Next());
    }
    ASSERT_EQ(IDD_DRIVER_PRINTER_PAGE, Page());
  }

  void GoToPrinterPage(bool install) {
    GoToDriverPrinterPage(install);
    flow.Current().OnCheck(IDC_OPTION_DRIVER_PRINTER, true);
    ASSERT_TRUE(flow.Next());
    ASSERT_EQ(IDD_PRINTER_PAGE, Page());
  }

  CNumberStrings strings;
  CWizardState state;
  CMemorySettingsStore settings;
  CRecordingMessageSink messages;
  CCollectingDebugOutput debug;
  CListedSpooler spooler;
  CScriptedPackage package;
  CScriptedPrinters printers;
  CSetupContext context{state, settings, kSetupSettings, messages, debug, spooler, package, printers, &MetricLocale};
  CSetupWizardFlow flow{context};
};

TEST_F(SetupWizard, PagesComeInTheirOrderWithTheirTemplates) {
  std::vector<int> templates;
  for (const auto& page : flow.Pages()) templates.push_back(page->Template());
  EXPECT_EQ((std::vector<int>{110, 109, 112, 103, 104, 105, 106, 107}), templates);
}

TEST_F(SetupWizard, InstallingWalksEveryPageWritesTheSettingsAndCreatesThePrinter) {
  flow.Start();
  EXPECT_EQ(L"2110", Title());
  EXPECT_EQ(EWizardButtons::kNext, View().buttons);

  ASSERT_TRUE(flow.Next());
  EXPECT_EQ(IDD_LANGUAGE_PAGE, Page());
  EXPECT_EQ((std::vector<std::wstring>{L"Deutsch", L"English", L"Nederlands"}), Control(IDC_LANGUAGE_LIST).rows);
  EXPECT_EQ(1, Control(IDC_LANGUAGE_LIST).selection);
  EXPECT_EQ(L"2121", Text(IDC_PAGE_GROUP));
  EXPECT_EQ(EWizardButtons::kBackNext, View().buttons);

  ASSERT_TRUE(flow.Next());
  EXPECT_EQ(1000, settings.Read(EHive::kLocalMachine, ESetting::kLangBase));
  EXPECT_EQ(IDD_UNIT_PAGE, Page());
  EXPECT_EQ((std::vector<std::wstring>{L"2127", L"2128"}), Control(IDC_UNIT_LIST).rows);
  EXPECT_EQ(kUnitMillimetres, Control(IDC_UNIT_LIST).selection);  // nothing stored: the metric locale's unit
  flow.Current().OnSelect(IDC_UNIT_LIST, kUnitInches);

  ASSERT_TRUE(flow.Next());
  EXPECT_EQ(kUnitInches, settings.Read(EHive::kLocalMachine, ESetting::kUnitCode));
  EXPECT_EQ(IDD_ACTION_PAGE, Page());
  EXPECT_TRUE(Control(IDC_INSTALL).checked);
  EXPECT_EQ(L"2142", Text(IDC_INSTALL));

  ASSERT_TRUE(flow.Next());
  EXPECT_EQ(IDD_LICENCE_PAGE, Page());
  EXPECT_EQ(EWizardButtons::kBack, View().buttons);
  EXPECT_NE(std::wstring::npos, Text(IDC_LICENCE_TEXT).find(L"LICENCE AGREEMENT"));
  EXPECT_FALSE(flow.Next());
  flow.Current().OnCheck(IDC_LICENCE_ACCEPT, true);
  EXPECT_EQ(EWizardButtons::kBackNext, View().buttons);

  ASSERT_TRUE(flow.Next());
  EXPECT_EQ(IDD_DRIVER_PRINTER_PAGE, Page());
  EXPECT_EQ(std::vector<std::wstring>{L"RemoveDriver VYX-Q five partial"}, package.calls);
  EXPECT_EQ(L"2160", Title());
  EXPECT_TRUE(Control(IDC_OPTION_UPDATE).checked);
  for (int option : {IDC_OPTION_DRIVER_ONLY, IDC_OPTION_UPDATE, IDC_OPTION_DRIVER_PRINTER, IDC_OPTION_SYSTEM_WIZARD})
    EXPECT_TRUE(Control(option).visible);
  flow.Current().OnCheck(IDC_OPTION_DRIVER_PRINTER, true);

  ASSERT_TRUE(flow.Next());
  EXPECT_EQ(IDD_PRINTER_PAGE, Page());
  EXPECT_EQ(L"VYX - Q5", Text(IDC_PRINTER_NAME));
  EXPECT_EQ(0, Control(IDC_PORT_LIST).selection);
  EXPECT_EQ(3u, Control(IDC_PORT_LIST).rows.size());
  EXPECT_FALSE(Control(IDC_PRINTER_LIST).visible);
  EXPECT_TRUE(Control(IDC_SHARE).visible && Control(IDC_MAKE_DEFAULT).visible && Control(IDC_EXPERT).visible);
  EXPECT_EQ(L"2175", Text(IDC_PORT_BUTTON));
  flow.Current().OnText(IDC_PRINTER_NAME, L"Label room");
  flow.Current().OnSelect(IDC_PORT_LIST, 2);
  flow.Current().OnCheck(IDC_SHARE, true);

  ASSERT_TRUE(flow.Next());
  EXPECT_EQ(std::vector<std::wstring>{L"CreatePrinter Label room on TCP_IP_10.0.0.7:9100 shared"}, printers.calls);
  EXPECT_EQ(L"Label room", state.printer_name);
  EXPECT_EQ(L"TCP_IP_10.0.0.7:9100", state.port_name);
  EXPECT_TRUE(state.share);
  EXPECT_FALSE(state.make_default);
  EXPECT_EQ(IDD_RESULT_PAGE, Page());
  EXPECT_EQ(EWizardButtons::kFinish, View().buttons);
  EXPECT_TRUE(View().cancel_hidden);
  EXPECT_EQ(L"2192", View().finish_text.value_or(L""));
  EXPECT_EQ(L"2191", Text(IDC_RESULT_TEXT));
  EXPECT_TRUE(flow.Finish());
  EXPECT_EQ(L"CleanUpOnFinish", package.calls.back());
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(SetupWizard, UninstallWithoutADriverIsRefusedAndDisabled) {
  spooler.drivers = {L"VYX Test Driver", L"vyx - q5"};  // names compare exactly
  flow.Start();
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(flow.Next());
  flow.Current().OnCheck(IDC_UNINSTALL, true);
  ASSERT_EQ(1u, messages.shown.size());
  EXPECT_EQ(L"2147", messages.shown[0].text);
  EXPECT_EQ(L"2250", messages.shown[0].caption);
  EXPECT_TRUE(Control(IDC_INSTALL).checked);
  EXPECT_FALSE(Control(IDC_UNINSTALL).checked);
  EXPECT_FALSE(Control(IDC_UNINSTALL).enabled);
  flow.Current().OnCheck(IDC_UNINSTALL, true);  // a disabled button is not asked again
  EXPECT_EQ(1u, messages.shown.size());
  EXPECT_EQ(1, spooler.driver_queries);
  ASSERT_TRUE(flow.Next());
  EXPECT_EQ(IDD_LICENCE_PAGE, Page());
  EXPECT_TRUE(state.install);
}

TEST_F(SetupWizard, BackFromTheLicenceAndUninstallSkipsTheLicence) {
  spooler.drivers = {L"VYX-Q five"};
  flow.Start();
  for (int i = 0; i < 4; ++i) ASSERT_TRUE(flow.Next());
  ASSERT_EQ(IDD_LICENCE_PAGE, Page());
  ASSERT_TRUE(flow.Back());
  ASSERT_EQ(IDD_ACTION_PAGE, Page());
  flow.Current().OnCheck(IDC_UNINSTALL, true);
  EXPECT_TRUE(messages.shown.empty());
  ASSERT_TRUE(flow.Next());
  EXPECT_EQ(IDD_DRIVER_PRINTER_PAGE, Page());
  EXPECT_FALSE(state.install);
  EXPECT_EQ(L"2158", Title());
  EXPECT_EQ(L"2164", Text(IDC_OPTION_DRIVER_ONLY));
  EXPECT_EQ(L"2165", Text(IDC_OPTION_DRIVER_PRINTER));
  EXPECT_FALSE(Control(IDC_OPTION_UPDATE).visible);
  EXPECT_FALSE(Control(IDC_OPTION_SYSTEM_WIZARD).visible);
  EXPECT_TRUE(Control(IDC_OPTION_DRIVER_PRINTER).checked);
  flow.Current().OnCheck(IDC_OPTION_UPDATE, true);  // hidden: not choosable
  EXPECT_TRUE(Control(IDC_OPTION_DRIVER_PRINTER).checked);
  ASSERT_TRUE(flow.Back());
  EXPECT_EQ(IDD_ACTION_PAGE, Page());

  // Installing again: the page shows the install options with their default on its next activation.
  flow.Current().OnCheck(IDC_INSTALL, true);
  ASSERT_TRUE(flow.Next());
  flow.Current().OnCheck(IDC_LICENCE_ACCEPT, true);
  ASSERT_TRUE(flow.Next());
  EXPECT_EQ(L"2160", Title());
  EXPECT_TRUE(Control(IDC_OPTION_UPDATE).visible);
  EXPECT_TRUE(Control(IDC_OPTION_UPDATE).checked);
  EXPECT_EQ(1, std::count(package.calls.begin(), package.calls.end(), L"RemoveDriver VYX-Q five partial"));
}

TEST_F(SetupWizard, LicenceNeverKeepsAnEarlierAccept) {
  flow.Start();
  for (int i = 0; i < 4; ++i) ASSERT_TRUE(flow.Next());
  flow.Current().OnCheck(IDC_LICENCE_ACCEPT, true);
  EXPECT_TRUE(Control(IDC_LICENCE_ACCEPT).checked);
  ASSERT_TRUE(flow.Back());
  ASSERT_TRUE(flow.Next());
  EXPECT_EQ(IDD_LICENCE_PAGE, Page());
  EXPECT_TRUE(Control(IDC_LICENCE_DECLINE).checked);
  EXPECT_FALSE(Control(IDC_LICENCE_ACCEPT).checked);
  EXPECT_EQ(EWizardButtons::kBack, View().buttons);
  flow.Current().OnCheck(IDC_LICENCE_ACCEPT, true);
  flow.Current().OnCheck(IDC_LICENCE_DECLINE, true);
  EXPECT_EQ(EWizardButtons::kBack, View().buttons);
  EXPECT_FALSE(flow.Next());
}

TEST_F(SetupWizard, LanguageChangeRelabelsThePageAtOnceAndOthersOnTheirNextActivation) {
  flow.Start();
  ASSERT_TRUE(flow.Next());
  flow.Current().OnSelect(IDC_LANGUAGE_LIST, 2);
  EXPECT_EQ(2000, state.language.Base());
  EXPECT_EQ(L"3120", Title());
  EXPECT_EQ(L"3121", Text(IDC_PAGE_GROUP));
  EXPECT_EQ(L"2110", flow.Page(IDD_WELCOME_PAGE)->View().title);
  ASSERT_TRUE(flow.Back());
  EXPECT_EQ(L"3110", Title());
  ASSERT_TRUE(flow.Next());
  EXPECT_EQ(2, Control(IDC_LANGUAGE_LIST).selection);
  ASSERT_TRUE(flow.Next());
  EXPECT_EQ(2000, settings.Read(EHive::kLocalMachine, ESetting::kLangBase));
  EXPECT_EQ(L"3125", Title());
  EXPECT_EQ((std::vector<std::wstring>{L"3127", L"3128"}), Control(IDC_UNIT_LIST).rows);
  EXPECT_EQ(kSettingAbsent, settings.Read(EHive::kCurrentUser, ESetting::kLangBase));
}

TEST_F(SetupWizard, StoredSettingsChooseTheListEntries) {
  settings.values[{EHive::kLocalMachine, ESetting::kLangBase}] = 0;  // read once by the language holder, not here
  settings.values[{EHive::kCurrentUser, ESetting::kUnitCode}] = 0;   // setup ignores the user's unit
  settings.values[{EHive::kLocalMachine, ESetting::kUnitCode}] = 1;
  flow.Start();
  ASSERT_TRUE(flow.Next());
  ASSERT_TRUE(flow.Next());
  EXPECT_EQ(kUnitInches, Control(IDC_UNIT_LIST).selection);

  CMemorySettingsStore odd;
  odd.values[{EHive::kLocalMachine, ESetting::kUnitCode}] = 7;
  CSetupContext other{state, odd, kSetupSettings, messages, debug, spooler, package, printers, &MetricLocale};
  CUnitPage page(other);
  page.Activate();
  EXPECT_EQ(kUnitMillimetres, page.View().controls.at(IDC_UNIT_LIST).selection);
}

TEST_F(SetupWizard, SettingsThatCannotBeWrittenKeepThePage) {
  CFailingStore failing;
  CSetupContext other{state, failing, kSetupSettings, messages, debug, spooler, package, printers, &MetricLocale};
  CLanguagePage language(other);
  CUnitPage unit(other);
  language.Activate();
  unit.Activate();
  EXPECT_EQ(kStayOnPage, language.Next());
  EXPECT_EQ(kStayOnPage, unit.Next());
  EXPECT_EQ(1000, state.language.Base());
}

TEST_F(SetupWizard, DriverPrinterChoicesAndTheirFailures) {
  struct CCase {
    const char* what;
    bool install;
    int option;
    bool succeeds;
    int removal_result;
    int page;  // where the wizard is afterwards
    const wchar_t* call;
  };
  const CCase cases[] = {
      {"driver only", true, IDC_OPTION_DRIVER_ONLY, true, 0, IDD_RESULT_PAGE, L"InstallDriverOnly"},
      {"driver only fails", true, IDC_OPTION_DRIVER_ONLY, false, 0, IDD_DRIVER_PRINTER_PAGE, L"InstallDriverOnly"},
      {"update", true, IDC_OPTION_UPDATE, true, 0, IDD_RESULT_PAGE, L"UpdateDriver"},
      {"update fails", true, IDC_OPTION_UPDATE, false, 0, IDD_DRIVER_PRINTER_PAGE, L"UpdateDriver"},
      {"system wizard", true, IDC_OPTION_SYSTEM_WIZARD, true, 0, IDD_RESULT_PAGE, L"InstallWithSystemWizard"},
      {"system wizard fails", true, IDC_OPTION_SYSTEM_WIZARD, false, 0, IDD_DRIVER_PRINTER_PAGE,
       L"InstallWithSystemWizard"},
      {"remove driver", false, IDC_OPTION_DRIVER_ONLY, true, 2, IDD_RESULT_PAGE, L"RemoveDriver VYX - Q5 full"},
      {"remove driver fails", false, IDC_OPTION_DRIVER_ONLY, true, kRemovalFailed, IDD_DRIVER_PRINTER_PAGE,
       L"RemoveDriver VYX - Q5 full"},
      {"remove driver again", false, IDC_OPTION_DRIVER_ONLY, true, kRemovalTryAgain, IDD_DRIVER_PRINTER_PAGE,
       L"RemoveDriver VYX - Q5 full"},
  };
  spooler.drivers = {L"VYX - Q5"};
  for (const CCase& c : cases) {
    SCOPED_TRACE(c.what);
    CScriptedPackage fresh;
    fresh.succeeds = c.succeeds;
    fresh.removal_result = c.removal_result;
    CSetupContext other{state, settings, kSetupSettings, messages, debug, spooler, fresh, printers, &MetricLocale};
    CSetupWizardFlow walk(other);
    walk.Start();
    for (int i = 0; i < 3; ++i) walk.Next();
    if (!c.install) walk.Current().OnCheck(IDC_UNINSTALL, true);
    walk.Next();
    if (c.install) {
      walk.Current().OnCheck(IDC_LICENCE_ACCEPT, true);
      walk.Next();
    }
    walk.Current().OnCheck(c.option, true);
    walk.Next();
    EXPECT_EQ(c.page, walk.Current().Template());
    EXPECT_EQ(c.call, fresh.calls.back());
    EXPECT_EQ(c.option == IDC_OPTION_DRIVER_ONLY, state.driver_only);
  }
}

TEST_F(SetupWizard, ExistingPrinterNameKeepsThePageAndCreatesNothing) {
  spooler.printers = {{L"VYX - Q5", L"VYX - Q5", L"LPT1:"}};
  GoToPrinterPage(true);
  EXPECT_FALSE(flow.Next());
  ASSERT_EQ(1u, messages.shown.size());
  EXPECT_EQ(L"2177", messages.shown[0].text);
  EXPECT_EQ(L"2250", messages.shown[0].caption);
  EXPECT_TRUE(printers.calls.empty());

  flow.Current().OnText(IDC_PRINTER_NAME, L"VYX - Q5 (2)");
  printers.succeeds = false;
  EXPECT_FALSE(flow.Next());
  EXPECT_EQ(IDD_PRINTER_PAGE, Page());
  EXPECT_EQ(1u, printers.calls.size());
}

TEST_F(SetupWizard, PortButtonWhileInstallingAddsAndSelectsTheNewPort) {
  GoToPrinterPage(true);
  EXPECT_TRUE(Control(IDC_PORT_BUTTON).enabled);
  printers.new_port = L"TCP_IP_192.168.0.1:9100";
  flow.Current().OnCheck(IDC_EXPERT, true);
  flow.Current().OnClick(IDC_PORT_BUTTON);
  EXPECT_EQ(std::vector<std::wstring>{L"AddPort expert"}, printers.calls);
  EXPECT_EQ(4u, Control(IDC_PORT_LIST).rows.size());
  EXPECT_EQ(L"TCP_IP_192.168.0.1:9100", Control(IDC_PORT_LIST).rows[3]);
  EXPECT_EQ(3, Control(IDC_PORT_LIST).selection);

  printers.new_port.clear();  // cancelled: the list stays
  flow.Current().OnCheck(IDC_EXPERT, false);
  flow.Current().OnClick(IDC_PORT_BUTTON);
  EXPECT_EQ(L"AddPort", printers.calls.back());
  EXPECT_EQ(3, Control(IDC_PORT_LIST).selection);
}

TEST_F(SetupWizard, RemovingAPrinterListsThePrintersOfTheModelWithTheirPorts) {
  spooler.drivers = {L"VYX - Q5"};
  spooler.printers = {{L"Office laser", L"Other driver", L"LPT1:"},
                      {L"Labels north", L"VYX - Q5", L"TCP_IP_10.0.0.7:9100"},
                      {L"Labels south", L"VYX - Q5", L"USB001"}};
  GoToPrinterPage(false);
  EXPECT_EQ(L"2176", Text(IDC_PORT_BUTTON));
  EXPECT_EQ((std::vector<std::wstring>{L"Labels north", L"Labels south"}), Control(IDC_PRINTER_LIST).rows);
  EXPECT_FALSE(Control(IDC_PRINTER_NAME).visible);
  EXPECT_FALSE(Control(IDC_SHARE).visible || Control(IDC_MAKE_DEFAULT).visible || Control(IDC_EXPERT).visible);
  EXPECT_EQ(2, Control(IDC_PORT_LIST).selection);
  EXPECT_TRUE(Control(IDC_PORT_BUTTON).enabled);  // a Standard TCP/IP port

  flow.Current().OnSelect(IDC_PRINTER_LIST, 1);  // its port is not among the ports
  ASSERT_EQ(1u, messages.shown.size());
  EXPECT_EQ(L"no such port", messages.shown[0].caption);
  EXPECT_EQ(L"USB001", messages.shown[0].text);
  flow.Current().OnSelect(IDC_PORT_LIST, 0);
  EXPECT_FALSE(Control(IDC_PORT_BUTTON).enabled);

  flow.Current().OnSelect(IDC_PRINTER_LIST, 0);
  flow.Current().OnClick(IDC_PORT_BUTTON);
  EXPECT_EQ(std::vector<std::wstring>{L"DeletePort TCP_IP_10.0.0.7:9100"}, printers.calls);
  EXPECT_EQ((std::vector<std::wstring>{L"LPT1:", L"FILE:"}), Control(IDC_PORT_LIST).rows);
  EXPECT_EQ(1, Control(IDC_PORT_LIST).selection);  // the printer was moved to FILE:

  printers.succeeds = false;
  EXPECT_FALSE(flow.Next());
  EXPECT_EQ(L"DeletePrinter Labels north", printers.calls.back());
  printers.succeeds = true;
  EXPECT_TRUE(flow.Next());
  EXPECT_EQ(IDD_RESULT_PAGE, Page());
}

TEST_F(SetupWizard, BuildWithoutPackageWorkReportsItAndStays) {
  CUnavailableDriverPackage unavailable(messages, debug);
  CUnavailablePrintersPorts no_printers(messages, debug);
  CSetupContext other{state,   settings,    kSetupSettings, messages,     debug,
                      spooler, unavailable, no_printers,    &MetricLocale};
  CSetupWizardFlow walk(other);
  walk.Start();
  for (int i = 0; i < 4; ++i) walk.Next();
  walk.Current().OnCheck(IDC_LICENCE_ACCEPT, true);
  walk.Next();
  ASSERT_EQ(IDD_DRIVER_PRINTER_PAGE, walk.Current().Template());
  EXPECT_TRUE(messages.shown.empty());  // the older name's removal is housekeeping: a note only
  EXPECT_EQ(1u, debug.lines.size());
  EXPECT_FALSE(walk.Next());
  ASSERT_EQ(1u, messages.shown.size());
  EXPECT_EQ(L"UpdateDriver: not available", messages.shown[0].caption);
  walk.Current().OnCheck(IDC_OPTION_DRIVER_PRINTER, true);
  ASSERT_TRUE(walk.Next());
  EXPECT_FALSE(walk.Next());
  ASSERT_EQ(2u, messages.shown.size());
  EXPECT_EQ(L"CreatePrinter: not available", messages.shown[1].caption);
  EXPECT_EQ(IDD_PRINTER_PAGE, walk.Current().Template());
}

TEST(SetupWizardPorts, TcpIpMonitorIsKnownByItsLibraryName) {
  EXPECT_TRUE(IsTcpIpMonitor(L"TCPMON.DLL"));
  EXPECT_TRUE(IsTcpIpMonitor(L"tcpmon.dll"));
  EXPECT_FALSE(IsTcpIpMonitor(L"Local Port"));
  EXPECT_FALSE(IsTcpIpMonitor(L"TCPMON.DLL2"));
  EXPECT_FALSE(IsTcpIpMonitor(L""));
}

}  // namespace
}  // namespace vyx
