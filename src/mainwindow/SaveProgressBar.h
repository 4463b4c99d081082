#pragma once
// The thin bar under the main window's pages that a save of the settings fills;
// it hides itself a second after the save ends (when Timer2 is started).

class QBoxLayout;
class QObject;
class QProgressBar;
class QTimer;
class QWidget;

struct SaveProgressBar {
    QProgressBar *pb1 = nullptr;
    QTimer *Timer2 = nullptr; // started when the save ends

    // Builds the bar, hidden, under `parent` at the end of `layout`; `timerOwner` owns the timer.
    static SaveProgressBar build(QWidget *parent, QBoxLayout *layout, QObject *timerOwner);
};
