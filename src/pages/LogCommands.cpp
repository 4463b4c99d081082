#include "pages/LogCommands.h"

#include "chartimages/ChartPopupMenus.h"
#include "charts/ChartLogText.h"
#include "common/AppendFile.h"
#include "common/AtomicFile.h"
#include "notify/StatisticsLog.h"
#include "pages/SaveTextDialog.h"
#include "platform/ShellOpen.h"
#include "settings/SettingsHub.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

LogCommands::LogCommands(SettingsHub &hub, ChartSet &charts, StatisticsLog &log, WindowHost host,
                         std::function<QString()> messagesText, QWidget *window)
    : QObject(window), m_hub(hub), m_charts(charts), m_log(log), m_host(std::move(host)),
      m_messagesText(std::move(messagesText)), m_window(window)
{
}

void LogCommands::viewLog()
{
    const TSettings &s = m_hub.settings();
    if (s.System.NewLog) {
        auto *dialog = new QFileDialog(m_window, QString(), QFileInfo(s.System.LogFile).absolutePath());
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->selectFile(QFileInfo(m_host.statusPanel(3)).fileName());
        connect(dialog, &QFileDialog::fileSelected, this, [this](const QString &file) {
            if (!shellOpen(file))
                m_host.messageBox(textFileNotOpenedText(file), true);
        });
        dialog->open();
        return;
    }
    if (QFileInfo::exists(s.System.LogFile)) {
        if (!shellOpen(s.System.LogFile))
            m_host.messageBox(textFileNotOpenedText(s.System.LogFile), true);
    } else
        m_host.messageBox(QStringLiteral("No log file found."), false);
}

void LogCommands::copyToLog()
{
    const TSettings &s = m_hub.settings();
    const qint64 n = chartLogPoints(m_charts);
    if (n < 2) {
        m_host.messageBox(QStringLiteral("There is not enough data to write to the log.\r\n\r\n"
                                         "Please wait for at least 3 points to be plotted."), false);
        return;
    }
    auto *dialog = new QFileDialog(m_window, QString(), QFileInfo(s.System.LogFile).absolutePath(),
                                   QStringLiteral("Text Files (*.txt);;All Files(*.*)"));
    dialog->setObjectName(QStringLiteral("CopyLogDialog"));
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QFileDialog::fileSelected, this, [this, n](const QString &file) {
        const QByteArray text = chartLogText(m_charts, m_hub.settings(), m_host.statusPanel(0), n);
        QString why;
        if (!AppendFile::append(file, text, &why)) {
            m_host.messageBox(tr("%1 could not be written: %2").arg(file, why), true);
            return;
        }
        m_host.messageBox(QStringLiteral("Log written."), false);
    });
    dialog->open();
}

void LogCommands::saveMessages()
{
    savetextdialog::open(m_window, QString(), QStringLiteral("Text Files (*.txt);;All Files (*.*)"),
                         QStringLiteral("txt"), [this](const QString &file) {
        QString text = m_messagesText();
        if (!text.isEmpty())
            text = text.replace(QLatin1Char('\n'), QStringLiteral("\r\n")) + QStringLiteral("\r\n");
        QString why;
        if (!AtomicFile::writeFile(file, text.toUtf8(), &why))
            m_host.messageBox(tr("The messages were not saved to %1: %2").arg(QDir::toNativeSeparators(file), why),
                              true);
    });
}

void LogCommands::includeInLog(int chart)
{
    bool known = false;
    m_hub.change([&](TSettings &s) {
        known = ChartPopupMenus::setLogSwitch(s, chart, !ChartPopupMenus::logSwitch(s, chart));
    });
    if (!known)
        return;
    // The next poll writes a header naming the changed items.
    const TSettings &s = m_hub.settings();
    if (s.Log.AddHeader && StatisticsLog::FileSizeOf(s.System.LogFile) > 100)
        m_log.setLogHeaderPending(true);
}
