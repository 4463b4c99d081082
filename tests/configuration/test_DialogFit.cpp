// At the dialog's default size every page shows its buttons and boxes whole.
#include "ConfigTestSupport.h"

#include <QAbstractButton>
#include <QStackedWidget>
#include <QTabWidget>

TEST_F(DialogFixture, EveryPageShowsItsButtonsWholeAtTheDefaultSize)
{
    // Telnet on, so the telnet pages show every control they have.
    TForm2 &form = open("[Router]\nTelnet=1\n[Telnet]\nV123=0\nV4=1\n");
    form.show();
    QApplication::processEvents();
    QStringList cut;
    for (QTabWidget *tabs : form.findChildren<QTabWidget *>())
        for (int i = 0; i < tabs->count(); ++i) {
            if (!tabs->isTabVisible(i))
                continue;
            // Forward through every tab widget that holds the page.
            for (QWidget *w = tabs->widget(i); w && w->parentWidget(); w = w->parentWidget())
                if (auto *stack = qobject_cast<QStackedWidget *>(w->parentWidget()))
                    if (auto *outer = qobject_cast<QTabWidget *>(stack->parentWidget()))
                        outer->setCurrentWidget(w);
            QApplication::processEvents();
            for (QAbstractButton *b : tabs->widget(i)->findChildren<QAbstractButton *>())
                if (b->isVisible() && !b->text().isEmpty() && b->width() < b->sizeHint().width())
                    cut << tabs->tabText(i) + QStringLiteral(": ") + b->text();
        }
    cut.removeDuplicates();
    EXPECT_EQ(cut, QStringList()) << form.width() << " x " << form.height();
}
