#pragma once
// The graph viewer window: a folder tree, the chart images of the chosen
// folder (nothing else is listed), the selected image, and a menu to save it
// in another format, copy it, move files to the trash, rename one file and
// select all. Not modal; every question it asks leaves the event loop alone.
#include <QImage>
#include <QPointer>
#include <QRect>
#include <QWidget>
#include <functional>

class QAction;
class QFileSystemModel;
class QLabel;
class QListView;
class QMenu;
class QPushButton;
class QScrollArea;
class QSplitter;
class QTreeView;

class GraphViewer : public QWidget {
    Q_OBJECT
public:
    explicit GraphViewer(QWidget *parent = nullptr);

    static QString caption() { return QStringLiteral("Veltrano  Graph Viewer"); }
    // Where btnViewGraphsClick puts the viewer: 20 right of the main window
    // (kept 50 clear of the screen's right edge), 50 down, 48 shorter.
    static QRect placement(const QRect &mainWindow, int viewerWidth, int screenWidth);

    // The folder opened on each showing when it exists ([Capture] Folder)
    // and, failing that, the last picture file named in the main window.
    void setStartPlaces(std::function<QString()> captureFolder, std::function<QString()> lastPictureFile);

    // Opens a folder in the tree and lists its images.
    void openFolder(const QString &folder);
    // " Up one level": the parent of the folder shown.
    void upOneLevel();
    QString currentFolder() const { return m_folder; }
    // The names listed (once the folder has been read).
    QStringList listedFiles() const;
    QStringList selectedFiles() const;
    void selectFile(const QString &name);
    const QImage &shownImage() const { return m_image; }
    QString statusText(int panel) const;

    // Handlers.
    void FormShow();
    void LsDirTreeCombo281PathChange();
    void LsFilelistView281ItemChange();
    void PopupMenu1Popup();
    void SaveAs1Click();
    bool saveAsChosen(const QString &fileName);
    void Copy1Click();
    void mnuDeleteClick();
    // After the question: moves the files to the trash, reports failures.
    void deleteConfirmed(const QStringList &paths);
    void Rename1Click();
    bool renameTo(const QString &newName);
    void SelectAll1Click();
    void btnCloseClick();

    QTreeView *LsDirTreeCombo281 = nullptr;
    QListView *LsFilelistView281 = nullptr;
    QPushButton *btnClose = nullptr;
    QPushButton *btnUpOneLevel = nullptr; // " Up one level"
    QLabel *Image1 = nullptr;
    QMenu *PopupMenu1 = nullptr;
    QAction *SaveAs1 = nullptr;
    QAction *Copy1 = nullptr;
    QAction *mnuDelete = nullptr;
    QAction *Rename1 = nullptr;
    QAction *SelectAll1 = nullptr;
    QAction *Refreshlist1 = nullptr;

signals:
    // A message box was shown with this text.
    void messageShown(const QString &text);
    // The folder's listing has been read.
    void listingReady();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void clearImage();
    // Scrolls the tree to the open folder while it is being filled.
    void keepFolderInView();
    // The picture shrunk or grown to the pane, its proportions kept.
    void fitImage();
    // Selects (and so shows) the most recently written image listed.
    void selectNewest();
    void setStatus(int panel, const QString &text);
    void showMessage(const QString &text, bool warning);
    QString selectedPath() const;
    void popupAt(QWidget *widget, const QPoint &pos);

    QFileSystemModel *m_dirs = nullptr;
    QFileSystemModel *m_files = nullptr;
    QLabel *m_panels[2] = {};
    QScrollArea *m_scroll = nullptr;
    QString m_folder;
    QImage m_image;
    std::function<QString()> m_captureFolder;
    std::function<QString()> m_lastPictureFile;
    QPointer<QWidget> m_question;
    bool m_newestWanted = false; // a showing waits for its folder's listing
    bool m_keepFolderInView = false;
    bool m_scrollPending = false;
};
