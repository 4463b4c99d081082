#pragma once
// The row of figures above the main window's pages: Rx noise, Rx sync and the
// two user figures, then the e-mail envelope and the timeline zoom sign.

class EnvelopePanel;
class QBoxLayout;
class QLabel;
class QWidget;

// The row's parts as built; the window owns them and fills them in.
struct FigureLabelsRow {
    QLabel *Label2 = nullptr;         // Rx noise
    QLabel *Label4 = nullptr;         // Rx sync
    QLabel *Label5 = nullptr;         // user figure 1 caption
    QLabel *Label22 = nullptr;        // user figure 2 caption
    EnvelopePanel *Panel29 = nullptr; // the e-mail envelope
    QLabel *Panel30 = nullptr;        // the timeline zoom factor, hidden until the timeline is zoomed

    // Builds the row under `parent` and adds it to `layout`.
    static FigureLabelsRow build(QWidget *parent, QBoxLayout *layout);
};
