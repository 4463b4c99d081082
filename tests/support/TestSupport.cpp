#include "TestSupport.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QTabWidget>
#include <QTest>

#include <QFile>
#include <algorithm>
#include <stdexcept>
#include <utility>
#include <vector>

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

QByteArray testsupport::settingsFile(const QByteArray &pieces)
{
    const auto same = [](const QByteArray &a, const QByteArray &b) { return a.compare(b, Qt::CaseInsensitive) == 0; };
    const auto keyOf = [](const QByteArray &line) { return line.left(line.indexOf('=')).trimmed(); };
    std::vector<std::pair<QByteArray, QList<QByteArray>>> sections; // a section's name and its key lines
    qsizetype current = -1;
    for (const QByteArray &line : pieces.split('\n')) {
        const QByteArray trimmed = line.trimmed();
        if (trimmed.startsWith('[') && trimmed.endsWith(']')) {
            const QByteArray name = trimmed.mid(1, trimmed.size() - 2).trimmed();
            current = std::find_if(sections.begin(), sections.end(), [&](const auto &s) { return same(s.first, name); })
                      - sections.begin();
            if (current == qsizetype(sections.size()))
                sections.push_back({name, {}});
        } else if (current >= 0 && trimmed.contains('=') && !trimmed.startsWith(';')) {
            QList<QByteArray> &keys = sections[size_t(current)].second;
            const auto at = std::find_if(keys.begin(), keys.end(),
                                         [&](const QByteArray &k) { return same(keyOf(k), keyOf(line)); });
            if (at == keys.end())
                keys << line;
            else
                *at = line;
        }
    }
    QByteArray out;
    for (const auto &[name, keys] : sections)
        out += '[' + name + "]\n" + keys.join('\n') + (keys.isEmpty() ? "" : "\n");
    return out;
}

void testsupport::showPageOf(QWidget *widget)
{
    for (QWidget *w = widget; w; w = w->parentWidget())
        if (auto *tabs = qobject_cast<QTabWidget *>(w->parentWidget() ? w->parentWidget()->parentWidget() : nullptr))
            tabs->setCurrentWidget(w);
}
