#include "configuration/TForm9.h"

#include "configuration/DialogPlacement.h"

TForm9::TForm9(TSettings &settings, QWidget *parent)
    : AdviceDialog(QStringLiteral("Veltrano Netgear Configuration..."),
                   QStringLiteral("Veltrano is currently configured for a Netgear DG834 series router."),
                   QStringLiteral("Press 'Cancel' if this is not correct."), QStringLiteral("cbAdvise1"),
                   QStringLiteral("OK"), parent),
      m_settings(settings)
{
    setObjectName(QStringLiteral("TForm9"));
    cbAdvise1 = adviseBox;
}

TForm9 *TForm9::ask(QWidget *opener, TSettings &settings, Callback callback)
{
    auto *form = new TForm9(settings, opener);
    form->setCallback(std::move(callback));
    dialogs::openAt(form, opener, QPoint(70, 100));
    return form;
}

void TForm9::okClicked() { m_settings.System.IsDG834 = true; }

void TForm9::cancelClicked() { m_settings.System.IsDG834 = false; }

void TForm9::closing(bool dontShowAgain) { m_settings.System.Advise1 = !dontShowAgain; }
