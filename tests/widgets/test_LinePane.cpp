// The system-messages pane: bursts reach the view as one batch, the cap is
// trimmed in one step keeping the newest lines, and nothing is lost or
// reordered on the way.
#include "TestSupport.h"
#include "widgets/LineRingModel.h"
#include "widgets/LinePane.h"

#include <QApplication>
#include <QClipboard>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QStringList numbered(int from, int to)
{
    QStringList l;
    for (int i = from; i < to; ++i)
        l << QStringLiteral("      Sun 06 Dec 2026   08:47:39:  message %1").arg(i);
    return l;
}

QStringList shown(QAbstractItemModel *m)
{
    QStringList l;
    for (int i = 0; i < m->rowCount(); ++i)
        l << m->index(i, 0).data().toString();
    return l;
}

} // namespace

TEST(LinePane, ABurstReachesTheViewAsOneBatchInOrder)
{
    LinePane pane;
    pane.resize(400, 200);
    pane.show();
    QSignalSpy inserted(pane.model(), &QAbstractItemModel::rowsInserted);
    const QStringList lines = numbered(0, 5000);
    for (const QString &l : lines)
        pane.appendLine(l);
    EXPECT_EQ(pane.model()->rowCount(), 0) << "nothing shown line by line";
    EXPECT_EQ(pane.pendingCount(), 5000);
    // The short timer brings them, all at once.
    ASSERT_TRUE(testsupport::waitFor([&] { return pane.model()->rowCount() == 5000; }));
    EXPECT_EQ(inserted.size(), 1);
    EXPECT_EQ(shown(pane.model()), lines);
    EXPECT_EQ(pane.verticalScrollBar()->value(), pane.verticalScrollBar()->maximum()) << "the newest line in view";
}

TEST(LinePane, TheCapIsTrimmedInOneStepKeepingTheNewest)
{
    struct Step {
        QStringList batch;
        QStringList kept;
        int removals;
    };
    const Step steps[] = {
        {numbered(0, 80), numbered(0, 80), 0},
        {numbered(80, 130), numbered(30, 130), 1},
        {numbered(130, 400), numbered(300, 400), 1}, // more than the cap in one batch
    };
    LinePane pane;
    pane.setLineCap(100);
    QSignalSpy removed(pane.model(), &QAbstractItemModel::rowsRemoved);
    for (const Step &s : steps) {
        removed.clear();
        for (const QString &l : s.batch)
            pane.appendLine(l);
        EXPECT_LE(pane.pendingCount(), 100) << "waiting lines are bounded too";
        pane.flush();
        EXPECT_EQ(shown(pane.model()), s.kept);
        EXPECT_EQ(removed.size(), s.removals);
    }
    // Lowering the cap trims at once, newest kept.
    pane.setLineCap(10);
    EXPECT_EQ(shown(pane.model()), numbered(390, 400));
}

TEST(LinePane, ReadingTheTextIncludesWaitingLinesAndClearDropsThem)
{
    LinePane pane;
    pane.appendLine(QStringLiteral("one"));
    pane.flush();
    pane.appendLine(QStringLiteral("two"));
    pane.appendLine(QString());
    EXPECT_EQ(pane.toPlainText(), QStringLiteral("one\ntwo\n"));
    EXPECT_EQ(pane.lineCount(), 3);
    pane.appendLine(QStringLiteral("three"));
    pane.clear();
    EXPECT_TRUE(pane.toPlainText().isEmpty());
    QTest::qWait(2 * LinePane::kBatchIntervalMs);
    EXPECT_EQ(pane.model()->rowCount(), 0) << "a cleared line does not come back";
}

TEST(LinePane, CopyTakesTheSelectedLinesInOrder)
{
    LinePane pane;
    for (const QString &l : numbered(0, 5))
        pane.appendLine(l);
    pane.flush();
    pane.selectionModel()->select(pane.model()->index(3, 0), QItemSelectionModel::Select);
    pane.selectionModel()->select(pane.model()->index(1, 0), QItemSelectionModel::Select);
    QTest::keyClick(&pane, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), numbered(1, 2).first() + QLatin1Char('\n') + numbered(3, 4).first());
}

TEST(LineRingModel, TextsSurviveTheRoundTrip)
{
    LineRingModel m(3);
    const QStringList lines = {QStringLiteral("Ünïcödé ✓"), QStringLiteral("  lead and trail  "), QString(),
                               QStringLiteral("last")};
    m.append(lines);
    ASSERT_EQ(m.rowCount(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(m.line(i), lines[i + 1]);
    EXPECT_EQ(m.index(0, 0).data(Qt::AccessibleTextRole).toString(), lines[1]);
    EXPECT_TRUE(m.line(7).isEmpty());
}
