#pragma once
// The label of a user-defined figure and whether its chart plots the value or
// the difference between polls. Figure 1 is the window "TForm13", figure 2
// "TForm12"; their controls carry the names of their figure.
#include "settings/TSettings.h"

#include <QDialog>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class UserLabelDialog : public QDialog {
    Q_OBJECT
public:
    // Runs after OK has stored the label and the plot choice; the Configuration
    // dialog puts the label into its label edit, whose handler does the rest.
    using Accepted = std::function<void(const QString &label)>;

    UserLabelDialog(int figure, TSettings &settings, QWidget *parent = nullptr);

    // Opened after a user figure was marked: modal, at the opener's left + 100, top + 200.
    static UserLabelDialog *open(int figure, QWidget *opener, TSettings &settings, Accepted accepted);

    int figure() const { return m_figure; }
    void FormShow();
    void btnOKClick();

    QLabel *Label1 = nullptr;
    QLineEdit *edUserLabel = nullptr;     // edUserLabel2 for figure 2
    QRadioButton *rbRawUserDef = nullptr; // rbRawUserDef1 for figure 2
    QRadioButton *rbDiffUserDef = nullptr; // rbDiffUserDef1 for figure 2
    QPushButton *btnOK = nullptr;
    QPushButton *btnCancel = nullptr;

protected:
    void showEvent(QShowEvent *event) override;

private:
    QString &label() const;
    bool &raw() const;
    bool &diff() const;

    int m_figure;
    TSettings &m_settings;
    Accepted m_accepted;
};
