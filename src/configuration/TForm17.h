#pragma once
// Graph capture maintenance: the age-based clean-up of captured chart images,
// its schedule, and "Delete Now".
#include "settings/TSettings.h"

#include <QDialog>
#include <QPointer>
#include <functional>

class QCheckBox;
class QLabel;
class QMessageBox;
class QPushButton;
class QSpinBox;
class QTimeEdit;
class DialogOwner;

class TForm17 : public QDialog {
    Q_OBJECT
public:
    // Reports one line in the system messages (the main window's SystemMessage).
    using Messages = std::function<void(const QString &)>;

    // settingsPath: the settings file, which the clean-up never removes.
    TForm17(TSettings &settings, const QString &settingsPath, Messages messages, QWidget *parent = nullptr);

    // Opened by "Maintenance": modal, at the opener's left + 130, top + 100.
    static TForm17 *open(QWidget *opener, TSettings &settings, const QString &settingsPath, Messages messages);
    // The same, reporting to the main window's system messages.
    static TForm17 *open(QWidget *opener, DialogOwner &owner);

    // The text of Label4 for these settings.
    static QString deleteText(const TSettings &settings);

    void spDaysChange();
    void cbDeleteImagesClick();
    void cbRecycleBinClick();
    void btnDeleteNowClick();
    void btnCloseClick();
    // Stores every control; false while the no-schedule question keeps the dialog open.
    bool FormCloseQuery();

    QCheckBox *cbDeleteImages = nullptr;
    QSpinBox *spDays = nullptr;
    QLabel *Label1 = nullptr;
    QCheckBox *cbRecycleBin = nullptr;
    QCheckBox *cbDeleteDaily = nullptr;
    QTimeEdit *DeleteTimePicker = nullptr;
    QCheckBox *cbDeleteOnClose = nullptr;
    QCheckBox *cbListPurged = nullptr;
    QLabel *Label4 = nullptr;
    QPushButton *btnDeleteNow = nullptr;
    QPushButton *btnClose = nullptr;
    QPointer<QMessageBox> NoScheduleBox;

    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void FormCreate();
    void enableSchedule();

    TSettings &m_settings;
    QString m_settingsPath;
    Messages m_messages;
    bool m_closeConfirmed = false;
};
