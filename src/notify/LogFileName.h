#pragma once
// The statistics log's file name for a time stamp: the configured file, or
// with one file per day its name + the date in the configured pattern + its
// extension (".txt" when it has none).
#include <QDateTime>
#include <QString>

QString statisticsLogFileName(const QString &logFile, bool newLogEachDay, const QString &datePattern,
                              const QDateTime &stamp);
