// The driver package work on the in-memory machine: installing, updating and removing, files in use, the driver
// store's answers, spooler restarts with and without the user's consent, settings and stale printer entries.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/string_ids.h"
#include "setup/driver_package_work.h"
#include "tests/support/standin_machine.h"

namespace vyx {
namespace {

using testing::CStandInMachine;

// Strings are their own numbers ("2167"), so messages show which text they took.
class CNumberStrings : public CStringLoader {
 public:
  int Load(int id, int, std::wstring& text, unsigned long&) override {
    text = std::to_wstring(id);
    return static_cast<int>(text.size());
  }
};

std::wstring SystemText(unsigned long error) {
  return L"error " + std::to_wstring(error);
}

constexpr const wchar_t* kDriverKey =
    L"HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows x64\\Drivers\\Version-3\\VYX - Q5";

class DriverPackage : public ::testing::Test {
 protected:
  DriverPackage()
      : m_work(m_machine,
               m_state,
               m_messages,
               m_debug,
               &SystemText,
               {[this] {
                  return RestartSpoolerWithConsent({m_state, m_messages, m_debug, &SystemText}, m_machine);
                },
                [this] {
                  m_hooks.push_back(L"UpgradeAllDevmodes");
                  return 0;
                },
                [this] { m_hooks.push_back(L"RefreshNetworkPorts"); }}) {
    m_state.language = CLanguageText(&m_strings, 1000);
  }

  // "VYX - Q5" installed from the store with a printer, its monitor and the monitor file.
  void InstallModel(bool with_printer = true) {
    CStandInMachine::CDriver driver;
    driver.data = L"vyxq5.gpd";
    driver.config = L"vyxq5ui.dll";
    driver.driver = L"vyxq5.dll";
    driver.dependent = {L"vyxq5res.dll", L"vyxq5.dll"};  // listed twice: deleted once
    driver.inf_path = L"C:\\Windows\\System32\\DriverStore\\FileRepository\\vyxqfive.inf_amd64_1\\vyxqfive.inf";
    m_machine.AddDriver(L"VYX - Q5", driver);
    if (with_printer) m_machine.printers.push_back({L"Labels", L"VYX - Q5", L"USB001"});
    m_machine.printers.push_back({L"Office", L"Other Driver", L"LPT1:"});
    m_machine.monitors[L"Bidi Language Monitor"] = false;
    m_machine.files[m_machine.MonitorFile()] = {100, 1};
  }
  std::vector<std::wstring> Captions() const {
    std::vector<std::wstring> captions;
    for (const auto& shown : m_messages.shown) captions.push_back(shown.caption);
    return captions;
  }
  bool Called(const std::wstring& call) const {
    return std::find(m_machine.calls.begin(), m_machine.calls.end(), call) != m_machine.calls.end();
  }

  CNumberStrings m_strings;
  CWizardState m_state;
  CStandInMachine m_machine;
  CRecordingMessageSink m_messages;
  CCollectingDebugOutput m_debug;
  std::vector<std::wstring> m_hooks;
  CDriverPackageWork m_work;
};

TEST_F(DriverPackage, FullRemovalWithoutPrintersStillRemovesDriverPackageFilesAndMonitor) {
  InstallModel(false);
  EXPECT_EQ(0, m_work.RemoveDriver(L"VYX - Q5", ERemoval::kFull));
  EXPECT_FALSE(m_machine.HasDriver(L"VYX - Q5"));
  EXPECT_FALSE(m_machine.HasKey(kDriverKey));
  EXPECT_TRUE(m_machine.store.empty());
  EXPECT_TRUE(m_machine.monitors.empty());
  for (const auto& [path, file] : m_machine.files) ADD_FAILURE() << "left: " << std::string(path.begin(), path.end());
  EXPECT_EQ(1u, m_machine.printers.size());  // the printer of another driver stays
  EXPECT_TRUE(m_messages.shown.empty());
}

TEST_F(DriverPackage, RemovalDeletesThePrintersOfTheDriverAndCountsThem) {
  InstallModel();
  m_machine.printers.push_back({L"Labels 2", L"VYX - Q5", L"IP_10.0.0.7"});
  EXPECT_EQ(2, m_work.RemoveDriver(L"VYX - Q5", ERemoval::kFull));
  ASSERT_EQ(1u, m_machine.printers.size());
  EXPECT_EQ(L"Office", m_machine.printers[0].name);
}

TEST_F(DriverPackage, DriverInUseFirstAttemptDeletesTheKeyAndStaysSecondCompletes) {
  InstallModel(false);
  m_machine.drivers[L"VYX - Q5"].in_use = true;
  EXPECT_EQ(kRemovalTryAgain, m_work.RemoveDriver(L"VYX - Q5", ERemoval::kFull));
  EXPECT_FALSE(m_machine.HasKey(kDriverKey));
  EXPECT_EQ((std::vector<std::wstring>{L"2250"}), Captions());
  EXPECT_EQ(L"2167", m_messages.shown[0].text);
  EXPECT_EQ(0, m_machine.restarts);

  m_messages.shown.clear();
  EXPECT_EQ(0, m_work.RemoveDriver(L"VYX - Q5", ERemoval::kFull));
  EXPECT_TRUE(m_messages.shown.empty());
  EXPECT_TRUE(m_machine.monitors.empty());
  EXPECT_FALSE(m_machine.files.count(m_machine.MonitorFile()));
}

// The driver key gone, the spooler still holds the driver: a restart (asked once) lets the deletion through.
TEST_F(DriverPackage, DriverStillInUseAfterItsKeyIsGoneNeedsARestart) {
  struct CCase {
    int answer;
    int result;
    int restarts;
  };
  for (const CCase& c : {CCase{kIdOk, 0, 1}, CCase{kIdCancel, kRemovalFailed, 0}}) {
    SCOPED_TRACE(c.answer);
    CStandInMachine machine;
    CRecordingMessageSink messages;
    CWizardState state;
    state.language = CLanguageText(&m_strings, 1000);
    CDriverPackageWork work(machine, state, messages, m_debug, &SystemText,
                            {[&] {
                               return RestartSpoolerWithConsent({state, messages, m_debug, &SystemText}, machine);
                             },
                             {},
                             {}});
    machine.AddDriver(L"VYX - Q5", {});
    machine.protected_keys.insert(CStandInMachine::Lower(kDriverKey));  // the key cannot go: the driver stays
    machine.drivers[L"VYX - Q5"].in_use = true;
    messages.answers = {kIdOk, kIdOk, c.answer};
    EXPECT_EQ(c.result, work.RemoveDriver(L"VYX - Q5", ERemoval::kPartial));
    EXPECT_EQ(c.restarts, machine.restarts);
    EXPECT_EQ(c.result == 0, !machine.HasDriver(L"VYX - Q5"));
    ASSERT_GE(messages.shown.size(), 3u);
    EXPECT_EQ(L"SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows x64\\Drivers\\Version-3\\VYX - Q5",
              messages.shown[1].caption);  // access denied on the key
    EXPECT_EQ(L"2169", messages.shown[2].text);
  }
}

TEST_F(DriverPackage, MonitorFileInUseEndsRenamedAndMarkedForDeletionAtRestart) {
  InstallModel(false);
  m_machine.files[m_machine.MonitorFile()].in_use = true;
  EXPECT_EQ(0, m_work.RemoveDriver(L"VYX - Q5", ERemoval::kFull));
  const std::wstring renamed = L"C:\\Windows\\system32\\Kavmon_ScheduledForDeletion4242.dll";
  EXPECT_EQ(std::vector<std::wstring>{renamed}, m_machine.restart_deletions);
  EXPECT_TRUE(m_machine.files.count(renamed));
  EXPECT_FALSE(m_machine.files.count(m_machine.MonitorFile()));
}

TEST_F(DriverPackage, ScheduledNameGoesBeforeTheLastFourCharacters) {
  EXPECT_EQ(L"C:\\x\\Kavmon_ScheduledForDeletion7.dll", ScheduledForDeletionName(L"C:\\x\\Kavmon.dll", 7));
  EXPECT_EQ(L"_ScheduledForDeletion0ab", ScheduledForDeletionName(L"ab", 0));
}

// Package in use: a retry after 2000 ms, then a restart and a third try; what the user answered decides.
TEST_F(DriverPackage, PackageInUseIsRetriedThenRestartedWithConsent) {
  struct CCase {
    int answer;
    bool package_left;
    std::size_t messages;
  };
  for (const CCase& c : {CCase{kIdOk, false, 1}, CCase{kIdCancel, true, 2}}) {
    SCOPED_TRACE(c.answer);
    InstallModel(false);
    const std::wstring inf = m_machine.drivers[L"VYX - Q5"].inf_path;
    m_machine.packages_in_use.insert(inf);
    m_messages = {};
    m_messages.answers = {c.answer};
    m_state.restart_consent = kConsentNotAsked;
    m_machine.waited_ms = 0;
    m_machine.calls.clear();
    EXPECT_EQ(0, m_work.RemoveDriver(L"VYX - Q5", ERemoval::kFull));
    EXPECT_EQ(c.package_left, m_machine.store.count(inf) != 0);
    EXPECT_EQ(2000u + (c.answer == kIdOk ? 3000u + 3000u + 1500u : 0u), m_machine.waited_ms);
    EXPECT_EQ(c.answer == kIdOk ? 3 : 2,
              std::count(m_machine.calls.begin(), m_machine.calls.end(), L"DeletePackage " + inf));
    ASSERT_EQ(c.messages, m_messages.shown.size());
    EXPECT_EQ(L"2169", m_messages.shown[0].text);
    if (c.package_left) {
      EXPECT_EQ(L"DeletePrinterDriverPackage", m_messages.shown[1].caption);
    }
  }
}

TEST_F(DriverPackage, MonitorInUseIsDeletedAfterARestartAndRefusalAsksOnlyOnce) {
  InstallModel(false);
  m_machine.monitors[L"Bidi Language Monitor"] = true;
  m_messages.answers = {kIdCancel};
  EXPECT_EQ(0, m_work.RemoveDriver(L"VYX - Q5", ERemoval::kFull));
  EXPECT_EQ((std::vector<std::wstring>{L"2250", L"DeleteMonitor"}), Captions());
  EXPECT_EQ(L"error 3008", m_messages.shown[1].text);
  EXPECT_EQ(kConsentRefused, m_state.restart_consent);

  // Refused once: the next request fails at once without asking.
  m_machine.AddDriver(L"VYX - Q5", {});
  m_messages.shown.clear();
  EXPECT_EQ(0, m_work.RemoveDriver(L"VYX - Q5", ERemoval::kFull));
  EXPECT_EQ(std::vector<std::wstring>{L"DeleteMonitor"}, Captions());
  EXPECT_EQ(0, m_machine.restarts);
}

TEST_F(DriverPackage, PartialRemovalTakesPrintersAndDriverOfTheOlderNameOnly) {
  InstallModel();
  m_machine.AddDriver(L"VYX-Q five", {});
  m_machine.printers.push_back({L"Old labels", L"VYX-Q five", L"USB002"});
  m_machine.SetValue(L"HKLM\\Software\\Zavo\\VYX-Q5", L"LangBaseID", L"1000");
  EXPECT_EQ(1, m_work.RemoveDriver(L"VYX-Q five", ERemoval::kPartial));
  EXPECT_FALSE(m_machine.HasDriver(L"VYX-Q five"));
  EXPECT_TRUE(m_machine.HasDriver(L"VYX - Q5"));
  EXPECT_EQ(2u, m_machine.printers.size());
  EXPECT_TRUE(m_machine.HasKey(L"HKLM\\Software\\Zavo\\VYX-Q5"));
  EXPECT_EQ(1u, m_machine.monitors.size());
  // Nothing of the older name: nothing to do, nothing shown.
  EXPECT_EQ(0, m_work.RemoveDriver(L"VYX-Q five", ERemoval::kPartial));
  EXPECT_TRUE(m_messages.shown.empty());
}

TEST_F(DriverPackage, PrintersThatCannotBeListedOrDeletedKeepTheWizardOnThePage) {
  InstallModel();
  m_machine.list_printers_answers = {5};
  EXPECT_EQ(kRemovalFailed, m_work.RemoveDriver(L"VYX - Q5", ERemoval::kFull));
  EXPECT_TRUE(m_machine.HasDriver(L"VYX - Q5"));
}

TEST_F(DriverPackage, SettingsCleanUpCoversTheMachineAndEveryLoadedUserHive) {
  const std::wstring user1 = L"HKU\\S-1-5-21-1004336348-1177238915-682003330-1001";
  const std::wstring user2 = L"HKU\\S-1-5-21-1004336348-1177238915-682003330-1002";
  const std::wstring classes = user1 + L"_Classes";
  for (const std::wstring& hive : {std::wstring(L"HKLM"), user1, user2, classes, std::wstring(L"HKU\\.DEFAULT")}) {
    m_machine.SetValue(hive + L"\\Software\\Zavo\\VYX-Q5", L"UnitCode", L"1");
  }
  m_machine.AddKey(user2 + L"\\Software\\Zavo\\Other Product");
  m_machine.protected_keys.insert(CStandInMachine::Lower(user1 + L"\\Software\\Zavo\\VYX-Q5"));
  m_work.CleanUpSettings();
  EXPECT_FALSE(m_machine.HasKey(L"HKLM\\Software\\Zavo"));
  EXPECT_TRUE(m_machine.HasKey(user1 + L"\\Software\\Zavo\\VYX-Q5"));  // denied, and said so
  ASSERT_EQ(std::vector<std::wstring>{L"Software\\Zavo\\VYX-Q5"}, Captions());
  EXPECT_EQ(L"error 5", m_messages.shown[0].text);
  EXPECT_FALSE(m_machine.HasKey(user2 + L"\\Software\\Zavo\\VYX-Q5"));
  EXPECT_TRUE(m_machine.HasKey(user2 + L"\\Software\\Zavo\\Other Product"));
  EXPECT_TRUE(m_machine.HasKey(classes + L"\\Software\\Zavo\\VYX-Q5"));
  EXPECT_TRUE(m_machine.HasKey(L"HKU\\.DEFAULT\\Software\\Zavo\\VYX-Q5"));
}

TEST_F(DriverPackage, DriverOnlyFallsBackToPrintUiWhenTheStoreRefusesThePackage) {
  m_machine.devices = {L"Zavo B.V.VYX Q5", L"Other Printer"};
  m_machine.upload_answers = {kHresultNoDriverInStore};
  EXPECT_TRUE(m_work.InstallDriverOnly());
  EXPECT_EQ((std::vector<std::wstring>{L"C:\\Windows\\system32\\rundll32.exe | printui.dll,PrintUIEntry /ia /f "
                                       L"\"vyxqfive.inf\" /m \"VYX - Q5\" | ..\\InstDisk\\"}),
            m_machine.started);
  const std::vector<std::wstring> expected = {
      L"ListDevices {62f9c741-b25a-46ce-b54c-9bccce08b6f2}", L"RemoveDevice Zavo B.V.VYX Q5",
      L"UploadPackage ..\\InstDisk\\vyxqfive.inf",           L"DeletePrinterDriver VYX - Q5",
      L"UploadPackage ..\\InstDisk\\vyxqfive.inf",           L"ReenumerateDevices"};
  EXPECT_EQ(expected, m_machine.calls);
  EXPECT_FALSE(m_machine.HasDriver(L"VYX - Q5"));  // plug and play installs it from the store
  EXPECT_EQ(std::vector<std::wstring>{L"UploadPrinterDriverPackage"}, Captions());
}

TEST_F(DriverPackage, DriverOnlyFailsWhenTheFallbackOrItsDriverDeletionFails) {
  struct CCase {
    const char* name;
    unsigned long start;
    bool installs;
    bool in_use;
    std::vector<std::wstring> captions;
  };
  const std::wstring params = L"printui.dll,PrintUIEntry /ia /f \"vyxqfive.inf\" /m \"VYX - Q5\"";
  const CCase cases[] = {
      {"cannot start", 2, false, false, {L"UploadPrinterDriverPackage", params}},
      {"driver never shows", 0, false, false, {L"UploadPrinterDriverPackage", L"CheckDriver"}},
      {"driver in use", 0, true, true, {L"UploadPrinterDriverPackage"}},
  };
  for (const CCase& c : cases) {
    SCOPED_TRACE(c.name);
    CStandInMachine machine;
    CRecordingMessageSink messages;
    CDriverPackageWork work(machine, m_state, messages, m_debug, &SystemText, {});
    machine.upload_answers = {kHresultNoDriverInStore};
    machine.start_answers = {c.start};
    machine.printui_installs_driver = c.installs;
    if (c.in_use) machine.printers.push_back({L"Labels", L"VYX - Q5", L"USB001"});
    EXPECT_FALSE(work.InstallDriverOnly());
    std::vector<std::wstring> captions;
    for (const auto& shown : messages.shown) captions.push_back(shown.caption);
    EXPECT_EQ(c.captions, captions);
    if (std::string(c.name) == "driver never shows") {
      EXPECT_EQ(L"error 1797", messages.shown[1].text);  // never a success code for a driver that is not there
      EXPECT_EQ(40000u, machine.waited_ms);
    }
  }
}

TEST_F(DriverPackage, UpdateInstallsFromTheStoreOrThroughPrintUi) {
  m_machine.files[L"D:\\Setup\\..\\InstDisk\\AMD64\\Kavmon.dll"] = {120, 2};
  m_machine.files[m_machine.MonitorFile()] = {100, 1};
  m_messages.answers = {kIdOk};
  EXPECT_TRUE(m_work.UpdateDriver());
  EXPECT_TRUE(m_machine.HasDriver(L"VYX - Q5"));
  EXPECT_EQ((std::vector<std::wstring>{L"RefreshNetworkPorts", L"UpgradeAllDevmodes"}), m_hooks);
  // The newer monitor file replaced the installed one; the old one goes at restart, the spooler restarted.
  EXPECT_EQ(120u, m_machine.files[m_machine.MonitorFile()].size);
  EXPECT_EQ(std::vector<std::wstring>{L"C:\\Windows\\system32\\Kavmon_ScheduledForDeletion4242.dll"},
            m_machine.restart_deletions);
  EXPECT_EQ(1, m_machine.restarts);

  // The store refuses the driver: the system printer user interface installs it, the settings are upgraded.
  m_hooks.clear();
  m_machine.drivers.clear();
  m_machine.install_answers = {87};
  EXPECT_TRUE(m_work.UpdateDriver());
  EXPECT_EQ(std::vector<std::wstring>{L"UpgradeAllDevmodes"}, m_hooks);
  EXPECT_EQ(1u, m_machine.started.size());
  m_machine.install_answers = {87};
  m_machine.start_answers = {1155};
  EXPECT_FALSE(m_work.UpdateDriver());
}

TEST_F(DriverPackage, SystemWizardStartsPrintUiWithTheInfOnTheDiskAndDoesNotWait) {
  m_machine.start_answers = {2};
  EXPECT_TRUE(m_work.InstallWithSystemWizard());
  EXPECT_EQ((std::vector<std::wstring>{L"C:\\Windows\\system32\\rundll32.exe | printui.dll,PrintUIEntry /ii /f "
                                       L"\"D:\\Setup\\..\\InstDisk\\vyxqfive.inf\" | "}),
            m_machine.started);
  EXPECT_TRUE(m_messages.shown.empty());
}

TEST_F(DriverPackage, ReenumerationFailuresGoToTheDebuggerOnly) {
  m_machine.locate_error = 0xD;
  EXPECT_FALSE(m_work.ReenumerateDevices());
  m_machine.locate_error = 0;
  m_machine.reenumerate_error = 0x1F;
  EXPECT_FALSE(m_work.ReenumerateDevices());
  EXPECT_EQ((std::vector<std::wstring>{L"CM_Locate_DevNode failed: d\n", L"CM_Reenumerate_DevNode failed: 1f\n"}),
            m_debug.lines);
  EXPECT_TRUE(m_messages.shown.empty());
}

TEST(PrinterKeyNames, NumberedPrinterKeysEndInACommaAndDigitsPastTheSecondCharacter) {
  const std::pair<const wchar_t*, bool> cases[] = {
      {L"Label,12", true}, {L"X,1", false},      {L"XY,1", true},  {L",12", false}, {L"Label,", false},
      {L"Label", false},   {L"Label,1a", false}, {L"A,b,7", true}, {L"", false},    {L"Label 12", false},
  };
  for (const auto& [name, numbered] : cases) EXPECT_EQ(numbered, IsNumberedPrinterKey(name)) << name;
}

TEST_F(DriverPackage, StalePrinterEntriesGoOnFinishOnlyAfterAnAgreedRestart) {
  const std::wstring root = L"HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\";
  m_machine.SetValue(root + L"Label,12", L"Printer Driver", L"VYX - Q5");  // no PnPData: stale
  m_machine.SetValue(root + L"Label,13", L"Printer Driver", L"VYX - Q5");  // our hardware: stale
  m_machine.SetValue(root + L"Label,13\\PnPData", L"HardwareID", L"USBPRINT\\ZAVO_B.V.VYX_Q5A1B2");
  m_machine.SetValue(root + L"Label,14", L"Printer Driver", L"VYX - Q5");  // other hardware
  m_machine.SetValue(root + L"Label,14\\PnPData", L"HardwareID", L"USBPRINT\\OTHER");
  m_machine.SetValue(root + L"X,1", L"Printer Driver", L"VYX - Q5");           // not numbered
  m_machine.SetValue(root + L"Office,3", L"Printer Driver", L"Other Driver");  // other driver
  m_machine.SetValue(root + L"Labels", L"Printer Driver", L"VYX - Q5");        // a printer's own key
  const std::vector<std::wstring> expected = {L"SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\Label,12",
                                              L"SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\Label,13"};
  EXPECT_EQ(expected, m_work.CollectStalePrinters());

  // Never asked about a restart: nothing is deleted, nobody is asked.
  m_work.CleanUpOnFinish();
  EXPECT_TRUE(m_machine.HasKey(root + L"Label,12"));
  EXPECT_TRUE(m_messages.shown.empty());
  // Refused: still nothing.
  m_state.restart_consent = kConsentRefused;
  m_work.CleanUpOnFinish();
  EXPECT_TRUE(m_machine.HasKey(root + L"Label,12"));
  // Agreed: the spooler restarts, then the stale keys go with their subkeys.
  m_state.restart_consent = kConsentAgreed;
  m_work.CleanUpOnFinish();
  EXPECT_EQ(1, m_machine.restarts);
  EXPECT_FALSE(m_machine.HasKey(root + L"Label,12"));
  EXPECT_FALSE(m_machine.HasKey(root + L"Label,13\\PnPData"));
  EXPECT_TRUE(m_machine.HasKey(root + L"Label,14"));
  EXPECT_TRUE(m_machine.HasKey(root + L"X,1"));
  EXPECT_TRUE(m_messages.shown.empty());
}

}  // namespace
}  // namespace vyx
