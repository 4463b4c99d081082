#pragma once
// What a status-page fetch reported: its system messages, and the page and
// no-answer flag it finished with.
#include "acquisition/StatusPageFetch.h"

#include <QStringList>

struct FetchRecording {
    QStringList messages;
    bool done = false;
    QByteArray page;
    bool noAnswer = false;

    void record(StatusPageFetch &fetch)
    {
        QObject::connect(&fetch, &StatusPageFetch::systemMessage, [this](const QString &m) { messages << m; });
        QObject::connect(&fetch, &StatusPageFetch::finished, [this](const QByteArray &p, bool n) {
            done = true;
            page = p;
            noAnswer = n;
        });
    }
};
