#include "widgets/LineRingModel.h"

#include <algorithm>

LineRingModel::LineRingModel(int cap, QObject *parent) : QAbstractListModel(parent), m_cap(std::max(cap, 1)) {}

int LineRingModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_lines.size());
}

QVariant LineRingModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= int(m_lines.size()))
        return {};
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole || role == Qt::ToolTipRole)
        return line(index.row());
    if (role == Qt::UserRole)
        return tag(index.row());
    return {};
}

QString LineRingModel::line(int row) const
{
    if (row < 0 || row >= int(m_lines.size()))
        return QString();
    return QString::fromUtf8(m_lines[size_t(row)]);
}

QString LineRingModel::tag(int row) const
{
    if (row < 0 || row >= int(m_tags.size()))
        return QString();
    return m_tags[size_t(row)];
}

void LineRingModel::dropOldest(qsizetype n)
{
    n = std::min<qsizetype>(n, qsizetype(m_lines.size()));
    if (n <= 0)
        return;
    beginRemoveRows(QModelIndex(), 0, int(n - 1));
    m_lines.erase(m_lines.begin(), m_lines.begin() + n);
    m_tags.erase(m_tags.begin(), m_tags.begin() + n);
    endRemoveRows();
}

void LineRingModel::append(const QStringList &lines, const QStringList &tags)
{
    if (lines.isEmpty())
        return;
    // Lines of the batch beyond the cap would be removed at once: never added.
    const qsizetype skip = std::max<qsizetype>(0, lines.size() - m_cap);
    const qsizetype adding = lines.size() - skip;
    dropOldest(qsizetype(m_lines.size()) + adding - m_cap);
    const int first = int(m_lines.size());
    beginInsertRows(QModelIndex(), first, first + int(adding) - 1);
    for (qsizetype i = skip; i < lines.size(); ++i) {
        m_lines.push_back(lines[i].toUtf8());
        m_tags.push_back(tags.value(i));
    }
    endInsertRows();
}

void LineRingModel::clear()
{
    beginResetModel();
    std::deque<QByteArray>().swap(m_lines);
    std::deque<QString>().swap(m_tags);
    endResetModel();
}

void LineRingModel::setCap(int cap)
{
    m_cap = std::max(cap, 1);
    dropOldest(qsizetype(m_lines.size()) - m_cap);
}
