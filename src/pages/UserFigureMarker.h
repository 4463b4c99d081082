#pragma once
// Teaching a user-defined telnet figure: the user selects the label of a
// figure in the downstream or upstream statistics pane and chooses "Mark
// User-defined 1" or "2" from the pane's menu; the parsers then follow that
// label. A short notice (Panel53) says what was marked.
#include "settings/TSettings.h"

#include <QObject>

class QLabel;
class QPlainTextEdit;
class QPoint;
class QTimer;

// A figure the user marked: its label, the pane it was marked in, and the
// title of its chart.
struct MarkedUserFigure {
    int which = 1; // user figure 1 or 2
    QString label;
    bool fromDown = true; // marked in the downstream pane Memo2
    QString title() const
    {
        return label + (fromDown ? QStringLiteral(" (Downstream)") : QStringLiteral(" (Upstream)"));
    }
};

class UserFigureMarker : public QObject {
    Q_OBJECT
public:
    UserFigureMarker(const TSettings &settings, QPlainTextEdit *memo2, QPlainTextEdit *memo3, QLabel *panel53,
                     QObject *parent = nullptr);

    // mnuMarkUserClick (which 1) and mnuMarkUser2Click (which 2); fromDown is
    // true when the menu was opened on the downstream pane Memo2.
    void mark(int which, bool fromDown);
    QTimer *tmrTelnetUserDelay = nullptr;
    // Its time is up (or the user pressed in a statistics pane): the notice goes.
    void tmrTelnetUserDelayTimer();

signals:
    // The figure's search text, pane and chart title are to be stored, and
    // its chart's axis is to be 0..10.
    void userChartMarked(const MarkedUserFigure &marked);
    void invalidSelection(const QString &message);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showMenu(QPlainTextEdit *pane, bool fromDown, const QPoint &pos);

    const TSettings &m_settings;
    QPlainTextEdit *m_memo2;
    QPlainTextEdit *m_memo3;
    QLabel *m_panel53;
};
