#include "configuration/TForm10.h"

#include "configuration/DialogPlacement.h"

#include <QPushButton>

TForm10::TForm10(TSettings &settings, QWidget *parent)
    : AdviceDialog(QStringLiteral("Veltrano Log Options..."),
                   QStringLiteral("The Log is enabled but no log schedule or alarm option is selected."),
                   QStringLiteral("Continue anyway?"), QStringLiteral("cbAdvise2"), QStringLiteral("Yes"), parent),
      m_settings(settings)
{
    setObjectName(QStringLiteral("TForm10"));
    btnOK->setObjectName(QStringLiteral("btnYes"));
    cbAdvise2 = adviseBox;
}

bool TForm10::needed(const TSettings &s, bool writeAlarmToLogChecked)
{
    return s.System.Log && !s.Log.LogAtSample && !s.Log.LogAtEvery && !writeAlarmToLogChecked && !s.Log.LogState
           && s.Log.Advise;
}

TForm10 *TForm10::ask(QWidget *opener, TSettings &settings, std::function<void(bool carryOn)> carryOn)
{
    auto *form = new TForm10(settings, opener);
    // Closing the box without an answer does not start monitoring either.
    form->setCallback([carryOn = std::move(carryOn)](Answer a) { carryOn(a == Answer::Ok); });
    dialogs::openAt(form, opener, QPoint(70, 100));
    return form;
}

void TForm10::closing(bool dontShowAgain)
{
    if (answer() != Answer::Ok)
        LogWarningCancelled = true;
    m_settings.Log.Advise = !dontShowAgain;
}
