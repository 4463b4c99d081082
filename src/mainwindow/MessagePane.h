#pragma once
// A read-only pane of time-stamped lines (the system messages): a list over a
// capped ring of lines. Lines added in a burst are collected and reach the
// view in one batch on a short timer: one insertion and one scroll to the
// newest line, however many lines came.
#include <QListView>
#include <QStringList>
#include <QTimer>

class LineRingModel;

class MessagePane : public QListView {
    Q_OBJECT
public:
    static constexpr int kDefaultLineCap = 100000;
    static constexpr int kBatchIntervalMs = 100;

    explicit MessagePane(QWidget *parent = nullptr);

    // Queued for the next batch.
    void appendLine(const QString &line);
    // Shows the waiting lines now.
    void flush();
    // Every line, the waiting ones included, joined by newlines.
    QString toPlainText();
    void clear();

    int lineCount();
    QString lineAt(int row);
    int lineCap() const;
    void setLineCap(int cap);
    int pendingCount() const { return int(m_pending.size()); }

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    LineRingModel *m_model;
    QStringList m_pending;
    QTimer m_batch;
};
