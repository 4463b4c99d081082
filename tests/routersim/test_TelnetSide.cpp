// The simulator's telnet side: log-in, the three firmware families' replies
// read with the program's own window rules, bit loading, the process list
// and the daemon kill, debug access, chunking, injected failures, control
// commands and the journal.
#include "CommandInterpreter.h"
#include "OutputChunker.h"
#include "TelnetReplies.h"
#include "TelnetTestSupport.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

using namespace routersim;
using namespace rstest;

namespace {

class TelnetSide : public SimFixture
{
protected:
    void start(const QString &profile, const QString &family = {}, const QString &login = {})
    {
        RouterSimOptions o;
        if (!family.isEmpty())
            o.telnetFamily = family;
        if (!login.isEmpty())
            o.telnetLogin = login;
        startSim(profile, o);
    }
    std::unique_ptr<TelnetTestClient> client(const char *terminalType = "dumb")
    {
        return std::make_unique<TelnetTestClient>(sim.telnetPort(), terminalType);
    }
    // A logged-in client at its first prompt.
    std::unique_ptr<TelnetTestClient> shell(const QByteArray &prompt = "# ")
    {
        auto c = client();
        EXPECT_TRUE(c->waitForPrompt(prompt)) << c->text().toStdString();
        c->take();
        return c;
    }
    void run(const QString &command) { ASSERT_EQ("ok", sim.execute(command).value(0).left(2)) << command.toStdString(); }
    QByteArray fig(const char *name) { return sim.state().get(name).toLatin1(); }
    QStringList journalLines(const QString &method)
    {
        QStringList out;
        for (const QString &l : sim.journal().lines()) {
            const QStringList f = l.split('\t');
            if (f.value(1) == "telnet" && f.value(2) == method)
                out << f.mid(3).join('\t');
        }
        return out;
    }
};

QByteArray section(const QByteArray &text, const QByteArray &label, int width)
{
    return copy(text, pos(label, text) + static_cast<int>(label.size()), width);
}

// "the text from X on": what follows the first blank.
QByteArray fromFirstBlank(const QByteArray &s)
{
    const qsizetype i = s.indexOf(' ');
    return i < 0 ? QByteArray() : s.mid(i);
}

} // namespace

// ---- log-in -------------------------------------------------------------------

TEST_F(TelnetSide, LogInModes)
{
    struct Case {
        const char *login;
        QList<QByteArray> typed;   // lines typed at the prompts, in order
        QByteArray firstPrompt;
        bool loggedIn;
        const char *journal;       // last login line: target, credentials, result
    };
    const Case cases[] = {
        {"none", {}, "# ", true, nullptr},
        {"password", {"quillfen"}, "Password: ", true, "-\t:quillfen\tok"},
        {"password", {"wrong"}, "Password: ", false, "-\t:wrong\tbad-login"},
        {"user", {"admin", "quillfen"}, "login: ", true, "admin\tadmin:quillfen\tok"},
        {"user", {"admin", "nope"}, "login: ", false, "admin\tadmin:nope\tbad-login"},
        {"user", {"root", "quillfen"}, "login: ", false, "root\troot:quillfen\tbad-login"},
    };
    start("v1234");
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.login) + " " + c.typed.value(0).toStdString());
        run(QString("telnet login %1").arg(c.login));
        sim.journal().clear();
        auto t = client();
        ASSERT_TRUE(t->waitFor(c.firstPrompt));
        for (const QByteArray &line : c.typed) {
            t->sendLine(line);
            testsupport::waitFor([&] { return t->text().endsWith(": ") || t->text().endsWith("# "); });
        }
        ASSERT_TRUE(testsupport::waitFor([&] { return t->text().endsWith("# ") || t->text().contains("incorrect"); }))
            << t->text().toStdString();
        EXPECT_EQ(c.loggedIn, t->text().endsWith("# "));
        EXPECT_EQ(!c.loggedIn, t->text().contains("Login incorrect"));
        // The password is never echoed.
        if (c.typed.size() > 0) {
            EXPECT_FALSE(t->text().contains(c.typed.last())) << t->text().toStdString();
        }
        if (c.journal) {
            EXPECT_EQ(QString(c.journal), journalLines("login").value(0));
        }
    }
}

TEST_F(TelnetSide, ThreeFailedLogInsCloseTheSession)
{
    start("v1234", {}, "password");
    auto t = client();
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(t->waitFor("Password: "));
        t->take();
        t->sendLine("bad");
    }
    EXPECT_TRUE(t->waitClosed());
    EXPECT_EQ(3, journalLines("login").size());
}

TEST_F(TelnetSide, JournalShowsTerminalTypeAndEveryLine)
{
    start("v1234");
    auto t = shell();
    t->command(" ifconfig");
    t->command("no-such-thing");
    EXPECT_EQ(QStringList{"dumb\t-\tok"}, journalLines("ttype"));
    EXPECT_EQ((QStringList{" ifconfig\t-\tok", "no-such-thing\t-\tnot-found"}), journalLines("line"));
    EXPECT_EQ(QStringList{"-\t-\tok"}, journalLines("connect"));
}

TEST_F(TelnetSide, EchoesTypedTextAndAnswersUnknownCommands)
{
    start("v1234");
    auto t = shell();
    const QByteArray r = t->command("frobnicate now");
    EXPECT_TRUE(r.startsWith("frobnicate now\r\nsh: frobnicate: not found\r\n# ")) << r.toStdString();
}

// ---- AR7 -------------------------------------------------------------------------

TEST_F(TelnetSide, Ar7StatisticsStandWhereTheParserReadsThem)
{
    start("v1234");
    run("set RxNoise 4.7");
    run("set RxSync 7616");
    run("set TxNoise 11.5");
    run("set TxSync 832");
    run("set RxAttenuation 41.5");
    run("set MaxRateUp 1184");
    auto t = shell();
    const QByteArray pane = t->command("cat /proc/avalanche/avsar_modem_stats");
    EXPECT_GT(pane.size(), 1000);

    struct Row {
        QByteArray label;
        int offset, width, above;
        QByteArray expected;
    };
    const Row rows[] = {
        {"DS Connection Rate:", 19, 10, 50, "7616"},
        {"DS Line Attenuation:", 20, 10, 60, "41.5"},
        {"DS Margin:", 20, 10, 0, "4.7"},
        {"DS Max Attainable Bit Rate:", 28, 30, 200, fig("MaxRateDown")},
        {"DS Superframe Cnt:", 18, 30, 0, fig("SuperframesDown")},
        {"US Connection Rate:", 19, 10, 29, "832"},
        {"US Line Attenuation:", 20, 10, 30, fig("TxAttenuation")},
        {"US Margin:", 20, 10, 20, "11.5"},
        {"US Max Attainable Bit Rate:", 28, 30, 200, QByteArray::number(1184 * 1024)},
        {"US Superframe Cnt :", 19, 30, 0, fig("SuperframesUp")},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.label.toStdString());
        EXPECT_GT(pos(r.label, pane) + r.offset, r.above);
        EXPECT_EQ(r.expected, down(pane, r.label, r.offset, r.width));
    }
}

TEST_F(TelnetSide, Ar7CounterSectionsAndCells)
{
    start("v1234");
    run("set CrcDown 77");
    run("set FastFecUp 15");
    run("set HecUp 4");
    auto t = shell();
    const QByteArray pane = t->command("cat /proc/avalanche/avsar_modem_stats");
    struct Path {
        QByteArray label;
        int width;
        const char *crc, *fec, *hec;
    };
    const Path paths[] = {
        {"[Downstream (RX) Interleave path]", 250, "CrcDown", "FecDown", "HecDown"},
        {"[Downstream (RX) Fast path]", 250, "FastCrcDown", "FastFecDown", "FastHecDown"},
        {"[Upstream (TX) Interleave path]", 150, "CrcUp", "FecUp", "HecUp"},
        {"[Upstream (TX) Fast path]", 150, "FastCrcUp", "FastFecUp", "FastHecUp"},
    };
    for (const Path &p : paths) {
        SCOPED_TRACE(p.label.toStdString());
        EXPECT_GT(pos(p.label, pane), 200);
        const QByteArray s = section(pane, p.label, p.width);
        for (const auto &[label, name] : {std::pair{"CRC:", p.crc}, {"FEC:", p.fec}, {"HEC:", p.hec}}) {
            EXPECT_GT(pos(label, s) + 4, 6);
            EXPECT_EQ(fig(name), down(s, label, 4, 20)) << label;
        }
    }
    const QByteArray upCells = copy(pane, pos("[Upstream/TX]", pane) + 13, 100);
    EXPECT_EQ(fig("TxPackets"), down(upCells, "Good Cell Cnt:", 14, 20));
    EXPECT_FALSE(down(upCells, "Idle Cell Cnt:", 14, 20).isEmpty());
    EXPECT_GT(pos("[Downstream/RX)]", pane) + 16, 250);
    const QByteArray downCells = copy(pane, pos("[Downstream/RX)]", pane) + 16, 160);
    EXPECT_EQ(fig("RxPackets"), down(downCells, "Good Cell Cnt:", 14, 20));
    EXPECT_EQ(fig("HecDown"), down(downCells, "Bad Hec Cell Cnt:", 17, 20));
    EXPECT_EQ("0", down(downCells, "Overflow Dropped Cell Cnt:", 26, 20));
}

TEST_F(TelnetSide, Ar7BitTableAndSnrDecodeToTheLineTones)
{
    start("v1234");
    for (const char *mode : {"ADSL", "ADSL2+"}) {
        SCOPED_TRACE(mode);
        run(QString("set linemode %1").arg(mode));
        run("tone 40 bits 9");
        run("tone 12 bits 3");
        run("tone 300 bits 13");
        run("tone 40 snr 44.5");
        auto t = shell();
        QByteArray pane = t->command("cat /proc/avalanche/avsar_bit_allocation_table");
        pane += t->command("cat /proc/avalanche/avsar_rxsnr0");
        EXPECT_GT(pos("AR7 DSL Modem US Bit", pane), 1);
        const int last = QByteArray(mode) == "ADSL2+" ? 510 : 255;
        QByteArray table = copy(pane, pos("US Bit Allocation:", pane) + 20, 97);
        table += copy(pane, pos("DS Bit Allocation:", pane) + 117, 1600);
        table = withoutLineBreaks(table);
        const QByteArray snr = withoutLineBreaks(copy(pane, pos("Rx SNR Per Bin for Bin0", pane) + 25, 5150));
        const LineTones &tones = sim.state().tones();
        for (int i = 0; i <= last; ++i) {
            bool ok = false;
            ASSERT_EQ(tones.bits(i), copy(table, 1 + 3 * i, 2).toInt(&ok, 16)) << "tone " << i;
            ASSERT_EQ(static_cast<int>(tones.snr(i)), copy(snr, 1 + 5 * i, 4).toInt(&ok, 16) / 100) << "tone " << i;
        }
        EXPECT_EQ(9, copy(table, 1 + 3 * 40, 2).toInt(nullptr, 16));
        run("tones reset");
    }
}

// ---- adslctl ---------------------------------------------------------------------

TEST_F(TelnetSide, AdslctlStatisticsStandWhereTheParserReadsThem)
{
    start("other");
    run("set RxNoise 5.9");
    run("set TxNoise 10.2");
    run("set RxSync 24543");
    run("set TxPower 12.4");
    auto t = shell();
    const QByteArray pane = t->command("/usr/sbin/adslctl info --stats");
    EXPECT_GT(pane.size(), 2000);

    struct Row {
        QByteArray label;
        int offset;
        const char *down, *up;
        QByteArray in; // "reply" or "section"
    };
    const QByteArray counters = copy(pane, pos("Counters", pane) + 8, 500).trimmed();
    const Row rows[] = {
        {"SNR (dB):", 9, "RxNoise", "TxNoise", "reply"},
        {"Rate (Kbps):", 12, "RxSync", "TxSync", "reply"},
        {"Attn(dB):", 9, "RxAttenuation", "TxAttenuation", "reply"},
        {"Pwr(dBm):", 9, "RxPower", "TxPower", "reply"},
        {"Max(Kbps):", 10, "MaxRateDown", "MaxRateUp", "reply"},
        {"ES:", 3, "EsDown", "EsUp", "reply"},
        {"SES:", 4, "SesDown", "SesUp", "reply"},
        {"SF:", 3, "SuperframesDown", "SuperframesUp", "section"},
        {"RS:", 3, "RsDown", "RsUp", "section"},
        {"RSCorr:", 7, "FecDown", "FecUp", "section"},
        {"RSUnCorr:", 9, "UncorrDown", "UncorrUp", "section"},
        {"HEC:", 4, "HecDown", "HecUp", "section"},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.label.toStdString());
        const QByteArray &text = r.in == "reply" ? pane : counters;
        const bool inReply = r.in == "reply";
        EXPECT_GT(pos(r.label, text) + r.offset, inReply ? 50 : 0);
        EXPECT_EQ(fig(r.down), down(text, r.label, r.offset, inReply ? 15 : 50));
        EXPECT_EQ(fig(r.up), up(text, r.label, r.offset, inReply ? 30 : 60));
    }
    // "SFErr": one character after the label skipped; the upstream value
    // is the third word of the window.
    EXPECT_EQ(fig("CrcDown"), down(counters, "SFErr", 6, 55));
    const QByteArray sfErr = window(counters, "SFErr", 6, 55);
    EXPECT_EQ(fig("CrcUp"), extractNumeric(fromFirstBlank(fromFirstBlank(sfErr).trimmed())));
    // "D: ": the interleave depth; nothing earlier holds "D: ".
    EXPECT_EQ("64", down(pane, "D: ", 2, 15));
    EXPECT_GT(pos("D: ", pane), pos("Rate (Kbps):", pane));
    // "Bitswap: ": upstream 20 past the first blank of the trimmed window.
    EXPECT_EQ(fig("BitswapDown"), down(pane, "Bitswap: ", 2, 50));
    const QByteArray bw = window(pane, "Bitswap: ", 2, 60).trimmed();
    EXPECT_EQ(fig("BitswapUp"), extractNumeric(copy(bw, pos(" ", bw) + 20, 60)));
}

TEST_F(TelnetSide, AdslctlPeriodsAndSuperframeCounts)
{
    start("other");
    run("set Crc15 5");
    run("set EsDay 12");
    run("set LofDown 7");
    run("set SuperframesPrev15 55650");
    auto t = shell();
    const QByteArray pane = t->command("adslctl info --stats");
    struct Period {
        QByteArray label;
        const char *crc, *es, *lof;
    };
    const Period periods[] = {
        {"Latest 15 minutes time =", "Crc15", "Es15", "Lof15"},
        {"Latest 1 day time =", "CrcDay", "EsDay", "LofDay"},
        {"Total time =", "CrcDown", "EsDown", "LofDown"},
    };
    for (const Period &p : periods) {
        SCOPED_TRACE(p.label.toStdString());
        const QByteArray block = section(pane, p.label, 300);
        EXPECT_EQ(fig(p.crc), extractNumeric(copy(block, pos("CRC", block), 50)));
        EXPECT_EQ(fig(p.es), extractNumeric(copy(block, pos("ES", block), 50)));
        EXPECT_EQ(fig(p.lof), extractNumeric(copy(block, pos("LOF", block), 50)));
    }
    const QByteArray previous = copy(pane, pos("Previous 15 minutes time", pane) + 34, 40);
    EXPECT_EQ("55650", extractNumeric(copy(previous, pos("SF =", previous) + 5, 25)));
    const QByteArray lan = copy(pane, pos("Total time =", pane) + 12, 65);
    EXPECT_EQ(fig("SuperframesDown"), extractNumeric(copyFrom(lan, pos("SF", lan) + 2)));
    QByteArray total = section(pane, "Total time =", 300).replace(" =", ": ");
    total = copy(total, pos("CRC", total), pos("Latest", total) - pos("CRC", total));
    EXPECT_TRUE(total.startsWith("CRC: ")) << total.toStdString();
    EXPECT_TRUE(total.contains("LOF: ")) << total.toStdString();
}

TEST_F(TelnetSide, AdslctlToneTablesReadByTheirKeys)
{
    start("other");
    run("set linemode ADSL2+");
    run("tone 100 bits 12");
    run("tone 100 snr 41.3");
    run("tone 7 hlog -22.5");
    auto t = shell();
    for (const char *tool : {"adslctl", "adsl"}) {
        SCOPED_TRACE(tool);
        QByteArray pane = t->command(QByteArray(tool) + " info --SNR");
        pane += t->command(QByteArray(tool) + " info --Bits");
        pane += t->command(QByteArray(tool) + " info --Hlog");
        EXPECT_TRUE(pane.contains("ADSL2+"));
        const int last = 510;
        const QByteArray bits = copy(pane, pos("Bit Allocation", pane) + 14, last * 20);
        const QByteArray snr = copy(pane, pos("Tone number      SNR", pane) + 20, last * 25);
        const QByteArray hlog = copy(pane, pos("Tone number      Hlog", pane) + 21, last * 25);
        const LineTones &tones = sim.state().tones();
        for (int i = 0; i <= last; ++i) {
            const QByteArray key = "   " + QByteArray::number(i);
            ASSERT_EQ(QByteArray::number(tones.bits(i)), extractNumeric(copy(bits, pos(key, bits) + 6, 15)))
                << "tone " << i;
            const QByteArray snrKey = key + "    ";
            ASSERT_DOUBLE_EQ(tones.snr(i), extractNumeric(copy(snr, pos(snrKey, snr) + snrKey.size(), 28)).toDouble())
                << "tone " << i;
            ASSERT_DOUBLE_EQ(tones.hlog(i), extractNumeric(copy(hlog, pos(snrKey, hlog) + snrKey.size(), 28)).toDouble())
                << "tone " << i;
        }
        EXPECT_EQ("12", extractNumeric(copy(bits, pos("   100", bits) + 6, 15)));
    }
}

TEST_F(TelnetSide, AdslctlResetAndTargetNoiseMargin)
{
    start("other");
    auto t = shell();
    EXPECT_NE("0", fig("CrcDown"));
    t->command("adslctl info --reset");
    EXPECT_EQ("0", fig("CrcDown"));
    EXPECT_EQ("0", fig("Es15"));
    t->command("adslctl configure --snr 150");
    EXPECT_EQ("150", sim.telnet().snrTarget);
    EXPECT_EQ(1, sim.telnet().counterResets);
}

// ---- "adsl info" -------------------------------------------------------------------

TEST_F(TelnetSide, AdslInfoFamilyStandsWhereTheParserReadsIt)
{
    start("v5");
    run("set RxNoise -4.5");
    run("set RxSync 8128");
    run("set TxSync 1024");
    run("set FecDown 4321");
    run("set EsUp 17");
    auto t = shell("/ # ");
    QByteArray pane = t->command("adsl info", "/ # ");
    pane += t->command("adsl perf", "/ # ");
    pane += t->command("adsl defects", "/ # ");
    pane = "/ # " + pane; // the prompt before the first command

    const QByteArray noise = "Downstream Noise Margin      :";
    EXPECT_GT(pos(noise, pane) + noise.size(), 50);
    EXPECT_EQ("-4.5", extractNumeric(section(pane, noise, 15)));
    EXPECT_EQ(fig("TxNoise"), extractNumeric(fromFirstBlank(section(pane, "Upstream Noise Margin", 30).trimmed())));
    EXPECT_EQ("8128000", extractNumeric(section(pane, "Downstream Bit Rate          :", 20)));
    EXPECT_EQ("1024000", extractNumeric(fromFirstBlank(section(pane, "Upstream Bit Rate", 30).trimmed())));
    EXPECT_EQ(fig("RxAttenuation"), extractNumeric(section(pane, "Downstream Attenuation", 15)));
    EXPECT_EQ(fig("TxAttenuation"),
              extractNumeric(fromFirstBlank(section(pane, "Upstream Attenuation", 30).trimmed())));
    const QByteArray mode = section(pane, "Current trained adsl mode    :", 15).trimmed();
    EXPECT_TRUE(copy(mode, 1, pos("C", mode) - 2).startsWith("G.dmt")) << mode.toStdString();
    EXPECT_GT(pos("Interleaved", pane), 50);

    const QByteArray perf = copy(pane, pos("/ # adsl perf", pane) + 13, 400);
    EXPECT_GT(pos("/ # adsl perf", pane) + 13, 50);
    QByteArray nearEnd = copy(perf, pos("============= NEAR END ===========", perf) + 34, 200);
    nearEnd = nearEnd.left(nearEnd.indexOf("=======") + 1);
    QByteArray farEnd = copy(perf, pos("============= FAR END ===========", perf) + 33, 200);
    farEnd = farEnd.left(farEnd.indexOf('/'));
    const auto after = [](const QByteArray &block, const QByteArray &label) {
        return extractNumeric(copyFrom(block, pos(label, block) + static_cast<int>(label.size())));
    };
    EXPECT_EQ(fig("HecUp"), after(nearEnd, "HEC   :"));
    EXPECT_EQ(fig("FecUp"), after(nearEnd, "FEC   :"));
    EXPECT_EQ(fig("CrcUp"), after(nearEnd, "CRC   :"));
    EXPECT_EQ(fig("HecDown"), after(farEnd, "HEC   :"));
    EXPECT_EQ("4321", after(farEnd, "FEC  :"));
    EXPECT_EQ(fig("CrcDown"), after(farEnd, "CRC   :"));

    const QByteArray defects = copy(pane, pos("/ # adsl defects", pane) + 16, 400);
    QByteArray nearD = copy(defects, pos("============= NEAR END ===========", defects) + 34, 200);
    nearD = nearD.left(nearD.indexOf("=======") + 1);
    QByteArray farD = copy(defects, pos("============== FAR END ==============", defects) + 37, 200);
    farD = farD.left(farD.indexOf('/'));
    EXPECT_EQ(fig("LosUp"), after(nearD, "LOS (Count of Loss of signal):"));
    EXPECT_EQ(fig("SesUp"), after(nearD, "SES (Count of Severely errored seconds):"));
    EXPECT_EQ("17", after(nearD, "ES  (Count of errored seconds):"));
    EXPECT_EQ(fig("LosDown"), after(farD, "LOS (Count of Loss of signal):"));
    EXPECT_EQ(fig("SesDown"), after(farD, "SES (Count of Severely errored seconds):"));
    EXPECT_EQ(fig("EsDown"), after(farD, "ES  (Count of errored seconds):"));
}

// ---- interfaces, processes, kill, reboot -------------------------------------------

TEST_F(TelnetSide, InterfaceListingPerFamilyAndWanInterface)
{
    struct Case {
        const char *profile;
        const char *wanif;
        QByteArray label;   // what the family's parser finds the interface by
        int from, length;   // the interface text relative to it
        QByteArray ipLabel; // the IP block starts at it (+ ipOffset)
        int ipOffset;
    };
    const Case cases[] = {
        {"v1234", "ppp0", "Link encap:Point-Point Protocol", 250, 450, "Link encap:Point-Point Protocol", 0},
        {"v1234", "nas0", "nas0  ", 350, 350, "nas0", 30},
        {"other", "ppp0", "ppp0 ", 250, 450, "Link encap:Point-Point Protocol", 0},
        {"other", "nas0", "nas0 ", 350, 350, "nas0", 30},
        {"v5", "ppp0", "Link encap:Point-to-Point Protocol", 250, 450, "Link encap:Point-to-Point Protocol", 0},
        {"v5", "nas0", "nas0      Link encap:Ethernet", 350, 350, "nas0", 30},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.profile) + " " + c.wanif);
        sim.stop();
        start(c.profile);
        run(QString("set wanif %1").arg(c.wanif));
        run("set RxBytes 4294967290");
        run("set TxBytes 123456789");
        run("set wan 198.51.100.23");
        const QByteArray prompt = QByteArray(c.profile) == "v5" ? "/ # " : "# ";
        auto t = shell(prompt);
        const QByteArray pane = t->command(" ifconfig", prompt);
        if (QByteArray(c.wanif) == "nas0") {
            EXPECT_FALSE(pane.contains("Point"));
        }
        const int at = pos(c.label, pane);
        EXPECT_GT(at, 10);
        const QByteArray iface = copy(pane, at + c.from, c.length);
        const QByteArray tx = copy(iface, pos("TX bytes:", iface) + 9, 1000);
        EXPECT_EQ("123456789", extractNumeric(tx.left(tx.indexOf(')')).left(20)));
        const QByteArray rx = copy(iface, pos("RX bytes:", iface) + 9, 1000);
        EXPECT_EQ("4294967290", extractNumeric(rx.left(rx.indexOf(')')).left(50)));
        const QByteArray ipBlock = copy(pane, pos(c.ipLabel, pane) + c.ipOffset, 150);
        const QByteArray addr = copyFrom(ipBlock, pos("inet addr:", ipBlock) + 10);
        EXPECT_EQ("198.51.100.23", addr.left(addr.indexOf(' ')));
    }
}

TEST_F(TelnetSide, ProcessListPutsTheDaemonPidWhereTheKillStepReadsIt)
{
    start("v1234");
    run("telnet pid 4711");
    auto t = shell();
    const QByteArray pane = t->command("ps -x");
    EXPECT_GE(pane.count("\r\n"), 11);
    const int at = pos("/usr/sbin/utelnetd -d", pane);
    ASSERT_GT(at, 26);
    EXPECT_EQ(" 4711", copy(pane, at - 26, 5));
    run("telnet daemon off");
    EXPECT_FALSE(t->command("ps -x").contains("utelnetd"));
}

TEST_F(TelnetSide, KillingTheDaemonEndsSessionsAndDebugAccess)
{
    start("v1234");
    run("telnet access debug");
    {
        auto refused = client();
        EXPECT_TRUE(refused->waitClosed());
        EXPECT_TRUE(refused->text().isEmpty());
    }
    ASSERT_EQ(200, rawGet(port, "/setup.cgi?todo=debug", basic("admin", "quillfen")).status());
    auto t = shell();
    auto other = shell();
    EXPECT_EQ(2, sim.telnetSessions());
    t->command("kill 999"); // not the daemon
    EXPECT_TRUE(t->connected());
    t->sendLine("kill 121");
    EXPECT_TRUE(t->waitClosed());
    EXPECT_TRUE(other->waitClosed());
    EXPECT_EQ(QStringList{"kill 121\t-\tkill"}, journalLines("line").filter("kill 121"));
    auto again = client();
    EXPECT_TRUE(again->waitClosed());
    EXPECT_TRUE(again->text().isEmpty());
}

TEST_F(TelnetSide, RebootCountsAndEndsTheSession)
{
    start("v5");
    auto t = shell("/ # ");
    t->sendLine(" reboot");
    EXPECT_TRUE(t->waitClosed());
    EXPECT_TRUE(t->text().contains("going down"));
    EXPECT_EQ(1, sim.state().rebootCount());
}

// ---- chunking ----------------------------------------------------------------------

TEST(TelnetChunker, PiecesJoinToTheBlockAndSplitWhereTheModeSays)
{
    const QByteArray block = "abc\r\ndef\r\n\r\nlast line\r\n# ";
    struct Case {
        ChunkMode mode;
        QList<QByteArray> expected; // empty: only checked for joining and CR/LF
    };
    const Case cases[] = {
        {ChunkMode::Whole, {block}},
        {ChunkMode::Line, {"abc\r\n", "def\r\n", "\r\n", "last line\r\n", "# "}},
        {ChunkMode::CrLf, {"abc\r", "\ndef\r", "\n\r", "\nlast line\r", "\n# "}},
    };
    for (const Case &c : cases) {
        OutputChunker chunker(c.mode, 1);
        EXPECT_EQ(c.expected, chunker.split(block)) << TelnetBehaviour::chunkName(c.mode).toStdString();
    }
    // Random splits: the same seed cuts the same way, the pieces join up,
    // and some piece ends between CR and LF.
    RouterState state;
    TelnetBehaviour behaviour;
    const QByteArray big = TelnetReplies(state, behaviour).ar7ModemStats();
    OutputChunker a(ChunkMode::Random, 7), b(ChunkMode::Random, 7);
    const QList<QByteArray> pieces = a.split(big);
    EXPECT_EQ(pieces, b.split(big));
    EXPECT_EQ(big, pieces.join());
    EXPECT_GT(pieces.size(), 10);
    EXPECT_TRUE(std::any_of(pieces.begin(), pieces.end(), [](const QByteArray &p) { return p.endsWith('\r'); }));
    EXPECT_TRUE(OutputChunker(ChunkMode::Line, 1).split({}).isEmpty());
}

TEST_F(TelnetSide, EveryChunkModeDeliversTheSameText)
{
    start("v1234");
    QByteArray whole;
    for (const char *mode : {"whole", "line", "crlf", "random 3"}) {
        SCOPED_TRACE(mode);
        run(QString("telnet chunk %1").arg(mode));
        run("telnet delay 3");
        auto t = shell();
        const QByteArray r = t->command("cat /proc/avalanche/avsar_modem_stats");
        if (whole.isEmpty()) {
            whole = r;
            continue;
        }
        EXPECT_EQ(whole, r);
        EXPECT_GT(t->reads(), 5);
    }
}

// ---- failures ------------------------------------------------------------------------

TEST_F(TelnetSide, InjectedFailures)
{
    start("v1234");
    {
        run("telnet fail refuse 1");
        auto t = client();
        EXPECT_TRUE(t->waitClosed());
        EXPECT_TRUE(t->text().isEmpty());
        EXPECT_TRUE(shell()->connected()); // the count is used up
    }
    {
        run("telnet fail mute");
        auto t = client();
        t->sendLine("ps");
        EXPECT_FALSE(t->waitFor("#", 300));
        EXPECT_TRUE(t->connected());
        EXPECT_TRUE(t->text().isEmpty());
    }
    {
        run("telnet fail hang");
        auto t = shell();
        t->sendLine("cat /proc/avalanche/avsar_modem_stats");
        EXPECT_FALSE(t->waitFor("Modem", 300));
        EXPECT_TRUE(t->connected());
        EXPECT_EQ("cat /proc/avalanche/avsar_modem_stats\t-\thang", journalLines("line").last());
    }
    {
        run("telnet fail close");
        auto t = shell();
        t->sendLine("ps");
        EXPECT_TRUE(t->waitClosed());
        EXPECT_FALSE(t->text().contains("PID"));
    }
    {
        run("telnet fail down");
        auto t = client();
        EXPECT_FALSE(t->connected());
        run("telnet fail none");
        EXPECT_TRUE(shell()->connected());
    }
    EXPECT_TRUE(sim.execute("telnet").value(0).contains(" fail=none ")) << sim.execute("telnet").value(0).toStdString();
}

// ---- control commands ------------------------------------------------------------------

TEST(TelnetCommands, AreCheckedBeforeTheyRun)
{
    const struct {
        const char *line;
        bool ok;
    } cases[] = {
        {"telnet", true},
        {"telnet family adslinfo", true},
        {"telnet family broadcom", false},
        {"telnet prompt \"> \"", true},
        {"telnet prompt default", true},
        {"telnet login user admin secret", true},
        {"telnet login password secret", true},
        {"telnet login maybe", false},
        {"telnet access debug", true},
        {"telnet access never", false},
        {"telnet chunk random 42", true},
        {"telnet chunk random x", false},
        {"telnet chunk bytes", false},
        {"telnet delay 5", true},
        {"telnet delay 5000", false},
        {"telnet fail hang 2", true},
        {"telnet fail down 2", false},
        {"telnet fail explode", false},
        {"telnet daemon off", true},
        {"telnet daemon maybe", false},
        {"telnet pid 12a4", true},
        {"telnet pid \"1 2\"", false},
        {"telnet sessions", true},
        {"telnet drop", true},
        {"telnet colour blue", false},
        {"tone 511 bits 15", true},
        {"tone 512 bits 1", false},
        {"tone 3 bits 16", false},
        {"tone 3 snr 63.5", true},
        {"tone 3 hlog 5", false},
        {"tones reset", true},
        {"set wanif nas0", true},
        {"set wanif eth0", false},
        {"set linemode ADSL2+", true},
        {"set path fast", true},
        {"set SuperframesPrev15 55650", true},
    };
    for (const auto &c : cases) {
        QString error;
        EXPECT_EQ(c.ok, CommandInterpreter::check(c.line, &error)) << c.line << ": " << error.toStdString();
    }
}

TEST_F(TelnetSide, ControlCommandsChangeTheTelnetSide)
{
    start("v1234");
    run("telnet family adslinfo");
    run("telnet prompt \"> \"");
    auto t = shell("> ");
    EXPECT_TRUE(t->command("adsl info", "> ").contains("Downstream Noise Margin"));
    run("telnet prompt default");
    EXPECT_TRUE(t->command("adsl perf", "/ # ").endsWith("/ # "));
    EXPECT_EQ("ok 1", sim.execute("telnet sessions").value(0));
    run("telnet drop");
    EXPECT_TRUE(t->waitClosed());
    const QString status = sim.execute("telnet").value(0);
    EXPECT_TRUE(status.contains("family=adslinfo prompt=\"/ # \" login=none")) << status.toStdString();
}

TEST(TelnetStartup, OptionsReadyFileAndProgram)
{
    QTemporaryDir dir;
    RouterSimOptions o;
    o.profile = "v5";
    o.telnetFamily = "adslctl";
    o.telnetLogin = "user";
    RouterSim sim;
    QString error;
    ASSERT_TRUE(sim.start(o, &error)) << error.toStdString();
    EXPECT_EQ(TelnetFamily::Adslctl, sim.telnet().family);
    EXPECT_EQ(TelnetLogin::User, sim.telnet().login);
    EXPECT_NE(0, sim.telnetPort());
    o.telnetFamily = "cisco";
    EXPECT_FALSE(RouterSim().start(o, &error));
    EXPECT_TRUE(error.contains("telnet family")) << error.toStdString();

    const QString exe = QStringLiteral(VELTRANO_BINARY_DIR_PATH "/routersim");
    QProcess p;
    const QString ready = dir.filePath("ready");
    p.start(exe, {"--profile", "v1234", "--telnet-family", "adslinfo", "--ready-file", ready});
    ASSERT_TRUE(testsupport::waitFor([&] { return QFile::exists(ready); }, 10000)) << p.readAllStandardError().data();
    const QList<QByteArray> lines = testsupport::readAll(ready).split('\n');
    ASSERT_GE(lines.size(), 3);
    ASSERT_TRUE(lines[2].startsWith("telnet="));
    {
        TelnetTestClient t(lines[2].mid(7).toUShort());
        EXPECT_TRUE(t.waitForPrompt("/ # "));
    }
    p.terminate();
    EXPECT_TRUE(p.waitForFinished(5000));
    QProcess bad;
    bad.start(exe, {"--telnet-login", "sometimes"});
    ASSERT_TRUE(bad.waitForFinished(5000));
    EXPECT_EQ(2, bad.exitCode());
}
