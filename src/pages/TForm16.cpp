#include "pages/TForm16.h"

#include "acquisition/TelnetScriptRunner.h"
#include "acquisition/TerminalCommands.h"
#include "common/RegularFile.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

TForm16::TForm16(const QString &scriptFileName, TelnetScriptRunner &scripts, QWidget *parent)
    : QDialog(parent), m_fileName(scriptFileName), m_scripts(scripts)
{
    setObjectName(QStringLiteral("TForm16"));
    setWindowTitle(QFileInfo(scriptFileName).fileName());
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(true);
    auto *layout = new QVBoxLayout(this);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setAccessibleName(tr("Script"));
    Memo1->setFont(QFont(QStringLiteral("Monospace")));
    layout->addWidget(Memo1);
    auto *buttons = new QHBoxLayout;
    Button1 = new QPushButton(QStringLiteral("Execute"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2 = new QPushButton(QStringLiteral("Cancel"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    layout->addLayout(buttons);
    resize(480, 360);
    connect(Button1, &QPushButton::clicked, this, &TForm16::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    FormShow();
}

void TForm16::FormShow()
{
    QByteArray text;
    QString why;
    const bool ok = RegularFile::readAll(m_fileName, TelnetScriptRunner::kMaxScriptBytes, &text, &why);
    if (ok)
        Memo1->setPlainText(QString::fromLatin1(text));
    else
        Memo1->setPlainText(tr("The script cannot be read: %1").arg(why));
    Button1->setEnabled(ok);
}

void TForm16::Button1Click()
{
    Button1->setEnabled(false);
    QPointer<TForm16> self(this);
    connect(&m_scripts, &TelnetScriptRunner::finished, this, [self] {
        if (self)
            self->accept();
    });
    if (!m_scripts.sendCommands(terminalcommands::scriptCommands(Memo1->toPlainText()), false, true))
        accept();
}

void TForm16::btnMacroClick(QWidget *mainWindow, TelnetScriptRunner &scripts, QString &scriptFileName,
                            const QString &programFolder)
{
    auto *dialog = new QFileDialog(mainWindow, QString(), scriptFileName.isEmpty() ? programFolder : scriptFileName,
                                   QStringLiteral("Script Files (*.sh)"));
    dialog->setObjectName(QStringLiteral("OpenDialog4"));
    dialog->setDefaultSuffix(QStringLiteral("sh"));
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(dialog, &QFileDialog::fileSelected, mainWindow,
                     [mainWindow, &scripts, &scriptFileName](const QString &file) {
                         scriptFileName = file;
                         auto *viewer = new TForm16(file, scripts, mainWindow);
                         viewer->move(mainWindow->geometry().topLeft() + QPoint(100, 50));
                         viewer->open();
                     });
    dialog->open();
}
