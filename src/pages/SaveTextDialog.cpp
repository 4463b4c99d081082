#include "pages/SaveTextDialog.h"

#include <QFileDialog>

namespace savetextdialog {

QFileDialog *open(QWidget *parent, const QString &folder, const QString &filter, const QString &defaultSuffix,
                  std::function<void(const QString &file)> chosen)
{
    auto *dialog = new QFileDialog(parent, QString(), folder, filter);
    dialog->setObjectName(QStringLiteral("SaveDialog1"));
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setDefaultSuffix(defaultSuffix);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(dialog, &QFileDialog::fileSelected, dialog, std::move(chosen));
    dialog->open();
    return dialog;
}

} // namespace savetextdialog
