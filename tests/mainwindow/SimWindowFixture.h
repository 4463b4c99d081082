#pragma once
// A main window on a settings file that points at an in-process router
// simulator, for tests that follow a run through the window and the journal.
#include "OnlyChild.h"
#include "RouterSim.h"
#include "TestSupport.h"
#include "acquisition/PollingCycle.h"
#include "mainwindow/TForm1.h"
#include "settings/EnDeCrypt.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

struct SimWindowTest : ::testing::Test {
    routersim::RouterSim sim;
    QTemporaryDir dir;
    QString ini = dir.filePath(QStringLiteral("veltrano.ini"));
    std::unique_ptr<TForm1> form;

    QString profile = QStringLiteral("v1234");
    QByteArray statusPath = "/setup.cgi?next_file=stattbl.htm";

    void SetUp() override { startSim(); }

    void startSim()
    {
        sim.stop();
        routersim::RouterSimOptions o;
        o.profile = profile;
        o.control = false;
        QString error;
        ASSERT_TRUE(sim.start(o, &error)) << error.toStdString();
    }

    void TearDown() override
    {
        form.reset();
        qunsetenv("VELTRANO_INI");
        for (QWidget *w : QApplication::topLevelWidgets())
            if (qobject_cast<QMessageBox *>(w))
                delete w;
    }

    QByteArray loginUrl() const
    {
        return "http://127.0.0.1:" + QByteArray::number(sim.httpPort()) + statusPath;
    }

    void open(const QByteArray &extra = {}, int sample = 1)
    {
        // A valid port: a start that reports a damaged setting puts it in status panel 0.
        QByteArray text = "[WebServer]\nLocalHost=127.0.0.1\nPort=1\n[System]\nSystemMessages=1\nSample=" + QByteArray::number(sample) + "\n"
                          "[Router]\nLogin=" + loginUrl() + "\nUsername=admin\nPassword=" + EnDeCrypt("quillfen") + "\n"
                          + extra;
        testsupport::writeAll(ini, testsupport::settingsFile(text));
        qputenv("VELTRANO_INI", ini.toUtf8());
        form = std::make_unique<TForm1>(false);
    }

    QLabel *label(const char *name) const { return form->findChild<QLabel *>(QLatin1String(name)); }

    QStringList messages() const
    {
        QStringList out;
        for (const QString &line : form->memSys->toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            out << line.mid(line.indexOf(QLatin1String(":  ")) + 3);
        return out;
    }

    int count(const QString &text) const { return static_cast<int>(messages().count(text)); }
    int requests() { return static_cast<int>(sim.journal().lines().size()); }
    int statusPageRequests()
    {
        return static_cast<int>(sim.journal().lines().filter(QString::fromLatin1(statusPath)).size());
    }
    bool started() const { return messages().contains(QStringLiteral("Started")); }
    void fail(const char *mode) { sim.execute(QStringLiteral("fail * ") + QLatin1String(mode)); }
    // The polling cycle idle; Run pressed and its own poll over; a tick of the sample timer waited out.
    bool idle() { return testsupport::waitFor([&] { return !testsupport::onlyChild<PollingCycle>(*form)->isBusy(); }); }
    bool run() { form->btnStart->click(); return testsupport::waitFor([&] { return started(); }, 10000) && idle(); }
    bool poll() { form->Timer1Timer(false); return idle(); }
    QString logFile() const { return dir.filePath(QStringLiteral("stats.txt")); }
    // Logging to logFile() without the question about appending.
    QByteArray logTo() const { return "[System]\nLog=1\nDontConfirm=1\nLogFile=" + logFile().toUtf8() + "\n"; }
    // The [Telnet] section pointed at the simulator; more of its keys may follow.
    QByteArray telnetAt() const { return "[Telnet]\nTelnetIP=127.0.0.1\nTelnetPort=" + QByteArray::number(sim.telnetPort()) + "\n"; }
};
