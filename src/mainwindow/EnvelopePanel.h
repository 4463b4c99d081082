#pragma once
// The e-mail envelope on the main window (Panel29): the success envelope
// (Image23) after an e-mail went out, the error envelope (Image24) after one
// failed. Clicking it (or pressing it from the keyboard) resets it.
#include "notify/Mailer.h"

#include <QWidget>

class QToolButton;

class EnvelopePanel : public QWidget {
    Q_OBJECT
public:
    explicit EnvelopePanel(QWidget *parent = nullptr);

    void showEnvelope(EmailEnvelope e);

    QToolButton *Image23 = nullptr;
    QToolButton *Image24 = nullptr;

signals:
    void Image23Clicked();
    void Image24Clicked();
};
