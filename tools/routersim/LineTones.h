#pragma once
// Bits and SNR per tone of the simulated line, for the bit-loading commands
// of the telnet command lines. Tones 0 to 31 are upstream; an ADSL line uses
// tones 0 to 255, an ADSL2+ line 0 to 511.
#include <QString>
#include <array>

namespace routersim {

class LineTones
{
public:
    static constexpr int kTones = 512;

    LineTones() { reset(); }
    // A plausible line: bits and SNR falling with frequency, nothing on
    // tones 0 to 5 and on the pilot-free gap at 32.
    void reset();

    int bits(int tone) const { return m_bits[static_cast<size_t>(tone)]; }
    double snr(int tone) const { return m_snr[static_cast<size_t>(tone)]; }
    double hlog(int tone) const { return m_hlog[static_cast<size_t>(tone)]; }

    // what is "bits" (0..15), "snr" (0..63.5 dB) or "hlog" (-96..0 dB).
    bool set(int tone, const QString &what, const QString &value, QString *error);
    static bool validate(int tone, const QString &what, const QString &value, QString *error);

private:
    std::array<int, kTones> m_bits{};
    std::array<double, kTones> m_snr{};
    std::array<double, kTones> m_hlog{};
};

} // namespace routersim
