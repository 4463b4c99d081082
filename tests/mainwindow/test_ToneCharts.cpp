// The tone charts on the main window: filled by Run's bit-loading request
// for each telnet family, their scales (SNR, SNR margin, bitswaps), the
// read-outs and the return of dragged axes.
#include "SimWindowFixture.h"
#include "acquisition/BitLoadingRefresh.h"
#include "mainwindow/AxisScaling.h"
#include "mainwindow/BitsTonePage.h"
#include "mainwindow/ChartSet.h"
#include "mainwindow/ToneCharts.h"

#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <qcustomplot.h>

namespace {

struct ToneWindowTest : SimWindowTest {
    QByteArray telnet(const QByteArray &family)
    {
        return "[Router]\nTelnet=1\n[Telnet]\nUseHttpDebug=0\nExtended=0\nTelnetIP=127.0.0.1\nTelnetPort="
               + QByteArray::number(sim.telnetPort()) + "\n" + family;
    }
    ChartSeries *series(const char *name) { return form->charts()->series(QLatin1String(name)); }
    bool runUntilTonesPlotted()
    {
        form->btnStart->click();
        return testsupport::waitFor([&] { return series("LineSeries18")->count() > 0; }, 15000);
    }
};

} // namespace

TEST_F(ToneWindowTest, RunFillsTheToneChartsForEachTelnetFamily)
{
    struct Case {
        const char *profile;
        QByteArray family;
    };
    const Case cases[] = {
        {"v1234", "V123=1\n"},
        {"other", "V123=0\nV4=1\nShowAttenuation=1\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.profile);
        form.reset();
        profile = QLatin1String(c.profile);
        statusPath = profile == QLatin1String("other") ? "/status.htm" : "/setup.cgi?next_file=stattbl.htm";
        startSim();
        open(telnet(c.family), 5);
        ASSERT_TRUE(runUntilTonesPlotted());
        EXPECT_EQ(256, series("LineSeries18")->count());
        EXPECT_EQ(256, series("Series4")->count());
        const auto &tones = sim.state().tones();
        EXPECT_EQ(tones.bits(100), series("LineSeries18")->valueAt(100));
        EXPECT_EQ(tones.bits(100), form->telnetFigures().ToneBits[100]);
        auto *page = form->bitsTonePage();
        EXPECT_TRUE(page->Label61->text().startsWith(QStringLiteral("Last updated: ")));
        EXPECT_TRUE(testsupport::waitFor([&] { return page->btnBitsRefresh->isEnabled(); }));
        EXPECT_TRUE(form->bitsRefresh()->timer().isActive());
        form->btnStop->click();
        EXPECT_FALSE(form->bitsRefresh()->timer().isActive());
    }
}
