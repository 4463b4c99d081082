#pragma once
// A question with two lines of text, a "Don't show this message again" box
// and two buttons, asked without blocking: the answer arrives through a
// callback once the dialog has closed and stored what it stores.
#include <QDialog>
#include <functional>

class QCheckBox;
class QLabel;
class QPushButton;

class AdviceDialog : public QDialog {
    Q_OBJECT
public:
    enum class Answer { Ok, Cancel, Closed };
    using Callback = std::function<void(Answer)>;

    void setCallback(Callback callback) { m_callback = std::move(callback); }
    Answer answer() const { return m_answer; }

    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QCheckBox *adviseBox = nullptr;
    QPushButton *btnOK = nullptr;
    QPushButton *btnCancel = nullptr;

    void done(int result) override;

protected:
    AdviceDialog(const QString &caption, const QString &line1, const QString &line2, const QString &boxName,
                 const QString &okText, QWidget *parent);

    // What the two buttons store, before the dialog closes.
    virtual void okClicked() {}
    virtual void cancelClicked() {}
    // What every way of closing stores; dontShowAgain is the box's state.
    virtual void closing(bool dontShowAgain) = 0;

private:
    Answer m_answer = Answer::Closed;
    Callback m_callback;
};
