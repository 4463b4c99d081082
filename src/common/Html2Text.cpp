#include "common/Html2Text.h"

#include "common/HtmlToText.h"

QString HTML2Text(const QString &html)
{
    const int body = html.indexOf(QLatin1String("<body"), 0, Qt::CaseInsensitive);
    return HtmlToText::render(body >= 0 ? html.mid(body) : html).text();
}
