#pragma once
// The Configuration dialog's "Router Search Text" page: fetch the router's
// status page, show it rendered (Viewer) or as text (RichEdit1), teach each
// figure by selecting it and pressing its Mark button, and test what the
// polling cycle will read. Positions count in the same page text the polling
// cycle searches (FigureSearch::preparePage), so a taught figure is read by
// the next poll.
//
// Fetching never blocks: the requests are bounded by the client's time-outs
// and the page goes on when they answer; a fetch that gives nothing shows the
// "Connection Failed" page.
#include "acquisition/FigureTeaching.h"
#include "acquisition/RunState.h"
#include "configuration/RenderedPageMap.h"
#include "configuration/SourcePaneText.h"
#include "settings/TSettings.h"

#include <QWidget>
#include <functional>
#include <optional>

class QGroupBox;
class QLabel;
class QMessageBox;
class QPlainTextEdit;
class QPushButton;
class QVBoxLayout;
class PageView;
class RouterHttpClient;
struct HttpResult;

// The log-in settings as the dialog's edits and boxes hold them.
struct RouterLoginValues {
    QString Login;    // edLoginURL
    QString Username; // edUsername
    QString Password; // edPassword
    QString LogOut;   // edLogoutURL
    bool cbLogin = true;
    bool cbLogOut = false;
    bool UsernameNotRequired = false; // cbUsernameNotRequired
};

class RouterSearchTextPage : public QWidget {
    Q_OBJECT
public:
    // What the page needs of the dialog around it; each may be left empty.
    struct Links {
        // The seven log-in settings, copied into the settings before a fetch.
        // Empty: the settings as they stand are used.
        std::function<RouterLoginValues()> loginValues;
        // rbST585 of the dialog's router page; empty: [Router] ST585.
        std::function<bool()> st585Checked;
        // A user figure's label is now label: the dialog puts it into
        // edUserlabel (figure 1) or edUserlabel2 (figure 2).
        std::function<void(int figure, const QString &label)> userLabelChosen;
        // The averaging controls of a user figure (cbUser1Avg, spUser1Avg,
        // Label74; figure 2 cbUser2Avg, spUser2Avg, Label75) are enabled.
        std::function<void(int figure, bool enabled)> userAveragingEnabled;
        // A question the page asked (the DG834 detection) has stored its answer in the settings: the
        // dialog announces it, so every view of those settings follows.
        std::function<void()> settingsAnswered;
    };

    // client: the HTTP client to fetch with; null: the page has its own.
    RouterSearchTextPage(TSettings &settings, RunState &run, Links links = {}, RouterHttpClient *client = nullptr,
                         QWidget *parent = nullptr);
    ~RouterSearchTextPage() override;

    static const QString &connectionFailedPage();
    static const QString &loginMissingText();
    static const QString &credentialsMissingText();
    static const QString &refreshSourceText();

    // Handlers.
    void btnGetPageClick();
    void btnTestClick();
    void btnRxNoiseClick() { markFigure(TaughtFigure::RxNoise); }
    void btnTxNoiseClick() { markFigure(TaughtFigure::TxNoise); }
    void btnSyncClick() { markFigure(TaughtFigure::RxSync); }
    void btnTxSyncClick() { markFigure(TaughtFigure::TxSync); }
    void btnUserClick() { markFigure(TaughtFigure::User1); }
    void btnUser2Click() { markFigure(TaughtFigure::User2); }
    // The page's part of showing the dialog's TabSheet2: the log-in settings
    // copied in; the four standard Mark buttons only without a built-in search.
    void TabSheet2Show();
    // Label38 and Label39 name the user figure whose button carries a label of
    // the user's own; beside the standard labels they are not needed.
    void showFigureNotes();
    // The page's part of cbUseSourceClick / cbLoopbackClick: checked is the
    // clicked box, otherChecked the other one. Shows the source pane or the
    // rendered view and empties them.
    void sourceOptionChanged(bool checked, bool otherChecked);
    // ViewerMouseUp, run on every selection change of the rendered view (mouse
    // or keyboard): selects the source characters of the selection in RichEdit1.
    void ViewerSelectionChanged();

    // Places the dialog's source option boxes (cbUseSource, cbLoopback) on the
    // page, below the Mark buttons and before the page in the keyboard order.
    void addSourceOptions(const QList<QWidget *> &boxes);

    bool isFetching() const { return m_fetch.has_value(); }
    // The text RichEdit1 shows and taught positions count in.
    const QString &pageText() const { return m_source.page(); }
    // Selects [start, start + length) of pageText() in RichEdit1.
    void selectSource(int start, int length);
    // Bound of each request's transfer; the client's own bound by default.
    void setTransferTimeoutMs(int ms) { m_transferTimeoutMs = ms; }

    QPushButton *btnGetPage = nullptr;
    QPushButton *btnTest = nullptr;
    QGroupBox *GroupBox1 = nullptr; // "Mark "
    QPushButton *btnRxNoise = nullptr;
    QPushButton *btnTxNoise = nullptr;
    QPushButton *btnSync = nullptr;
    QPushButton *btnTxSync = nullptr;
    QPushButton *btnUser = nullptr;
    QPushButton *btnUser2 = nullptr;
    QLabel *Label5 = nullptr;  // Rx noise
    QLabel *Label13 = nullptr; // Tx noise
    QLabel *Label6 = nullptr;  // Rx sync
    QLabel *Label37 = nullptr; // Tx sync
    QLabel *Label16 = nullptr; // user figure 1
    QLabel *Label33 = nullptr; // user figure 2
    QLabel *Label38 = nullptr; // "User-defined 1" beside a renamed btnUser
    QLabel *Label39 = nullptr; // "User-defined 2" beside a renamed btnUser2
    PageView *Viewer = nullptr;
    QPlainTextEdit *RichEdit1 = nullptr;

signals:
    // A user figure's label was applied: the main window's tab of the figure
    // takes label, its toolbar label toolbarCaption and its chart's left axis
    // axisTitle.
    void userFigureLabelled(int figure, const QString &label, const QString &toolbarCaption,
                            const QString &axisTitle);
    // The main window is to show its first user-figure tab.
    void userFigureTabRequested();
    // A fetch ended; page is false when it gave nothing.
    void fetchFinished(bool page);
    // An information box was shown (its text), for the trace and tests.
    void messageShown(const QString &text);

private:
    enum class FetchKind { GetPage, Test };
    struct Fetch {
        FetchKind kind;
        int attemptsLeft;
        quint64 requestId = 0;
    };

    void copyLoginSettings();
    bool st585() const;
    void startAttempt();
    void onReply(const HttpResult &result);
    void fetchDone(const std::optional<QString> &page);
    void showInViewer(const QString &html);
    // Shows the fetched page and chooses the view by the source options.
    void showPage(const QString &page);
    void setSourceText(const QString &text);
    void detectRouter(const QString &page);
    void updateMarkButtons();
    void setBusy(bool busy);
    QMessageBox *message(const QString &text);

    void markFigure(TaughtFigure figure);
    void acceptMark(TaughtFigure figure, const FigureMark &mark);
    void applyUserLabel(int figure, const QString &value);
    void markSt585(int start, const QString &selected);
    QLabel *resultLabel(TaughtFigure figure) const;
    QPushButton *markButton(TaughtFigure figure) const;
    QString userAxisTitle(int figure) const;

    TSettings &m_settings;
    RunState &m_run;
    Links m_links;
    RouterHttpClient *m_client = nullptr;
    int m_transferTimeoutMs;
    std::optional<Fetch> m_fetch;
    SourcePaneText m_source;
    HtmlToText m_rendered;
    RenderedPageMap m_viewerMap;
    QString m_viewerHtml; // the page as the rendered view holds it
    QVBoxLayout *m_leftColumn = nullptr;
    bool m_mappingSelection = false;
};
