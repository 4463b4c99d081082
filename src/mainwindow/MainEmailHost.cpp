#include "mainwindow/MainEmailHost.h"

#include "mainwindow/GraphImages.h"
#include "mainwindow/TForm1.h"
#include "notify/StatisticsLog.h"

void MainEmailHost::EmailSave(int chart, const QString &path) { m_form.graphImages()->EmailSave(chart, path); }

// The router's own log is fetched by the router-log tools, which are not part
// of this program yet: the e-mail goes without it.
void MainEmailHost::GetRouterLog(const QString &, std::function<void()> done) { done(); }

QString MainEmailHost::currentLogFile() const { return m_form.statisticsLog()->currentFileName(); }
