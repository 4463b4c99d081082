#pragma once
// What the web server answers to one request, decided without any socket: the
// connection threads call it with a copy of the web settings and send what it
// returns. Pure apart from reading the served folder and "blocked.txt", whose
// read failures are counted on the caller's BlockedList.
#include "webserver/WebServerSettings.h"

#include <QByteArray>
#include <QString>

class BlockedList;

struct WebRequest {
    QString method;     // "GET", "HEAD", ...
    QString document;   // the decoded path as received
    QString clientAddress;
    quint16 clientPort = 0;
};

struct WebReply {
    int status = 200;
    QByteArray body;      // error pages; empty for a blocked client
    QString filePath;     // status 200: the regular file to send
    QString contentType;
    QString logLine;      // not empty: the access-log line of this request
    bool serverError = false; // reported as "Web Server Error."
};

class WebRequestHandler {
public:
    static constexpr const char *Realm = "Veltrano";

    // GET and HEAD are answered; anything else gets 501.
    static bool methodAllowed(const QString &method);

    // Byte for byte: each received name and secret must be the setting written
    // in UTF-8 or in Windows-1252, never a lossy rendering of it. No
    // credentials count as an empty user and secret, so an empty pair in the
    // settings lets everybody in.
    static bool authorised(const WebServerSettings &s, const QByteArray &user, const QByteArray &password);

    // The user and secret of a "Basic" Authorization header, byte for byte;
    // false when it is not one or does not decode.
    static bool basicCredentials(const QByteArray &authorization, QByteArray *user, QByteArray *password);

    // The reply to an authorised request. `blocked` reads the blocked list and
    // remembers whether its last read failed, so a lasting fault sets
    // serverError once.
    static WebReply respond(const WebServerSettings &s, const WebRequest &r, BlockedList &blocked);

    static QByteArray authFailedPage();
    static QByteArray accessDeniedPage();
    // "<html>...<h1>Not Found</h1>...": the status text of the number.
    static QByteArray errorPage(int status);
    static QByteArray statusText(int status);

    // The settings file (and its temporary copies), "*.tmp" and the blocked list.
    static bool neverServed(const QString &path, const WebServerSettings &s);
};
