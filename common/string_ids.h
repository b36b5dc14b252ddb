// Offsets of every language string the programs fetch (string number = language base + offset).
#pragma once

#include <array>

namespace vyx {

// Language identification, one per language block.
inline constexpr int kStrLanguageCode = 1106;         // part of a locale name before the hyphen: "en"
inline constexpr int kStrLanguageEnglishName = 1107;  // the language's English name: "Polish" widens a check box
inline constexpr int kStrLanguageDisplayName = 1108;  // the language's own name, shown in language lists

// Setup wizard pages.
inline constexpr int kStrWelcomeTitle = 1110;
inline constexpr int kStrLanguageTitle = 1120;  // also the manager's language label
inline constexpr int kStrLanguageGroup = 1121;
inline constexpr int kStrRegionalSettings = 1123;
inline constexpr int kStrUnitTitle = 1125;  // also the manager's unit label
inline constexpr int kStrUnitGroup = 1126;
inline constexpr int kStrMillimetres = 1127;
inline constexpr int kStrInches = 1128;
inline constexpr int kStrActionTitle = 1140;
inline constexpr int kStrActionGroup = 1141;
inline constexpr int kStrInstall = 1142;
inline constexpr int kStrUninstall = 1143;
inline constexpr int kStrNoDriverToUninstall = 1147;
inline constexpr int kStrLicence = 1150;
inline constexpr int kStrLicenceAccept = 1151;
inline constexpr int kStrLicenceDecline = 1152;
inline constexpr int kStrRemoveTitle = 1158;
inline constexpr int kStrUpdateKeepPort = 1159;
inline constexpr int kStrDriverTitle = 1160;
inline constexpr int kStrDriverGroup = 1161;
inline constexpr int kStrDriverOnly = 1162;
inline constexpr int kStrDriverAndPrinter = 1163;
inline constexpr int kStrRemoveDriver = 1164;
inline constexpr int kStrRemovePrinterOnly = 1165;
inline constexpr int kStrSystemPrinterWizard = 1166;
inline constexpr int kStrDriverInUse = 1167;
inline constexpr int kStrRestartSpooler = 1169;
inline constexpr int kStrPrinterTitle = 1170;
inline constexpr int kStrPrinterGroup = 1171;
inline constexpr int kStrPrinterName = 1172;
inline constexpr int kStrPort = 1173;
inline constexpr int kStrMakeDefault = 1174;
inline constexpr int kStrAddPort = 1175;
inline constexpr int kStrDeletePort = 1176;
inline constexpr int kStrPrinterExists = 1177;
inline constexpr int kStrPortBusy = 1178;
inline constexpr int kStrExpertPortWizard = 1179;
inline constexpr int kStrSharePrinter = 1182;
inline constexpr int kStrResultTitle = 1190;
inline constexpr int kStrResultText = 1191;
inline constexpr int kStrDone = 1192;  // the wizard's Finish button and the manager's Done button

// TCP/IP port dialog of the setup wizard.
inline constexpr int kStrTcpIpTitle = 1220;
inline constexpr int kStrTcpIpGroup = 1221;
inline constexpr int kStrPortName = 1222;
inline constexpr int kStrIpAddress = 1223;
inline constexpr int kStrPortNumber = 1224;
inline constexpr int kStrMacAddress = 1225;
inline constexpr int kStrIncompleteAddress = 1227;
inline constexpr int kStrDevicesFound = 1228;
inline constexpr int kStrTcpIpInstruction = 1229;
inline constexpr int kStrSearchingDevices = 1231;
inline constexpr int kStrPortNumberRange = 1232;
inline constexpr int kStrPortNameMissing = 1233;
inline constexpr int kStrSetupCaption = 1250;  // caption of the wizard's messages
inline constexpr int kStrPortBusyCaption = 1252;

// Materials: display names of tape colours at +1260 + tape id and of ribbon colours at +1350 + ribbon id.
inline constexpr int kStrTapeNameBase = 1260;
inline constexpr int kStrRibbonNameBase = 1350;
inline constexpr std::array<int, 12> kSampleTapeIds = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
inline constexpr std::array<int, 20> kSampleRibbonIds = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,
                                                         10, 11, 12, 13, 14, 15, 16, 17, 18, 19};

inline constexpr int kStrCancel = 1301;
inline constexpr int kStrOk = 1312;

// Manager: job list (production steps).
inline constexpr int kStrStepPrinted = 1389;
inline constexpr int kStrStepToPrint = 1390;
inline constexpr int kStrStepSkipped = 1391;
inline constexpr int kStrOwnRibbon = 1392;
inline constexpr int kStrOtherRibbon = 1393;
inline constexpr int kStrColumnRibbonChoice = 1398;
inline constexpr int kStrColumnColour = 1399;
inline constexpr int kStrColumnStatus = 1400;
inline constexpr int kStrColumnStep = 1401;
inline constexpr int kStrColumnNote = 1403;
inline constexpr int kStrColumnPrintedWith = 1404;
inline constexpr int kStrPlotterCut = 1405;
inline constexpr int kStrStatusToDo = 1406;
inline constexpr int kStrStatusDone = 1407;
inline constexpr int kStrStatusSkipped = 1408;
inline constexpr int kStrDistributed = 1409;

// Manager: main window.
inline constexpr int kStrPrintDimensions = 1410;
inline constexpr int kStrFormSize = 1411;
inline constexpr int kStrOptimisedSize = 1412;
inline constexpr int kStrMargin = 1413;
inline constexpr int kStrVariableSize = 1415;
inline constexpr int kStrAdjustToLargest = 1416;
inline constexpr int kStrAdjustIndividually = 1417;
inline constexpr int kStrCutOut = 1420;
inline constexpr int kStrOutlineCut = 1421;
inline constexpr int kStrCutSetsFit = 1428;  // three integers: copies, labels per set, requested
inline constexpr int kStrCutSetsTip = 1429;
inline constexpr int kStrCopiesGroup = 1430;
inline constexpr int kStrCopies = 1431;
inline constexpr int kStrCopyOffset = 1432;
inline constexpr int kStrTotalLength = 1433;
inline constexpr int kStrPrintJobCount = 1434;  // one integer
inline constexpr int kStrCopiesPrinted = 1435;  // integer, string, integer
inline constexpr int kStrLastRowTip = 1436;
inline constexpr int kStrTapeCutSets = 1437;
inline constexpr int kStrCopiesForcedToOne = 1438;
inline constexpr int kStrLabelsPerSet = 1439;
inline constexpr int kStrJobList = 1440;
inline constexpr int kStrPrint = 1441;
inline constexpr int kStrResetAllJobs = 1442;
inline constexpr int kStrLengthLimit = 1445;  // one integer (metres)
inline constexpr int kStrControl = 1446;
inline constexpr int kStrAdvanced = 1450;
inline constexpr int kStrInchUnit = 1451;
inline constexpr int kStrFeetUnit = 1452;
inline constexpr int kStrAdvancedTitle = 1455;
inline constexpr int kStrLaminate = 1464;
inline constexpr int kStrMiscellaneous = 1466;
inline constexpr int kStrUpdateFirmware = 1467;
inline constexpr int kStrFirmwareSent = 1468;
inline constexpr int kStrDarkness = 1470;
inline constexpr int kStrRangeTo = 1471;
inline constexpr int kStrRibbonSaving = 1481;
inline constexpr int kStrPrintToFile = 1482;
inline constexpr int kStrLandscapeLayout = 1485;
inline constexpr int kStrLeftToRight = 1486;
inline constexpr int kStrRightToLeft = 1487;
inline constexpr int kStrProgressTitle = 1490;
inline constexpr int kStrProgressText = 1491;
inline constexpr int kStrAbort = 1492;
inline constexpr int kStrMaterials = 1495;
inline constexpr int kStrTape = 1496;
inline constexpr int kStrRibbon = 1497;
inline constexpr int kStrTooShort = 1498;
inline constexpr int kStrLogonFailed = 1500;  // one string: the machine name
inline constexpr int kStrConnectionFailed = 1501;
inline constexpr int kStrJobDataMissing = 1504;
inline constexpr int kStrManagerCaption = 1505;
inline constexpr int kStrDriverVersion = 1607;

// Every offset above that names one string, materials excluded (see AllStringOffsets).
inline constexpr std::array kFixedStringOffsets = {
    kStrLanguageCode,
    kStrLanguageEnglishName,
    kStrLanguageDisplayName,
    kStrWelcomeTitle,
    kStrLanguageTitle,
    kStrLanguageGroup,
    kStrRegionalSettings,
    kStrUnitTitle,
    kStrUnitGroup,
    kStrMillimetres,
    kStrInches,
    kStrActionTitle,
    kStrActionGroup,
    kStrInstall,
    kStrUninstall,
    kStrNoDriverToUninstall,
    kStrLicence,
    kStrLicenceAccept,
    kStrLicenceDecline,
    kStrRemoveTitle,
    kStrUpdateKeepPort,
    kStrDriverTitle,
    kStrDriverGroup,
    kStrDriverOnly,
    kStrDriverAndPrinter,
    kStrRemoveDriver,
    kStrRemovePrinterOnly,
    kStrSystemPrinterWizard,
    kStrDriverInUse,
    kStrRestartSpooler,
    kStrPrinterTitle,
    kStrPrinterGroup,
    kStrPrinterName,
    kStrPort,
    kStrMakeDefault,
    kStrAddPort,
    kStrDeletePort,
    kStrPrinterExists,
    kStrPortBusy,
    kStrExpertPortWizard,
    kStrSharePrinter,
    kStrResultTitle,
    kStrResultText,
    kStrDone,
    kStrTcpIpTitle,
    kStrTcpIpGroup,
    kStrPortName,
    kStrIpAddress,
    kStrPortNumber,
    kStrMacAddress,
    kStrIncompleteAddress,
    kStrDevicesFound,
    kStrTcpIpInstruction,
    kStrSearchingDevices,
    kStrPortNumberRange,
    kStrPortNameMissing,
    kStrSetupCaption,
    kStrPortBusyCaption,
    kStrCancel,
    kStrOk,
    kStrStepPrinted,
    kStrStepToPrint,
    kStrStepSkipped,
    kStrOwnRibbon,
    kStrOtherRibbon,
    kStrColumnRibbonChoice,
    kStrColumnColour,
    kStrColumnStatus,
    kStrColumnStep,
    kStrColumnNote,
    kStrColumnPrintedWith,
    kStrPlotterCut,
    kStrStatusToDo,
    kStrStatusDone,
    kStrStatusSkipped,
    kStrDistributed,
    kStrPrintDimensions,
    kStrFormSize,
    kStrOptimisedSize,
    kStrMargin,
    kStrVariableSize,
    kStrAdjustToLargest,
    kStrAdjustIndividually,
    kStrCutOut,
    kStrOutlineCut,
    kStrCutSetsFit,
    kStrCutSetsTip,
    kStrCopiesGroup,
    kStrCopies,
    kStrCopyOffset,
    kStrTotalLength,
    kStrPrintJobCount,
    kStrCopiesPrinted,
    kStrLastRowTip,
    kStrTapeCutSets,
    kStrCopiesForcedToOne,
    kStrLabelsPerSet,
    kStrJobList,
    kStrPrint,
    kStrResetAllJobs,
    kStrLengthLimit,
    kStrControl,
    kStrAdvanced,
    kStrInchUnit,
    kStrFeetUnit,
    kStrAdvancedTitle,
    kStrLaminate,
    kStrMiscellaneous,
    kStrUpdateFirmware,
    kStrFirmwareSent,
    kStrDarkness,
    kStrRangeTo,
    kStrRibbonSaving,
    kStrPrintToFile,
    kStrLandscapeLayout,
    kStrLeftToRight,
    kStrRightToLeft,
    kStrProgressTitle,
    kStrProgressText,
    kStrAbort,
    kStrMaterials,
    kStrTape,
    kStrRibbon,
    kStrTooShort,
    kStrLogonFailed,
    kStrConnectionFailed,
    kStrJobDataMissing,
    kStrManagerCaption,
    kStrDriverVersion,
};

// Every offset a language block must hold: the fixed ones and the sample catalogue's material names.
constexpr std::array<int, kFixedStringOffsets.size() + kSampleTapeIds.size() + kSampleRibbonIds.size()>
AllStringOffsets() {
  std::array<int, kFixedStringOffsets.size() + kSampleTapeIds.size() + kSampleRibbonIds.size()> all{};
  std::size_t n = 0;
  for (int offset : kFixedStringOffsets) all[n++] = offset;
  for (int id : kSampleTapeIds) all[n++] = kStrTapeNameBase + id;
  for (int id : kSampleRibbonIds) all[n++] = kStrRibbonNameBase + id;
  return all;
}

}  // namespace vyx
