// The program's own words on every control: one table of captions, hints, tab
// captions and window titles, checked against every window, dialog and menu the
// program builds, so a paraphrase cannot creep back; in the same pass every
// radio button must be spoken as a radio button.
#include "TestSupport.h"
#include "acquisition/RouterLog.h"
#include "configuration/TForm10.h"
#include "configuration/TForm14.h"
#include "configuration/TForm17.h"
#include "configuration/TForm18.h"
#include "configuration/TForm4.h"
#include "configuration/TForm6.h"
#include "configuration/TForm8.h"
#include "configuration/TForm9.h"
#include "configuration/UserLabelDialog.h"
#include "mainwindow/TForm1.h"
#include "pages/TForm15.h"
#include "pages/TForm16.h"
#include "pages/TForm5.h"
#include "pages/TForm7.h"
#include "OnlyChild.h"
#include "acquisition/TelnetScriptRunner.h"
#include "acquisition/TelnetSession.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>
#include <memory>

using testsupport::onlyChild;

namespace {

// kind: 'T' caption (button, label, group box, menu item), 'H' hint, 'B' tab
// caption of the page holding the object, 'W' window title, 'L' the label
// that names the control as its buddy.
struct Caption {
    const char *window; // the object name of the window or popup menu it is on
    char kind;
    const char *object;
    const char *text;
};

const Caption kCaptions[] = {
    // Form2
    {"Form2", 'T', "rbV1234", "DG834(G, GT) v1,2,3 or 4"},
    {"Form2", 'T', "rbV5", "DG834(G) v5"},
    {"Form2", 'T', "rbNotNetgear", "Other router"},
    {"Form2", 'T', "rbST585", "Thomson 585 v6, v7"},
    {"Form2", 'T', "GroupModel", "Router Make && Model "},
    {"Form2", 'T', "cbLogin", "Login"},
    {"Form2", 'T', "cbUsePlain", "Show password in plain text"},
    {"Form2", 'T', "cbRemLoginPass", "Remember password"},
    {"Form2", 'T', "cbUsernameNotRequired", "The router does not require a Username"},
    {"Form2", 'T', "cbLogOut", "Logout"},
    {"Form2", 'T', "cbUseSource", "Use source A"},
    {"Form2", 'T', "cbLoopback", "Use source B"},
    {"Form2", 'T', "btnRxNoise", "Rx Noise"},
    {"Form2", 'T', "btnTxNoise", "Tx Noise"},
    {"Form2", 'T', "btnSync", "Rx Sync"},
    {"Form2", 'T', "btnTxSync", "Tx Sync"},
    {"Form2", 'T', "cbRXNoiseAuto", "Adjust axis automatically"},
    {"Form2", 'T', "cbRxSyncAuto", "Adjust axis automatically"},
    {"Form2", 'T', "cbUserAuto", "Adjust axis automatically"},
    {"Form2", 'T', "cbUser1Auto", "Adjust axis automatically"},
    {"Form2", 'T', "cbScale10", "x10"},
    {"Form2", 'T', "cbScale1000", "x1000"},
    {"Form2", 'T', "GroupBox8", "User-Defined 1 "},
    {"Form2", 'T', "GroupBox16", "User-Defined 2 "},
    {"Form2", 'T', "rbDots", "Use dots for grid"},
    {"Form2", 'T', "rbStairs", "Steps mode"},
    {"Form2", 'T', "rbRamp", "Ramp mode"},
    {"Form2", 'T', "cbPauseGraphs", "Pause graphs when router doesn't respond"},
    {"Form2", 'T', "cbLocked", "Lock graphs together when dragging horizontally"},
    {"Form2", 'T', "cbAllowVerticalDrag", "Allow graphs to be dragged vertically"},
    {"Form2", 'T', "cbShowGaps", "Show gaps in timeline longer than"},
    {"Form2", 'T', "rbWindowsTime", "Append Windows date/time"},
    {"Form2", 'T', "rbUnixTime", "Append Unix time"},
    {"Form2", 'T', "rbSameFilename", "Don't append date and time (always use the same filename)"},
    {"Form2", 'T', "rbAllTheTime", "Always"},
    {"Form2", 'T', "rbBetweenHours", "Between hours"},
    {"Form2", 'T', "rbNever", "Never"},
    {"Form2", 'T', "cbLastGraph", "Capture additional graphs when Veltrano closes"},
    {"Form2", 'T', "cbLessThan", "Unless there are less than"},
    {"Form2", 'T', "cbCaptureAt", "Capture graphs once at"},
    {"Form2", 'T', "cbCaptureNoise", "Rx Noise Margin"},
    {"Form2", 'T', "cbCaptureUnoise", "Tx Noise Margin"},
    {"Form2", 'T', "cbCaptureSync", "Rx Sync Speed"},
    {"Form2", 'T', "cbCaptureUSync", "Tx Sync Speed"},
    {"Form2", 'T', "cbCaptureUser", "User-defined 1"},
    {"Form2", 'T', "cbCaptureUser2", "User-defined 2"},
    {"Form2", 'T', "cbOverlayIP", "Overlay IP address (Netgear DG834(G))"},
    {"Form2", 'T', "cbOverlayUptime", "Overlay WAN Uptime (Netgear DG834(G))"},
    {"Form2", 'T', "cbOverlaySync", "Overlay current Rx Sync Speed"},
    {"Form2", 'T', "cbOverlayNoise", "Overlay current Rx Noise Margin"},
    {"Form2", 'T', "cbOverlayAtt", "Overlay Rx && Tx Attenuation"},
    {"Form2", 'T', "btnMaintain", "Maintenance"},
    {"Form2", 'T', "cbRxNoiseAvg", "Plot average Rx noise margin value of the previous.."},
    {"Form2", 'T', "cbRxSyncAvg", "Plot average Rx sync speed value of the previous.."},
    {"Form2", 'T', "cbUser1Avg", "Plot average user-defined 1 value of the previous.."},
    {"Form2", 'T', "cbUser2Avg", "Plot average user-defined 2 value of the previous.."},
    {"Form2", 'T', "cbClipImage", "Email images"},
    {"Form2", 'T', "cbWebImage", "Web images"},
    {"Form2", 'T', "cbCapturedImage", "Captured images"},
    {"Form2", 'T', "rbPixels", "Pixels"},
    {"Form2", 'T', "rbIsJPG", "JPG"},
    {"Form2", 'T', "rbIsPNG", "PNG"},
    {"Form2", 'T', "rbIsBMP", "BMP"},
    {"Form2", 'T', "rbIsGIF", "GIF"},
    {"Form2", 'T', "cbAutoStart", "Start sample timer automatically after"},
    {"Form2", 'T', "cbTransp", "Transparency"},
    {"Form2", 'T', "cbCloseToTray", "Close to system tray"},
    {"Form2", 'T', "cbMinimize", "Minimize to system tray"},
    {"Form2", 'T', "cbStartMinimized", "Start minimized"},
    {"Form2", 'T', "cbShowNoise", "Show Rx Noise value on icons"},
    {"Form2", 'T', "cbStayOnTop", "Stay on top"},
    {"Form2", 'T', "cbCorrect", "Correct results for known router errors"},
    {"Form2", 'T', "cbConfirmClose", "Prompt before closing"},
    {"Form2", 'T', "cbShowAlarms", "Show alarms tab on main window"},
    {"Form2", 'T', "cbShowSystem", "Show system messages tab on main window"},
    {"Form2", 'T', "cbRegional", "My regional decimal separator is a comma"},
    {"Form2", 'T', "cbOverlayIcon", "Use Overlay Icon (Windows 7)"},
    {"Form2", 'T', "cbManFest", "Use Windows Themes (Windows 7)"},
    {"Form2", 'T', "cbUseUTC", "Show all times in UTC/GMT"},
    {"Form2", 'T', "cbShowWeb", "Show web server tab on main window"},
    {"Form2", 'T', "cbShowPing", "Show ping plot tab on main window"},
    {"Form2", 'T', "btnRestore", "Restore  Defaults"},
    {"Form2", 'T', "Button1", "Font..."},
    {"Form2", 'T', "cbLog", "Enable log"},
    {"Form2", 'T', "cbNewLog", "Start new log each day with this format:"},
    {"Form2", 'T', "cbDontConfirm", "Append data automatically without confirmation"},
    {"Form2", 'T', "cbAddHeader", "Begin each new log with a 'header'"},
    {"Form2", 'T', "rbCSV", "Comma separated values"},
    {"Form2", 'T', "rbTabSV", "Tab separated values"},
    {"Form2", 'T', "btnBrowse", "Browse..."},
    {"Form2", 'T', "cbLogAtEvery", "Log every"},
    {"Form2", 'T', "cbLogState", "Log connection status changes"},
    {"Form2", 'T', "cbLogUptime", "Log WAN Uptime (if available)"},
    {"Form2", 'T', "cbLogIP", "Log IP address (if available)"},
    {"Form2", 'T', "cbTrimLog", "Trim log file to"},
    {"Form2", 'T', "btnTrimNow", "Trim Now"},
    {"Form2", 'T', "cbEmailLogin", "Server requires me to log in"},
    {"Form2", 'T', "cbRemEmailPass", "Remember password"},
    {"Form2", 'T', "cbEmailUsePlain", "Use plain text"},
    {"Form2", 'T', "cbEnableEmail", "Send e-mail daily at:"},
    {"Form2", 'T', "cbAttachLog", "Log"},
    {"Form2", 'T', "cbAttachAlarmLog", "Alarm Log"},
    {"Form2", 'T', "cbAttachNoise", "Rx noise graph"},
    {"Form2", 'T', "cbAttachSpeed", "Rx sync speed graph"},
    {"Form2", 'T', "cbEmailRouterLog", "Router Log"},
    {"Form2", 'T', "cbIPChanged", "Send e-mail if IP address changes (DG834(G))"},
    {"Form2", 'T', "cbShowIcon", "Show icon when e-mail has been sent"},
    {"Form2", 'T', "cbOpenEmail", "Open e-mail client"},
    {"Form2", 'T', "cbAlwaysEmailJPG", "Always send images in JPG format"},
    {"Form2", 'T', "cbSSLRequired", "Server uses SSL connection"},
    {"Form2", 'T', "btnTestEmail", "Send Now"},
    {"Form2", 'T', "btnSelect", "Select"},
    {"Form2", 'T', "GroupVersion", "Netgear Version "},
    {"Form2", 'T', "rbV123", "DG834(G) Version 1, 2 or 3"},
    {"Form2", 'T', "rbV4", "DG834(G) Version 4 or DG834GT"},
    {"Form2", 'T', "rbV5Telnet", "DG834(G) Version 5"},
    {"Form2", 'T', "cbIsDGTeam", "Router uses DGTeam firmware"},
    {"Form2", 'T', "rbLatest15", "Errors during latest 15 minutes"},
    {"Form2", 'T', "rbLatest1day", "Errors during latest 24 hours"},
    {"Form2", 'T', "rbLastReboot", "Errors since last reboot"},
    {"Form2", 'T', "cbTelnet", "Enable Telnet (Netgear DG834(G, GT))"},
    {"Form2", 'T', "cbAutoDebug", "Automatically disable router debug after..."},
    {"Form2", 'T', "btnDeselectAll", "Plotting"},
    {"Form2", 'T', "Button2", "Capture"},
    {"Form2", 'T', "btnDeselectLogs", "Logging"},
    {"Form2", 'T', "Button3", "Auto Y-Axis"},
    {"Form2", 'T', "GroupChipset", "Chipset"},
    {"Form2", 'T', "rbAR7", "AR7"},
    {"Form2", 'T', "rbBroadcom", "Broadcom"},
    {"Form2", 'T', "rbConexant", "Conexant"},
    {"Form2", 'T', "Label80", "Command set:"},
    {"Form2", 'T', "cbDisableHTTP", "Disable http graph plotting"},
    {"Form2", 'T', "cbDisconnectOnStop", "Disconnect when Stop button is pressed"},
    {"Form2", 'T', "rbADSL", "ASDL (G.DMT)"},
    {"Form2", 'T', "rbADSL2", "ADSL2+"},
    {"Form2", 'T', "rbADSLAuto", "Auto"},
    {"Form2", 'T', "cbTelnetRetry", "Retry if timeout"},
    {"Form2", 'T', "cbUseHttpDebug", "Enable telnet with the  http 'debug' command"},
    {"Form2", 'T', "cbWaitForPassword", "Wait for password request from router"},
    {"Form2", 'T', "cbStatusbarTelnet", "Obtain Statusbar WAN Uptime from telnet"},
    {"Form2", 'T', "btnTelnetDefaults", "Restore Defaults"},
    {"Form2", 'T', "btnClose", "Close"},
    {"Form2", 'T', "btnApply", "Apply && Save"},
    {"Form2", 'T', "BitBtn1", "Help"},
    {"Form2", 'T', "btnHelp", "Help"},
    {"Form2", 'T', "btnHelp1", "Help"},
    {"Form2", 'T', "btnGetPage", "Get Page"},
    {"Form2", 'T', "btnTest", "Test"},
    {"Form2", 'T', "GroupBox1", "Mark "},
    {"Form2", 'T', "LabelModelNote", "Changing this selection will reset the Username && Login and Logout URLs to their defaults."},
    {"Form2", 'T', "cbLoginTelnet", "Login normally with 'admin' and Password"},
    {"Form2", 'T', "cbLogAtSample", "Log every sample (20 seconds)"},
    {"Form2", 'T', "cbStatusBarWAN", "Show Statusbar PPPoA uptime as days, hr:min:sec"},
    {"Form2", 'H', "btnApply", "Save configuration"},
    {"Form2", 'W', "Form2", "Veltrano - Configuration"},
    {"Form2", 'B', "TabSheet1", "Router Login && Logout"},
    {"Form2", 'B', "TabSheet2", "Router Search Text"},
    {"Form2", 'B', "TabSheet3", "Graphs"},
    {"Form2", 'B', "TabSheet4", "System"},
    {"Form2", 'B', "TabSheet10", "Log"},
    {"Form2", 'B', "TabSheet9", "E-mail"},
    {"Form2", 'B', "TabSheet7", " Telnet "},
    {"Form2", 'B', "TabSheet5", "Y-Axis Limits && Colours"},
    {"Form2", 'B', "TabSheet6", "Common Settings"},
    {"Form2", 'B', "TabSheet8", "Capture Properties"},
    {"Form2", 'B', "TabSheet13", "Extras"},
    {"Form2", 'B', "TabSheet11", "File Format"},
    {"Form2", 'B', "TabSheet12", "Schedule && Options"},
    {"Form2", 'B', "TabSheet14", "Netgear Settings"},
    {"Form2", 'B', "TabSheet15", "Experimental Settings"},
    // Form1
    {"Form1", 'W', "Form1", "Veltrano 6.3"},
    {"Form1", 'B', "TabSheet4", "Router Status Page"},
    {"Form1", 'B', "TabSheet29", "Alarms"},
    {"Form1", 'B', "TabSheet36", "Summary"},
    {"Form1", 'B', "TabSheet41", "Set Target SNR"},
    {"Form1", 'B', "TabSheet6", "Web Server"},
    {"Form1", 'B', "  Ping  ", "  Ping  "},
    {"Form1", 'B', "MiBytes (ppp0)", "MiBytes (ppp0)"},
    {"Form1", 'T', "Label21", "URL to reboot router"},
    {"Form1", 'T', "Label41", "Username"},
    {"Form1", 'T', "Label43", "SERVER STOPPED"},
    {"Form1", 'T', "Label68", "Alarm log filename"},
    {"Form1", 'T', "Label71", "Server Address"},
    {"Form1", 'T', "Label95", "consecutive samples"},
    {"Form1", 'T', "Label44", "'Show Rx Noise value on icons' needs to be checked on the Configuration | System tab"},
    {"Form1", 'T', "btnAddToBlocked", "Add"},
    {"Form1", 'T', "btnRemoveFromBlocked", "Remove "},
    {"Form1", 'T', "btnClearWeb", "Clear"},
    {"Form1", 'T', "btnClearWebLog", "Clear Log"},
    {"Form1", 'T', "btnWebBrowse", "Browse..."},
    {"Form1", 'T', "btnWebStart", "Start"},
    {"Form1", 'T', "btnWebStop", "Stop"},
    {"Form1", 'T', "btnBits", "Bits/Tone"},
    {"Form1", 'T', "btnSNR", "SNR/Tone"},
    {"Form1", 'T', "btnStats1", "Stats"},
    {"Form1", 'T', "btnInterfaces", "Interfaces"},
    {"Form1", 'T', "btnMem", "Memory"},
    {"Form1", 'T', "btnProc", "Processes"},
    {"Form1", 'T', "btnCPUInfo", "CPU Info"},
    {"Form1", 'T', "btnBitsRefresh", "Refresh"},
    {"Form1", 'T', "btnHTML2Refresh", "Refresh"},
    {"Form1", 'T', "btnViewRouterLog", "View router's log"},
    {"Form1", 'H', "btnUser1Pin", "Pin graph's minimum value"},
    {"Form1", 'H', "btnUser2Pin", "Pin graph's minimum value"},
    {"Form1", 'T', "cb585Bits", "Refresh bitloading graphs && summary every "},
    {"Form1", 'T', "cb585WaitForRequests", "Wait for username && password requests from router during login"},
    {"Form1", 'T', "cbDontRefresh585", "Don't refresh when minimized to SysTray  (Saves memory)"},
    {"Form1", 'T', "cbRestoreTimeout", "Restore default telnet timeout when Veltrano is closed"},
    {"Form1", 'T', "rbLowBits", "0 - 255"},
    {"Form1", 'T', "rbHiBits", "256 - 512"},
    {"Form1", 'T', "rbAllBits", "0 - 512"},
    {"Form1", 'T', "cbDontRefreshWhenMin", "Don't refresh the bitloading graphs when minimized to SysTray. (Saves memory)"},
    {"Form1", 'T', "cbBitsRefresh", "Auto refresh"},
    // Two refresh intervals, each naming what it refreshes.
    {"Form1", 'L', "spRefreshBitsEvery", "Refresh the telnet bit loading &every (seconds)"},
    {"Form1", 'T', "cbShowAttenuation", "Show attenuation curve"},
    {"Form1", 'T', "cbSNRPoints", "Show SNR graph points"},
    {"Form1", 'T', "cbVerticalGrid", "Show vertical grid lines"},
    {"Form1", 'T', "cb3D", "3D view"},
    {"Form1", 'T', "cbAdjustBitswapScale", "Adjust scale automatically"},
    {"PopupBitswap", 'T', "mnuSwapBitswapPlots", "Swap Plots"},
    {"Form1", 'T', "rbSNR", "SNR"},
    {"Form1", 'T', "rbSNRMargin", "SNR Margin"},
    {"Form1", 'T', "rbSNRSteps", "Steps"},
    {"Form1", 'T', "rbSNRRamp", "Ramp"},
    {"Form1", 'T', "rbUseSameSamples", "Use  the same number of points / page as other graphs"},
    {"Form1", 'T', "rbUseSameTime", "Use the same time / page as other graphs"},
    {"Form1", 'T', "cbExtended", "Extended stats"},
    {"Form1", 'T', "cbEnableSystem", "Enable system messages"},
    {"Form1", 'T', "cbSuppressErrors", "Suppress error messages when possible"},
    {"Form1", 'T', "Button1", "Save As..."},
    {"Form1", 'T', "Label23", "Downstream (Rx) "},
    {"Form1", 'T', "Label24", "Upstream (Tx) "},
    {"Form1", 'T', "btnConnect1", "Connect"},
    {"Form1", 'T', "cbFilled", "Filled"},
    {"Form1", 'T', "cbShowData", "Show data window"},
    {"Form1", 'T', "cbPing", "Check to plot graph"},
    {"Form1", 'L', "spPingNum", "Number of packets:"},
    {"Form1", 'T', "cbPingFail", "Ping returns 100%  loss for"},
    {"Form1", 'T', "cbNoiseAbove", "Rx Noise Margin is above"},
    {"Form1", 'T', "cbNoiseBelow", "Rx Noise Margin is below"},
    {"Form1", 'T', "cbSyncAbove", "Rx Sync Speed is above"},
    {"Form1", 'T', "cbSyncBelow", "Rx Sync Speed is below"},
    {"Form1", 'T', "cbReboot", "Reboot router"},
    {"Form1", 'T', "cbDontReboot", "Don't reboot more than"},
    {"Form1", 'T', "rbPerHour", "per hour   /"},
    {"Form1", 'T', "rbPerDay", "per day"},
    {"Form1", 'T', "cbAudible", "Audible alarm"},
    {"Form1", 'T', "cbExternal", "Run external script or application"},
    {"Form1", 'T', "cbAppMin", "Run minimized"},
    {"Form1", 'T', "cbSendEmailMain", "Send e-mail"},
    {"Form1", 'T', "cbJustOne", "Only send one e-mail until envelope Icon is reset"},
    {"Form1", 'T', "cbConnectionLoss", "Router loses internet connectivity"},
    {"Form1", 'T', "cbAllAlarms", "Any alarm setpoint is triggered (except ping)"},
    {"Form1", 'T', "rbUseWeb", "Use webpage data and reboot through http"},
    {"Form1", 'T', "rbUseTelnet", "Use telnet data and reboot through telnet "},
    {"Form1", 'T', "cbAlarmOnce", "Only trigger alarm action once"},
    {"Form1", 'T', "cbWriteAlarmToLog", "Write to Log"},
    {"Form1", 'T', "cbState", "Router ppp session has disconnected (Netgear DG834(G, GT))"},
    {"Form1", 'T', "cbSNRChangeHi", "Rx Noise Margin has increased by more than"},
    {"Form1", 'T', "cbSNRChangeLo", "Rx Noise Margin has decreased by more than"},
    {"Form1", 'T', "rbUseNormalLog", "Log alarms in normal log file"},
    {"Form1", 'T', "rbUseAlarmLog", "Log alarms in separate alarm log file"},
    {"Form1", 'T', "cbWebAuth", "Server requires authentication"},
    {"Form1", 'T', "cbWebRemPass", "Remember password"},
    {"Form1", 'T', "cbDeleteTemp", "Delete temporary images when Veltrano closes"},
    {"Form1", 'T', "cbLowerCase", "Convert image filenames to lowercase"},
    {"Form1", 'T', "cbNoAccess", "Allow access to subfolders"},
    {"Form1", 'T', "cbLogWeb", "Log web requests"},
    {"Form1", 'T', "cbBlocked", "Use 'blocked.txt' file to block unwanted requests"},
    {"Form1", 'T', "cbImageWithoutServer", "Generate images without the server running"},
    {"Form1", 'T', "cbDontLog", "Don't log blocked requests"},
    {"Form1", 'T', "btnConfigure", "Configure"},
    {"Form1", 'H', "btnViewGraphs", "View graphs"},
    {"Form1", 'H', "btnLog", "Copy graphs to log"},
    {"Form1", 'H', "Image23", "Click to remove icon"},
    {"Form1", 'H', "btnCaptureAll", "'Capture now'  ALL graphs marked for capture"},
    {"Form1", 'T', "CopyAsImage1", "Save Image As..."},
    {"Form1", 'T', "btnClear", "Clear Messages"},
    {"Form1", 'T', "btnMacro", "Send telnet script to router"},
    {"Form1", 'T', "btnSendEmailNow", "Send Now"},
    {"Form1", 'T', "btnTestApp", "Run Now"},
    {"Form1", 'T', "btnTestSound", "Test Audio"},
    {"Form1", 'T', "btnViewAlarmLog1", "View Log"},
    {"Form1", 'T', "btnViewLog", "View log"},
    {"Form1", 'T', "btnWriteNow", "Write Now"},
    {"TForm15", 'T', "btnContinue", "Continue"},
    {"TForm15", 'T', "btnCancel", "Cancel"},
    {"Form1", 'T', "btnReboot", "Reboot Now"},
    {"TForm16", 'T', "Button1", "Execute"},
    {"TForm16", 'T', "Button2", "Cancel"},
    // ChartPopup
    {"ChartPopup", 'T', "mnuShowSync", "Overlay Rx Sync Speed"},
    {"ChartPopup", 'T', "mnuSchedCapture", "Scheduled Capture"},
    {"ChartPopup", 'T', "mnuHTTPAdjustAuto", "Adjust vertical axis automatically"},
    {"ChartPopup", 'T', "mnuAutoRestoreHTTP", "Match vertical axis with current plot value"},
    {"ChartPopup", 'T', "mnuHTTPDefaul", "Reset vertical axis to default values"},
    {"ChartPopup", 'T', "mnuExpand", "Expand Timeline"},
    {"ChartPopup", 'T', "mnuLog", "Include In Log"},
    {"ChartPopup", 'T', "mnuCaptureNow", "Capture Now"},
    // TelnetPopup
    {"TelnetPopup", 'T', "mnuTelnetShowSync", "Overlay Rx Sync"},
    {"TelnetPopup", 'T', "mnuTelnetSchedCapture", "Scheduled Capture"},
    {"TelnetPopup", 'T', "mnuAdjustAuto", "Adjust vertical axis automatically"},
    {"TelnetPopup", 'T', "mnuAutoRestoreTelnet", "Match vertical axis with current plot value"},
    {"TelnetPopup", 'T', "Resetverticalaxisdefaultvalues1", "Reset vertical axis to default values"},
    {"TelnetPopup", 'T', "mnuExpand", "Expand Timeline"},
    {"TelnetPopup", 'T', "mnuAddToLog", "Include In Log"},
    // GraphMinimum1
    {"GraphMinimum1", 'T', "mnuShowIncremental", "Show Incremental Count"},
    {"GraphMinimum1", 'T', "mnuSetMinimum", "Reset To Current Value Now"},
    {"GraphMinimum1", 'T', "mnuLogInc", "Include In Log"},
    {"GraphMinimum1", 'T', "mnuResetDailyAt", "Reset Daily At..."},
    {"GraphMinimum1", 'T', "ChangeTime1", "Change Time..."},
    // PingPopup
    {"PingPopup", 'T', "mnuPingCapture", "Capture"},
    {"PingPopup", 'T', "mnuPingSaveAs", "Save As..."},
    {"PingPopup", 'T', "mnuPingCopy", "Copy To Clipboard"},
    {"PingPopup", 'T', "mnuPingPrinterSetup", "Printer Setup..."},
    {"PingPopup", 'T', "mnuPingPrint", "Print"},
    {"PingPopup", 'T', "mnuLogPing", "Include in log"},
    {"PingPopup", 'T', "mnuMakeAvailToWeb", "Make available to webserver"},
    // popupBits
    {"popupBits", 'T', "Refresh2", "Refresh"},
    {"popupBits", 'T', "Capture1", "Capture"},
    {"popupBits", 'T', "mnuBitSwapBefore", "Capture image before a bitswap"},
    {"popupBits", 'T', "mnuBitswapAfter", "Capture image after a bitswap"},
    {"popupBits", 'T', "mnuLogBitSwap", "Log bitswaps in System Messages window"},
    {"popupBits", 'T', "mnuBitsResize", "Include captured images in resizing"},
    {"popupBits", 'T', "mnuBitsWeb", "Make available to webserver"},
    {"popupBits", 'T', "ResetGraphAxes1", "Reset Graph Axes"},
    // PopupBitswap
    {"PopupBitswap", 'T', "mnuBitswapCapture", "Capture"},
    {"PopupBitswap", 'T', "mnuBitswapWebServer", "Make available to webserver"},
    {"PopupBitswap", 'T', "Expandtimeline1", "Expand Timeline"},
    {"PopupBitswap", 'T', "Restoretimeline1", "Restore Timeline"},
    // PopupSepBitswap
    {"PopupSepBitswap", 'T', "mnuSepBitswapCapture", "Capture"},
    {"PopupSepBitswap", 'T', "mnuSepWeb", "Make available to webserver"},
    // thomsonbitspopup
    {"thomsonbitspopup", 'T', "Capture2", "Capture"},
    {"thomsonbitspopup", 'T', "Makeavailabletowebserver1", "Make available to web server"},
    // ThomsonBitSwap
    {"ThomsonBitSwap", 'T', "mnuThomsonBitSwapCap", "Capture"},
    {"ThomsonBitSwap", 'T', "mnuWebServer585", "Make available to web server"},
    // popupSched
    {"popupSched", 'T', "mnuRunNow", "Run and plot immediately"},
    // popupTelnetOptions
    {"popupTelnetOptions", 'T', "catprocnetarp1", "cat /proc/net/arp"},
    {"popupTelnetOptions", 'T', "catprocnetdev1", "cat /proc/net/dev"},
    {"popupTelnetOptions", 'T', "catprocnetroute1", "cat /proc/net/route"},
    {"popupTelnetOptions", 'T', "iptableslist1", "iptables --list"},
    // HTMLStatsPopup
    {"HTMLStatsPopup", 'T', "Refresh1", "Refresh"},
    {"HTMLStatsPopup", 'T', "Copy1", "Copy As Text"},
    {"HTMLStatsPopup", 'T', "mnuViewSource", "View Source"},
    // SysTrayPopup
    {"SysTrayPopup", 'T', "RestoreVeltrano1", "Restore Veltrano"},
    {"SysTrayPopup", 'T', "mnuShowNoise", "Show Rx Noise on icon"},
    {"SysTrayPopup", 'T', "CloseVeltrano1", "Close Veltrano"},
    // StatusPopup
    {"StatusPopup", 'T', "mnuStartWebServer", "Start web server"},
    {"StatusPopup", 'T', "mnuEnableLog", "Enable Log"},
    // ConfigureGraphs1
    {"ConfigureGraphs1", 'T', "YAxis1", "Y-Axis Limits && Colours"},
    {"ConfigureGraphs1", 'T', "CommonSettings1", "Common Settings"},
    {"ConfigureGraphs1", 'T', "CaptureProperties1", "Capture Properties"},
    {"ConfigureGraphs1", 'T', "SetAverages1", "Set Averages"},
    {"ConfigureGraphs1", 'T', "CaptureSize1", "Captured Image Size"},
    // Form3
    {"Form3", 'W', "Form3", "Veltrano  Graph Viewer"},
    {"Form3", 'T', "btnClose", "Close"},
    {"Form3", 'T', "SaveAs1", "Save As..."},
    {"Form3", 'T', "Copy1", "Copy"},
    {"Form3", 'T', "mnuDelete", "Delete"},
    {"Form3", 'T', "Rename1", "Rename"},
    {"Form3", 'T', "SelectAll1", "Select All"},
    {"Form3", 'T', "Refreshlist1", "Refresh list"},
    // TForm4
    {"TForm4", 'W', "TForm4", "Veltrano - DateTime Help"},
    // TForm5
    {"TForm5", 'W', "TForm5", "Veltrano - Netgear Log"},
    {"TForm5", 'T', "btnRefresh", "Refresh"},
    {"TForm5", 'T', "btnEmail", "Email"},
    // PopupMenu1
    {"PopupMenu1", 'T', "mnuCopy", "Copy"},
    {"PopupMenu1", 'T', "mnuSelectAll", "Select All"},
    {"PopupMenu1", 'T', "mnuSaveAs", "Save As..."},
    {"PopupMenu1", 'T', "mnuAdjustStart", "Adjust for DG834N"},
    {"PopupMenu1", 'T', "mnuReverse", "Show log entries in reverse order"},
    {"PopupMenu1", 'T', "mnuEmailInclude", "Email - include as text in message body"},
    // TForm6
    {"TForm6", 'W', "TForm6", "Veltrano - Select e-mail client"},
    {"TForm6", 'T', "rbUseDefault", "Use default e-mail client"},
    {"TForm6", 'T', "rbSelect", "I will select e-mail client"},
    {"TForm6", 'T', "btnBrowse", "Browse..."},
    {"TForm6", 'T', "btnClose", "Close"},
    // TForm7
    {"TForm7", 'W', "TForm7", "Veltrano - Thomson 585 Log"},
    // TForm8
    {"TForm8", 'W', "TForm8", "DG834 Auto detection..."},
    {"TForm8", 'T', "Label1", "Veltrano has detected a Netgear DG834 series router."},
    {"TForm8", 'T', "cbAdvise", "Don't show this message again"},
    // TForm9
    {"TForm9", 'W', "TForm9", "Veltrano Netgear Configuration..."},
    {"TForm9", 'T', "Label1", "Veltrano is currently configured for a Netgear DG834 series router."},
    {"TForm9", 'T', "Label2", "Press 'Cancel' if this is not correct."},
    {"TForm9", 'T', "cbAdvise1", "Don't show this message again"},
    // TForm10
    {"TForm10", 'W', "TForm10", "Veltrano Log Options..."},
    {"TForm10", 'T', "Label1", "The Log is enabled but no log schedule or alarm option is selected."},
    {"TForm10", 'T', "Label2", "Continue anyway?"},
    {"TForm10", 'T', "cbAdvise2", "Don't show this message again"},
    // TForm12
    {"TForm12", 'W', "TForm12", "User Defined (2) Label...."},
    {"TForm12", 'T', "Label1", "Type a label for this graph..."},
    {"TForm12", 'T', "rbRawUserDef1", "Plot value directly to graph"},
    {"TForm12", 'T', "rbDiffUserDef1", "Plot difference between successive values"},
    // TForm13
    {"TForm13", 'W', "TForm13", "User Defined (1) Label..."},
    {"TForm13", 'T', "Label1", "Type a label for this graph..."},
    {"TForm13", 'T', "rbRawUserDef", "Plot value directly to graph"},
    {"TForm13", 'T', "rbDiffUserDef", "Plot difference between successive values"},
    // TForm14
    {"TForm14", 'W', "TForm14", "Reset Incremental Count At..."},
    {"TForm14", 'T', "Label1", "Reset Rx and Tx incremental values daily at..."},
    // TForm15
    {"TForm15", 'W', "TForm15", "Reset ADSL counters..."},
    // TForm17
    {"TForm17", 'W', "TForm17", "Veltrano - Graph Capture Maintenance"},
    {"TForm17", 'T', "cbDeleteImages", "Delete files older than "},
    {"TForm17", 'T', "Label1", "days"},
    {"TForm17", 'T', "cbRecycleBin", "Send files to the Recycle Bin"},
    {"TForm17", 'T', "cbDeleteDaily", "Every day at"},
    {"TForm17", 'T', "cbDeleteOnClose", "When Veltrano closes"},
    {"TForm17", 'T', "cbListPurged", "List deleted files in the 'Messages' window"},
    {"TForm17", 'T', "btnDeleteNow", "Delete Now"},
    // TForm18
    {"TForm18", 'W', "TForm18", "Icon Font"},
    {"TForm18", 'T', "cbIconOpaque", "Opaque background"},
    {"TForm18", 'T', "cbIconBold", "Bold"},
    {"TForm18", 'T', "cbIntegerOnly", "Round value to nearest whole number"},
    {"TForm18", 'T', "btnDefault", "Default"},
};

// What a caption shows: "&&" is one "&", a single "&" marks the mnemonic.
QString shown(const QString &caption)
{
    QString out;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size())
            ++i;
        out += caption[i];
    }
    return out;
}

// The window (or popup menu) an object is on, by object name.
QString windowOf(QObject *o)
{
    while (o && !o->isWidgetType())
        o = o->parent();
    return o ? static_cast<QWidget *>(o)->window()->objectName() : QString();
}

QLabel *buddyLabel(QWidget *w)
{
    for (QLabel *label : w->window()->findChildren<QLabel *>())
        if (label->buddy() == w)
            return label;
    return nullptr;
}

// The text of the given kind, or a note of why there is none.
QString textOf(QObject *o, char kind)
{
    auto *w = qobject_cast<QWidget *>(o);
    switch (kind) {
    case 'H':
        if (auto *a = qobject_cast<QAction *>(o))
            return a->toolTip();
        return w ? w->toolTip() : QStringLiteral("<not a widget>");
    case 'W':
        return w ? w->windowTitle() : QStringLiteral("<not a widget>");
    case 'L': {
        QLabel *label = w ? buddyLabel(w) : nullptr;
        return label ? label->text() : QStringLiteral("<no label>");
    }
    case 'B':
        for (QWidget *page = w; page && page->parentWidget(); page = page->parentWidget())
            if (auto *tabs = qobject_cast<QTabWidget *>(page->parentWidget()->parentWidget()))
                if (tabs->indexOf(page) >= 0)
                    return tabs->tabText(tabs->indexOf(page));
        return QStringLiteral("<not on a tab>");
    default:
        if (auto *b = qobject_cast<QAbstractButton *>(o))
            return b->text();
        if (auto *label = qobject_cast<QLabel *>(o))
            return label->text();
        if (auto *g = qobject_cast<QGroupBox *>(o))
            return g->title();
        if (auto *a = qobject_cast<QAction *>(o))
            return a->text();
        if (auto *m = qobject_cast<QMenu *>(o))
            return m->title();
        return QStringLiteral("<no caption>");
    }
}

struct Captions : ::testing::TestWithParam<const char *> {
    QTemporaryDir dir;
    void TearDown() override { qunsetenv("VELTRANO_INI"); }

    // The main window with everything it builds, and every small dialog open.
    std::unique_ptr<TForm1> buildAll()
    {
        const QString ini = dir.filePath(QStringLiteral("veltrano.ini"));
        testsupport::writeAll(ini, QByteArray("[WebServer]\nLocalHost=127.0.0.1\nPort=0\n[System]\nConf=1\n"
                                              "[Ping]\nShowPing=1\nShowData=1\n")
                                       + GetParam());
        qputenv("VELTRANO_INI", ini.toUtf8());
        auto form = std::make_unique<TForm1>(false);
        TForm1 *w = form.get();
        TSettings &s = w->settings();
        TForm4::open(w);
        TForm6::open(w, s);
        TForm8::ask(w, s, QStringLiteral("Press 'OK' to confirm this is correct."), [](AdviceDialog::Answer) {});
        TForm9::ask(w, s, [](AdviceDialog::Answer) {});
        TForm10::ask(w, s, [](bool) {});
        TForm14::open(w, s);
        TForm17::open(w, *w);
        TForm18::open(w, *w);
        UserLabelDialog::open(1, w, s, [](const QString &) {});
        UserLabelDialog::open(2, w, s, [](const QString &) {});
        (new TForm5(TForm5::Mode::ViewLog, QString(), s, w->runState(), *onlyChild<RouterLog>(*w),
                    dir.filePath(QStringLiteral("VT-routerlog.txt")), w))
            ->show();
        (new TForm7(QString(), *onlyChild<RouterLog>(*w), w))->show();
        (new TForm15(s, *onlyChild<TelnetSession>(*w), w))->show();
        (new TForm16(dir.filePath(QStringLiteral("script.sh")), *onlyChild<TelnetScriptRunner>(*w), w))->show();
        return form;
    }
};

} // namespace

TEST_P(Captions, EveryControlShowsTheSystemsOwnWordsAndRadiosAreSpokenAsRadios)
{
    auto form = buildAll();
    std::multimap<std::pair<QString, QString>, QObject *> byName; // (window, object) -> objects
    QList<QRadioButton *> radios;
    for (QWidget *top : QApplication::topLevelWidgets()) {
        QList<QObject *> objects = top->findChildren<QObject *>();
        objects.prepend(top);
        for (QObject *o : objects) {
            if (!o->objectName().isEmpty())
                byName.emplace(std::make_pair(windowOf(o), o->objectName()), o);
            if (auto *radio = qobject_cast<QRadioButton *>(o); radio && !radios.contains(radio))
                radios << radio;
        }
    }

    for (const Caption &c : kCaptions) {
        const QString caption = QString::fromUtf8(c.text);
        const auto [first, last] = byName.equal_range({QLatin1String(c.window), QLatin1String(c.object)});
        EXPECT_NE(first, last) << c.window << "." << c.object << " is not built";
        QSet<QObject *> seen;
        for (auto it = first; it != last; ++it) {
            QObject *o = it->second;
            if (seen.contains(o))
                continue;
            seen.insert(o);
            // A label that names no control shows "&&" as typed, so it holds the shown text.
            auto *label = qobject_cast<QLabel *>(o);
            const QString expected = c.kind == 'T' && label && !label->buddy() ? shown(caption) : caption;
            EXPECT_EQ(textOf(o, c.kind), expected) << c.window << "." << c.object << " (" << c.kind << ")";
            // An accessible name may tell like controls apart, but it starts with the caption.
            auto *w = qobject_cast<QWidget *>(o);
            if (w && (c.kind == 'T' || c.kind == 'L') && !w->accessibleName().isEmpty()) {
                EXPECT_TRUE(w->accessibleName().startsWith(shown(caption)))
                    << c.window << "." << c.object << " is spoken as \"" << w->accessibleName().toStdString() << "\"";
            }
        }
    }

    ASSERT_FALSE(radios.isEmpty());
    for (QRadioButton *radio : radios) {
        QAccessibleInterface *spoken = QAccessible::queryAccessibleInterface(radio);
        ASSERT_NE(spoken, nullptr);
        EXPECT_EQ(spoken->role(), QAccessible::RadioButton)
            << windowOf(radio).toStdString() << "." << radio->objectName().toStdString() << " is not spoken as a radio button";
    }
}

INSTANTIATE_TEST_SUITE_P(Routers, Captions,
                         ::testing::Values("[Router]\nTelnet=1\n[Telnet]\nV123=0\nV4=1\n",
                                           "[Router]\nST585=1\nV1234=0\n"));
