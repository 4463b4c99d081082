#include "widgets/ConfirmBox.h"

#include "common/Trace.h"

#include <QMessageBox>

namespace confirmbox {

QMessageBox *ask(QWidget *parent, const QString &objectName, const QString &text, const QPoint &at,
                 std::function<void()> onYes, std::function<void()> onNo)
{
    auto *box = new QMessageBox(QMessageBox::Question, QStringLiteral("Veltrano 6.3"), text,
                                QMessageBox::Yes | QMessageBox::Cancel, parent);
    box->setObjectName(objectName);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setDefaultButton(QMessageBox::Cancel);
    box->move(at);
    QObject::connect(box, &QMessageBox::finished, box, [box, onYes, onNo](int) {
        if (box->standardButton(box->clickedButton()) == QMessageBox::Yes) {
            if (onYes)
                onYes();
        } else if (onNo) {
            onNo();
        }
    });
    trace::write(QStringLiteral("box"), text);
    box->open();
    return box;
}

QMessageBox *inform(QWidget *parent, const QString &objectName, const QString &text)
{
    auto *box = new QMessageBox(QMessageBox::Information, QStringLiteral("Veltrano 6.3"), text, QMessageBox::Ok, parent);
    box->setObjectName(objectName);
    box->setAttribute(Qt::WA_DeleteOnClose);
    trace::write(QStringLiteral("box"), text);
    box->open();
    return box;
}

} // namespace confirmbox
