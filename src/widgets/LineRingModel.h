#pragma once
// The lines of a read-only pane, newest last, at most a cap of them. Lines
// are kept as UTF-8, a fraction of what a text document spends on a line;
// a batch is added with one insertion and the excess removed with one removal.
// A line may carry a tag (Qt::UserRole) that its text cannot forge, such as
// the client address of an access-log entry.
#include <QAbstractListModel>
#include <QByteArray>
#include <QStringList>
#include <deque>

class LineRingModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit LineRingModel(int cap, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    // Adds the lines at the end; when more than the cap would be kept, the
    // oldest go first, all in one step.
    // tags: none, or one per line.
    void append(const QStringList &lines, const QStringList &tags = {});
    void clear();

    QString line(int row) const;
    QString tag(int row) const;
    int cap() const { return m_cap; }
    void setCap(int cap);

private:
    void dropOldest(qsizetype n);

    std::deque<QByteArray> m_lines;
    std::deque<QString> m_tags; // one per line
    int m_cap;
};
