// Polls per second the polling cycle sustains against the router simulator
// on loopback (run as its own process), with no charts attached, and the
// resident memory after 1,000 polls.
//
//   build/bench/bench_polling [polls] [path to routersim]
#include "BenchSupport.h"
#include "acquisition/PollingCycle.h"
#include "settings/SettingsStore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>

namespace {

struct QuietHost : PollingCycleHost {
    int messages = 0;
    void systemMessage(const QString &) override { ++messages; }
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int polls = argc > 1 ? std::atoi(argv[1]) : 1000;
    const QString simPath = argc > 2 ? QString::fromLocal8Bit(argv[2])
                                     : QCoreApplication::applicationDirPath() + QStringLiteral("/../routersim");

    QTemporaryDir dir;
    const QString ready = dir.filePath(QStringLiteral("ready"));
    QProcess sim;
    sim.start(simPath, {QStringLiteral("--profile"), QStringLiteral("v1234"), QStringLiteral("--http-port"),
                        QStringLiteral("0"), QStringLiteral("--control-port"), QStringLiteral("0"),
                        QStringLiteral("--ready-file"), ready});
    if (!sim.waitForStarted(5000)) {
        std::fprintf(stderr, "cannot start %s\n", qPrintable(simPath));
        return 1;
    }
    for (int i = 0; i < 100 && !QFile::exists(ready); ++i)
        QThread::msleep(50);
    QFile rf(ready);
    rf.open(QIODevice::ReadOnly);
    QString port;
    for (const QByteArray &line : rf.readAll().split('\n'))
        if (line.startsWith("http="))
            port = QString::fromLatin1(line.mid(5));

    SettingsEnvironment env = SettingsEnvironment::forFile(dir.filePath(QStringLiteral("bench.ini")));
    TSettings settings = settingsstore::load(env).settings;
    settings.Router.Login = QStringLiteral("http://127.0.0.1:%1/setup.cgi?next_file=stattbl.htm").arg(port);
    settings.Router.Password = QStringLiteral("quillfen");
    settings.System.Sample = 1;
    RunState state;
    RouterHttpClient client;
    QuietHost host;
    PollingCycle cycle(settings, state, client, host);

    int done = 0;
    long rssAt100 = 0;
    QElapsedTimer clock;
    QObject::connect(&cycle, &PollingCycle::finished, [&] {
        ++done;
        if (done == 100)
            rssAt100 = residentKiB();
        if (done < polls)
            QMetaObject::invokeMethod(&cycle, [&] { cycle.start(false); }, Qt::QueuedConnection);
        else
            app.quit();
    });
    clock.start();
    cycle.start(false);
    app.exec();
    const double seconds = clock.elapsed() / 1000.0;

    std::printf("polls: %d in %.2f s = %.0f polls/s (%d failure messages)\n", done, seconds, done / seconds,
                host.messages);
    std::printf("resident memory after %d polls: %ld KiB (after 100: %ld KiB)\n", done, residentKiB(), rssAt100);
    sim.terminate();
    sim.waitForFinished(5000);
    return 0;
}
