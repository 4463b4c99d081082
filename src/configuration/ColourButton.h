#pragma once
// A colour setting's editor: a button filled with the colour that opens a
// colour picker. The colour is kept as the settings file knows it (0x00BBGGRR).
#include "settings/SettingTypes.h"

#include <QPushButton>

class ColourButton : public QPushButton {
    Q_OBJECT
public:
    explicit ColourButton(QWidget *parent = nullptr);

    TColor colour() const { return m_colour; }
    void setColour(TColor colour);

signals:
    void colourChanged(TColor colour);

private:
    void pick();

    TColor m_colour = 0;
};
