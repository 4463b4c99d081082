// routersim: stands in for an ADSL router in tests and in the demo.
#include "RouterSim.h"
#include "SignalQuitter.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

using namespace routersim;

namespace {

bool parsePort(const QString &text, quint16 *port)
{
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok || v < 0 || v > 65535)
        return false;
    *port = static_cast<quint16>(v);
    return true;
}

int usageError(const QString &text)
{
    std::fprintf(stderr, "routersim: %s\n", qPrintable(text));
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("routersim");

    QCommandLineParser parser;
    parser.setApplicationDescription("ADSL router simulator (HTTP pages, telnet, control socket, journal).");
    parser.addHelpOption();
    const QCommandLineOption profile("profile", "Router model: v1234, v5, st585 or other.", "name", "v1234");
    const QCommandLineOption bind("bind", "Address to listen on, 127.0.0.1 to 127.0.0.254.", "address",
                                  "127.0.0.1");
    const QCommandLineOption httpPort("http-port", "HTTP port (0 picks a free one).", "port", "0");
    const QCommandLineOption controlPort("control-port", "Control socket port (0 picks a free one).", "port", "0");
    const QCommandLineOption telnetPort("telnet-port", "Telnet port (0 picks a free one).", "port", "0");
    const QCommandLineOption telnetFamily("telnet-family", "Telnet command line: ar7, adslctl, adslinfo or st585.", "name");
    const QCommandLineOption telnetLogin("telnet-login", "Telnet log-in: none, password or user.", "mode");
    const QCommandLineOption readyFile("ready-file", "Written once listening: http=PORT, control=PORT, telnet=PORT.",
                                       "path");
    const QCommandLineOption journal("journal", "Journal of every request, one tab-separated line each.", "path");
    const QCommandLineOption scenario("scenario", "Commands to run at start (see README).", "path");
    const QCommandLineOption user("user", "User name the router expects.", "name");
    const QCommandLineOption password("password", "Password the router expects.", "text");
    const QCommandLineOption auth("auth", "Basic authentication: required, none or any.", "mode");
    parser.addOptions({profile, bind, httpPort, controlPort, telnetPort, telnetFamily, telnetLogin, readyFile, journal,
                       scenario, user, password, auth});
    parser.process(app);
    if (!parser.positionalArguments().isEmpty())
        return usageError("unexpected argument " + parser.positionalArguments().first());

    RouterSimOptions options;
    options.profile = parser.value(profile);
    options.bind = parser.value(bind);
    if (!parsePort(parser.value(httpPort), &options.httpPort))
        return usageError("--http-port takes 0 to 65535");
    if (!parsePort(parser.value(controlPort), &options.controlPort))
        return usageError("--control-port takes 0 to 65535");
    if (!parsePort(parser.value(telnetPort), &options.telnetPort))
        return usageError("--telnet-port takes 0 to 65535");
    if (parser.isSet(telnetFamily)) {
        if (!TelnetBehaviour::familyFromName(parser.value(telnetFamily)))
            return usageError("--telnet-family takes ar7, adslctl, adslinfo or st585");
        options.telnetFamily = parser.value(telnetFamily);
    }
    if (parser.isSet(telnetLogin)) {
        if (!TelnetBehaviour::loginFromName(parser.value(telnetLogin)))
            return usageError("--telnet-login takes none, password or user");
        options.telnetLogin = parser.value(telnetLogin);
    }
    options.readyFile = parser.value(readyFile);
    options.journalFile = parser.value(journal);
    options.scenarioFile = parser.value(scenario);
    if (parser.isSet(user))
        options.user = parser.value(user);
    if (parser.isSet(password))
        options.password = parser.value(password);
    if (parser.isSet(auth))
        options.auth = parser.value(auth);

    RouterSim sim;
    SignalQuitter quitter;
    QString error;
    if (!quitter.install(&error))
        return usageError(error);
    QObject::connect(&quitter, &SignalQuitter::signalled, &app, &QCoreApplication::quit);
    QObject::connect(&sim, &RouterSim::quitRequested, &app, &QCoreApplication::quit);

    if (!sim.start(options, &error)) {
        std::fprintf(stderr, "routersim: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("routersim: %s on %s, http=%u control=%u telnet=%u (%s)\n", qPrintable(Profile::name(sim.profile())),
                qPrintable(sim.address().toString()), sim.httpPort(), sim.controlPort(), sim.telnetPort(),
                qPrintable(TelnetBehaviour::familyName(sim.telnet().family)));
    std::fflush(stdout);

    const int rc = QCoreApplication::exec();
    sim.stop();
    return rc;
}
