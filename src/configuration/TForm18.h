#pragma once
// The tray icon's font: face, size, colours, opaque background and bold, with
// a preview on the real tray icon at every change. There is no cancel: what
// the previews stored stays.
#include "settings/TSettings.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class DialogOwner;

class TForm18 : public QDialog {
    Q_OBJECT
public:
    // Redraws the tray icon with the noise colour (the main window's IconNoise).
    using Redraw = std::function<void()>;

    TForm18(TSettings &settings, Redraw redraw, QWidget *parent = nullptr);

    // Opened by "Font...": modal, at the opener's left + 100, top + 80.
    static TForm18 *open(QWidget *opener, TSettings &settings, Redraw redraw);
    // The same, previewing on the main window's tray icon.
    static TForm18 *open(QWidget *opener, DialogOwner &owner);

    // The system's fonts without vertical ("@") faces, with "Arial Narrow", sorted.
    static QStringList fontList(const QStringList &systemFonts);

    void FormShow();
    void btntestClick();
    void cbIconOpaqueClick();
    void btnDefaultClick();
    void btnOKClick();

    // The colour a colour box shows (0x00BBGGRR).
    static TColor colourOf(const QComboBox *box);
    static void setColour(QComboBox *box, TColor colour);

    QLabel *Label1 = nullptr;
    QComboBox *cbIconFont = nullptr;
    QLabel *Label2 = nullptr;
    QComboBox *cbIconSize = nullptr;
    QLabel *Label3 = nullptr;
    QComboBox *ColorBox1 = nullptr;
    QLabel *Label4 = nullptr;
    QComboBox *ColorBox2 = nullptr;
    QCheckBox *cbIconOpaque = nullptr;
    QCheckBox *cbIconBold = nullptr;
    QCheckBox *cbIntegerOnly = nullptr;
    QPushButton *btnOK = nullptr;
    QPushButton *btnDefault = nullptr;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormCreate();
    void store();

    TSettings &m_settings;
    Redraw m_redraw;
};
