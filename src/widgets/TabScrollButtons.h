#pragma once
// Qt enables a tab bar's scroll arrows from its last tab's place, which a
// hidden last tab does not have: the right arrow then stays off while visible
// tabs lie beyond the edge, and a mouse user can never reach them. A watched
// bar has each arrow enabled exactly when a visible tab lies beyond its side.
#include <QObject>

class QTabBar;
class QToolButton;
class QWidget;

class TabScrollButtons : public QObject {
    Q_OBJECT
public:
    // Watches every tab bar in root's tree (root included), each once.
    static void installOn(QWidget *root);

    explicit TabScrollButtons(QTabBar *bar);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void recheck();
    void recheckSoon();

    QTabBar *m_bar;
    QToolButton *m_earlier = nullptr;
    QToolButton *m_later = nullptr;
    bool m_adjusting = false;
    bool m_recheckPending = false;
};
