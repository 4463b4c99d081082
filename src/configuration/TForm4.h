#pragma once
// The date-time format help: the letters a date-time pattern understands.
#include <QDialog>

class QPlainTextEdit;

class TForm4 : public QDialog {
    Q_OBJECT
public:
    explicit TForm4(QWidget *parent = nullptr);

    // Opened by the two date-time "Help" buttons: modal, at the opener's left + 300, top + 120.
    static TForm4 *open(QWidget *opener);

    static QString helpText();

    QPlainTextEdit *Memo1 = nullptr;
};
