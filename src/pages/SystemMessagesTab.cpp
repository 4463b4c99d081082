#include "pages/SystemMessagesTab.h"

#include "common/Trace.h"
#include "widgets/LinePane.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QMessageBox>
#include <QPushButton>

SystemMessagesTab buildSystemMessagesTab(QWidget *parent, int lineCap)
{
    SystemMessagesTab t;
    t.page = new QWidget(parent);
    t.page->setObjectName(QStringLiteral("TabSheet40"));
    auto *sysLayout = new QVBoxLayout(t.page);
    t.memSys = new LinePane(t.page);
    t.memSys->setObjectName(QStringLiteral("memSys"));
    t.memSys->setAccessibleName(QObject::tr("System messages"));
    t.memSys->setLineCap(lineCap);
    sysLayout->addWidget(t.memSys, 1);
    auto *sysRow = new QHBoxLayout;
    t.cbEnableSystem = new QCheckBox(QObject::tr("Enable system messages"), t.page);
    t.cbEnableSystem->setObjectName(QStringLiteral("cbEnableSystem"));
    t.cbSuppressErrors = new QCheckBox(QObject::tr("Suppress error messages when possible"), t.page);
    t.cbSuppressErrors->setObjectName(QStringLiteral("cbSuppressErrors"));
    t.btnClear = new QPushButton(QObject::tr("Clear Messages"), t.page);
    t.btnClear->setObjectName(QStringLiteral("btnClear"));
    sysRow->addWidget(t.cbEnableSystem);
    sysRow->addWidget(t.cbSuppressErrors);
    sysRow->addStretch(1);
    t.Button1 = new QPushButton(QObject::tr("Save As..."), t.page);
    t.Button1->setObjectName(QStringLiteral("Button1"));
    t.Button1->setAccessibleName(QObject::tr("Save As... the system messages"));
    sysRow->addWidget(t.Button1);
    sysRow->addWidget(t.btnClear);
    sysLayout->addLayout(sysRow);
    return t;
}

QMessageBox *confirmClearMessages(QWidget *window, LinePane *pane, const QString &title)
{
    auto *box = new QMessageBox(QMessageBox::Question, title, QObject::tr("Confirm Delete messages?"),
                                QMessageBox::Yes | QMessageBox::Cancel, window);
    box->setObjectName(QStringLiteral("ClearConfirmBox"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->move(window->geometry().left() + 350, window->geometry().top() + 200);
    QObject::connect(box, &QMessageBox::finished, window, [pane, box](int) {
        if (box->clickedButton() == box->button(QMessageBox::Yes))
            pane->clear();
    });
    trace::write(QStringLiteral("box"), box->text());
    box->open();
    return box;
}
