#include "TestSupport.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>

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
