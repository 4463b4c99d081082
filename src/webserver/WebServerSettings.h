#pragma once
// What the request handler reads on the connection threads: a copy of the web
// settings that the window thread refreshes whenever one of them changes, so
// no connection thread ever touches the settings model or a control.
#include <QString>

struct WebServerSettings {
    bool webAuth = false;           // [WebServer] WebAuth
    QString webUser;                // [WebServer] WebUser
    QString webPassword;            // [WebServer] WebPassword
    QString webPage;                // [WebServer] Webpage; its folder is the served root
    bool allowSubFolders = false;   // [WebServer] NoSubFolders ("Allow access to subfolders")
    bool useBlocked = false;        // [WebServer] Blocked
    bool logWeb = false;            // [WebServer] LogWeb
    bool showSystem = false;        // [System] ShowSystem; the access log needs it too
    bool dontLogBlocked = false;    // "Don't log blocked requests"
    bool imageWithoutServer = false; // [WebServer] ImageWithoutServer: requests are not counted
    QString settingsFile;           // never served, nor its temporary copies
};
