#pragma once
// Teaching the figure searches on the status page: the user selects a figure
// in the page text and the search text and position of that figure are
// stored, so that the polling cycle's position search (FigureSearch) reads it
// from the next poll on; and the preview of all six figures that the
// teaching page's "Test" shows. Pure: page text, selection and settings in,
// a result out.
//
// The page text is the text the polling cycle searches
// (FigureSearch::preparePage), one character per byte of the page.
#include "settings/TSettings.h"

#include <QString>
#include <array>
#include <optional>

enum class TaughtFigure { RxNoise = 0, TxNoise, RxSync, TxSync, User1, User2 };

struct FigureMark {
    enum class Outcome {
        NoSelection, // "No \"search text\" has been selected."
        NoValue,     // "The marked text does not contain a valid numerical value."
        Value,
    };
    Outcome outcome = Outcome::NoSelection;
    QString searchText;
    int position = 0;       // 1-based, as stored in [Search]
    QString collected;      // the characters read after the search text
    QString value;          // collected, through SwapComma
    bool timeValue = false; // collected holds ":"
};

// Marking User-defined 1 on a SpeedTouch 585 page: the selection is the label
// that stands before an "up / down" pair (or a single value).
struct St585Mark {
    enum class Outcome {
        NoSelection,     // "No \"search text\" has been selected."
        BeginsWithDigit, // "Please select text to the left of the values required."
        NotALabel,       // "Invalid \"search text\" has been selected (No numeric value found)."
        Label,
    };
    Outcome outcome = Outcome::NoSelection;
    QString userText;      // [Search] UserText: the selection exactly
    QString buttonCaption; // btnUser: its first 11 characters
    // The labels the main window takes at once ("Not Available" for a loss of
    // link counter, which has no second value).
    QString userLabel;
    QString userLabel2;
    // What [Graph] UserLabel / UserLabel2 hold after the preview.
    QString finalUserLabel;
    QString finalUserLabel2;
    // Label33 shows the first label and the up value; Label16, with two values, the second.
    QString label33;
    std::optional<QString> label16;
};

// What "Test" shows: one text per figure (indexed by TaughtFigure), null when
// the figure was not searched.
struct FigurePreview {
    std::array<std::optional<QString>, 6> values;
    // The Rx sync figure of the position search, for SampleFigures.RxSync;
    // null when the position search did not run.
    std::optional<float> rxSync;
    const std::optional<QString> &value(TaughtFigure f) const { return values[size_t(f)]; }
};

class FigureTeaching {
public:
    static const QString &noSelectionText();
    static const QString &noValueText();
    static const QString &timeValueQuestion();
    static const QString &selectLeftText();
    static const QString &invalidLabelText();

    // "Rx Noise: " and so on for the four standard figures; empty for the user figures.
    static QString prefix(TaughtFigure figure);
    static bool isUserFigure(TaughtFigure figure)
    {
        return figure == TaughtFigure::User1 || figure == TaughtFigure::User2;
    }

    // selStart is the 0-based start of the selection in page, selLength its length.
    static FigureMark mark(TaughtFigure figure, const QString &page, int selStart, int selLength,
                           const TSettings &settings);
    // Stores the mark's search text and position in [Search].
    static void store(TaughtFigure figure, const FigureMark &mark, TSettings &settings);
    // [Graph] NotANumber (figure 2: NotANumber1).
    static bool &timeValueFlag(TaughtFigure figure, TSettings &settings);

    // dataSent and dataUnit: the 585 data counter and unit texts of the latest poll.
    static St585Mark markSt585(const QString &page, int selStart, const QString &selected, const TSettings &settings,
                               const QString &dataSent, const QString &dataUnit);

    static FigurePreview preview(const QString &page, const TSettings &settings);
};
