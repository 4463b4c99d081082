#include "configuration/CharacterFilter.h"

#include <QApplication>
#include <QLineEdit>

CharacterFilter::CharacterFilter(Kind kind, QObject *parent) : QValidator(parent), m_kind(kind) {}

void CharacterFilter::install(QLineEdit *edit, Kind kind) { edit->setValidator(new CharacterFilter(kind, edit)); }

bool CharacterFilter::allowed(Kind kind, QChar c)
{
    switch (kind) {
    case Kind::Digits:
        return c >= QLatin1Char('0') && c <= QLatin1Char('9');
    case Kind::DottedAddress:
        return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('.');
    case Kind::FileNamePattern:
        return !QStringView(u"\\/:*?\"<>|").contains(c) && c.unicode() >= 0x20;
    }
    return false;
}

QString CharacterFilter::filtered(Kind kind, const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text)
        if (allowed(kind, c))
            out += c;
    return out;
}

QValidator::State CharacterFilter::validate(QString &input, int &pos) const
{
    QString kept;
    kept.reserve(input.size());
    int newPos = pos;
    for (int i = 0; i < input.size(); ++i) {
        if (allowed(m_kind, input.at(i)))
            kept += input.at(i);
        else if (i < pos)
            --newPos;
    }
    if (kept.size() != input.size()) {
        if (m_kind == Kind::FileNamePattern)
            QApplication::beep();
        input = kept;
        pos = newPos;
    }
    return Acceptable;
}
