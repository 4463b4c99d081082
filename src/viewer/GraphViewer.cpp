#include "viewer/GraphViewer.h"

#include "common/Trace.h"
#include "chartimages/GraphImages.h"
#include "viewer/ImageFileOps.h"
#include "widgets/RowsWithinViewDelegate.h"

#include <QAction>
#include <QClipboard>
#include <QDateTime>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

GraphViewer::GraphViewer(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(caption());
    resize(933, 419);
    setMinimumSize(868, 402);

    m_dirs = new QFileSystemModel(this);
    m_dirs->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    m_dirs->setReadOnly(true);
    m_dirs->setRootPath(QStringLiteral("/"));
    // The tree is read in the background: keep the open folder in view as it fills.
    // Folders are listed and sorted in the background, which moves rows about:
    // keep the open folder in view until the user moves the tree himself.
    connect(m_dirs, &QFileSystemModel::directoryLoaded, this, &GraphViewer::keepFolderInView);
    connect(m_dirs, &QAbstractItemModel::layoutChanged, this, &GraphViewer::keepFolderInView);
    connect(m_dirs, &QAbstractItemModel::rowsInserted, this, &GraphViewer::keepFolderInView);
    m_files = new QFileSystemModel(this);
    // Files only (links to files included, broken links and folders not), by name filter.
    m_files->setFilter(QDir::Files | QDir::NoDotAndDotDot);
    m_files->setNameFilters(ImageFileOps::nameFilters());
    m_files->setNameFilterDisables(false);
    m_files->setReadOnly(true);
    connect(m_files, &QFileSystemModel::directoryLoaded, this, [this](const QString &path) {
        if (path != m_folder)
            return;
        if (m_newestWanted)
            selectNewest();
        emit listingReady();
    });

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto *splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setHandleWidth(7);
    splitter->setOpaqueResize(true);
    outer->addWidget(splitter, 1);

    auto *panel2 = new QWidget(splitter);
    panel2->setObjectName(QStringLiteral("Panel2"));
    panel2->setMinimumWidth(250);
    auto *left = new QVBoxLayout(panel2);
    LsDirTreeCombo281 = new QTreeView(panel2);
    LsDirTreeCombo281->setObjectName(QStringLiteral("LsDirTreeCombo281"));
    LsDirTreeCombo281->setAccessibleName(tr("Folders"));
    LsDirTreeCombo281->setModel(m_dirs);
    for (int column = 1; column < m_dirs->columnCount(); ++column)
        LsDirTreeCombo281->hideColumn(column);
    LsDirTreeCombo281->setHeaderHidden(true);
    LsDirTreeCombo281->setEditTriggers(QAbstractItemView::NoEditTriggers);
    LsDirTreeCombo281->setMaximumHeight(240);
    left->addWidget(LsDirTreeCombo281);
    connect(LsDirTreeCombo281->verticalScrollBar(), &QAbstractSlider::actionTriggered, this,
            [this] { m_keepFolderInView = false; });
    connect(LsDirTreeCombo281, &QAbstractItemView::pressed, this, [this] { m_keepFolderInView = false; });
    // The parent folder's entry, above the images of the folder.
    btnUpOneLevel = new QPushButton(QStringLiteral(" Up one level"), panel2);
    btnUpOneLevel->setObjectName(QStringLiteral("btnUpOneLevel"));
    btnUpOneLevel->setFlat(true);
    btnUpOneLevel->setStyleSheet(QStringLiteral("text-align: left"));
    left->addWidget(btnUpOneLevel);
    LsFilelistView281 = new QListView(panel2);
    LsFilelistView281->setObjectName(QStringLiteral("LsFilelistView281"));
    LsFilelistView281->setAccessibleName(tr("Graph images"));
    LsFilelistView281->setModel(m_files);
    LsFilelistView281->setSelectionMode(QAbstractItemView::ExtendedSelection);
    LsFilelistView281->setEditTriggers(QAbstractItemView::NoEditTriggers);
    LsFilelistView281->setContextMenuPolicy(Qt::CustomContextMenu);
    // Captures of one minute differ only at the end ("_2", "_3"): a name too
    // long for the list loses its middle, never its end.
    LsFilelistView281->setItemDelegate(new RowsWithinViewDelegate(LsFilelistView281));
    LsFilelistView281->setTextElideMode(Qt::ElideMiddle);
    left->addWidget(LsFilelistView281, 1);
    btnClose = new QPushButton(tr("Close"), panel2);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    left->addWidget(btnClose, 0, Qt::AlignHCenter);
    splitter->addWidget(panel2);

    m_scroll = new QScrollArea(splitter);
    m_scroll->setObjectName(QStringLiteral("ScrollBox1"));
    m_scroll->setAccessibleName(tr("Graph image"));
    Image1 = new QLabel(m_scroll);
    Image1->setObjectName(QStringLiteral("Image1"));
    // The picture is fitted to the pane, so the pane never needs to scroll.
    Image1->setAlignment(Qt::AlignCenter);
    Image1->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    m_scroll->setWidgetResizable(true);
    m_scroll->viewport()->installEventFilter(this);
    Image1->setAccessibleName(tr("Selected graph image"));
    Image1->setContextMenuPolicy(Qt::CustomContextMenu);
    m_scroll->setWidget(Image1);
    splitter->addWidget(m_scroll);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({250, 683});

    auto *bar = new QStatusBar(this);
    bar->setObjectName(QStringLiteral("StatusBar1"));
    for (int i = 0; i < 2; ++i) {
        m_panels[i] = new QLabel(bar);
        m_panels[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        m_panels[i]->setMinimumWidth(i == 0 ? 550 : 50);
        bar->addWidget(m_panels[i], i == 0 ? 1 : 0);
    }
    outer->addWidget(bar);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    const auto add = [this](const QString &name, const QString &text, const QKeySequence &keys) {
        auto *action = new QAction(text, this);
        action->setObjectName(name);
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action); // the keys work without the menu
        PopupMenu1->addAction(action);
        return action;
    };
    SaveAs1 = add(QStringLiteral("SaveAs1"), tr("Save As..."), QKeySequence::SaveAs);
    Copy1 = add(QStringLiteral("Copy1"), tr("Copy"), QKeySequence::Copy);
    PopupMenu1->addSeparator();
    mnuDelete = add(QStringLiteral("mnuDelete"), tr("Delete"), QKeySequence::Delete);
    Rename1 = add(QStringLiteral("Rename1"), tr("Rename"), QKeySequence(Qt::Key_F2));
    PopupMenu1->addSeparator();
    SelectAll1 = add(QStringLiteral("SelectAll1"), tr("Select All"), QKeySequence::SelectAll);
    PopupMenu1->addSeparator();
    Refreshlist1 = add(QStringLiteral("Refreshlist1"), tr("Refresh list"), QKeySequence::Refresh);

    connect(btnClose, &QPushButton::clicked, this, &GraphViewer::btnCloseClick);
    connect(btnUpOneLevel, &QPushButton::clicked, this, &GraphViewer::upOneLevel);
    connect(LsDirTreeCombo281->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &GraphViewer::LsDirTreeCombo281PathChange);
    connect(LsFilelistView281->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &GraphViewer::LsFilelistView281ItemChange);
    connect(LsFilelistView281, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { popupAt(LsFilelistView281->viewport(), pos); });
    connect(Image1, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) { popupAt(Image1, pos); });
    connect(PopupMenu1, &QMenu::aboutToShow, this, &GraphViewer::PopupMenu1Popup);
    connect(SaveAs1, &QAction::triggered, this, &GraphViewer::SaveAs1Click);
    connect(Copy1, &QAction::triggered, this, &GraphViewer::Copy1Click);
    connect(mnuDelete, &QAction::triggered, this, &GraphViewer::mnuDeleteClick);
    connect(Rename1, &QAction::triggered, this, &GraphViewer::Rename1Click);
    connect(SelectAll1, &QAction::triggered, this, &GraphViewer::SelectAll1Click);
    connect(Refreshlist1, &QAction::triggered, this, &GraphViewer::FormShow);
    setTabOrder(LsDirTreeCombo281, LsFilelistView281);
    setTabOrder(LsFilelistView281, btnClose);
    setTabOrder(btnClose, m_scroll);
    PopupMenu1Popup();
}

QRect GraphViewer::placement(const QRect &mainWindow, int viewerWidth, int screenWidth)
{
    int left = mainWindow.left() + 20;
    if (left + viewerWidth > screenWidth - 50)
        left = screenWidth - viewerWidth - 50;
    return QRect(left, mainWindow.top() + 50, viewerWidth, mainWindow.height() - 48);
}

void GraphViewer::setStartPlaces(std::function<QString()> captureFolder, std::function<QString()> lastPictureFile)
{
    m_captureFolder = std::move(captureFolder);
    m_lastPictureFile = std::move(lastPictureFile);
}

void GraphViewer::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    FormShow();
}

void GraphViewer::FormShow()
{
    const QString capture = m_captureFolder ? m_captureFolder().trimmed() : QString();
    const QString last = m_lastPictureFile ? m_lastPictureFile() : QString();
    if (!capture.isEmpty() && QFileInfo(capture).isDir())
        openFolder(capture);
    else if (!last.isEmpty() && QFileInfo(last).isFile())
        openFolder(QFileInfo(last).absolutePath());
    else if (!m_folder.isEmpty())
        openFolder(m_folder); // re-read where the tree stands
    clearImage();
    // The latest capture is what one opens the viewer for.
    m_newestWanted = !m_folder.isEmpty();
    if (m_newestWanted && !listedFiles().isEmpty())
        selectNewest();
}

void GraphViewer::selectNewest()
{
    m_newestWanted = false;
    QString newest;
    QDateTime newestTime;
    for (const QString &name : listedFiles()) {
        const QDateTime written = QFileInfo(QDir(m_folder).filePath(name)).lastModified();
        if (newest.isEmpty() || written > newestTime || (written == newestTime && name > newest)) {
            newest = name;
            newestTime = written;
        }
    }
    if (newest.isEmpty())
        return;
    selectFile(newest);
    LsFilelistView281->scrollTo(LsFilelistView281->currentIndex());
}

void GraphViewer::openFolder(const QString &folder)
{
    const QString path = QFileInfo(folder).absoluteFilePath();
    const QModelIndex index = m_dirs->index(path);
    if (index.isValid()) {
        if (LsDirTreeCombo281->currentIndex() != index)
            LsDirTreeCombo281->setCurrentIndex(index);
        m_keepFolderInView = true;
        LsDirTreeCombo281->scrollTo(index, QAbstractItemView::PositionAtCenter);
        keepFolderInView();
    }
    if (path != m_folder) {
        m_folder = path;
        LsFilelistView281->setRootIndex(m_files->setRootPath(path));
    }
    setStatus(0, QDir::toNativeSeparators(m_folder));
}

void GraphViewer::upOneLevel()
{
    QDir folder(m_folder);
    if (!m_folder.isEmpty() && folder.cdUp()) {
        openFolder(folder.absolutePath());
        clearImage();
    }
}

void GraphViewer::keepFolderInView()
{
    if (!m_keepFolderInView || m_scrollPending)
        return;
    // Once the view has taken the new rows in; one scroll for a burst of changes.
    m_scrollPending = true;
    QTimer::singleShot(0, this, [this] {
        m_scrollPending = false;
        if (m_keepFolderInView && LsDirTreeCombo281->currentIndex().isValid())
            LsDirTreeCombo281->scrollTo(LsDirTreeCombo281->currentIndex(), QAbstractItemView::PositionAtCenter);
    });
}

void GraphViewer::LsDirTreeCombo281PathChange()
{
    const QString path = m_dirs->filePath(LsDirTreeCombo281->currentIndex());
    if (!path.isEmpty() && path != m_folder) {
        m_folder = path;
        LsFilelistView281->setRootIndex(m_files->setRootPath(path));
    }
    setStatus(0, QDir::toNativeSeparators(m_folder));
    clearImage();
}

QStringList GraphViewer::listedFiles() const
{
    QStringList names;
    const QModelIndex root = LsFilelistView281->rootIndex();
    for (int row = 0; row < m_files->rowCount(root); ++row)
        names << m_files->fileName(m_files->index(row, 0, root));
    names.sort();
    return names;
}

QStringList GraphViewer::selectedFiles() const
{
    QStringList paths;
    for (const QModelIndex &index : LsFilelistView281->selectionModel()->selectedIndexes())
        if (index.column() == 0 && index.parent() == LsFilelistView281->rootIndex())
            paths << m_files->filePath(index);
    paths.sort();
    return paths;
}

void GraphViewer::selectFile(const QString &name)
{
    const QModelIndex index = m_files->index(QDir(m_folder).filePath(name));
    LsFilelistView281->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect
                                                                  | QItemSelectionModel::Rows);
}

QString GraphViewer::selectedPath() const
{
    const QStringList paths = selectedFiles();
    return paths.size() == 1 ? paths.first() : QString();
}

void GraphViewer::LsFilelistView281ItemChange()
{
    setStatus(0, QDir::toNativeSeparators(m_folder));
    const QString path = selectedPath();
    if (path.isEmpty())
        return;
    setStatus(0, QDir::toNativeSeparators(path));
    QString error;
    const QImage image = ImageFileOps::load(path, &error);
    if (image.isNull()) {
        // Gone since it was listed, or not a picture after all: say so, show nothing.
        clearImage();
        setStatus(0, QStringLiteral("%1: %2").arg(QFileInfo(path).fileName(), error));
        return;
    }
    m_image = image;
    fitImage();
}

void GraphViewer::clearImage()
{
    m_image = QImage();
    Image1->clear();
}

void GraphViewer::fitImage()
{
    if (m_image.isNull()) {
        Image1->clear();
        return;
    }
    const QSize room = m_scroll->viewport()->size();
    if (room.isEmpty())
        return; // fitted once the pane has its size
    Image1->setPixmap(QPixmap::fromImage(m_image.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

bool GraphViewer::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_scroll->viewport() && event->type() == QEvent::Resize)
        fitImage();
    return QWidget::eventFilter(watched, event);
}

void GraphViewer::popupAt(QWidget *widget, const QPoint &pos)
{
    PopupMenu1->popup(widget->mapToGlobal(pos));
}

void GraphViewer::PopupMenu1Popup()
{
    const int selected = int(selectedFiles().size());
    SaveAs1->setEnabled(selected == 1 && !m_image.isNull());
    Copy1->setEnabled(selected == 1 && !m_image.isNull());
    Rename1->setEnabled(selected == 1);
    mnuDelete->setEnabled(selected >= 1);
}

void GraphViewer::SaveAs1Click()
{
    PopupMenu1Popup();
    if (!SaveAs1->isEnabled())
        return;
    auto *dialog = new QFileDialog(this, tr("Save As"), QDir(m_folder).filePath(QFileInfo(selectedPath()).fileName()),
                                   GraphImages::saveAsFilter());
    dialog->setObjectName(QStringLiteral("SavePictureDialog1"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setDefaultSuffix(QStringLiteral("jpg"));
    connect(dialog, &QFileDialog::fileSelected, this, &GraphViewer::saveAsChosen);
    dialog->open();
}

bool GraphViewer::saveAsChosen(const QString &fileName)
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (m_image.isNull()) {
        showMessage(tr("There is no picture to save."), true);
        return false;
    }
    if (suffix != QLatin1String("jpg") && suffix != QLatin1String("png") && suffix != QLatin1String("gif")
        && suffix != QLatin1String("bmp")) {
        showMessage(QStringLiteral("The image was not saved: \"%1\" does not end in .jpg, .png, .gif or .bmp.")
                        .arg(QFileInfo(fileName).fileName()),
                    true);
        return false;
    }
    QString error;
    if (!GraphImages::writeImage(m_image, fileName, suffix, &error)) {
        showMessage(tr("The image could not be saved: %1").arg(error), true);
        return false;
    }
    return true;
}

void GraphViewer::Copy1Click()
{
    if (!m_image.isNull())
        QGuiApplication::clipboard()->setImage(m_image);
}

void GraphViewer::mnuDeleteClick()
{
    const QStringList paths = selectedFiles();
    if (paths.isEmpty() || m_question)
        return;
    const QString text = paths.size() == 1
                             ? tr("Move %1 to the trash?").arg(QFileInfo(paths.first()).fileName())
                             : tr("Move these %1 files to the trash?").arg(paths.size());
    auto *box = new QMessageBox(QMessageBox::Question, caption(), text, QMessageBox::Yes | QMessageBox::No, this);
    box->setObjectName(QStringLiteral("DeleteConfirmBox"));
    box->setDefaultButton(QMessageBox::No);
    box->setAttribute(Qt::WA_DeleteOnClose);
    connect(box, &QMessageBox::finished, this, [this, box, paths](int) {
        if (box->clickedButton() == box->button(QMessageBox::Yes))
            deleteConfirmed(paths);
    });
    m_question = box;
    trace::write(QStringLiteral("box"), text);
    emit messageShown(text);
    box->open();
}

void GraphViewer::deleteConfirmed(const QStringList &paths)
{
    clearImage();
    const QStringList failures = ImageFileOps::moveToTrash(paths);
    if (!failures.isEmpty())
        showMessage(tr("Not moved to the trash:\n%1").arg(failures.join(QLatin1Char('\n'))), true);
}

void GraphViewer::Rename1Click()
{
    const QString path = selectedPath();
    if (path.isEmpty() || m_question)
        return;
    auto *dialog = new QInputDialog(this);
    dialog->setObjectName(QStringLiteral("RenameDialog"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(tr("Rename"));
    dialog->setLabelText(tr("New name for %1:").arg(QFileInfo(path).fileName()));
    dialog->setTextValue(QFileInfo(path).fileName());
    connect(dialog, &QInputDialog::textValueSelected, this, &GraphViewer::renameTo);
    m_question = dialog;
    dialog->open();
}

bool GraphViewer::renameTo(const QString &newName)
{
    const QString path = selectedPath();
    QString error;
    if (path.isEmpty() || !ImageFileOps::rename(path, newName, &error)) {
        showMessage(tr("The file was not renamed: %1").arg(path.isEmpty() ? tr("no file is selected.") : error), true);
        return false;
    }
    return true;
}

void GraphViewer::SelectAll1Click() { LsFilelistView281->selectAll(); }

void GraphViewer::btnCloseClick() { close(); }

void GraphViewer::setStatus(int panel, const QString &text) { m_panels[panel]->setText(text); }

QString GraphViewer::statusText(int panel) const { return panel >= 0 && panel < 2 ? m_panels[panel]->text() : QString(); }

void GraphViewer::showMessage(const QString &text, bool warning)
{
    trace::write(QStringLiteral("box"), text);
    emit messageShown(text);
    auto *box = new QMessageBox(warning ? QMessageBox::Warning : QMessageBox::Information, caption(), text,
                                QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}
