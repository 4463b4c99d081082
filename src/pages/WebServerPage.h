#pragma once
// The main window's web server tab (TabSheet6): the server's start and stop
// buttons, its settings, the access log and the blocked-address list. The
// setting controls are bound by the window's binding table; the server's
// request handler reads a copy of the settings that this page's followers keep current.
#include "configuration/LiveBinder.h"
#include "settings/TSettings.h"
#include "webserver/AccessLog.h"

#include <QPointer>
#include <QString>
#include <QWidget>

class LinePane;
class QCheckBox;
class QComboBox;
class QFileDialog;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class ReverseLookup;
class SettingsHub;
class WebServer;

class WebServerPage : public QWidget {
    Q_OBJECT
public:
    explicit WebServerPage(SettingsHub &hub, QWidget *parent = nullptr);
    ~WebServerPage() override;

    static QString caption() { return QStringLiteral("Web Server"); }

    // The settings file is never served.
    void setSettingsFilePath(const QString &path);

    // The start and stop buttons from the settings, the bind-address list
    // filled (an empty address is kept empty and shown as the machine's
    // own, which it binds) and WebPort taken from the port setting.
    void loadFromSettings();
    // What follows the settings: the server's copy, the port, the buttons.
    std::vector<SettingFollower> followers();

    // The end of start-up: a safe start stops the server; otherwise, with
    // btnWebStart down, the access log says "Server Started." and the server starts.
    void startAtLaunch(bool safeStart);

    // Closing: the server goes down, the buttons (and so [WebServer] WebServer) stay.
    void deactivate();

    bool isRunning() const;
    int webPort() const { return WebPort; }
    WebServer *server() const { return m_server; }

public slots:
    void btnWebStartClick();
    void btnWebStopClick();
    void StartServer();
    // WebPort from the port setting; a port that is not one serves on 81.
    void edPortChange();
    void TabSheet6Show();
    void btnWebBrowseClick();
    void ListBox1Click();
    void btnAddToBlockedClick();
    void btnRemoveFromBlockedClick();
    void btnClearWebClick();
    void btnClearLookupClick();
    void btnClearWebLogClick();
    // Runs on the window thread; the server's entries come here in batches.
    void appendAccessLog(const AccessLogEntry &entry);
    void appendAccessLogLines(const QList<AccessLogEntry> &entries);

public:
    // Lines the access log keeps; the oldest go first, in one step per batch.
    void setAccessLogCap(int lines);
    int accessLogCap() const { return m_accessLogCap; }

signals:
    void systemMessage(const QString &text);
    void serverStateChanged(bool running);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildWidgets();
    void bindSettings();
    void updateServerSettings();
    void showRunning();
    void showStopped();
    // The address an empty setting binds, shown in its empty edit.
    void showDefaultAddress(const QString &address);
    QString webFolder() const;
    QString blockedFile() const;
    QString selectedAddress() const;

    SettingsHub &m_hub;
    TSettings &Settings;
    WebServer *m_server = nullptr;
    ReverseLookup *m_lookup = nullptr;
    QString m_settingsFile;
    int WebPort = 81;
    int m_accessLogCap = 100000; // a generous history

public:
    // Components under the names the rest of the program uses.
    QPushButton *btnWebStart = nullptr;
    QPushButton *btnWebStop = nullptr;
    QLabel *Label43 = nullptr; // "SERVER STOPPED" or the running address
    QFrame *Panel31 = nullptr; // shown while the server runs
    QLineEdit *edWebPage = nullptr;
    QPushButton *btnWebBrowse = nullptr;
    QPointer<QFileDialog> OpenDialog3;
    QLabel *Label71 = nullptr;
    QComboBox *cbLocalHost = nullptr;
    QLineEdit *edPort = nullptr;
    QCheckBox *cbWebAuth = nullptr;
    QLabel *Label41 = nullptr;
    QLineEdit *edWebUser = nullptr;
    QLabel *Label42 = nullptr;
    QLineEdit *edWebPassword = nullptr;
    QCheckBox *cbWebRemPass = nullptr;
    QCheckBox *cbDeleteTemp = nullptr;
    QCheckBox *cbLowerCase = nullptr;
    QCheckBox *cbNoAccess = nullptr;
    QCheckBox *cbImageWithoutServer = nullptr;
    QCheckBox *cbLogWeb = nullptr;
    QCheckBox *cbDontLog = nullptr;
    QCheckBox *cbBlocked = nullptr;
    LinePane *ListBox1 = nullptr;
    QLabel *Label39 = nullptr; // the looked-up host name
    QPushButton *btnClearWeb = nullptr;
    QPushButton *btnAddToBlocked = nullptr;
    QPushButton *btnRemoveFromBlocked = nullptr;
    QPushButton *btnClearWebLog = nullptr;
};
