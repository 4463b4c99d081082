#include "pages/UserFigureMarker.h"

#include "acquisition/TerminalCommands.h"

#include <QEvent>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTimer>

UserFigureMarker::UserFigureMarker(const TSettings &settings, QPlainTextEdit *memo2, QPlainTextEdit *memo3, QLabel *panel53,
                                   QObject *parent)
    : QObject(parent), m_settings(settings), m_memo2(memo2), m_memo3(memo3), m_panel53(panel53)
{
    tmrTelnetUserDelay = new QTimer(this);
    tmrTelnetUserDelay->setObjectName(QStringLiteral("tmrTelnetUserDelay"));
    tmrTelnetUserDelay->setSingleShot(true);
    tmrTelnetUserDelay->setInterval(5000);
    connect(tmrTelnetUserDelay, &QTimer::timeout, this, &UserFigureMarker::tmrTelnetUserDelayTimer);
    m_panel53->hide();
    for (auto [pane, down] : {std::pair{memo2, true}, std::pair{memo3, false}}) {
        pane->viewport()->installEventFilter(this);
        pane->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(pane, &QWidget::customContextMenuRequested, this,
                [this, pane, down](const QPoint &pos) { showMenu(pane, down, pos); });
    }
}

void UserFigureMarker::tmrTelnetUserDelayTimer()
{
    tmrTelnetUserDelay->stop();
    m_panel53->hide();
}

bool UserFigureMarker::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress
        && (watched == m_memo2->viewport() || watched == m_memo3->viewport()))
        tmrTelnetUserDelayTimer();
    return QObject::eventFilter(watched, event);
}

void UserFigureMarker::showMenu(QPlainTextEdit *pane, bool fromDown, const QPoint &pos)
{
    QMenu *menu = pane->createStandardContextMenu(pos);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addSeparator();
    // The items say what each figure follows now.
    auto caption = [this](int which) {
        const auto &t = m_settings.Telnet;
        const QString &text = which == 1 ? t.UserDownText : t.UserUpText;
        const bool rx = which == 1 ? t.User1Rx : t.User2Rx;
        if (text.isEmpty())
            return QStringLiteral("[ User-def %1]").arg(which);
        return rx ? QStringLiteral("[ User-def %1] Downstream '%2'").arg(which).arg(text)
                  : QStringLiteral("[User-def %1] Upstream '%2'").arg(which).arg(text);
    };
    QAction *one = menu->addAction(caption(1));
    one->setObjectName(QStringLiteral("mnuMarkUser"));
    QAction *two = menu->addAction(caption(2));
    two->setObjectName(QStringLiteral("mnuMarkUser2"));
    const bool selection = pane->textCursor().hasSelection();
    one->setEnabled(selection);
    two->setEnabled(selection);
    connect(one, &QAction::triggered, this, [this, fromDown] { mark(1, fromDown); });
    connect(two, &QAction::triggered, this, [this, fromDown] { mark(2, fromDown); });
    menu->popup(pane->viewport()->mapToGlobal(pos));
}

void UserFigureMarker::mark(int which, bool fromDown)
{
    QPlainTextEdit *pane = fromDown ? m_memo2 : m_memo3;
    const std::optional<QString> label = terminalcommands::markedLabel(pane->textCursor().selectedText());
    if (!label) {
        // The old search text stays.
        emit invalidSelection(QStringLiteral("Invalid data.  Highlight text to the left of the required value."));
        return;
    }
    const MarkedUserFigure marked{which, *label, fromDown};
    m_panel53->setText(QStringLiteral("User-defined %1: ").arg(which) + marked.title());
    m_panel53->show();
    tmrTelnetUserDelay->start();
    for (QPlainTextEdit *p : {m_memo2, m_memo3}) {
        QTextCursor c = p->textCursor();
        c.clearSelection();
        p->setTextCursor(c);
    }
    emit userChartMarked(marked);
}
