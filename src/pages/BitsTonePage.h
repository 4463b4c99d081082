#pragma once
// The telnet "Bits / Tone" controls: the strip above the tone charts
// (Refresh, the time of the last request, the SNR caption, the page button
// of ADSL2+ lines, the read-out panel) and the "Options" sub-tab with the
// switches of the bit-loading refresh, the SNR display and the bitswap
// chart. The switches are bound to their settings by the window, which
// follows their changes.
#include "settings/TSettings.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QToolButton;
struct TelnetParseResult;

class BitsTonePage : public QWidget {
    Q_OBJECT
public:
    explicit BitsTonePage(TSettings &settings, QWidget *parent = nullptr);

    // A parsed reply's figures; the refresh button comes back only while the session is up.
    void showParsed(const TelnetParseResult &r, bool connected);

    // The strip for the top of the "Bits / Tone" tab (owned by this page's parent once placed).
    QWidget *header() const { return m_header; }
    // Controls from the settings (without signals).
    void loadFromSettings();
    // The parts that depend on the telnet family.
    void applyFamily();

    // Strip.
    QPushButton *btnBitsRefresh = nullptr;
    QLabel *Label61 = nullptr;  // "Last updated: ..."
    QLabel *Label59 = nullptr;  // "SNR per tone" / "SNR Margin per tone"
    QToolButton *Image84 = nullptr; // the page button of ADSL2+ lines
    QLabel *Label88 = nullptr;  // ">>", "<<" or empty
    QLabel *Panel35 = nullptr;  // the read-out under the mouse
    QLabel *Label35 = nullptr;  // interleaving, downstream
    QLabel *Label99 = nullptr;  // interleaving, upstream
    // Legend of the tone colours of the bits, bitswap and bitswaps-per-tone charts.
    QLabel *Shape1 = nullptr;   // green: upstream tones
    QLabel *Shape3 = nullptr;   // red: the SNR curve
    QLabel *Shape2 = nullptr;   // blue: downstream tones
    QLabel *Shape7 = nullptr;   // black: the attenuation line, which only the adslctl family gives
    QLabel *Label76 = nullptr;

    // Options.
    QCheckBox *cbBits = nullptr;
    QCheckBox *cbBitsRefresh = nullptr;
    QSpinBox *spRefreshBitsEvery = nullptr;
    QLabel *Label81 = nullptr;
    QRadioButton *rbUseSameSamples = nullptr;
    QRadioButton *rbUseSameTime = nullptr;
    QLabel *Label75 = nullptr;
    QCheckBox *cbShowAttenuation = nullptr;
    QRadioButton *rbSNR = nullptr;
    QRadioButton *rbSNRMargin = nullptr;
    QSpinBox *spClipSNRMargin = nullptr;
    QSpinBox *spClipMinSNRMargin = nullptr;
    QCheckBox *cbSNRPoints = nullptr;
    QCheckBox *cbVerticalGrid = nullptr; // Chart21's vertical grid ([Telnet] Grid)
    QRadioButton *rbSNRSteps = nullptr;
    QRadioButton *rbSNRRamp = nullptr;
    QCheckBox *cbBitswap = nullptr;
    QCheckBox *cbAdjustBitswapScale = nullptr;
    QSpinBox *spBitswapMax = nullptr;
    QCheckBox *cb3D = nullptr;
    QCheckBox *cbSepHistogram = nullptr;
    QCheckBox *cbDontRefreshWhenMin = nullptr;
    QLabel *Shape4 = nullptr;   // red while cbDontRefreshWhenMin is checked
    QLabel *Label80 = nullptr;

signals:
    void refreshClicked();
    void bitswapMaxChanged(int maximum);
    void pageButtonClicked();

private:
    void build();
    void showDontRefreshIndicator();

    TSettings &m_settings;
    QWidget *m_header = nullptr;
    bool m_loading = false;
};
