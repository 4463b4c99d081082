#pragma once
// A Configuration dialog over settings loaded from a test file, with the file
// writer counted instead of performed and the changes it announces recorded.
#include "TestSupport.h"
#include "configuration/TForm2.h"
#include "settings/SettingsHub.h"
#include "settings/SettingsStore.h"

#include <QApplication>
#include <QMessageBox>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

struct DialogFixture : ::testing::Test {
    QTemporaryDir dir;
    QString ini = dir.filePath(QStringLiteral("veltrano.ini"));
    TSettings settings;
    SettingsHub hub{settings};
    RunState run;
    std::unique_ptr<TForm2> dialog;
    int saves = 0;
    QList<SettingKeys> refreshed; // every announcement, in order
    QMetaObject::Connection heard;

    // Every router address of a test file is on loopback.
    static QByteArray loopback()
    {
        return "[Router]\nLogin=http://127.0.0.1:8081/setup.cgi?next_file=stattbl.htm\n"
               "LogOut=http://127.0.0.1:8081/setup.cgi?todo=logout\n"
               "[Alarm]\nRebootURL=http://127.0.0.1:8081/setup.cgi?next_file=diag.htm&todo=reboot\n"
               "[Telnet]\nTelnetIP=127.0.0.1\n[Ping]\nPingHost=127.0.0.1\n";
    }

    TForm2 &open(const QByteArray &extra = {})
    {
        testsupport::writeAll(ini, testsupport::settingsFile(loopback() + extra));
        return openFile();
    }

    // The dialog over the settings file as it stands, as the program creates it.
    TForm2 &openFile()
    {
        settings = settingsstore::load(SettingsEnvironment::forFile(ini)).settings;
        dialog = std::make_unique<TForm2>(settings, run, ini, QStringLiteral("1 Jan 2026  00:00:00"), nullptr);
        dialog->setSaver([this] { return ++saves > 0; });
        hub.rebase();
        dialog->setSettingsHub(&hub);
        QObject::disconnect(heard);
        heard = QObject::connect(&hub, &SettingsHub::changed, [this](const SettingKeys &keys) { refreshed << keys; });
        return *dialog;
    }

    template <typename T> T *control(const char *name) const
    {
        return dialog->findChild<T *>(QLatin1String(name));
    }

    static QMessageBox *visibleBox()
    {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *box = qobject_cast<QMessageBox *>(w); box && box->isVisible())
                return box;
        return nullptr;
    }

    void TearDown() override
    {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (qobject_cast<QMessageBox *>(w))
                delete w;
        dialog.reset();
    }
};
