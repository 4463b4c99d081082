#include "configuration/TForm17.h"

#include "common/Clock.h"
#include "configuration/DialogOwner.h"
#include "configuration/DialogPlacement.h"
#include "notify/ImageCleanup.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTimeEdit>

TForm17::TForm17(TSettings &settings, const QString &settingsPath, Messages messages, QWidget *parent)
    : QDialog(parent), m_settings(settings), m_settingsPath(settingsPath), m_messages(std::move(messages))
{
    setObjectName(QStringLiteral("TForm17"));
    setWindowTitle(QStringLiteral("Veltrano - Graph Capture Maintenance"));

    auto check = [this](const char *name, const QString &text) {
        auto *box = new QCheckBox(text, this);
        box->setObjectName(QLatin1String(name));
        return box;
    };
    cbDeleteImages = check("cbDeleteImages", QStringLiteral("Delete files older than "));
    spDays = new QSpinBox(this);
    spDays->setObjectName(QStringLiteral("spDays"));
    spDays->setRange(1, 9999999);
    spDays->setAccessibleName(QStringLiteral("Delete files older than, days"));
    Label1 = new QLabel(QStringLiteral("days"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setBuddy(spDays);
    cbRecycleBin = check("cbRecycleBin", QStringLiteral("Send files to the Recycle Bin"));
    cbDeleteDaily = check("cbDeleteDaily", QStringLiteral("Every day at"));
    DeleteTimePicker = new QTimeEdit(this);
    DeleteTimePicker->setObjectName(QStringLiteral("DeleteTimePicker"));
    DeleteTimePicker->setDisplayFormat(QStringLiteral("HH:mm"));
    DeleteTimePicker->setAccessibleName(QStringLiteral("Daily clean-up time"));
    cbDeleteOnClose = check("cbDeleteOnClose", QStringLiteral("When Veltrano closes"));
    cbListPurged = check("cbListPurged", QStringLiteral("List deleted files in the 'Messages' window"));
    Label4 = new QLabel(
        QStringLiteral("This will delete ALL JPG, GIF, BMP and PNG files from the Capture Folder which are older than"), this);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setWordWrap(true);
    Label4->setMinimumWidth(360);
    btnDeleteNow = new QPushButton(QStringLiteral("Delete Now"), this);
    btnDeleteNow->setObjectName(QStringLiteral("btnDeleteNow"));
    btnDeleteNow->setAutoDefault(false);
    btnClose = new QPushButton(QStringLiteral("Close"), this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    btnClose->setDefault(true);

    auto *grid = new QGridLayout(this);
    auto *age = new QHBoxLayout;
    age->addWidget(cbDeleteImages);
    age->addWidget(spDays);
    age->addWidget(Label1);
    age->addStretch();
    grid->addLayout(age, 0, 0, 1, 2);
    grid->addWidget(cbRecycleBin, 1, 0, 1, 2);
    auto *daily = new QHBoxLayout;
    daily->addWidget(cbDeleteDaily);
    daily->addWidget(DeleteTimePicker);
    daily->addStretch();
    grid->addLayout(daily, 2, 0, 1, 2);
    grid->addWidget(cbDeleteOnClose, 3, 0, 1, 2);
    grid->addWidget(cbListPurged, 4, 0, 1, 2);
    grid->addWidget(Label4, 5, 0, 1, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(btnDeleteNow);
    buttons->addStretch();
    buttons->addWidget(btnClose);
    grid->addLayout(buttons, 6, 0, 1, 2);

    FormCreate();
    connect(spDays, &QSpinBox::valueChanged, this, &TForm17::spDaysChange);
    connect(cbDeleteImages, &QCheckBox::toggled, this, &TForm17::cbDeleteImagesClick);
    connect(cbRecycleBin, &QCheckBox::toggled, this, &TForm17::cbRecycleBinClick);
    connect(btnDeleteNow, &QPushButton::clicked, this, &TForm17::btnDeleteNowClick);
    connect(btnClose, &QPushButton::clicked, this, &TForm17::btnCloseClick);
    spDaysChange();
}

TForm17 *TForm17::open(QWidget *opener, TSettings &settings, const QString &settingsPath, Messages messages)
{
    auto *form = new TForm17(settings, settingsPath, std::move(messages), opener);
    dialogs::openAt(form, opener, QPoint(130, 100));
    return form;
}

TForm17 *TForm17::open(QWidget *opener, DialogOwner &owner)
{
    DialogOwner *main = &owner;
    return open(opener, main->settings(), main->settingsFilePath(), [main](const QString &m) { main->SystemMessage(m); });
}

void TForm17::FormCreate()
{
    const TSettings::CaptureKeys &c = m_settings.Capture;
    cbDeleteImages->setChecked(c.DeleteImages);
    spDays->setValue(c.DeleteDays);
    cbRecycleBin->setChecked(c.Recycle);
    cbDeleteDaily->setChecked(c.DeleteDaily);
    DeleteTimePicker->setTime(c.DeleteTime.isValid() ? c.DeleteTime : QTime(0, 0));
    cbDeleteOnClose->setChecked(c.DeleteOnClose);
    cbListPurged->setChecked(c.ListPurged);
    enableSchedule();
    cbListPurged->setEnabled(m_settings.System.ShowSystem);
}

void TForm17::enableSchedule()
{
    const bool on = cbDeleteImages->isChecked();
    cbDeleteDaily->setEnabled(on);
    cbDeleteOnClose->setEnabled(on);
    DeleteTimePicker->setEnabled(on);
}

QString TForm17::deleteText(const TSettings &s)
{
    const QString suffix = ImageCleanup::imageSuffix(s);
    const int days = s.Capture.DeleteDays;
    return QStringLiteral("Delete ALL %1 (*.%1) files from the folder: '%2' which are older than %3%4")
        .arg(suffix, s.Capture.Folder)
        .arg(days)
        .arg(days == 1 ? QStringLiteral(" day.") : QStringLiteral(" days."));
}

void TForm17::showEvent(QShowEvent *event)
{
    spDaysChange();
    QDialog::showEvent(event);
}

void TForm17::spDaysChange()
{
    m_settings.Capture.DeleteDays = spDays->value();
    Label4->setText(deleteText(m_settings));
    cbListPurged->setEnabled(m_settings.System.ShowSystem);
}

void TForm17::cbDeleteImagesClick()
{
    m_settings.Capture.DeleteImages = cbDeleteImages->isChecked();
    enableSchedule();
}

void TForm17::cbRecycleBinClick() { m_settings.Capture.Recycle = cbRecycleBin->isChecked(); }

void TForm17::btnDeleteNowClick()
{
    // The list switch acts at once, like the other switches the clean-up reads.
    m_settings.Capture.ListPurged = cbListPurged->isChecked();
    const ImageCleanupResult r = ImageCleanup::DeleteFiles(m_settings, Clock::currentDateTime(), m_settingsPath);
    if (m_messages)
        for (const QString &m : r.messages)
            m_messages(m);
}

void TForm17::btnCloseClick() { close(); }

void TForm17::reject()
{
    // Escape is a close attempt like any other: it asks when it must.
    if (m_closeConfirmed)
        QDialog::reject();
    else
        close();
}

bool TForm17::FormCloseQuery()
{
    TSettings::CaptureKeys &c = m_settings.Capture;
    c.DeleteImages = cbDeleteImages->isChecked();
    c.Recycle = cbRecycleBin->isChecked();
    c.DeleteDays = spDays->value();
    c.DeleteTime = DeleteTimePicker->time();
    c.DeleteOnClose = cbDeleteOnClose->isChecked();
    c.DeleteDaily = cbDeleteDaily->isChecked();
    c.ListPurged = cbListPurged->isChecked();
    if (m_closeConfirmed || !isVisible() || !c.DeleteImages || c.DeleteDaily || c.DeleteOnClose || c.DeleteEachCapture)
        return true;
    if (NoScheduleBox)
        return false;
    auto *box = new QMessageBox(QMessageBox::Warning, windowTitle(),
                                QStringLiteral("'Delete files' is selected but no schedule is set."),
                                QMessageBox::Ok | QMessageBox::Cancel, this);
    box->setObjectName(QStringLiteral("NoScheduleBox"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->move(geometry().topLeft() + QPoint(20, 150));
    connect(box, &QMessageBox::finished, this, [this, box](int) {
        NoScheduleBox = nullptr; // answered: the next close attempt asks again
        if (box->standardButton(box->clickedButton()) == QMessageBox::Ok) {
            m_closeConfirmed = true;
            close();
        }
    });
    NoScheduleBox = box;
    box->open();
    return false;
}

void TForm17::closeEvent(QCloseEvent *event)
{
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    event->accept();
    m_closeConfirmed = true;
    QDialog::reject();
}
