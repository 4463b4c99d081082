#pragma once
// The groups in which the Configuration dialog copies its controls into the
// settings, in the order of the copy. After each group the main window is
// brought in line with the keys that group copied.
enum class CommitGroup {
    RouterPage,
    TelnetFamilies, // families, error period, DGTeam, debug timer
    LoginBoxes,
    AxesColoursAverages,
    ChartStyle,
    SystemPage,
    LogScheduleAndFile,
    CapturePage,
    EmailPage,
    Trim,
    TelnetOptions, // telnet options, ADSL mode, log IP, state and uptime
    RetryImageStatusBar,
    Ping,
    EmailPort,
    CaptureFormat,
    Priority,
    Gaps,
    HeaderOverlayIcon,
};

inline constexpr CommitGroup kCommitOrder[] = {
    CommitGroup::RouterPage,      CommitGroup::TelnetFamilies,      CommitGroup::LoginBoxes,
    CommitGroup::AxesColoursAverages, CommitGroup::ChartStyle,      CommitGroup::SystemPage,
    CommitGroup::LogScheduleAndFile, CommitGroup::CapturePage,      CommitGroup::EmailPage,
    CommitGroup::Trim,            CommitGroup::TelnetOptions,       CommitGroup::RetryImageStatusBar,
    CommitGroup::Ping,            CommitGroup::EmailPort,           CommitGroup::CaptureFormat,
    CommitGroup::Priority,        CommitGroup::Gaps,                CommitGroup::HeaderOverlayIcon,
};
