#pragma once
// The Netgear configuration question: the program is set up for a DG834 but
// the fetched page does not say so; Cancel turns the DG834 search off.
#include "configuration/AdviceDialog.h"
#include "settings/TSettings.h"

class TForm9 : public AdviceDialog {
    Q_OBJECT
public:
    TForm9(TSettings &settings, QWidget *parent = nullptr);

    // Modal at the opener's left + 70, top + 100.
    static TForm9 *ask(QWidget *opener, TSettings &settings, Callback callback);

    QCheckBox *cbAdvise1 = nullptr;

protected:
    void okClicked() override;
    void cancelClicked() override;
    void closing(bool dontShowAgain) override;

private:
    TSettings &m_settings;
};
