#pragma once
// The save dialog of the text panes ("Save As..."): opens without blocking
// the event loop and hands the chosen file name on.
#include <QString>
#include <functional>

class QFileDialog;
class QWidget;

namespace savetextdialog {

// Named SaveDialog1; deleted when closed.
QFileDialog *open(QWidget *parent, const QString &folder, const QString &filter, const QString &defaultSuffix,
                  std::function<void(const QString &file)> chosen);

} // namespace savetextdialog
