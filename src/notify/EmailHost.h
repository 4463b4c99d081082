#pragma once
// What the e-mails need from the rest of the program: the chart images, the
// router's own log and the statistics log's current file. The main window
// implements it. Everything is called on the window thread.
#include <QString>
#include <functional>

class EmailHost {
public:
    virtual ~EmailHost() = default;

    // EmailSave: chart 1 (Rx noise), 2 (Rx sync) or 25 (ping) written to path
    // in the format its extension names. A chart that cannot be saved leaves no file.
    virtual void EmailSave(int chart, const QString &path) = 0;

    // GetRouterLog: fetches the router's log and writes it to path. done must
    // be called exactly once, on the window thread, whether a file was written or not.
    virtual void GetRouterLog(const QString &path, std::function<void()> done) = 0;

    // The statistics log file being written (what status panel 3 shows).
    virtual QString currentLogFile() const = 0;
};
