#pragma once
// The font of the terminal and statistics panes: the settings' four values
// (name, size, style bits, colour) as a font and a colour, and the dialog
// that picks them (a font chooser with a colour button).
#include "settings/TSettings.h"

#include <QColor>
#include <QDialog>
#include <QFont>
#include <QList>
#include <functional>

class QFontDialog;
class QPlainTextEdit;
class QPushButton;

class PaneFontDialog : public QDialog {
    Q_OBJECT
public:
    PaneFontDialog(const QFont &font, const QColor &colour, QWidget *parent = nullptr);

    QFont selectedFont() const;
    QColor selectedColour() const { return m_colour; }
    void setColour(const QColor &colour);

    // [System] MemoFontName, MemoFontSize and MemoFontStyle (1 bold, 2 italic,
    // 4 underline, 8 strike-out) as a font; MemoColour as a colour.
    static QFont fontOf(const TSettings &s);
    static QColor colourOf(const TSettings &s);
    static void store(TSettings &s, const QFont &font, const QColor &colour);
    static void apply(const QList<QPlainTextEdit *> &panes, const TSettings &s);
    // Opens the dialog over `parent` with the settings' font; an accepted choice is stored in `s`, and
    // `applyFonts` runs once the dialog closes either way.
    static void choose(QWidget *parent, TSettings &s, const std::function<void()> &applyFonts);

    QPushButton *btnColour = nullptr;

private:
    QFontDialog *m_fonts = nullptr;
    QColor m_colour;
};
