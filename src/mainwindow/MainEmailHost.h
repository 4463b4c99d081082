#pragma once
// The main window's side of the e-mails: chart images, the router log and
// the statistics log's current file.
#include "notify/EmailHost.h"

class TForm1;

class MainEmailHost : public EmailHost {
public:
    explicit MainEmailHost(TForm1 &form) : m_form(form) {}

    void EmailSave(int chart, const QString &path) override;
    void GetRouterLog(const QString &path, std::function<void()> done) override;
    QString currentLogFile() const override;

private:
    TForm1 &m_form;
};
