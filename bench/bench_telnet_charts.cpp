// What the telnet noise and sync charts (Chart16 "Rx Noise", Chart17 "Rx Sync")
// draw on a steady line: the whole program (its window off screen) monitors the
// router simulator in this process with each telnet family, with the ping on,
// at a 1 s and a 5 s sample. Per family and sample it prints the points drawn,
// the points at 0 (the line never reads 0, so every one is false) and the gaps
// (polls without a fresh telnet reading).
//
//   build/bench/bench_telnet_charts [seconds per run, default 120] [family ...]
#include "RouterSim.h"
#include "charts/ChartSeries.h"
#include "charts/ChartSet.h"
#include "mainwindow/TForm1.h"
#include "settings/EnDeCrypt.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <cmath>
#include <cstdio>
#include <memory>

namespace {

struct Family {
    const char *name;
    const char *profile;
    const char *statusPath;
    const char *settings; // more [Router] lines, then the [Telnet] section (each section once in a file)
};

constexpr Family kFamilies[] = {
    {"ar7", "v1234", "/setup.cgi?next_file=stattbl.htm", "V1234=1\nTelnet=1\n[Telnet]\nV123=1\n"},
    {"adslctl", "other", "/status.htm", "NotNetgear=1\nV1234=0\nTelnet=1\n[Telnet]\nV123=0\nV4=1\n"},
    {"adslinfo", "v5", "/RST_stattbl.htm",
     "V5=1\nV1234=0\nV5Telnet=1\nTelnet=1\n[Telnet]\nV123=0\nTelnetPrompt=/ #\n"},
};

struct Count {
    qint64 drawn = 0;
    qint64 zeros = 0;
    qint64 gaps = 0;
};

Count countPoints(const ChartSeries *s)
{
    Count c;
    if (!s)
        return c;
    for (qint64 i = s->firstIndex(); i < s->count(); ++i) {
        const double v = s->valueAt(i);
        if (std::isnan(v))
            ++c.gaps;
        else if (++c.drawn; v == 0)
            ++c.zeros;
    }
    return c;
}

void waitMs(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// One run; false when the simulator does not start.
bool run(const Family &f, int sample, int seconds)
{
    routersim::RouterSim sim;
    routersim::RouterSimOptions o;
    o.profile = QLatin1String(f.profile);
    o.control = false;
    QString error;
    if (!sim.start(o, &error)) {
        std::fprintf(stderr, "routersim: %s\n", qPrintable(error));
        return false;
    }
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("veltrano.ini"));
    const QByteArray text =
        "[WebServer]\nLocalHost=127.0.0.1\nPort=0\n[System]\nAdvise=0\nSample=" + QByteArray::number(sample)
        + "\n[Ping]\nPingHost=127.0.0.1\nPing=1\nShowPing=1\n"
          "[Router]\nLogin=http://127.0.0.1:" + QByteArray::number(sim.httpPort()) + f.statusPath
        + "\nUsername=admin\nPassword=" + EnDeCrypt(QByteArrayLiteral("quillfen")) + "\n" + f.settings
        + "UseHttpDebug=0\nExtended=0\nTelnetIP=127.0.0.1\nTelnetPort=" + QByteArray::number(sim.telnetPort()) + "\n";
    QFile file(ini);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
        return false;
    file.close();
    qputenv("VELTRANO_INI", ini.toUtf8());
    auto form = std::make_unique<TForm1>(false);
    form->btnStart->click();
    waitMs(seconds * 1000);
    form->btnStop->click();
    ChartSet *charts = form->findChild<ChartSet *>();
    const Count noise = countPoints(charts->series(QStringLiteral("LineSeries13")));
    const Count sync = countPoints(charts->series(QStringLiteral("LineSeries14")));
    std::printf("%-8s %2d s  %4d s | Rx Noise: %4lld drawn, %3lld at 0, %3lld gaps | Rx Sync: %4lld drawn, %3lld at 0, "
                "%3lld gaps\n",
                f.name, sample, seconds, noise.drawn, noise.zeros, noise.gaps, sync.drawn, sync.zeros, sync.gaps);
    std::fflush(stdout);
    form.reset();
    qunsetenv("VELTRANO_INI");
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(5, std::atoi(argv[1])) : 120;
    QStringList wanted;
    for (int i = 2; i < argc; ++i)
        wanted << QString::fromLocal8Bit(argv[i]);
    std::printf("family  sample  run  | steady line: 6.5 dB, 8128 kbps; ping on\n");
    for (const Family &f : kFamilies) {
        if (!wanted.isEmpty() && !wanted.contains(QLatin1String(f.name)))
            continue;
        for (int sample : {1, 5})
            if (!run(f, sample, seconds))
                return 1;
    }
    return 0;
}
