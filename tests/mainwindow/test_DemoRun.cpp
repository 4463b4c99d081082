// The demo as scripts/run-demo makes it: its settings file written by the
// demo's own script for each router it shows, run for a short while against
// the simulated router. What a newcomer should see moving must move.
#include "../webserver/WebTestSupport.h"
#include "RouterSim.h"
#include "TestSupport.h"
#include "charts/ChartSeries.h"
#include "charts/ChartSet.h"
#include "widgets/LinePane.h"
#include "mainwindow/TForm1.h"
#include "pages/WebServerPage.h"
#include "webserver/WebServer.h"
#include "OnlyChild.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <algorithm>
#include <qcustomplot.h>
#include <memory>

using testsupport::onlyChild;

namespace {

struct DemoCase {
    const char *family; // run-demo's --telnet argument; empty: the status page only
    const char *profile;
    std::vector<int> charts; // charts the demo's router feeds
};

struct DemoRun : ::testing::TestWithParam<DemoCase> {
    routersim::RouterSim sim;
    QTemporaryDir dir;
    std::unique_ptr<TForm1> form;

    void TearDown() override
    {
        form.reset();
        qunsetenv("VELTRANO_INI");
        testsupport::discardMessageBoxes();
    }

    static QString sourceDir() { return qEnvironmentVariable("VELTRANO_TEST_DATA") + QStringLiteral("/../.."); }

    // As run-demo picks it: the web server's port must be a real one.
    static quint16 freePort()
    {
        QTcpServer probe;
        return probe.listen(QHostAddress::LocalHost, 0) ? probe.serverPort() : 0;
    }

    // The settings file the demo's script writes for this router.
    QString writeSettings(const DemoCase &c, const QString &previous = QString())
    {
        const QString ini = dir.filePath(QStringLiteral("veltrano.ini"));
        QStringList args{sourceDir() + QStringLiteral("/scripts/demo-settings.py"),
                         QStringLiteral("--family"), QLatin1String(c.family),
                         QStringLiteral("--http-port"), QString::number(sim.httpPort()),
                         QStringLiteral("--telnet-port"), QString::number(sim.telnetPort()),
                         QStringLiteral("--web-port"), QString::number(freePort()),
                         QStringLiteral("--dir"), dir.path(), QStringLiteral("--out"), ini,
                         QStringLiteral("--web-page"), dir.filePath(QStringLiteral("web/veltrano.htm"))};
        if (!previous.isEmpty())
            args << QStringLiteral("--previous") << previous;
        QProcess script;
        script.start(QStringLiteral("python3"), args);
        // The script reads the simulator's page: this thread must keep serving it meanwhile.
        EXPECT_TRUE(testsupport::waitFor([&] { return script.state() == QProcess::NotRunning; }, 20000));
        EXPECT_EQ(script.exitCode(), 0) << script.readAllStandardError().toStdString();
        return ini;
    }

    void startSim(const DemoCase &c)
    {
        routersim::RouterSimOptions o;
        o.profile = QLatin1String(c.profile);
        o.control = false;
        o.user = QStringLiteral("admin");
        o.password = QStringLiteral("quillfen");
        o.scenarioFile = sourceDir() + QStringLiteral("/resources/demo/routersim-demo.txt");
        QString error;
        ASSERT_TRUE(sim.start(o, &error)) << error.toStdString();
    }

    qint64 points(int chart) const
    {
        ChartSeries *s = onlyChild<ChartSet>(*form)->valueSeries(chart);
        return s ? s->count() : -1;
    }
};

} // namespace

TEST_P(DemoRun, ChartsFillAxesFitAndTheWebServerLogsItsVisitors)
{
    const DemoCase &c = GetParam();
    startSim(c);
    // As run-demo does: the folders, then the settings with the demo's page in the web folder.
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("web")));
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("captures")));
    const QString ini = writeSettings(c);
    qputenv("VELTRANO_INI", ini.toUtf8());
    form = std::make_unique<TForm1>(false);
    form->show();

    // Started by itself, a poll a second: every fed chart gains points.
    constexpr int kPoints = 6;
    for (int chart : c.charts) {
        SCOPED_TRACE(chart);
        EXPECT_TRUE(testsupport::waitFor([&] { return points(chart) >= kPoints; }, 30000))
            << "chart " << chart << " has " << points(chart) << " points";
    }
    // The user-defined figures are found on this router's page and move.
    ChartSeries *user = onlyChild<ChartSet>(*form)->valueSeries(c.profile == QByteArray("st585") ? 19 : 3);
    ASSERT_TRUE(user);
    bool moved = false;
    for (qint64 i = user->firstIndex(); i < user->count(); ++i)
        moved = moved || user->valueAt(i) > 0;
    EXPECT_TRUE(moved) << "the user-defined figure stays at 0";

    // A page holds a minute at most, so the charts fill and scroll within the first one.
    EXPECT_LE(form->settings().System.Points * form->settings().System.Sample, 60);

    // The noise axes come down to the values they show.
    for (int chart : {1, 16}) {
        if (std::find(c.charts.begin(), c.charts.end(), chart) == c.charts.end())
            continue;
        SCOPED_TRACE(chart);
        QCustomPlot *plot = onlyChild<ChartSet>(*form)->chart(chart);
        ChartSeries *series = onlyChild<ChartSet>(*form)->valueSeries(chart);
        ASSERT_TRUE(plot && series);
        EXPECT_TRUE(testsupport::waitFor(
            [&] { return series->lastValue() > 0 && plot->yAxis->range().upper <= 3 * series->lastValue(); }, 10000))
            << "axis " << plot->yAxis->range().lower << " to " << plot->yAxis->range().upper << " for "
            << series->lastValue();
    }
    // The sync line is not drawn in the colour of an alarm.
    EXPECT_NE(onlyChild<ChartSet>(*form)->valueSeries(2)->colour(), QColor(Qt::red));

    // A visitor of the web page is listed on the Web Server page.
    WebServer *server = form->WebPage->server();
    ASSERT_TRUE(server);
    ASSERT_TRUE(testsupport::waitFor([&] { return server->port() > 0; }));
    const webtest::HttpReply reply = webtest::request(quint16(server->port()), "/veltrano.htm");
    EXPECT_EQ(reply.status, 200);
    EXPECT_TRUE(testsupport::waitFor([&] { return !form->WebPage->ListBox1->toPlainText().isEmpty(); }))
        << "no request listed";

    // Every picture the page shows is one this demo writes: none stays broken.
    const QRegularExpression img(QStringLiteral("<img src=\"([^\"]+)\""));
    int images = 0;
    for (auto m = img.globalMatch(QString::fromUtf8(reply.body)); m.hasNext(); ++images) {
        const QByteArray path = "/" + m.next().captured(1).toUtf8();
        EXPECT_TRUE(testsupport::waitFor(
            [&] { return webtest::request(quint16(server->port()), path.constData()).status == 200; }, 10000))
            << path.toStdString();
    }
    EXPECT_EQ(images, 6);
}

INSTANTIATE_TEST_SUITE_P(
    Routers, DemoRun,
    ::testing::Values(DemoCase{"", "v1234", {1, 2, 3, 19, 25}}, DemoCase{"ar7", "v1234", {1, 3, 16, 5, 4, 25}},
                      DemoCase{"adslctl", "other", {1, 3, 19, 16, 5, 25}},
                      DemoCase{"adslinfo", "v5", {1, 3, 19, 16, 25}}, DemoCase{"st585", "st585", {1, 3, 19, 25}}),
    [](const ::testing::TestParamInfo<DemoCase> &info) {
        return std::string(info.param.family[0] ? info.param.family : "status_page");
    });

// The demo rewrites its settings file at each start; the window's size and
// state come from the last run's file, and nothing else does.
TEST(DemoSettingsScript, KeepsTheLastWindowOnly)
{
    QTemporaryDir dir;
    const QString previous = dir.filePath(QStringLiteral("old.ini"));
    testsupport::writeAll(previous, "[System]\nW=1200\nH=700\nT=-5\nL=40\nWindow=1\nSample=99\nLast=4\nw=3\n"
                                    "[Graph]\nW=1\n[System]\nH=oops\nT=9\n");
    const QString out = dir.filePath(QStringLiteral("new.ini"));
    QProcess script;
    script.start(QStringLiteral("python3"),
                 {qEnvironmentVariable("VELTRANO_TEST_DATA") + QStringLiteral("/../../scripts/demo-settings.py"),
                  QStringLiteral("--http-port"), QStringLiteral("1"), QStringLiteral("--telnet-port"),
                  QStringLiteral("2"), QStringLiteral("--web-port"), QStringLiteral("3"), QStringLiteral("--dir"),
                  dir.path(), QStringLiteral("--out"), out, QStringLiteral("--previous"), previous});
    ASSERT_TRUE(script.waitForFinished(20000));
    ASSERT_EQ(script.exitCode(), 0) << script.readAllStandardError().toStdString();
    const QByteArray file = testsupport::readAll(out);
    const QString text = QString::fromLatin1(file);
    // In the file's one [System] section, as the program reads the last run's: its first section, first lines.
    EXPECT_EQ(text.count(QStringLiteral("[System]")), 1);
    for (const auto &[key, value] : {std::pair{"W", "1200"}, {"H", "700"}, {"T", "-5"}, {"L", "40"}, {"Window", "1"},
                                     {"Sample", "1"}, {"Last", "(missing)"}})
        EXPECT_EQ(testsupport::iniValue(file, "System", key), QLatin1String(value)) << key;
    EXPECT_TRUE(text.contains(QStringLiteral("Login=http://127.0.0.1:1/setup.cgi?next_file=stattbl.htm\n")));
    EXPECT_FALSE(text.contains(QLatin1Char('@')));
}
