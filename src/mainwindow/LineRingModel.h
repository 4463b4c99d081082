#pragma once
// The lines of a read-only pane, newest last, at most a cap of them. Lines
// are kept as UTF-8, a fraction of what a text document spends on a line;
// a batch is added with one insertion and the excess removed with one removal.
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
    void append(const QStringList &lines);
    void clear();

    QString line(int row) const;
    int cap() const { return m_cap; }
    void setCap(int cap);

private:
    void dropOldest(qsizetype n);

    std::deque<QByteArray> m_lines;
    int m_cap;
};
