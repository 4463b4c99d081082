// "Clear Messages" asks first: only Yes clears the pane, and the box goes away either way.
#include "pages/SystemMessagesTab.h"
#include "widgets/LinePane.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QMessageBox>
#include <QPointer>
#include <gtest/gtest.h>

TEST(ClearMessages, OnlyYesClearsThePane)
{
    for (const auto &[button, cleared] : {std::pair{QMessageBox::Yes, true}, std::pair{QMessageBox::Cancel, false}}) {
        QWidget window;
        const SystemMessagesTab tab = buildSystemMessagesTab(&window, 100);
        tab.memSys->appendLine(QStringLiteral("12:00:00  Started."));
        ASSERT_FALSE(tab.memSys->toPlainText().isEmpty());
        QPointer<QMessageBox> box = confirmClearMessages(&window, tab.memSys, QStringLiteral("Veltrano"));
        ASSERT_TRUE(box);
        EXPECT_EQ(box->objectName(), QStringLiteral("ClearConfirmBox"));
        EXPECT_EQ(box->text(), QStringLiteral("Confirm Delete messages?"));
        EXPECT_EQ(box->windowTitle(), QStringLiteral("Veltrano"));
        EXPECT_TRUE(box->isVisible());
        box->button(button)->click();
        EXPECT_EQ(tab.memSys->toPlainText().isEmpty(), cleared) << button;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_FALSE(box) << "the box deletes itself";
    }
}
