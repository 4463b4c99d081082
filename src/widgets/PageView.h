#pragma once
// A router page shown as rich text: Qt's own text layout, no browser engine,
// no scripts, and nothing loaded from anywhere (images and style sheets the
// page names stay out), so showing a page never sends a request.
#include <QTextBrowser>

class PageView : public QTextBrowser {
    Q_OBJECT
public:
    explicit PageView(QWidget *parent = nullptr);

    // The page as the router sent it; the view shows it, the source stays as it was.
    void showPage(const QString &html);
    const QString &pageSource() const { return m_source; }

    QVariant loadResource(int type, const QUrl &name) override;

    // The colour of the text the page leaves uncoloured.
    void setDefaultTextColour(const QColor &colour);

private:
    QString m_source;
};
