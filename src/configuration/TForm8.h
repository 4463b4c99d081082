#pragma once
// The DG834 detection question: the status page says the router is a DG834;
// OK turns the built-in DG834 search on, Cancel turns it off.
#include "configuration/AdviceDialog.h"
#include "settings/TSettings.h"

class TForm8 : public AdviceDialog {
    Q_OBJECT
public:
    TForm8(TSettings &settings, QWidget *parent = nullptr);

    // Modal at the opener's left + 70, top + 100 with label2 as its second line.
    static TForm8 *ask(QWidget *opener, TSettings &settings, const QString &label2, Callback callback);

    // The second line as the polling cycle and the search-text page set it.
    static QString pollingText();
    static QString getPageText();

    // True when the page names a DG834 in its content attribute.
    static bool pageNamesDg834(const QString &page);

    QCheckBox *cbAdvise = nullptr;

protected:
    void okClicked() override;
    void cancelClicked() override;
    void closing(bool dontShowAgain) override;

private:
    TSettings &m_settings;
};
