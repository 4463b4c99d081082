#include "TestSupport.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QTabWidget>
#include <QTest>

#include <QFile>
#include <stdexcept>

QByteArray testsupport::readAll(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void testsupport::writeAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error("cannot write " + path.toStdString());
    f.write(bytes);
}

int testsupport::keyLineCount(const QByteArray &ini)
{
    int n = 0;
    for (const QByteArray &line : ini.split('\n'))
        if (!line.startsWith('[') && !line.startsWith(';') && line.contains('='))
            ++n;
    return n;
}

void testsupport::discardMessageBoxes()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (qobject_cast<QMessageBox *>(w))
            w->deleteLater();
}

void testsupport::typeText(QLineEdit *edit, const QString &text)
{
    edit->setText(text);
    emit edit->textEdited(text);
}

void testsupport::typeOver(QLineEdit *edit, const QString &text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
}

QString testsupport::iniValue(const QByteArray &ini, const char *section, const char *key)
{
    QString current;
    for (const QString &line : QString::fromLatin1(ini).split(QLatin1Char('\n'))) {
        const QString l = line.trimmed();
        if (l.startsWith(QLatin1Char('[')))
            current = l.mid(1, l.size() - 2);
        else if (current.compare(QLatin1String(section), Qt::CaseInsensitive) == 0
                 && l.section(QLatin1Char('='), 0, 0).compare(QLatin1String(key), Qt::CaseInsensitive) == 0)
            return l.section(QLatin1Char('='), 1);
    }
    return QStringLiteral("(missing)");
}

void testsupport::showPageOf(QWidget *widget)
{
    for (QWidget *w = widget; w; w = w->parentWidget())
        if (auto *tabs = qobject_cast<QTabWidget *>(w->parentWidget() ? w->parentWidget()->parentWidget() : nullptr))
            tabs->setCurrentWidget(w);
}
