#pragma once
// The plain text of a router page for the clipboard: the page from its
// <body> on, as the one HTML renderer of the program shows it (rows on lines
// of their own, cells apart by tabs, entities decoded, blanks collapsed).
#include <QString>

QString HTML2Text(const QString &html);
