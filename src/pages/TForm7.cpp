#include "pages/TForm7.h"

#include "acquisition/RouterLog.h"
#include "widgets/ConfirmBox.h"
#include "widgets/PageView.h"

#include <QAction>
#include <QHBoxLayout>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

TForm7::TForm7(const QString &eventsHtml, RouterLog &log, QWidget *parent) : QDialog(parent), m_log(log)
{
    setObjectName(QStringLiteral("TForm7"));
    setWindowTitle(QStringLiteral("Veltrano - Thomson 585 Log"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(true);
    resize(640, 460);
    auto *layout = new QVBoxLayout(this);
    HTML3 = new PageView(this);
    HTML3->setObjectName(QStringLiteral("HTML3"));
    HTML3->setAccessibleName(tr("Router event log"));
    HTML3->setContextMenuPolicy(Qt::CustomContextMenu);
    layout->addWidget(HTML3, 1);
    auto *buttons = new QHBoxLayout;
    btnRefresh585 = new QPushButton(tr("Refresh"), this);
    btnRefresh585->setObjectName(QStringLiteral("btnRefresh585"));
    Button1 = new QPushButton(tr("Close"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    buttons->addWidget(btnRefresh585);
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    layout->addLayout(buttons);
    PopupMenu1 = new QMenu(this);
    mnuCopy = PopupMenu1->addAction(tr("Copy to clipboard"));
    mnuCopy->setObjectName(QStringLiteral("mnuCopy"));
    SelectAll1 = PopupMenu1->addAction(tr("Select All"));
    SelectAll1->setObjectName(QStringLiteral("SelectAll1"));
    connect(HTML3, &QWidget::customContextMenuRequested, this, [this](const QPoint &p) {
        mnuCopy->setEnabled(HTML3->textCursor().hasSelection());
        PopupMenu1->popup(HTML3->viewport()->mapToGlobal(p));
    });
    connect(mnuCopy, &QAction::triggered, HTML3, &QTextEdit::copy);
    connect(SelectAll1, &QAction::triggered, HTML3, &QTextEdit::selectAll);
    connect(btnRefresh585, &QPushButton::clicked, this, &TForm7::btnRefresh585Click);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    HTML3->showPage(restyle(eventsHtml));
}

QString TForm7::restyle(const QString &events)
{
    QString html = events;
    html.replace(QLatin1String("height='3'"), QLatin1String("height='1'"));
    html.replace(QLatin1String("class='oddrow'"), QLatin1String("bgcolor='#ffffcc'"));
    html.replace(QLatin1String("No events for this category."), QLatin1String("No events."));
    return html;
}

void TForm7::btnRefresh585Click()
{
    QPointer<TForm7> self(this);
    m_log.fetch(RouterLogCaller::View, [self](bool ok, const QString &text) {
        if (!self)
            return;
        if (ok)
            self->HTML3->showPage(text);
        else if (!text.isEmpty()) // the view keeps the events fetched before
            confirmbox::inform(self, QStringLiteral("ConnectionFailedBox"), RouterLog::connectionFailedText(text));
    });
}
