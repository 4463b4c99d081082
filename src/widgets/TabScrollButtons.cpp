#include "widgets/TabScrollButtons.h"

#include <QEvent>
#include <QStyle>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <utility>

namespace {

bool vertical(const QTabBar *bar)
{
    switch (bar->shape()) {
    case QTabBar::RoundedWest:
    case QTabBar::RoundedEast:
    case QTabBar::TriangularWest:
    case QTabBar::TriangularEast:
        return true;
    default:
        return false;
    }
}

} // namespace

void TabScrollButtons::installOn(QWidget *root)
{
    if (!root)
        return;
    QList<QTabBar *> bars = root->findChildren<QTabBar *>();
    if (auto *bar = qobject_cast<QTabBar *>(root))
        bars.prepend(bar);
    for (QTabBar *bar : bars)
        if (!bar->findChild<TabScrollButtons *>(QString(), Qt::FindDirectChildrenOnly))
            new TabScrollButtons(bar);
}

TabScrollButtons::TabScrollButtons(QTabBar *bar) : QObject(bar), m_bar(bar)
{
    // Qt's own names for the two arrows; "left" scrolls towards the first tab.
    for (QToolButton *b : bar->findChildren<QToolButton *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (b->objectName() == QLatin1String("ScrollLeftButton"))
            m_earlier = b;
        else if (b->objectName() == QLatin1String("ScrollRightButton"))
            m_later = b;
    }
    if (!m_earlier || !m_later)
        return;
    m_earlier->installEventFilter(this);
    m_later->installEventFilter(this);
    bar->installEventFilter(this);
    recheckSoon();
}

bool TabScrollButtons::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_bar) {
        switch (event->type()) {
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::Paint:
        case QEvent::LayoutDirectionChange:
        case QEvent::StyleChange:
        case QEvent::FontChange:
            // The bar lays its tabs out while it handles these: look once it has.
            recheckSoon();
            break;
        default:
            break;
        }
    } else if (event->type() == QEvent::EnabledChange) {
        // Qt set an arrow mid-layout: correct it at once so it never looks off,
        // and again once the layout is done.
        recheck();
        recheckSoon();
    }
    return false;
}

void TabScrollButtons::recheckSoon()
{
    if (m_recheckPending)
        return;
    m_recheckPending = true;
    QTimer::singleShot(0, this, [this] {
        m_recheckPending = false;
        recheck();
    });
}

void TabScrollButtons::recheck()
{
    if (m_adjusting || !m_earlier || !m_later)
        return;
    // Without arrows the whole bar shows every tab.
    if (m_earlier->isHidden() && m_later->isHidden())
        return;
    const bool down = vertical(m_bar);
    const bool mirrored = !down && m_bar->layoutDirection() == Qt::RightToLeft;
    // Work in the tabs' own order: first tab at the start.
    auto span = [&](QRect r) {
        if (mirrored)
            r = QStyle::visualRect(Qt::RightToLeft, m_bar->rect(), r);
        return down ? std::pair{r.top(), r.bottom()} : std::pair{r.left(), r.right()};
    };
    const int length = down ? m_bar->height() : m_bar->width();
    // The tabs show between the arrows that sit at either end.
    int shownFrom = 0;
    int shownTo = length - 1;
    for (QToolButton *b : {m_earlier, m_later}) {
        if (b->isHidden())
            continue;
        const auto [from, to] = span(b->geometry());
        if (from + to < length)
            shownFrom = std::max(shownFrom, to + 1);
        else
            shownTo = std::min(shownTo, from - 1);
    }
    bool before = false;
    bool beyond = false;
    for (int i = 0; i < m_bar->count(); ++i) {
        if (!m_bar->isTabVisible(i))
            continue;
        const QRect r = m_bar->tabRect(i);
        if (r.isEmpty())
            continue;
        const auto [from, to] = span(r);
        before = before || from < shownFrom;
        beyond = beyond || to > shownTo;
    }
    m_adjusting = true;
    // Enabled as far as the arrow goes: a disabled tab bar keeps its arrows off.
    if (m_earlier->isEnabledTo(m_bar) != before)
        m_earlier->setEnabled(before);
    if (m_later->isEnabledTo(m_bar) != beyond)
        m_later->setEnabled(beyond);
    m_adjusting = false;
}
