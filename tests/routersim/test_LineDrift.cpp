// The living line the demo runs on: figures that drift, noise bursts that
// raise the error counters, resyncs that drop the line and restart its
// uptime, all within what the pages can print.
#include "CommandInterpreter.h"
#include "LineDrift.h"
#include "RouterSim.h"
#include "Scenario.h"
#include "TestSupport.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace routersim;

namespace {

// Every value the drift writes must be one the state accepts as given.
void expectValid(const RouterState &state)
{
    for (const QString &name : {QStringLiteral("RxNoise"), QStringLiteral("TxNoise"), QStringLiteral("RxSync"),
                                QStringLiteral("TxSync"), QStringLiteral("CrcDown"), QStringLiteral("uptime"),
                                QStringLiteral("state"), QStringLiteral("RxPackets")}) {
        QString error;
        EXPECT_TRUE(RouterState::validate(name, state.get(name), &error)) << name.toStdString() << ": "
                                                                          << error.toStdString();
    }
}

qint64 counter(const RouterState &state, Figure f) { return state.figure(f).toLongLong(); }

} // namespace

TEST(LineDrift, TwentyMinutesOfALineThatLives)
{
    for (quint32 seed : {1u, 7u, 2024u}) {
        RouterState state;
        LineDrift drift(seed, state);
        EXPECT_EQ(drift.uptimeSeconds(), 26 * 3600 + 15 * 60 + 7); // taken from the state's "26:15:07"

        QSet<QString> noises;
        qint64 previousUptime = drift.uptimeSeconds();
        qint64 crc = counter(state, Figure::CrcDown);
        qint64 packets = counter(state, Figure::RxPackets);
        bool sawRestart = false, sawDown = false, crcRoseInBurst = false;
        double lowestSteadyNoise = 99;
        for (int second = 0; second < 1200; ++second) {
            drift.advance(state);
            const double noise = state.get("RxNoise").toDouble();
            noises.insert(state.get("RxNoise"));
            switch (drift.phase()) {
            case LineDrift::Phase::Steady:
                if (drift.uptimeSeconds() == 0)
                    sawRestart = true;
                else
                    EXPECT_EQ(drift.uptimeSeconds(), previousUptime + 1);
                EXPECT_EQ(state.get("state"), "Connected");
                lowestSteadyNoise = std::min(lowestSteadyNoise, noise);
                break;
            case LineDrift::Phase::Burst:
                EXPECT_LE(noise, 3.0);
                crcRoseInBurst = crcRoseInBurst || counter(state, Figure::CrcDown) > crc;
                break;
            case LineDrift::Phase::Down:
                sawDown = true;
                EXPECT_EQ(state.get("state"), "Disconnected");
                EXPECT_EQ(state.get("RxSync"), "0");
                EXPECT_EQ(state.get("uptime"), "0:00:00");
                break;
            }
            EXPECT_EQ(state.get("uptime"), drift.phase() == LineDrift::Phase::Down
                                               ? QStringLiteral("0:00:00")
                                               : LineDrift::uptimeText(drift.uptimeSeconds()));
            EXPECT_GE(counter(state, Figure::CrcDown), crc);
            crc = counter(state, Figure::CrcDown);
            previousUptime = drift.uptimeSeconds();
            expectValid(state);
        }
        EXPECT_GT(noises.size(), 20) << "seed " << seed; // not a flat line
        EXPECT_GE(drift.bursts(), 3) << "seed " << seed;
        EXPECT_GE(drift.resyncs(), 1) << "seed " << seed;
        EXPECT_TRUE(sawRestart && sawDown && crcRoseInBurst) << "seed " << seed;
        EXPECT_GT(lowestSteadyNoise, 3.0) << "seed " << seed; // the margin collapses only in bursts
        EXPECT_GT(counter(state, Figure::RxPackets), packets);
    }
}

TEST(LineDrift, SameSeedSameLife)
{
    RouterState a, b;
    LineDrift da(42, a), db(42, b);
    for (int i = 0; i < 600; ++i) {
        da.advance(a);
        db.advance(b);
    }
    EXPECT_EQ(a.get("RxNoise"), b.get("RxNoise"));
    EXPECT_EQ(a.get("uptime"), b.get("uptime"));
    EXPECT_EQ(da.describe(), db.describe());
}

TEST(LineDrift, UptimeTextHasNoDayLimit)
{
    EXPECT_EQ(LineDrift::uptimeText(0), "0:00:00");
    EXPECT_EQ(LineDrift::uptimeText(94507), "26:15:07");
    EXPECT_EQ(LineDrift::uptimeText(3599), "0:59:59");
}

TEST(LineDrift, ControlCommandTurnsItOnAndOff)
{
    QString error;
    EXPECT_TRUE(CommandInterpreter::check("drift on 7", &error));
    EXPECT_TRUE(CommandInterpreter::check("drift off", &error));
    EXPECT_TRUE(CommandInterpreter::check("at 2m drift off", &error));
    EXPECT_FALSE(CommandInterpreter::check("drift on seven", &error));
    EXPECT_FALSE(CommandInterpreter::check("drift off 3", &error));
    EXPECT_FALSE(CommandInterpreter::check("drift sideways", &error));

    RouterSim sim;
    EXPECT_EQ(sim.execute("drift"), QStringList{"ok off"});
    EXPECT_EQ(sim.execute("drift on 9"), QStringList{"ok on"});
    EXPECT_TRUE(sim.driftStatus().startsWith("phase=steady uptime=94507 bursts=0 resyncs=0 seed=9"));
    // The running simulator's line moves on its own, a second at a time.
    const QString uptime = sim.state().get("uptime");
    EXPECT_TRUE(testsupport::waitFor([&] { return sim.state().get("uptime") != uptime; }, 5000));
    EXPECT_EQ(sim.execute("drift off"), QStringList{"ok off"});
    EXPECT_EQ(sim.driftStatus(), "off");
}

TEST(LineDrift, TheDemoScenarioTurnsItOn)
{
    QList<Scenario::Line> lines;
    QString error;
    ASSERT_TRUE(Scenario::load(qEnvironmentVariable("VELTRANO_TEST_DATA")
                                   + QStringLiteral("/../../resources/demo/routersim-demo.txt"),
                               &lines, &error))
        << error.toStdString();
    bool drifts = false;
    for (const Scenario::Line &l : lines)
        drifts = drifts || l.command.startsWith(QStringLiteral("drift on"));
    EXPECT_TRUE(drifts);
}

// Noise bursts swap bits between neighbouring tones, so the bitswap charts
// have something to show; the line's total of bits stays, and a resync
// trains the line afresh.
TEST(LineDrift, BurstsSwapBitsAndResyncsRetrain)
{
    const auto total = [](const LineTones &t) {
        int sum = 0;
        for (int i = 0; i < LineTones::kTones; ++i)
            sum += t.bits(i);
        return sum;
    };
    for (quint32 seed : {1u, 7u, 2024u}) {
        RouterState state;
        LineDrift drift(seed, state);
        const LineTones trained = state.tones();
        const int bits = total(trained);
        int swappedSeconds = 0;
        bool retrained = false;
        for (int second = 0; second < 1200; ++second) {
            std::array<int, LineTones::kTones> before{};
            for (int i = 0; i < LineTones::kTones; ++i)
                before[size_t(i)] = state.tones().bits(i);
            const LineDrift::Phase was = drift.phase();
            drift.advance(state);
            int changed = 0;
            for (int i = 0; i < LineTones::kTones; ++i) {
                const int b = state.tones().bits(i);
                changed += b != before[size_t(i)];
                EXPECT_GE(b, 0);
                EXPECT_LE(b, 15);
            }
            if (drift.phase() == LineDrift::Phase::Steady && was == LineDrift::Phase::Down) {
                retrained = true;
                for (int i = 0; i < LineTones::kTones; ++i)
                    EXPECT_EQ(state.tones().bits(i), trained.bits(i));
            } else if (was == LineDrift::Phase::Steady && drift.phase() == LineDrift::Phase::Steady) {
                EXPECT_EQ(changed, 0) << "a quiet line keeps its bits";
            }
            swappedSeconds += changed > 0;
            EXPECT_EQ(total(state.tones()), bits) << "bits move, none are lost";
        }
        EXPECT_GT(swappedSeconds, 5) << "seed " << seed;
        EXPECT_TRUE(retrained) << "seed " << seed;
    }
}
