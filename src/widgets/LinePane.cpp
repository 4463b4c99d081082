#include "widgets/LinePane.h"

#include "widgets/LineRingModel.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QScrollBar>

LinePane::LinePane(QWidget *parent) : QListView(parent), m_model(new LineRingModel(kDefaultLineCap, this))
{
    setModel(m_model);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setTextElideMode(Qt::ElideNone);
    m_batch.setSingleShot(true);
    m_batch.setInterval(kBatchIntervalMs);
    connect(&m_batch, &QTimer::timeout, this, &LinePane::flush);
}

void LinePane::appendLine(const QString &line)
{
    // Lines that the cap would drop at once need not wait.
    if (m_pending.size() >= m_model->cap()) {
        m_pending.removeFirst();
        m_pendingTags.removeFirst();
    }
    m_pending.append(line);
    m_pendingTags.append(QString());
    if (!m_batch.isActive())
        m_batch.start();
}

void LinePane::appendLines(const QStringList &lines, const QStringList &tags)
{
    m_pending.append(lines);
    for (qsizetype i = 0; i < lines.size(); ++i)
        m_pendingTags.append(tags.value(i));
    flush();
}

void LinePane::flush()
{
    m_batch.stop();
    if (m_pending.isEmpty())
        return;
    m_model->append(std::exchange(m_pending, {}), std::exchange(m_pendingTags, {}));
    scrollToBottom();
}

QString LinePane::toPlainText()
{
    flush();
    QStringList lines;
    lines.reserve(m_model->rowCount());
    for (int i = 0; i < m_model->rowCount(); ++i)
        lines.append(m_model->line(i));
    return lines.join(QLatin1Char('\n'));
}

void LinePane::clear()
{
    m_batch.stop();
    m_pending.clear();
    m_pendingTags.clear();
    m_model->clear();
}

int LinePane::lineCount()
{
    flush();
    return m_model->rowCount();
}

QString LinePane::lineAt(int row)
{
    flush();
    return m_model->line(row);
}

QString LinePane::currentLine() const
{
    const QModelIndex current = currentIndex();
    if (!current.isValid() || !selectionModel()->isSelected(current))
        return QString();
    return m_model->line(current.row());
}

QString LinePane::currentTag() const
{
    const QModelIndex current = currentIndex();
    if (!current.isValid() || !selectionModel()->isSelected(current))
        return QString();
    return m_model->tag(current.row());
}

void LinePane::setCurrentRow(int row)
{
    setCurrentIndex(m_model->index(row, 0));
}

int LinePane::lineCap() const { return m_model->cap(); }

void LinePane::setLineCap(int cap) { m_model->setCap(cap); }

void LinePane::keyPressEvent(QKeyEvent *event)
{
    // The selected lines, as a text pane would copy them.
    if (event->matches(QKeySequence::Copy)) {
        QModelIndexList rows = selectionModel()->selectedRows();
        std::sort(rows.begin(), rows.end(), [](const QModelIndex &a, const QModelIndex &b) { return a.row() < b.row(); });
        QStringList lines;
        for (const QModelIndex &row : rows)
            lines.append(m_model->line(row.row()));
        QApplication::clipboard()->setText(lines.join(QLatin1Char('\n')));
        return;
    }
    QListView::keyPressEvent(event);
}
