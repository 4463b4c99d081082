#pragma once
// The main window. It owns the process-wide settings and the subsystem
// objects and wires them together; the logic lives in those objects.
#include "settings/TSettings.h"

#include <QMainWindow>
#include <QPointer>
#include <QString>

class QCheckBox;
class QLabel;
class QMenu;
class QAction;
class QMessageBox;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QTimer;
class StatusChannel;

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    // safeStart: started with a command-line argument or with Shift held.
    explicit TForm1(bool safeStart, QWidget *parent = nullptr);
    ~TForm1() override;

    TSettings &settings() { return Settings; }
    const QString &settingsFilePath() const { return SettingsFilePath; }
    StatusChannel *statusChannel() const { return m_status; }
    bool safeStart() const { return m_safeStart; }

    // Writes every setting to the settings file; true when the file was written.
    bool SaveIni();

    void SystemMessage(const QString &text);
    void setStatusPanel(int panel, const QString &text);
    QString statusPanel(int panel) const;

    static QString mainCaption() { return QStringLiteral("Veltrano 6.3"); }

public slots:
    void btnSaveClick();
    void btnClearClick();
    void StatusPopupPopup();
    void mnuStartWebServerClick();
    void mnuEnableLogClick();
    void btnWebStartClick();
    void btnWebStopClick();

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void FormCreate();
    void buildWidgets();
    void applySettingsToWindow();
    void storeWindowState();
    void reportLoadProblems(const QStringList &problems, const QString &readError);
    // A box that does not block the event loop; polling and timers go on while it is up.
    QMessageBox *showMessageBox(const QString &title, const QString &text, bool warning);

    TSettings Settings;
    QString SettingsFilePath;
    bool m_safeStart = false;
    bool m_closing = false;
    StatusChannel *m_status = nullptr;
    QString m_lastCaption;

public:
    // Components named as the rest of the program refers to them.
    QTabWidget *PageControl1 = nullptr;
    QWidget *TabSheet40 = nullptr; // system messages
    QPlainTextEdit *memSys = nullptr;
    QCheckBox *cbEnableSystem = nullptr;
    QCheckBox *cbSuppressErrors = nullptr;
    QPushButton *btnClear = nullptr;
    QPushButton *btnSave = nullptr;
    QPushButton *btnWebStart = nullptr;
    QProgressBar *pb1 = nullptr;
    QTimer *Timer2 = nullptr;
    QLabel *StatusPanels[4] = {};
    QMenu *StatusPopup = nullptr;
    QAction *mnuStartWebServer = nullptr;
    QAction *mnuEnableLog = nullptr;
    QPointer<QMessageBox> ClearConfirmBox;
};
