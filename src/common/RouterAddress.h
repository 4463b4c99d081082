#pragma once
// The router's address as the other requests need it, taken from the status
// page URL ([Router] Login).
#include <QString>

// The dotted IPv4 address of the login URL's host; empty when the host is a
// name or not a valid address.
QString GetMainIPAddress(const QString &loginUrl);

// "host" or "host:port" of the login URL, for building the router's other
// URLs: a port the login URL carries is kept.
QString routerAuthority(const QString &loginUrl);

// True for four dot-separated decimal numbers 0..255.
bool isDottedIPv4(const QString &text);
