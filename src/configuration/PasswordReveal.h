#pragma once
// "Show password in plain text" for a password edit: showing a stored
// password needs that password, typed into a masked field first.
#include <QDialog>
#include <QPointer>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QMessageBox;
class QPushButton;

// The question "Password...": one masked edit, OK and Cancel.
class PasswordPrompt : public QDialog {
    Q_OBJECT
public:
    enum class Result { Right, Wrong, Cancelled };

    explicit PasswordPrompt(QWidget *parent = nullptr);

    // Empty typed text counts as cancelled.
    static Result check(const QString &typed, const QString &stored, bool accepted);

    QLabel *Label1 = nullptr;
    QLineEdit *edPassword = nullptr;
    QPushButton *btnOK = nullptr;
    QPushButton *btnCancel = nullptr;
};

class PasswordReveal : public QObject {
    Q_OBJECT
public:
    // storedPassword gives the password now in force ([Router] Password or [Email] Pass);
    // the box's clicks count only while active() says so (always without it).
    PasswordReveal(QCheckBox *box, QLineEdit *edit, std::function<QString()> storedPassword,
                   std::function<bool()> active = {});

    // The box's click: unchecking masks; checking shows the text at once when
    // no password is stored, else only after the right password was typed.
    void toggled(bool on);

    QPointer<PasswordPrompt> Prompt;
    QPointer<QMessageBox> IncorrectBox;

private:
    void uncheck();

    QCheckBox *m_box;
    QLineEdit *m_edit;
    std::function<QString()> m_stored;
    std::function<bool()> m_active;
};
