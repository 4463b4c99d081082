// The Configuration dialog by keyboard: the arrow keys within a set of radio
// buttons; and the small labels and pictures that follow the boxes beside them.
#include "ConfigTestSupport.h"
#include "configuration/RouterSearchTextPage.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

namespace {

struct KeysTest : DialogFixture {
    void showDialog()
    {
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    }
    static void showPageOf(QWidget *widget)
    {
        for (QWidget *w = widget; w; w = w->parentWidget())
            if (auto *tabs = qobject_cast<QTabWidget *>(w->parentWidget() ? w->parentWidget()->parentWidget() : nullptr))
                tabs->setCurrentWidget(w);
    }
};

} // namespace

TEST_F(KeysTest, ArrowKeysMoveWithinASetOfRadioButtons)
{
    const QByteArray file = "[Graph]\nDots=1\nStairs=1\n[Capture]\nIsJPG=1\nAllTheTime=1\nBetweenHours=0\n"
                            "[Telnet]\nV123=1\nV4=0\n[Router]\nV5Telnet=0\n";
    const QByteArray noCapture = "[Capture]\nAllTheTime=0\nBetweenHours=0\nNever=1\n";
    struct Case {
        const char *name;
        QByteArray file;
        const char *from;
        Qt::Key key;
        const char *focused;
        QStringList checked;   // of the set (and of its neighbours), after the key
        QStringList unchecked;
    };
    const Case cases[] = {
        {"right to the partner", file, "rbDots", Qt::Key_Right, "rbLines", {"rbLines", "rbStairs"}, {"rbDots", "rbRamp"}},
        {"down past the last comes back to the first", file, "rbLines", Qt::Key_Down, "rbDots",
         {"rbDots", "rbStairs"}, {"rbLines", "rbRamp"}},
        {"up before the first goes to the last", file, "rbIsJPG", Qt::Key_Up, "rbIsGIF", {"rbIsGIF"},
         {"rbIsJPG", "rbIsPNG", "rbIsBMP"}},
        {"the family's handler runs", file, "rbV123", Qt::Key_Down, "rbV4", {"rbV4", "rbBroadcom"},
         {"rbV123", "rbAR7"}},
        {"a choice that may be empty moves on", file, "rbAllTheTime", Qt::Key_Down, "rbBetweenHours",
         {"rbBetweenHours"}, {"rbAllTheTime", "rbNever"}},
        {"with nothing chosen only the focus moves", noCapture, "rbAllTheTime", Qt::Key_Left, "rbBetweenHours",
         {"rbNever"}, {"rbAllTheTime", "rbBetweenHours"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        open(c.file);
        showDialog();
        auto *from = control<QRadioButton>(c.from);
        showPageOf(from);
        from->setFocus();
        ASSERT_TRUE(from->hasFocus());
        QTest::keyClick(from, c.key);
        EXPECT_TRUE(control<QRadioButton>(c.focused)->hasFocus());
        for (const QString &name : c.checked)
            EXPECT_TRUE(control<QRadioButton>(qPrintable(name))->isChecked()) << name.toStdString();
        for (const QString &name : c.unchecked)
            EXPECT_FALSE(control<QRadioButton>(qPrintable(name))->isChecked()) << name.toStdString();
        dialog->close();
    }
}

// The unit labels of an automatic axis, the header example of the log and the
// short-sample warning follow their controls as the user changes them.
TEST_F(KeysTest, SignsFollowTheirControls)
{
    open("[Graph]\nRxNoiseAuto=0\nRxSyncAuto=0\n[Log]\nAddHeader=0\n[System]\nSample=20\n");
    showDialog();
    struct Case {
        const char *box;
        QStringList enabledWhenOff;
    };
    const Case boxes[] = {{"cbRXNoiseAuto", {"Label20", "Label21", "spNoiseMax"}},
                          {"cbRxSyncAuto", {"Label11", "Label12", "spSyncMin"}}};
    for (const Case &c : boxes)
        for (bool on : {true, false}) {
            control<QAbstractButton>(c.box)->click();
            for (const QString &name : c.enabledWhenOff)
                EXPECT_EQ(control<QWidget>(qPrintable(name))->isEnabled(), !on) << c.box << " " << name.toStdString();
        }

    auto *header = control<QAbstractButton>("cbAddHeader");
    showPageOf(header);
    for (bool on : {true, false}) {
        header->click();
        EXPECT_EQ(control<QLabel>("Image7")->isVisible(), on);
        EXPECT_EQ(control<QLabel>("Image8")->isVisible(), !on);
    }

    auto *sample = control<QSpinBox>("spSample");
    showPageOf(sample);
    sample->selectAll();
    QTest::keyClick(sample, '3');
    EXPECT_TRUE(control<QLabel>("Image6")->isVisible());
    QTest::keyClick(sample, '0');
    EXPECT_FALSE(control<QLabel>("Image6")->isVisible());

    // The search page names the figure beside a button that carries the user's label.
    auto *label = control<QLineEdit>("edUserlabel");
    showPageOf(label);
    for (const char *typed : {"Attenuation", "User-def 1"}) {
        label->selectAll();
        QTest::keyClicks(label, QLatin1String(typed));
        dialog->PageControl1->setCurrentWidget(dialog->Search);
        EXPECT_EQ(dialog->Search->Label38->isVisible(), QLatin1String(typed) != QLatin1String("User-def 1")) << typed;
        showPageOf(label);
    }
    dialog->close();
}
