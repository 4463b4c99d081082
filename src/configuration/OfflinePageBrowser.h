#pragma once
// A rich-text view of a router page that never loads anything: images,
// style sheets and links of the page stay where they are, and following a
// link does nothing. Router pages are shown, never browsed.
#include <QTextBrowser>

class OfflinePageBrowser : public QTextBrowser {
    Q_OBJECT
public:
    explicit OfflinePageBrowser(QWidget *parent = nullptr);

    QVariant loadResource(int type, const QUrl &name) override;
};
