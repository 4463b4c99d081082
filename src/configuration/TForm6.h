#pragma once
// The e-mail client choice: the desktop's default client or a program the
// user picks. Every way of closing keeps what the dialog shows.
#include "settings/TSettings.h"

#include <QDialog>
#include <QPointer>

class QFileDialog;
class QLineEdit;
class QPushButton;
class QRadioButton;

class TForm6 : public QDialog {
    Q_OBJECT
public:
    TForm6(TSettings &settings, QWidget *parent = nullptr);

    // Opened by "Select": modal, at the opener's left + 100, top + 50.
    static TForm6 *open(QWidget *opener, TSettings &settings);

    void rbSelectClick();
    void btnBrowseClick();
    void FormCloseQuery();

    QRadioButton *rbUseDefault = nullptr;
    QRadioButton *rbSelect = nullptr;
    QLineEdit *edEmailClient = nullptr;
    QPushButton *btnBrowse = nullptr;
    QPushButton *btnClose = nullptr;
    QPointer<QFileDialog> OpenDialog1;

    void done(int result) override;

private:
    void FormCreate();
    TSettings &m_settings;
};
