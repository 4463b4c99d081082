#pragma once
// The main window's side of the e-mails: chart images, the router log and
// the statistics log's current file.
#include "notify/EmailHost.h"

class GraphImages;
class RouterLog;
class StatisticsLog;

class MainEmailHost : public EmailHost {
public:
    MainEmailHost(GraphImages &images, RouterLog &routerLog, const StatisticsLog &log)
        : m_images(images), m_routerLog(routerLog), m_log(log)
    {
    }

    void EmailSave(int chart, const QString &path) override;
    void GetRouterLog(const QString &path, std::function<void()> done) override;
    QString currentLogFile() const override;

private:
    GraphImages &m_images;
    RouterLog &m_routerLog;
    const StatisticsLog &m_log;
};
