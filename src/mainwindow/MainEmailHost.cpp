#include "mainwindow/MainEmailHost.h"

#include "acquisition/RouterLog.h"
#include "chartimages/GraphImages.h"
#include "notify/StatisticsLog.h"

void MainEmailHost::EmailSave(int chart, const QString &path) { m_images.EmailSave(chart, path); }

void MainEmailHost::GetRouterLog(const QString &path, std::function<void()> done)
{
    m_routerLog.GetRouterLog(path, std::move(done));
}

QString MainEmailHost::currentLogFile() const { return m_log.currentFileName(); }
