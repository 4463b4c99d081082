#include "pages/TForm5.h"

#include "acquisition/RouterLog.h"
#include "common/AtomicFile.h"
#include "common/Clock.h"
#include "common/DateTimePattern.h"
#include "widgets/ConfirmBox.h"
#include "pages/SaveTextDialog.h"
#include "notify/TextMailer.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {
const QString kDefaultStart = QStringLiteral("<TEXTAREA NAME=\"outlog_Display\"");

QStringList paneLines(const QPlainTextEdit *pane)
{
    return pane->toPlainText().split(QLatin1Char('\n'));
}
} // namespace

TForm5::TForm5(Mode mode, const QString &text, TSettings &settings, RunState &run, RouterLog &log,
               const QString &routerLogPath, QWidget *parent)
    : QDialog(parent), m_mode(mode), m_text(text), m_settings(settings), m_run(run), m_log(log),
      m_routerLogPath(routerLogPath), m_mailer(new TextMailer(this))
{
    setObjectName(QStringLiteral("TForm5"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(true);
    resize(640, 460);
    auto *layout = new QVBoxLayout(this);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setAccessibleName(mode == Mode::ViewLog ? tr("Router log") : tr("Status page source"));
    Memo1->setContextMenuPolicy(Qt::CustomContextMenu);
    layout->addWidget(Memo1, 1);
    auto *buttons = new QHBoxLayout;
    btnRefresh = new QPushButton(tr("Refresh"), this);
    btnRefresh->setObjectName(QStringLiteral("btnRefresh"));
    btnEmail = new QPushButton(tr("Email"), this);
    btnEmail->setObjectName(QStringLiteral("btnEmail"));
    btnClose = new QPushButton(tr("Close"), this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    buttons->addWidget(btnRefresh);
    buttons->addWidget(btnEmail);
    buttons->addStretch(1);
    buttons->addWidget(btnClose);
    layout->addLayout(buttons);
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    layout->addWidget(StatusBar1);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    auto item = [this](const char *name, const QString &text, bool checkable = false) {
        QAction *a = PopupMenu1->addAction(text);
        a->setObjectName(QString::fromLatin1(name));
        a->setCheckable(checkable);
        return a;
    };
    mnuCopy = item("mnuCopy", tr("Copy"));
    mnuSelectAll = item("mnuSelectAll", tr("Select All"));
    mnuSaveAs = item("mnuSaveAs", tr("Save As..."));
    PopupMenu1->addSeparator();
    mnuAdjustStart = item("mnuAdjustStart", QStringLiteral("Adjust for DG834N"), true);
    mnuReverse = item("mnuReverse", QStringLiteral("Show log entries in reverse order"), true);
    mnuEmailInclude = item("mnuEmailInclude", QStringLiteral("Email - include as text in message body"), true);
    connect(Memo1, &QWidget::customContextMenuRequested, this, [this](const QPoint &p) {
        PopupMenu1Popup();
        PopupMenu1->popup(Memo1->viewport()->mapToGlobal(p));
    });
    connect(mnuCopy, &QAction::triggered, Memo1, &QPlainTextEdit::copy);
    connect(mnuSelectAll, &QAction::triggered, Memo1, &QPlainTextEdit::selectAll);
    connect(mnuSaveAs, &QAction::triggered, this, &TForm5::mnuSaveAsClick);
    connect(mnuAdjustStart, &QAction::triggered, this, &TForm5::mnuAdjustStartClick);
    connect(mnuReverse, &QAction::triggered, this, &TForm5::mnuReverseClick);
    connect(btnRefresh, &QPushButton::clicked, this, &TForm5::btnRefreshClick);
    connect(btnEmail, &QPushButton::clicked, this, &TForm5::btnEmailClick);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_mailer, &TextMailer::finished, this, [this](const SmtpResult &r) {
        if (!r.sent)
            emit systemMessage(QStringLiteral("Send E-mail - error") +
                               (r.detail.isEmpty() ? QString() : QStringLiteral(": ") + r.detail));
        emit systemMessage(QStringLiteral("Send E-mail - finished"));
        QFile::remove(m_routerLogPath);
        // The user who sent it hears what it lacked.
        if (m_notAttached.isEmpty())
            StatusBar1->clearMessage();
        else
            StatusBar1->showMessage(m_notAttached);
        btnEmail->setEnabled(true);
    });
    FormShow();
}

void TForm5::FormShow()
{
    const bool log = m_mode == Mode::ViewLog;
    btnEmail->setVisible(log);
    btnEmail->setEnabled(!m_settings.Email.Server.trimmed().isEmpty() && !m_settings.Email.To.trimmed().isEmpty());
    btnRefresh->setVisible(log);
    setWindowTitle(log ? QStringLiteral("Veltrano - Netgear Log") : QStringLiteral("Veltrano - View Souce"));
    mnuAdjustStart->setChecked(m_settings.RouterLog.IsDG834N);
    mnuEmailInclude->setChecked(m_settings.RouterLog.EmailInclude);
    mnuReverse->setChecked(m_settings.RouterLog.Reverse);
    setLogText(m_text);
}

void TForm5::setLogText(const QString &text)
{
    m_text = text;
    // One line break per line, whatever the page used (CR LF is never doubled).
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    if (shown.endsWith(QLatin1Char('\n')))
        shown.chop(1); // the last line's end starts no empty line

    Memo1->setPlainText(shown);
    if (m_mode == Mode::ViewLog && m_settings.RouterLog.Reverse)
        ReverseMemo();
    else
        Memo1->verticalScrollBar()->setValue(Memo1->verticalScrollBar()->maximum());
}

void TForm5::ReverseMemo()
{
    if (Memo1->toPlainText().isEmpty())
        return;
    QStringList lines = paneLines(Memo1);
    Memo1->setPlainText(reverseLogLines(lines).join(QLatin1Char('\n')));
    Memo1->verticalScrollBar()->setValue(0);
}

void TForm5::PopupMenu1Popup()
{
    mnuCopy->setEnabled(Memo1->textCursor().hasSelection());
    const bool log = m_mode == Mode::ViewLog;
    mnuAdjustStart->setVisible(log);
    mnuEmailInclude->setVisible(log);
    mnuReverse->setVisible(log);
}

void TForm5::fetchInto(int caller)
{
    QPointer<TForm5> self(this);
    btnRefresh->setEnabled(false);
    m_log.fetch(static_cast<RouterLogCaller>(caller), [self](bool ok, const QString &text) {
        if (!self)
            return;
        self->btnRefresh->setEnabled(true);
        if (ok)
            self->setLogText(text);
        else if (!text.isEmpty()) // the pane keeps the log fetched before
            confirmbox::inform(self, QStringLiteral("ConnectionFailedBox"), RouterLog::connectionFailedText(text));
    });
}

void TForm5::btnRefreshClick() { fetchInto(int(RouterLogCaller::Refresh)); }

void TForm5::mnuAdjustStartClick()
{
    auto &log = m_settings.RouterLog;
    log.IsDG834N = mnuAdjustStart->isChecked();
    log.LogStart = log.IsDG834N ? QStringLiteral("<textarea") : kDefaultStart;
    log.LogOffset = log.IsDG834N ? 112 : 102;
    emit settingsChanged();
    fetchInto(int(RouterLogCaller::View));
}

void TForm5::mnuReverseClick()
{
    m_settings.RouterLog.Reverse = mnuReverse->isChecked();
    emit settingsChanged();
    btnRefreshClick();
}

void TForm5::mnuSaveAsClick()
{
    savetextdialog::open(this, QFileInfo(m_settings.System.LogFile).absolutePath(), QStringLiteral("Text Files (*.txt)"),
                         QStringLiteral("doc"), [this](const QString &file) {
        const QByteArray bytes = paneLines(Memo1).join(QStringLiteral("\r\n")).toLatin1() + "\r\n";
        QString why;
        if (!AtomicFile::writeFile(file, bytes, &why))
            StatusBar1->showMessage(tr("Not saved: %1").arg(why));
        else
            StatusBar1->showMessage(tr("Saved to %1").arg(file), 5000);
    });
}

void TForm5::btnEmailClick()
{
    m_run.SampleStamp = m_settings.Graph.UTCTime ? Clock::currentDateTimeUtc() : Clock::currentDateTime();
    StatusBar1->showMessage(QStringLiteral("Sending E-mail..."));
    QString body = dtp::format(QStringLiteral("ddd dd mmm  hh:nn:ss"), m_run.SampleStamp) + QStringLiteral("\r\n") +
                   m_run.LastWanIPAddress + QStringLiteral("\r\n-----------------------------------\r\n");
    QStringList attachments;
    m_notAttached.clear();
    if (mnuEmailInclude->isChecked()) {
        body += m_text;
    } else {
        QByteArray bytes;
        for (const QString &line : paneLines(Memo1))
            bytes += line.toLatin1() + "\r\n";
        QString why;
        if (AtomicFile::writeFile(m_routerLogPath, bytes, &why)) {
            attachments << m_routerLogPath;
        } else {
            m_notAttached = tr("Router log not attached: %1 could not be written (%2)")
                                .arg(QDir::toNativeSeparators(m_routerLogPath), why);
            emit systemMessage(m_notAttached);
        }
    }
    btnEmail->setEnabled(false);
    if (!m_mailer->send(m_settings, body, attachments))
        btnEmail->setEnabled(true);
}

void TForm5::done(int result)
{
    if (m_mode == Mode::ViewLog) {
        auto &log = m_settings.RouterLog;
        log.IsDG834N = mnuAdjustStart->isChecked();
        log.LogStart = log.IsDG834N ? QStringLiteral("<textarea") : kDefaultStart;
        log.LogOffset = log.IsDG834N ? 112 : 102;
        log.EmailInclude = mnuEmailInclude->isChecked();
        emit settingsChanged();
    }
    QDialog::done(result);
}
