#include "mainwindow/NoiseTrayIcon.h"

#include "common/NumberFormat.h"
#include "common/Trace.h"
#include "common/WindowHelpers.h"
#include "widgets/ColourConversion.h"

#include <QAction>
#include <QApplication>
#include <QFontMetrics>
#include <QMenu>
#include <QPainter>
#include <QSystemTrayIcon>
#include <QWidget>
#include <cmath>

namespace {

constexpr int kIconSize = 16;

// Fixed notation at 3 significant digits: the value is first rounded to them.
QString fixedAtThreeDigits(double value, int decimals)
{
    if (value == 0 || !std::isfinite(value))
        return numfmt::fixed(value, decimals);
    const int magnitude = static_cast<int>(std::floor(std::log10(std::fabs(value)))) + 1;
    if (magnitude > 3)
        return numfmt::general(value);
    const double scale = std::pow(10.0, 3 - magnitude);
    return numfmt::fixed(std::round(value * scale) / scale, decimals);
}

} // namespace

NoiseTrayIcon::NoiseTrayIcon(const TSettings &settings, QObject *parent) : QObject(parent), m_settings(settings)
{
    SysTrayPopup = new QMenu();
    SysTrayPopup->setObjectName(QStringLiteral("SysTrayPopup"));
    RestoreVeltrano1 = SysTrayPopup->addAction(tr("Restore Veltrano"));
    RestoreVeltrano1->setObjectName(QStringLiteral("RestoreVeltrano1"));
    mnuShowNoise = SysTrayPopup->addAction(tr("Show Rx Noise on icon"));
    mnuShowNoise->setObjectName(QStringLiteral("mnuShowNoise"));
    mnuShowNoise->setCheckable(true);
    SysTrayPopup->addSeparator();
    CloseVeltrano1 = SysTrayPopup->addAction(tr("Close Veltrano"));
    CloseVeltrano1->setObjectName(QStringLiteral("CloseVeltrano1"));
    connect(SysTrayPopup, &QMenu::aboutToShow, this, [this] { mnuShowNoise->setChecked(m_settings.System.ShowNoise); });
    connect(RestoreVeltrano1, &QAction::triggered, this, &NoiseTrayIcon::restoreRequested);
    connect(CloseVeltrano1, &QAction::triggered, this, &NoiseTrayIcon::closeRequested);
    connect(mnuShowNoise, &QAction::triggered, this, [this](bool on) { emit showNoiseToggled(on); });

    m_tray = new QSystemTrayIcon(this);
    m_tray->setContextMenu(SysTrayPopup);
    m_tray->setIcon(QIcon(basePicture(false)));
    connect(m_tray, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason r) {
        if (r == QSystemTrayIcon::Trigger || r == QSystemTrayIcon::DoubleClick)
            emit restoreRequested();
    });
}

NoiseTrayIcon::~NoiseTrayIcon() { delete SysTrayPopup; }

bool NoiseTrayIcon::trayAvailable() const
{
    return m_trayAvailable ? *m_trayAvailable : QSystemTrayIcon::isSystemTrayAvailable();
}

void NoiseTrayIcon::setVisible(bool on)
{
    if (trayAvailable())
        m_tray->setVisible(on);
}

bool NoiseTrayIcon::isVisible() const { return m_tray->isVisible(); }

void NoiseTrayIcon::showPointerHint(const QString &hint) { m_tray->setToolTip(hint); }

QString NoiseTrayIcon::toolTip() const { return m_tray->toolTip(); }

QPixmap NoiseTrayIcon::basePicture(bool alarm)
{
    QPixmap pm(kIconSize, kIconSize);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(alarm ? QColor(200, 0, 0) : QColor(0, 40, 110));
    p.drawRoundedRect(QRectF(0.5, 0.5, kIconSize - 1, kIconSize - 1), 3, 3);
    // A line trace: the program's mark under the digits.
    p.setPen(QPen(alarm ? QColor(255, 200, 200) : QColor(120, 200, 255), 1.2));
    p.drawPolyline(QPolygonF({QPointF(2, 13), QPointF(5, 10), QPointF(8, 12), QPointF(11, 8), QPointF(14, 10)}));
    return pm;
}

QString NoiseTrayIcon::iconText(double value, bool integerOnly)
{
    if (std::isnan(value))
        return QString(); // no reading: no digits
    if (integerOnly)
        return fixedAtThreeDigits(std::nearbyint(value), 0); // the default rounding mode: halves to even
    return fixedAtThreeDigits(value, 1);
}

QString NoiseTrayIcon::hintText(const TSettings &s, const Figures &f)
{
    const bool telnetOnly = s.Telnet.DisableHTTP;
    const double noise = telnetOnly ? f.telnetNoise : f.rxNoise;
    const double sync = telnetOnly ? f.telnetSync : f.rxSync;
    // A figure without a reading keeps its words and shows no number.
    QString hint = QStringLiteral("Veltrano\r\nNoise margin ");
    if (!std::isnan(noise))
        hint += numfmt::generalPrecision(noise, 3) + QStringLiteral(" dB");
    hint += QStringLiteral("\r\nSync speed ");
    if (!std::isnan(sync))
        hint += FormatThousands(numfmt::shortestSingle(static_cast<float>(sync))) + QStringLiteral(" Kbps");
    if (telnetOnly)
        return hint;
    if (s.Graph.UserLabel != QLatin1String("User defined"))
        hint += QStringLiteral("\r\n") + f.userLabel1Caption;
    if (s.Graph.UserLabel2 != QLatin1String("User defined"))
        hint += QStringLiteral("\r\n") + f.userLabel2Caption;
    return hint;
}

QIcon NoiseTrayIcon::IconNoise(TColor colour, const Figures &f)
{
    const TSettings &s = m_settings;
    const bool red = (colour == s.Graph.AlarmColour || colour == s.Graph.NoRespondColour || f.iconAlarmState)
                     && !s.Telnet.DisableHTTP;
    QPixmap pm = basePicture(red);
    if (s.System.ShowNoise) {
        const QString text = iconText(s.Telnet.DisableHTTP ? f.telnetNoise : f.rxNoise, s.System.IntegerOnly);
        QFont font(s.System.FontName);
        font.setPointSize(8);
        const int widthAtEight = QFontMetrics(font).horizontalAdvance(text);
        font.setPointSize(widthAtEight <= 15 ? s.System.FontSize + 2 : s.System.FontSize);
        font.setBold(s.System.FontStyle & 1);
        font.setItalic(s.System.FontStyle & 2);
        font.setUnderline(s.System.FontStyle & 4);
        font.setStrikeOut(s.System.FontStyle & 8);
        // Crisp pixels, and a decimal point of its own with a pixel either
        // side: at 16 pixels a smoothed "7.0" reads like "70".
        font.setStyleStrategy(QFont::NoAntialias);
        const QFontMetrics fm(font);
        const qsizetype dot = text.indexOf(QLatin1Char('.'));
        const QString whole = dot < 0 ? text : text.left(dot);
        const QString decimals = dot < 0 ? QString() : text.mid(dot + 1);
        const int wholeWidth = fm.horizontalAdvance(whole);
        const int narrow = wholeWidth + 3 + fm.horizontalAdvance(decimals);
        const int dotSize = narrow + 1 <= 16 ? 2 : 1; // a square of 2 where the icon has room
        const int width = dot < 0 ? wholeWidth : narrow + dotSize - 1;
        QPainter p(&pm);
        p.setFont(font);
        const QRect box(8 - width / 2, 0, width, fm.height());
        if (s.System.FontOpaque)
            p.fillRect(box, toQColor(s.System.IconBackColour));
        const QColor colour = toQColor(s.System.Colour);
        p.setPen(colour);
        p.drawText(box.left(), fm.ascent(), whole);
        if (dot >= 0) {
            p.fillRect(QRect(box.left() + wholeWidth + 1, fm.ascent() - dotSize, dotSize, dotSize), colour);
            p.drawText(box.left() + wholeWidth + 2 + dotSize, fm.ascent(), decimals);
        }
    }
    const QIcon icon(pm);
    QApplication::setWindowIcon(icon);
    m_tray->setIcon(icon);
    if (m_overlayWindow)
        m_overlayWindow->setWindowIcon(s.System.ShowNoise ? icon : QIcon(basePicture(false)));
    return icon;
}
