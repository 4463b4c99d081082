#include "configuration/TForm4.h"

#include "configuration/DialogPlacement.h"

#include <QFont>
#include <QFontMetrics>
#include <QPalette>
#include <QPlainTextEdit>
#include <QStringList>
#include <QVBoxLayout>

TForm4::TForm4(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TForm4"));
    setWindowTitle(QStringLiteral("Veltrano - DateTime Help"));

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setAccessibleName(QStringLiteral("Date and time format letters"));
    Memo1->setReadOnly(true);
    // Read-only text still takes the focus so a keyboard user can scroll it.
    Memo1->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::Monospace);
    font.setPointSize(9);
    Memo1->setFont(font);
    QPalette pal = Memo1->palette();
    pal.setColor(QPalette::Base, QColor(255, 255, 225));
    pal.setColor(QPalette::Text, Qt::black);
    Memo1->setPalette(pal);
    Memo1->setPlainText(helpText());

    const QFontMetrics fm(font);
    Memo1->setMinimumSize(fm.horizontalAdvance(QLatin1Char('x')) * 58, fm.lineSpacing() * 18);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Memo1);
}

TForm4 *TForm4::open(QWidget *opener)
{
    auto *form = new TForm4(opener);
    dialogs::openAt(form, opener, QPoint(300, 120));
    return form;
}

QString TForm4::helpText()
{
    const QStringList lines = {
        QString(),
        QStringLiteral("ddd          = Day of the week (Mon, Tue)."),
        QStringLiteral("dd           = Day of the month (14, 15 etc)"),
        QStringLiteral("mmm          = Month (Jan, Feb etc)"),
        QStringLiteral("mm           = Month (01, 02 etc)"),
        QStringLiteral("yy and yyyy  = 2 and 4-digit year."),
        QString(),
        QStringLiteral("hh           = Hours"),
        QStringLiteral("mm or nn     = Minutes (mm can only be used"),
        QStringLiteral("                 if it immediately follows hh)"),
        QStringLiteral("ss           = Seconds"),
        QString(),
        QStringLiteral("Any other characters will be printed"),
        QStringLiteral("literally."),
    };
    QStringList out;
    for (const QString &line : lines)
        out << (line.isEmpty() ? line : QLatin1Char(' ') + line);
    return out.join(QLatin1Char('\n'));
}
