#include "configuration/TForm8.h"

#include "configuration/DialogPlacement.h"

#include <QLabel>

TForm8::TForm8(TSettings &settings, QWidget *parent)
    : AdviceDialog(QStringLiteral("DG834 Auto detection..."),
                   QStringLiteral("Veltrano has detected a Netgear DG834 series router."),
                   QStringLiteral("Press 'OK' to confirm this is correct"), QStringLiteral("cbAdvise"),
                   QStringLiteral("OK"), parent),
      m_settings(settings)
{
    setObjectName(QStringLiteral("TForm8"));
    cbAdvise = adviseBox;
}

TForm8 *TForm8::ask(QWidget *opener, TSettings &settings, const QString &label2, Callback callback)
{
    auto *form = new TForm8(settings, opener);
    form->Label2->setText(dialogs::plainLines(label2));
    form->setCallback(std::move(callback));
    dialogs::openAt(form, opener, QPoint(70, 100));
    return form;
}

QString TForm8::pollingText()
{
    return QStringLiteral("Press 'OK' to confirm this is correct\r\nand to use Veltrano' built-in accurate search function.");
}

QString TForm8::getPageText() { return QStringLiteral("Press 'OK' to confirm this is correct."); }

bool TForm8::pageNamesDg834(const QString &page) { return page.contains(QLatin1String("content=\"DG834")); }

void TForm8::okClicked() { m_settings.System.IsDG834 = true; }

void TForm8::cancelClicked() { m_settings.System.IsDG834 = false; }

void TForm8::closing(bool dontShowAgain) { m_settings.System.Advise = !dontShowAgain; }
