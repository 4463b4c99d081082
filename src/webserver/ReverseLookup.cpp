#include "webserver/ReverseLookup.h"

#include <QHostInfo>

ReverseLookup::ReverseLookup(QObject *parent) : QObject(parent)
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(5000);
    connect(&m_timer, &QTimer::timeout, this, [this] { finish(notFoundText()); });
}

ReverseLookup::~ReverseLookup() { cancel(); }

void ReverseLookup::lookup(const QString &address)
{
    cancel();
    m_address = address;
    m_id = QHostInfo::lookupHost(address, this, [this](const QHostInfo &info) { done(info.lookupId(), info); });
    if (m_id >= 0)
        m_timer.start();
}

void ReverseLookup::cancel()
{
    m_timer.stop();
    if (m_id >= 0)
        QHostInfo::abortHostLookup(m_id);
    m_id = -1;
}

void ReverseLookup::done(int id, const QHostInfo &info)
{
    if (id != m_id)
        return; // abandoned
    // Without a name the resolver hands the address back.
    const QString name = info.hostName();
    finish(info.error() != QHostInfo::NoError || name.isEmpty() || name == m_address ? notFoundText() : name);
}

void ReverseLookup::finish(const QString &hostName)
{
    if (m_id < 0)
        return;
    m_timer.stop();
    m_id = -1;
    emit finished(m_address, hostName);
}
