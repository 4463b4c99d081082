#pragma once
// The HTML of every page a simulated router serves, made from its state.
#include "Profile.h"
#include "RouterState.h"

#include <QByteArray>

namespace routersim {

class PageBuilder
{
public:
    explicit PageBuilder(const RouterState &state) : m_state(state) {}

    // The body of a page as Latin-1 bytes; empty for PageKind::None or a
    // page the model does not have.
    QByteArray build(ProfileId profile, PageKind page) const;

    // Value positions (1-based) on the fixed-layout status pages; the
    // taught positions of the program are these minus 31 (the standard
    // figures) or minus 36 (the user-defined figures).
    static constexpr int kRxSyncAt = 4069;
    static constexpr int kTxSyncAt = 4146;
    static constexpr int kRxAttenuationAt = 4300;
    static constexpr int kTxAttenuationAt = 4377;
    static constexpr int kRxNoiseAt = 4559;
    static constexpr int kTxNoiseAt = 4632;
    static constexpr int kUptimeAt = 2093;
    // v1234: the WAN row's packet counters; other: the data counters.
    static constexpr int kV1234TxPacketsAt = 1793;
    static constexpr int kV1234RxPacketsAt = 1853;
    static constexpr int kOtherDataReceivedAt = 4836;
    static constexpr int kOtherDataSentAt = 4993;

private:
    QByteArray v1234Status() const;
    QByteArray v5Status() const;
    QByteArray st585Status() const;
    QByteArray otherStatus() const;
    QByteArray connectionPage() const;
    QByteArray v5WanPage() const;
    QByteArray netgearLog(bool v5) const;
    QByteArray st585Link() const;
    QByteArray st585Events() const;
    QByteArray simplePage(const QByteArray &title, const QByteArray &text) const;

    QByteArray fig(Figure f) const;

    const RouterState &m_state;
};

} // namespace routersim
