// The printer page's work on a stand-in spooler: creating the printer by package or through the system printer
// user interface, deleting it, the port button's forms, moving printers off a busy port, and the port refresh.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "common/string_ids.h"
#include "setup/port_records.h"
#include "setup/printer_work.h"
#include "setup/wizard_state.h"
#include "tests/support/fake_port_monitor.h"

namespace vyx {
namespace {

using testing::CFakeMonitor;

// The spooler's printers and ports live in a CListedSpooler, which also answers the page's queries.
class CFakePrinterCalls : public CPrinterCalls {
 public:
  explicit CFakePrinterCalls(CListedSpooler& spooler) : m_spooler(spooler) {}

  bool AddLocalPrinter(const CNewPrinter& printer) override {
    added.push_back(printer);
    if (add_error != 0) return Fail(add_error);
    m_spooler.printers.push_back({printer.name, printer.driver, printer.port});
    return true;
  }
  bool OpenPrinterByName(const std::wstring& name, bool all_access, PrinterHandle* handle) override {
    opens.push_back(name + (all_access ? L" all" : L""));
    if (appears_after > 0 && --appears_after == 0) m_spooler.printers.push_back({name, kDriverName, L"FILE:"});
    const auto found = Find(name);
    if (found == m_spooler.printers.end()) return Fail(open_error);
    *handle = reinterpret_cast<PrinterHandle>(static_cast<std::uintptr_t>(found - m_spooler.printers.begin() + 1));
    return true;
  }
  bool DeletePrinter(PrinterHandle handle) override {
    if (delete_error != 0) return Fail(delete_error);
    m_spooler.printers.erase(m_spooler.printers.begin() + Index(handle));
    return true;
  }
  bool SetPrinterPort(PrinterHandle handle, const std::wstring& port) override {
    if (set_error != 0) return Fail(set_error);
    m_spooler.printers[Index(handle)].port = port;
    return true;
  }
  bool ClosePrinter(PrinterHandle) override { return true; }
  bool MakeDefaultPrinter(const std::wstring& name) override {
    default_printer = name;
    return default_error == 0 || Fail(default_error);
  }
  bool ListPortNames(std::vector<std::wstring>& names) override {
    names.clear();
    for (const auto& port : m_spooler.ports) names.push_back(port.name);
    return true;
  }
  bool AddPortWithSystemWizard(const std::wstring& monitor) override {
    port_wizards.push_back(monitor);
    if (wizard_error != 0) return Fail(wizard_error);
    // The system sorts its ports: the new one is not at the end.
    m_spooler.ports.insert(m_spooler.ports.begin(), {L"IP_10.0.0.9", L"TCPMON.DLL"});
    return true;
  }
  bool RunTcpIpPortDialog(std::wstring& port) override {
    port = dialog_port;
    return !dialog_port.empty();
  }
  bool StartHidden(const std::wstring& program, const std::wstring& parameters, const std::wstring& folder) override {
    started.push_back(program + L"|" + parameters + L"|" + folder);
    return start_error == 0 || Fail(start_error);
  }
  std::wstring SystemDirectory() override { return L"C:\\windows\\system32"; }
  void Sleep(int milliseconds) override { slept += milliseconds; }
  std::uint32_t OpenMachineKey(const std::wstring& path, void** key) override {
    keys.push_back(path);
    *key = this;
    return registry.count(path) != 0 ? 0 : kErrorFileNotFound;
  }
  std::uint32_t ReadText(void*, const std::wstring& value, std::size_t max_bytes, std::wstring& text) override {
    EXPECT_EQ(L"HostName", value);
    EXPECT_EQ(32u, max_bytes);
    text = registry[keys.back()].first;
    return 0;
  }
  std::uint32_t ReadNumber(void*, const std::wstring& value, std::uint32_t& number) override {
    EXPECT_EQ(L"PortNumber", value);
    number = registry[keys.back()].second;
    return number != 0 ? 0 : kErrorFileNotFound;
  }
  void CloseKey(void*) override { ++closed_keys; }
  int UpgradeAllPrinterSettings() override { return ++upgrades; }
  std::uint32_t LastError() override { return m_error; }
  std::wstring SystemMessage(std::uint32_t code) override { return L"error " + std::to_wstring(code); }

  // Script.
  std::uint32_t add_error = 0, open_error = kErrorInvalidPrinterName, delete_error = 0, set_error = 0,
                default_error = 0, wizard_error = 0, start_error = 0;
  int appears_after = 0;  // the printer the system user interface adds opens at this try
  std::wstring dialog_port;
  std::map<std::wstring, std::pair<std::wstring, std::uint32_t>> registry;  // key path: host name, port number
  // Record.
  std::vector<CNewPrinter> added;
  std::vector<std::wstring> opens, port_wizards, started, keys;
  std::wstring default_printer;
  int slept = 0, upgrades = 0, closed_keys = 0;

 private:
  std::vector<CPrinterRecord>::iterator Find(const std::wstring& name) {
    return std::find_if(m_spooler.printers.begin(), m_spooler.printers.end(),
                        [&](const CPrinterRecord& p) { return p.name == name; });
  }
  static std::size_t Index(PrinterHandle handle) { return reinterpret_cast<std::uintptr_t>(handle) - 1; }
  bool Fail(std::uint32_t error) {
    m_error = error;
    return false;
  }
  CListedSpooler& m_spooler;
  std::uint32_t m_error = 0;
};

class CFakePackage : public CDriverPackage {
 public:
  bool InstallDriverOnly() override { return false; }
  bool UpdateDriver() override { return false; }
  bool InstallWithSystemWizard() override { return false; }
  int RemoveDriver(const std::wstring&, ERemoval) override { return kRemovalFailed; }
  void CleanUpOnFinish() override {}
  unsigned long UpdateMonitorFile() override {
    steps += L"monitor ";
    return 0;
  }
  unsigned long UploadPackage(std::wstring& store_path) override {
    steps += L"upload ";
    store_path = L"C:\\store\\vyxqfive.inf";
    return upload_error;
  }
  unsigned long InstallFromPackage(const std::wstring& store_path) override {
    steps += L"install:" + store_path + L" ";
    return install_error;
  }
  unsigned long upload_error = 0, install_error = 0;
  std::wstring steps;
};

class CTableStrings : public CStringLoader {
 public:
  int Load(int id, int capacity, std::wstring& text, unsigned long& error) override {
    text = id == 1000 + kStrPortBusy ? L"Move the printers to FILE:?" : L"";
    error = text.empty() ? kErrorResourceNameNotFound : 0;
    return text.size() < static_cast<std::size_t>(capacity) ? static_cast<int>(text.size()) : 0;
  }
};

class PrinterWork : public ::testing::Test {
 protected:
  PrinterWork() : calls(spooler), work(calls, monitor, spooler, package, messages, text) {
    spooler.ports = {{L"FILE:", L"Local Port"}, {L"TCP_IP_10.0.0.7:9100", L"TCPMON.DLL"}, {L"LPT1:", L"Local Port"}};
  }
  std::vector<std::wstring> Captions() const {
    std::vector<std::wstring> captions;
    for (const auto& shown : messages.shown) captions.push_back(shown.caption);
    return captions;
  }
  std::wstring PortOf(const std::wstring& printer) const {
    for (const auto& p : spooler.printers)
      if (p.name == printer) return p.port;
    return L"(none)";
  }

  CListedSpooler spooler;
  CFakePrinterCalls calls;
  CFakeMonitor monitor;
  CFakePackage package;
  CRecordingMessageSink messages;
  CTableStrings strings;
  const CLanguageText text{&strings, 1000};
  CPrinterWork work;
};

TEST_F(PrinterWork, APrinterFromThePackageIsAddedAtLevelTwoMadeDefaultAndItsSettingsUpgraded) {
  for (const bool share : {false, true}) {
    CFakePrinterCalls fresh(spooler);
    CPrinterWork w(fresh, monitor, spooler, package, messages, text);
    spooler.printers.clear();
    package.steps.clear();
    EXPECT_TRUE(w.CreatePrinter({L"Label room", L"TCP_IP_10.0.0.7:9100", true, share}));
    EXPECT_EQ(L"monitor upload install:C:\\store\\vyxqfive.inf ", package.steps);
    ASSERT_EQ(1u, fresh.added.size());
    const CNewPrinter& p = fresh.added[0];
    EXPECT_EQ(L"Label room", p.name);
    EXPECT_EQ(share ? L"Label room" : L"", p.share_name);
    EXPECT_EQ(L"TCP_IP_10.0.0.7:9100", p.port);
    EXPECT_EQ(L"VYX - Q5", p.driver);
    EXPECT_EQ(L"winprint", p.print_processor);
    EXPECT_EQ(L"RAW", p.data_type);
    EXPECT_EQ(share ? 0x208u : 0x200u, p.attributes);
    EXPECT_EQ(1u, p.priority);
    EXPECT_TRUE(fresh.started.empty());
    EXPECT_EQ(L"Label room", fresh.default_printer);
    EXPECT_EQ(1, fresh.upgrades);
  }
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(PrinterWork, WithoutThePackageTheSystemUserInterfaceAddsItAndThePrinterIsWaitedFor) {
  struct {
    unsigned long upload_error, install_error;
    std::uint32_t add_error;
    bool share;
  } const cases[] = {{0x800F0242, 0, 0, false}, {0, 5, 0, true}, {0, 0, 1796, false}};
  for (const auto& c : cases) {
    spooler.printers.clear();
    CFakePrinterCalls fresh(spooler);
    CPrinterWork w(fresh, monitor, spooler, package, messages, text);
    package.upload_error = c.upload_error;
    package.install_error = c.install_error;
    fresh.add_error = c.add_error;
    fresh.appears_after = 3;
    EXPECT_TRUE(w.CreatePrinter({L"VYX - Q5", L"FILE:", false, c.share}));
    ASSERT_EQ(1u, fresh.started.size());
    EXPECT_EQ(std::wstring(L"C:\\windows\\system32\\rundll32.exe|printui.dll,PrintUIEntry /if /b \"VYX - Q5\" /f "
                           L"\"vyxqfive.inf\" /r \"FILE:\" /m \"VYX - Q5\"") +
                  (c.share ? L" /Z" : L"") + L"|..\\InstDisk\\",
              fresh.started[0]);
    EXPECT_EQ(200, fresh.slept);  // two failed tries before it opened
    EXPECT_TRUE(fresh.default_printer.empty());
    EXPECT_EQ(1, fresh.upgrades);
  }
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(PrinterWork, APrinterThatNeverAppearsOrCannotBeStartedKeepsThePage) {
  package.upload_error = 0x800F0242;
  struct {
    std::uint32_t open_error, start_error;
    std::vector<std::wstring> captions;
    int tries;
  } const cases[] = {
      {kErrorInvalidPrinterName, 0, {L"CheckPrinter"}, 401},
      {0, 0, {L"CheckPrinter"}, 401},  // no error code: still no printer
      {0, 2, {L"printui.dll,PrintUIEntry /if /b \"P\" /f \"vyxqfive.inf\" /r \"FILE:\" /m \"VYX - Q5\""}, 0},
  };
  for (const auto& c : cases) {
    messages.shown.clear();
    CFakePrinterCalls fresh(spooler);
    CPrinterWork w(fresh, monitor, spooler, package, messages, text);
    fresh.open_error = c.open_error;
    fresh.start_error = c.start_error;
    EXPECT_FALSE(w.CreatePrinter({L"P", L"FILE:", true, false}));
    EXPECT_EQ(c.captions, Captions());
    EXPECT_EQ(static_cast<std::size_t>(c.tries), fresh.opens.size());
    EXPECT_EQ(0, fresh.upgrades);
    EXPECT_TRUE(fresh.default_printer.empty());
  }
}

TEST_F(PrinterWork, AFailingDefaultIsShownAndThePrinterStillCounts) {
  calls.default_error = 1801;
  EXPECT_TRUE(work.CreatePrinter({L"P", L"FILE:", true, false}));
  EXPECT_EQ(std::vector<std::wstring>{L"SetDefaultPrinter"}, Captions());
  EXPECT_EQ(1, calls.upgrades);
}

TEST_F(PrinterWork, DeletingAPrinterThatIsGoneCountsAsDone) {
  spooler.printers = {{L"A", L"VYX - Q5", L"FILE:"}};
  EXPECT_TRUE(work.DeletePrinter(L"A"));
  EXPECT_TRUE(spooler.printers.empty());
  EXPECT_TRUE(work.DeletePrinter(L"A"));  // 1801
  EXPECT_EQ((std::vector<std::wstring>{L"A all", L"A all"}), calls.opens);
  EXPECT_TRUE(messages.shown.empty());
  spooler.printers = {{L"B", L"VYX - Q5", L"FILE:"}};
  calls.delete_error = 5;
  EXPECT_FALSE(work.DeletePrinter(L"B"));
  EXPECT_EQ(std::vector<std::wstring>{L"B"}, Captions());
  EXPECT_EQ(L"error 5", messages.shown[0].text);
}

TEST_F(PrinterWork, ThePortButtonAddsThroughTheDialogOrTheSystemWizard) {
  calls.dialog_port = L"TCP_IP_10.0.0.8:9100";
  EXPECT_EQ(L"TCP_IP_10.0.0.8:9100", work.AddPort(false));
  calls.dialog_port.clear();
  EXPECT_EQ(L"", work.AddPort(false));  // cancelled
  EXPECT_TRUE(calls.port_wizards.empty());

  EXPECT_EQ(L"IP_10.0.0.9", work.AddPort(true));
  EXPECT_EQ(std::vector<std::wstring>{L"Standard TCP/IP Port"}, calls.port_wizards);
  calls.wizard_error = kErrorCancelled;
  EXPECT_EQ(L"", work.AddPort(true));
  EXPECT_TRUE(messages.shown.empty());
  calls.wizard_error = 5;
  EXPECT_EQ(L"", work.AddPort(true));
  EXPECT_EQ(std::vector<std::wstring>{L"AddPort"}, Captions());
}

TEST_F(PrinterWork, ABusyPortLosesItsPrintersToFileOnlyAfterOk) {
  for (const int answer : {kIdCancel, kIdOk}) {
    spooler.printers = {{L"A", L"VYX - Q5", L"TCP_IP_10.0.0.7:9100"},
                        {L"Other", L"Other driver", L"TCP_IP_10.0.0.7:9100"},
                        {L"B", L"VYX - Q5", L"LPT1:"}};
    CFakeMonitor busy;
    busy.statuses = {kErrorBusy, 0};
    CPrinterWork w(calls, busy, spooler, package, messages, text);
    messages.shown.clear();
    messages.answers = {answer};
    messages.next = 0;
    EXPECT_EQ(answer == kIdOk, w.DeletePort(L"TCP_IP_10.0.0.7:9100"));
    EXPECT_EQ(std::vector<std::wstring>{L"Move the printers to FILE:?"},
              std::vector<std::wstring>{messages.shown.at(0).text});
    const std::wstring moved = answer == kIdOk ? L"FILE:" : L"TCP_IP_10.0.0.7:9100";
    EXPECT_EQ(moved, PortOf(L"A"));
    EXPECT_EQ(moved, PortOf(L"Other"));
    EXPECT_EQ(L"LPT1:", PortOf(L"B"));
    EXPECT_EQ(answer == kIdOk ? 2u : 1u, busy.calls.size());
  }
}

TEST_F(PrinterWork, RefreshRecreatesEachNetworkPortOfTheModelOnceAndPutsThePrintersBack) {
  spooler.ports.push_back({L"TCP_IP_10.0.0.8", L"TCPMON.DLL"});
  spooler.printers = {{L"A", L"VYX - Q5", L"TCP_IP_10.0.0.7:9100"},
                      {L"A2", L"VYX - Q5", L"TCP_IP_10.0.0.7:9100"},
                      {L"Other", L"Other driver", L"TCP_IP_10.0.0.8"},
                      {L"B", L"VYX - Q5", L"LPT1:"},
                      {L"C", L"VYX - Q5", L"TCP_IP_10.0.0.8"}};
  const std::wstring key7 = MakeTcpIpPortKey(L"TCP_IP_10.0.0.7:9100");
  EXPECT_EQ(L"SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Standard TCP/IP Port\\Ports\\TCP_IP_10.0.0.7:9100",
            key7);
  calls.registry[key7] = {L"10.0.0.7", 9100};
  calls.registry[MakeTcpIpPortKey(L"TCP_IP_10.0.0.8")] = {L"10.0.0.8", 0};  // no port number: skipped
  monitor.statuses = {kErrorBusy, 0, 0};

  work.RefreshNetworkPorts();

  EXPECT_EQ((std::vector<std::wstring>{key7, MakeTcpIpPortKey(L"TCP_IP_10.0.0.8")}), calls.keys);
  EXPECT_EQ(2, calls.closed_keys);
  EXPECT_EQ(std::vector<std::wstring>{L"PortNumber"}, Captions());
  ASSERT_EQ(3u, monitor.calls.size());
  EXPECT_EQ(L"DeletePort", monitor.calls[0].command);
  EXPECT_EQ(L"DeletePort", monitor.calls[1].command);
  EXPECT_EQ(L"AddPort", monitor.calls[2].command);
  PORT_DATA_1 expected;
  ASSERT_TRUE(FillPortData1(expected, L"TCP_IP_10.0.0.7:9100", L"10.0.0.7", 9100));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&expected), sizeof expected), monitor.calls[2].input);
  for (const wchar_t* printer : {L"A", L"A2"}) EXPECT_EQ(L"TCP_IP_10.0.0.7:9100", PortOf(printer));
  EXPECT_EQ(L"TCP_IP_10.0.0.8", PortOf(L"C"));
}

TEST_F(PrinterWork, RefreshOfAPortNothingUsesRecreatesItAndAFailedMoveIsShown) {
  spooler.printers = {{L"A", L"VYX - Q5", L"TCP_IP_10.0.0.7:9100"}};
  calls.registry[MakeTcpIpPortKey(L"TCP_IP_10.0.0.7:9100")] = {L"10.0.0.7", 9100};
  work.RefreshNetworkPorts();  // the first deletion succeeds
  ASSERT_EQ(2u, monitor.calls.size());
  EXPECT_EQ(L"AddPort", monitor.calls[1].command);

  CFakeMonitor busy;
  busy.statuses = {kErrorBusy};
  calls.set_error = 5;
  CPrinterWork w(calls, busy, spooler, package, messages, text);
  w.RefreshNetworkPorts();
  EXPECT_EQ(1u, busy.calls.size());  // nothing moved: the port is left alone
  EXPECT_EQ(std::vector<std::wstring>{L"SetPrinter"}, Captions());
  EXPECT_EQ(L"TCP_IP_10.0.0.7:9100", PortOf(L"A"));
}

}  // namespace
}  // namespace vyx
