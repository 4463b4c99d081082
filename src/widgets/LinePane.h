#pragma once
// A read-only pane of lines (the system messages, the access log): a list
// over a capped ring of lines. Lines added one by one in a burst are collected
// and reach the view in one batch on a short timer; a batch from elsewhere is
// shown at once. Either way: one insertion, at most one removal of the oldest
// and one scroll to the newest line, however many lines came.
#include <QListView>
#include <QStringList>
#include <QTimer>

class LineRingModel;

class LinePane : public QListView {
    Q_OBJECT
public:
    static constexpr int kDefaultLineCap = 100000;
    static constexpr int kBatchIntervalMs = 100;

    explicit LinePane(QWidget *parent = nullptr);

    // Queued for the next batch.
    void appendLine(const QString &line);
    // Shown now, after any waiting lines; tags: none, or one per line.
    void appendLines(const QStringList &lines, const QStringList &tags = {});
    // Shows the waiting lines now.
    void flush();
    // Every line, the waiting ones included, joined by newlines.
    QString toPlainText();
    void clear();

    int lineCount();
    QString lineAt(int row);
    // The selected line under the cursor; empty when none is.
    QString currentLine() const;
    // The tag of that line; empty when none is selected.
    QString currentTag() const;
    void setCurrentRow(int row);
    int lineCap() const;
    void setLineCap(int cap);
    int pendingCount() const { return int(m_pending.size()); }

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    LineRingModel *m_model;
    QStringList m_pending;
    QStringList m_pendingTags; // one per waiting line
    QTimer m_batch;
};
