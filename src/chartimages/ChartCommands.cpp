#include "chartimages/ChartCommands.h"

#include "common/Trace.h"
#include "charts/CameraIndicators.h"
#include "chartimages/ChartPopupMenus.h"
#include "chartimages/ChartPrinting.h"
#include "charts/ChartSet.h"
#include "notify/CaptureSchedule.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPainter>
#include <QPrinterInfo>
#include <QStyle>
#include <QSvgGenerator>
#include <qcustomplot.h>

namespace {

const QString kImageSuffixes[] = {QStringLiteral("jpg"), QStringLiteral("png"), QStringLiteral("gif"),
                                  QStringLiteral("bmp")};

bool knownImageSuffix(const QString &suffix)
{
    for (const QString &s : kImageSuffixes)
        if (s == suffix)
            return true;
    return false;
}

QString unknownExtensionText(const QString &fileName)
{
    return QStringLiteral("The image was not saved: \"%1\" does not end in .jpg, .png, .gif or .bmp.")
        .arg(QFileInfo(fileName).fileName());
}

// Two overlapping sheets, where the desktop theme has no copy icon.
QIcon copyIcon()
{
    const QIcon themed = QIcon::fromTheme(QStringLiteral("edit-copy"));
    if (!themed.isNull())
        return themed;
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(QColor(40, 40, 40));
    p.setBrush(Qt::white);
    p.drawRect(1, 1, 9, 11);
    p.drawRect(5, 4, 9, 11);
    return QIcon(pixmap);
}

} // namespace

ChartCommands::ChartCommands(ChartSet &charts, GraphImages &images, TSettings &settings, RunState &run,
                             QWidget *window)
    : QObject(window), m_charts(charts), m_images(images), m_settings(settings), m_run(run), m_window(window),
      m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    QStyle *style = QApplication::style();
    const QIcon camera(CameraIndicators::cameraPicture(true));
    CaptureAll = makeAction(QStringLiteral("btnCaptureAll"), tr("Capture All"), camera);
    CaptureAll->setToolTip(QStringLiteral("'Capture now'  ALL graphs marked for capture"));
    CopyTopChart = makeAction(QStringLiteral("btnCopy"), tr("Copy"), copyIcon());
    CopyTopChart->setToolTip(tr("Copy the graph on show to the clipboard"));
    ViewGraphs = makeAction(QStringLiteral("btnViewGraphs"), tr("View graphs"),
                            QIcon::fromTheme(QStringLiteral("image-x-generic"),
                                             style->standardIcon(QStyle::SP_FileDialogContentsView)));
    ViewGraphs->setToolTip(QStringLiteral("View graphs"));
    SaveWindowImage = makeAction(QStringLiteral("CopyAsImage1"), tr("Save Image As..."), QIcon());

    connect(CaptureAll, &QAction::triggered, this, &ChartCommands::btnCaptureAllClick);
    connect(CopyTopChart, &QAction::triggered, this, [this] { copyChart(topChart()); });
    connect(ViewGraphs, &QAction::triggered, this, &ChartCommands::viewGraphsRequested);
    connect(SaveWindowImage, &QAction::triggered, this, &ChartCommands::CopyAsImage1Click);
    updateEnabled();
}

ChartCommands::~ChartCommands() = default;

QAction *ChartCommands::makeAction(const QString &name, const QString &text, const QIcon &icon)
{
    auto *action = new QAction(icon, text, this);
    action->setObjectName(name);
    return action;
}

ChartPopupKind ChartCommands::popupKindOf(int chart)
{
    const ChartDef *def = ChartTable::find(chart);
    const QLatin1String popup(def ? def->popup : "");
    if (popup == QLatin1String("TelnetPopup"))
        return ChartPopupKind::Telnet;
    if (popup == QLatin1String("popupBits"))
        return ChartPopupKind::Bits;
    if (popup == QLatin1String("PopupBitswap"))
        return ChartPopupKind::Bitswap;
    if (popup == QLatin1String("PingPopup"))
        return ChartPopupKind::Ping;
    if (popup == QLatin1String("thomsonbitspopup"))
        return ChartPopupKind::ThomsonBits;
    if (popup == QLatin1String("ThomsonBitSwap"))
        return ChartPopupKind::ThomsonBitswap;
    if (popup == QLatin1String("PopupSepBitswap"))
        return ChartPopupKind::SepBitswap;
    return ChartPopupKind::Chart;
}

bool ChartCommands::printAsksFirst(int chart)
{
    switch (popupKindOf(chart)) {
    case ChartPopupKind::Chart:
    case ChartPopupKind::Telnet:
    case ChartPopupKind::ThomsonBitswap: return true;
    default: return false;
    }
}

void ChartCommands::serve(ChartPopupMenus &menus)
{
    menus.setCommandHandler(ChartCommand::CaptureNow, [this](int chart) { captureNow(chart); });
    menus.setCommandHandler(ChartCommand::ScheduledCapture, [this](int chart) { toggleScheduledCapture(chart); });
    menus.setCommandHandler(ChartCommand::SaveAs, [this](int chart) { saveAs(chart); });
    menus.setCommandHandler(ChartCommand::CopyToClipboard, [this](int chart) {
        // The status-page charts' Copy takes the chart on show, which is the menu's in normal use.
        copyChart(popupKindOf(chart) == ChartPopupKind::Chart ? topChart() : chart);
    });
    menus.setCommandHandler(ChartCommand::PrinterSetup, [this](int) { printerSetup(); });
    menus.setCommandHandler(ChartCommand::Print, [this](int chart) { printChart(chart, printAsksFirst(chart)); });
    // The bits chart's bitswap switches: read by the telnet parsers and the system messages.
    menus.setCommandHandler(ChartCommand::BitSwapBefore, [this](int) { m_settings.Telnet.BitSwapBefore ^= true; });
    menus.setCommandHandler(ChartCommand::BitSwapAfter, [this](int) { m_settings.Telnet.BitSwapAfter ^= true; });
    menus.setCommandHandler(ChartCommand::LogBitSwap, [this](int) { m_settings.Telnet.LogBitswap ^= true; });
    addToneItems(menus);
}

void ChartCommands::addToneItems(ChartPopupMenus &menus)
{
    struct Items {
        const char *popup, *saveAs, *copy, *setup, *print;
    };
    const Items items[] = {
        {"popupBits", "SaveAs2", "Copytoclipboard3", "PrinterSetup3", "Print3"},
        {"PopupBitswap", "mnuBitSwapSaveAs", "mnuBitswapCopy", "mnuBitswapPrinterSetup", "mnuBitswapPrint"},
        {"PopupSepBitswap", "mnuSepSaveAs", "mnuSepCopy", "mnuSepPrinterSetup", "mnuSepPrint"},
        {"thomsonbitspopup", "MenuItem1", "MenuItem3", "mnuPrinterSetup4", "MenuItem6"},
        {"ThomsonBitSwap", "ThomsonSaveAs", "mnu585Copy", "PrinterSetup4", "ThomsonPrint"},
    };
    ChartPopupMenus *m = &menus;
    for (const Items &i : items) {
        QMenu *menu = menus.menu(QLatin1String(i.popup));
        if (!menu)
            continue;
        menu->addSeparator();
        const auto add = [menu](const char *name, const QString &text) {
            QAction *a = menu->addAction(text);
            a->setObjectName(QLatin1String(name));
            return a;
        };
        connect(add(i.saveAs, tr("Save As...")), &QAction::triggered, this, [this, m] { saveAs(m->currentChart()); });
        connect(add(i.copy, tr("Copy To Clipboard")), &QAction::triggered, this,
                [this, m] { copyChart(m->currentChart()); });
        connect(add(i.setup, tr("Printer Setup...")), &QAction::triggered, this, &ChartCommands::printerSetup);
        connect(add(i.print, tr("Print")), &QAction::triggered, this,
                [this, m] { printChart(m->currentChart(), printAsksFirst(m->currentChart())); });
    }

    // Ticked switches of the tone charts' menus, each kept in its setting.
    TSettings &s = m_settings;
    const auto addSwitch = [this, &menus](const char *popup, const char *name, const QString &text, bool &setting) {
        QMenu *menu = menus.menu(QLatin1String(popup));
        if (!menu)
            return;
        QAction *a = menu->addAction(text);
        a->setObjectName(QLatin1String(name));
        a->setCheckable(true);
        bool *flag = &setting;
        connect(menu, &QMenu::aboutToShow, a, [a, flag] { a->setChecked(*flag); });
        connect(a, &QAction::triggered, this, [flag](bool on) { *flag = on; });
    };
    addSwitch("popupBits", "mnuBitsResize", tr("Include captured images in resizing"), s.Telnet.BitsResize);
    addSwitch("popupBits", "mnuBitsWeb", tr("Make available to webserver"), s.WebServer.Bits);
    addSwitch("PopupBitswap", "mnuBitswapWebServer", tr("Make available to webserver"), s.Telnet.BitswapWebserver);
    addSwitch("PopupSepBitswap", "mnuSepWeb", tr("Make available to webserver"), s.WebServer.SepWeb);
    addSwitch("thomsonbitspopup", "Makeavailabletowebserver1", tr("Make available to web server"),
              s._585Telnet.WebServer);
}

void ChartCommands::updateEnabled()
{
    CaptureAll->setEnabled(CaptureSchedule::captureFolderExists(m_settings));
}

int ChartCommands::topChart() const
{
    if (m_topChart)
        return m_topChart();
    // The first chart on show; Chart1 when none is.
    for (const ChartDef &def : ChartTable::charts())
        if (m_charts.isCreated(def.number) && m_charts.chart(def.number)->isVisible())
            return def.number;
    return 1;
}

GraphImageResult ChartCommands::captureNow(int chart)
{
    const GraphImageResult r = m_images.Save(chart, QStringLiteral("Manual"));
    // Asked for by the user: a capture that failed says so.
    if (!r.error.isEmpty())
        showMessage(tr("The capture could not be written: %1").arg(r.error), true);
    return r;
}

QList<int> ChartCommands::btnCaptureAllClick()
{
    QList<int> written;
    if (!CaptureSchedule::captureFolderExists(m_settings))
        return written;
    for (int chart : CaptureSchedule::captureAllCharts(m_settings))
        if (m_images.Save(chart, QStringLiteral("Now")).written())
            written << chart;
    return written;
}

void ChartCommands::toggleScheduledCapture(int chart)
{
    // The menu's tick shows ChartPopupMenus::captureSwitch; the click inverts what it showed.
    if (CaptureSchedule::setCaptureSwitch(m_settings, chart, !ChartPopupMenus::captureSwitch(m_settings, chart)))
        emit captureSwitchChanged(chart);
}

QMimeData *ChartCommands::chartMimeData(int chart)
{
    QCustomPlot *plot = m_charts.chart(chart);
    if (!plot)
        return nullptr;
    const QSize size = ChartPrinting::screenSize(plot, m_settings);
    auto *data = new QMimeData;
    data->setImageData(ChartPrinting::render(plot, size));
    // The vector drawing, for programs that take one.
    QBuffer svg;
    svg.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&svg);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setTitle(plot->yAxis->label());
    {
        QCPPainter painter(&generator);
        if (painter.isActive())
            plot->toPainter(&painter, size.width(), size.height());
    }
    plot->replot(QCustomPlot::rpQueuedReplot);
    if (!svg.data().isEmpty())
        data->setData(QStringLiteral("image/svg+xml"), svg.data());
    return data;
}

void ChartCommands::copyChart(int chart)
{
    if (QMimeData *data = chartMimeData(chart))
        QGuiApplication::clipboard()->setMimeData(data);
}

SaveAsKind ChartCommands::saveAsKind(int chart) const
{
    switch (popupKindOf(chart)) {
    case ChartPopupKind::Chart: return SaveAsKind::ChartPopup;
    case ChartPopupKind::Telnet: return SaveAsKind::TelnetPopup;
    default: return SaveAsKind::Other;
    }
}

QString ChartCommands::startFolder() const
{
    return CaptureSchedule::captureFolderExists(m_settings) ? m_settings.Capture.Folder.trimmed() : m_programFolder;
}

QFileDialog *ChartCommands::pictureDialog(const QString &name)
{
    if (m_dialog)
        m_dialog->close();
    auto *dialog = new QFileDialog(m_window, tr("Save As"), startFolder(), GraphImages::saveAsFilter());
    dialog->setObjectName(name);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setOption(QFileDialog::DontConfirmOverwrite, false);
    dialog->setDefaultSuffix(GraphImages::saveAsDefaultSuffix(m_settings));
    const QStringList filters = GraphImages::saveAsFilter().split(QStringLiteral(";;"));
    dialog->selectNameFilter(filters.value(GraphImages::saveAsFilterIndex(m_settings) - 1));
    m_dialog = dialog;
    return dialog;
}

void ChartCommands::saveAs(int chart)
{
    QFileDialog *dialog = pictureDialog(QStringLiteral("SavePictureDialog1"));
    connect(dialog, &QFileDialog::fileSelected, this, [this, chart](const QString &file) { saveAsChosen(chart, file); });
    dialog->open();
}

bool ChartCommands::saveAsChosen(int chart, const QString &fileName)
{
    m_lastImageFile = fileName;
    if (!knownImageSuffix(QFileInfo(fileName).suffix().toLower())) {
        showMessage(unknownExtensionText(fileName), true);
        return false;
    }
    const GraphImageResult r = m_images.SaveAs(chart, fileName, saveAsKind(chart));
    if (!r.written()) {
        showMessage(tr("The image could not be saved: %1").arg(r.error.isEmpty() ? fileName : r.error), true);
        return false;
    }
    return true;
}

void ChartCommands::printerSetup()
{
    auto *dialog = new QPageSetupDialog(m_printer.get(), m_window);
    dialog->setObjectName(QStringLiteral("PrinterSetupDialog1"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

bool ChartCommands::canPrintDirectly() const
{
    // Without a printer Qt falls back to PDF output, which needs a file name to go anywhere.
    if (!m_printer->outputFileName().isEmpty())
        return true;
    return m_printer->outputFormat() == QPrinter::NativeFormat && !QPrinterInfo::availablePrinters().isEmpty();
}

QImage ChartCommands::printPicture(int chart)
{
    QCustomPlot *plot = m_charts.chart(chart);
    if (!plot)
        return {};
    // The SpeedTouch 585 bits chart is anchored on its page and prints as shown.
    const QSize size = ChartPrinting::printSize(ChartPrinting::screenSize(plot, m_settings), m_settings, chart == 26);
    return ChartPrinting::render(plot, size);
}

bool ChartCommands::printNow(const QImage &picture, QString *error)
{
    return ChartPrinting::printPicture(*m_printer, picture, m_window->logicalDpiX(), m_window->logicalDpiY(), error);
}

void ChartCommands::printChart(int chart, bool askFirst)
{
    const QImage picture = printPicture(chart);
    const auto print = [this, picture] {
        QString error;
        if (!printNow(picture, &error))
            showMessage(tr("The chart could not be printed: %1").arg(error), true);
    };
    if (!askFirst && canPrintDirectly()) {
        print();
        return;
    }
    if (!askFirst) {
        // Nothing to print on: say so, and offer the dialog, which can print to a PDF file.
        const QString text = tr("No printer is installed. Choose \"Print to File (PDF)\" to print the chart to a file.");
        emit systemMessage(text);
        showMessage(text, false);
    }
    auto *dialog = new QPrintDialog(m_printer.get(), m_window);
    dialog->setObjectName(QStringLiteral("PrintDialog1"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, print);
    dialog->open();
}

QRect ChartCommands::screenshotArea(const QSize &window)
{
    return QRect(5, 90, window.width() - 15, window.height() - 150);
}

QImage ChartCommands::ScreenShot(QWidget *window, const QRect &area)
{
    if (!window || area.width() <= 0 || area.height() <= 0)
        return {};
    // Our own widgets drawn, never other programs' pixels.
    return window->grab(area.intersected(window->rect())).toImage();
}

void ChartCommands::CopyAsImage1Click()
{
    QFileDialog *dialog = pictureDialog(QStringLiteral("SavePictureDialog1"));
    dialog->selectFile(QString());
    connect(dialog, &QFileDialog::fileSelected, this, &ChartCommands::screenshotChosen);
    dialog->open();
}

bool ChartCommands::screenshotChosen(const QString &fileName)
{
    m_lastImageFile = fileName;
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (!knownImageSuffix(suffix)) {
        showMessage(unknownExtensionText(fileName), true);
        return false;
    }
    const QImage shot = ScreenShot(m_window, screenshotArea(m_window->size()));
    QString error;
    if (!GraphImages::writeImage(shot, fileName, suffix, &error)) {
        showMessage(tr("The image could not be saved: %1").arg(error), true);
        return false;
    }
    return true;
}

void ChartCommands::showMessage(const QString &text, bool warning)
{
    trace::write(QStringLiteral("box"), text);
    emit messageShown(text);
    auto *box = new QMessageBox(warning ? QMessageBox::Warning : QMessageBox::Information,
                                QStringLiteral("Veltrano 6.3"), text, QMessageBox::Ok, m_window);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}
