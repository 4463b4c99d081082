#include "mainwindow/MainToolBars.h"

#include "mainwindow/ScheduleRunButton.h"
#include "widgets/ArrowKeysMoveFocus.h"
#include "widgets/SplitMenuButton.h"

#include <QAction>
#include <QButtonGroup>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>
#include <initializer_list>
#include <tuple>
#include <utility>

namespace {

// The toolbar keeps every button at its natural size; what does not fit
// the window's width goes to the toolbar's overflow menu (») instead of
// being squeezed until its text is cut.
QToolBar *addFixedToolBar(QMainWindow *window, const QString &title, const char *name)
{
    auto *bar = new QToolBar(title, window);
    bar->setObjectName(QString::fromLatin1(name));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->toggleViewAction()->setVisible(false);
    bar->setContextMenuPolicy(Qt::PreventContextMenu);
    window->addToolBar(Qt::TopToolBarArea, bar);
    return bar;
}

} // namespace

MainToolBars MainToolBars::build(QMainWindow *window, const TSettings &settings,
                                 const std::array<QAction *, 3> &imageCommands, const ConfigureGraphsHost &host)
{
    MainToolBars t;
    t.ToolBar1 = addFixedToolBar(window, QObject::tr("Toolbar"), "ToolBar1");
    auto button = [&t](const char *name, const QString &text, const QString &hint) {
        auto *b = new QPushButton(text, t.ToolBar1);
        b->setObjectName(QString::fromLatin1(name));
        if (!hint.isEmpty())
            b->setToolTip(hint);
        return b;
    };
    t.btnStart = button("btnStart", QObject::tr("Run"), QString());
    t.btnStop = button("btnStop", QObject::tr("Stop"), QString());
    // Grouped: exactly one of Run and Stop is down.
    auto *runStop = new QButtonGroup(window);
    for (QPushButton *b : {t.btnStart, t.btnStop}) {
        b->setCheckable(true);
        runStop->addButton(b);
    }
    runStop->setExclusive(true);
    auto *arrows = new ArrowKeysMoveFocus(runStop);
    arrows->watch(t.btnStart);
    arrows->watch(t.btnStop);
    t.btnStop->setChecked(true);
    t.btnSchedRun = new ScheduleRunButton(settings, t.ToolBar1);
    t.btnSave = button("btnSave", QObject::tr("Save"), QObject::tr("Save configuration"));
    t.btnOnTop = button("btnOnTop", QObject::tr("On top"), QObject::tr("Stay on top"));
    t.btnOnTop->setCheckable(true);
    // "Configure" opens the dialog; its arrow opens the "Configure Graphs" pages.
    t.btnConfigure = new SplitMenuButton(t.ToolBar1);
    t.btnConfigure->setObjectName(QStringLiteral("btnConfigure"));
    t.btnConfigure->setText(QObject::tr("Configure"));
    t.btnConfigure->setToolTip(QObject::tr("Configure Veltrano"));
    t.btnConfigure->setAccessibleName(QObject::tr("Configure"));
    t.btnConfigure->setFocusPolicy(Qt::StrongFocus);
    auto *configureGraphs = new QMenu(QObject::tr("Configure Graphs"), t.btnConfigure);
    configureGraphs->setObjectName(QStringLiteral("ConfigureGraphs1"));
    for (const auto &[name, text, item] :
         {std::tuple{"YAxis1", QObject::tr("Y-Axis Limits && Colours"), host.yAxis},
          std::tuple{"CommonSettings1", QObject::tr("Common Settings"), host.commonSettings},
          std::tuple{"CaptureProperties1", QObject::tr("Capture Properties"), host.captureProperties},
          std::tuple{"SetAverages1", QObject::tr("Set Averages"), host.setAverages},
          std::tuple{"CaptureSize1", QObject::tr("Captured Image Size"), host.captureSize}}) {
        QAction *a = configureGraphs->addAction(text);
        a->setObjectName(QString::fromLatin1(name));
        QObject::connect(a, &QAction::triggered, window, [item = item] {
            if (item)
                item();
        });
    }
    t.btnConfigure->setMenu(configureGraphs);
    t.btnHelp = button("btnHelp", QObject::tr("Help"), QString());
    t.btnLog = button("btnLog", QObject::tr("Copy to log"), QObject::tr("Copy graphs to log"));
    t.btnViewLog = button("btnViewLog", QObject::tr("View log"), QString());
    t.btnViewRouterLog = button("btnViewRouterLog", QObject::tr("View router's log"), QString());
    // The toolbar's image commands are the shared actions themselves.
    for (auto [pointer, action] : {std::pair{&t.btnCaptureAll, imageCommands[0]},
                                   std::pair{&t.btnCopy, imageCommands[1]},
                                   std::pair{&t.btnViewGraphs, imageCommands[2]}}) {
        auto *b = new QToolButton(t.ToolBar1);
        b->setObjectName(action->objectName());
        b->setDefaultAction(action);
        // Pictures with hints, as toolbars have them; the action's text is what a screen reader speaks.
        b->setToolButtonStyle(action->icon().isNull() ? Qt::ToolButtonTextOnly : Qt::ToolButtonIconOnly);
        b->setAccessibleName(action->text());
        b->setFocusPolicy(Qt::StrongFocus);
        *pointer = b;
    }
    for (QWidget *w : std::initializer_list<QWidget *>{t.btnStart, t.btnStop, t.btnSchedRun, t.btnSave, t.btnOnTop,
                                                       t.btnConfigure, t.btnHelp})
        t.ToolBar1->addWidget(w);
    // The logs and the images on a second row, so that at the window's usual
    // width nothing hides in an overflow menu over the figures below.
    window->addToolBarBreak(Qt::TopToolBarArea);
    t.ToolBar2 = addFixedToolBar(window, QObject::tr("Logs and images"), "ToolBar2");
    for (QWidget *w : std::initializer_list<QWidget *>{t.btnLog, t.btnViewLog, t.btnViewRouterLog, t.btnCaptureAll,
                                                       t.btnCopy, t.btnViewGraphs})
        t.ToolBar2->addWidget(w);
    return t;
}

void MainToolBars::setFlat(bool flat) const
{
    // Every button of both rows, the schedule's and Configure's drop-downs included.
    for (QPushButton *b : {btnSave, btnOnTop, btnStart, btnStop, btnHelp, btnLog, btnViewLog, btnViewRouterLog})
        b->setFlat(flat);
    for (QToolButton *b : std::initializer_list<QToolButton *>{btnConfigure, btnSchedRun, btnCaptureAll, btnCopy,
                                                               btnViewGraphs})
        b->setAutoRaise(flat);
}

bool MainToolBars::themedToolbars(const QString &systemVersion)
{
    // The system's name only: a kernel version such as "6.1.0-98-amd64" names no old system.
    const QString name = systemVersion.section(QStringLiteral(" (version "), 0, 0);
    return !name.contains(QLatin1String("XP")) && !name.contains(QLatin1String("98"))
           && !name.contains(QLatin1String("Vista"));
}
