// The editor without a mouse: Tab round a panel, Space and Return on lamps, Ctrl+Tab round the
// windows, F6 to the toolbar and back.

#include "AppFixture.h"
#include "CAboutDlg.h"
#include "CDLcd.h"
#include "CDLed.h"
#include "CMidiOutDeviceDlg.h"
#include "CMidiWnd.h"
#include "CProjectHistory.h"
#include "Commands.h"
#include "KitViewTestUtil.h"
#include "TestMain.h"
#include "ViewTypes.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

using Commands::ECommand;
using Panels::ERole;

namespace {

unsigned IdOf(const CDView& view, ERole eRole) {
    for (const Panels::SControl& row : view.PanelTable().controls)
        if (row.binding.eRole == eRole)
            return row.nId;
    return 0;
}

// A new project, the main window active and a window of nViewType the active one.
CDView* OpenView(CAppFixture& f, int nViewType) {
    f.StartWithProject();
    if (!f.ActivateFrame())
        return nullptr;
    if (nViewType == 1) {
        // Kit-Info shows the kit of the kit window, which Init. makes.
        CDView* pKit = f.Frame().ActiveView();
        if (!pKit)
            return nullptr;
        OperateControl(*pKit, IdOf(*pKit, ERole::Init));
        f.Trigger(ECommand::KitInfo);
    }
    for (const Commands::SCommand& c : Commands::kCommands)
        if (c.nViewType == nViewType && nViewType != 2)
            f.Trigger(c.eCommand);
    CDView* pView = f.Frame().ActiveView();
    return pView && pView->GetViewType() == nViewType ? pView : nullptr;
}

unsigned FocusId() {
    const auto* pControl = dynamic_cast<const CDCtrl*>(QApplication::focusWidget());
    return pControl ? pControl->GetDlgCtrlID() : 0;
}

void Key(Qt::Key eKey, Qt::KeyboardModifiers modifiers = {}) {
    QTest::keyClick(QApplication::focusWidget(), eKey, modifiers);
}

QStringList Steps(CAppFixture& f) {
    QStringList steps;
    if (auto* pHistory = dynamic_cast<CProjectHistory*>(f.Doc()->History()))
        for (int i = 0; i < pHistory->Stack().count(); ++i)
            steps << pHistory->Stack().text(i);
    return steps;
}

QList<QByteArray> Queued(CAppFixture& f) {
    QList<QByteArray> list;
    for (const auto& pItem : f.Midi().Queue())
        list << QByteArray(reinterpret_cast<const char*>(pItem->pBuffer.get()), pItem->nLength);
    return list;
}

} // namespace

class TestKeyboard : public QObject {
    Q_OBJECT

private slots:
    void init() { CAppFixture::ClearSettings(); }

    // Tab goes once round every enabled control in table order and Shift+Tab back, through the
    // read-outs too; the control reached wears a ring over its picture (a read-out its cursor),
    // without changing its size, and shows its picture as before once the focus has gone.
    void tabGoesRoundThePanel_data() {
        QTest::addColumn<int>("nViewType");
        for (int n = 1; n <= 12; ++n)
            QTest::addRow("%s", qPrintable(ViewTypes::ViewTypeName(n))) << n;
    }
    void tabGoesRoundThePanel() {
        QFETCH(int, nViewType);
        CAppFixture f;
        CDView* pView = OpenView(f, nViewType);
        QVERIFY(pView);
        QList<unsigned> expected;
        QList<QImage> before;
        pView->setFocus();
        for (const Panels::SControl& row : pView->PanelTable().controls)
            if (CDCtrl* pControl = pView->Control(row.nId); pControl && pControl->isEnabled()) {
                expected << row.nId;
                before << pControl->grab().toImage();
            }
        if (expected.isEmpty()) {
            // Kit-Info only shows: none of its read-outs takes the focus.
            Key(Qt::Key_Tab);
            QCOMPARE(FocusId(), 0u);
            return;
        }
        const QStringList steps = Steps(f);

        QList<unsigned> forward;
        for (qsizetype i = 0; i <= expected.size(); ++i) {
            Key(Qt::Key_Tab);
            forward << FocusId();
            CDCtrl* pFocus = pView->Control(FocusId());
            QVERIFY2(pFocus, qPrintable(QString::number(i)));
            const QImage focused = pFocus->grab().toImage();
            const QImage& unfocused = before[expected.indexOf(FocusId()) % expected.size()];
            QCOMPARE(focused.size(), unfocused.size());
            QVERIFY2(focused != unfocused, qPrintable(QString::number(FocusId())));
        }
        QList<unsigned> backward;
        for (qsizetype i = 0; i < expected.size(); ++i) {
            Key(Qt::Key_Backtab, Qt::ShiftModifier);
            backward << FocusId();
        }
        QCOMPARE(forward, expected + QList<unsigned>{expected.front()});
        QList<unsigned> reversed(expected.rbegin(), expected.rend());
        QCOMPARE(backward, reversed);

        pView->setFocus();
        for (qsizetype i = 0; i < expected.size(); ++i)
            QVERIFY2(pView->Control(expected[i])->grab().toImage() == before[i],
                     qPrintable(QString::number(expected[i])));
        // Going round changes nothing.
        QCOMPARE(Steps(f), steps);
    }

    // Space and Return on a lamp or button do what a click does: the same messages, the same
    // step of the history, the same lamp.
    void keysPressLikeAClick_data() {
        QTest::addColumn<int>("nViewType");
        QTest::addColumn<int>("eRole");
        QTest::addColumn<unsigned>("nId");
        QTest::addColumn<int>("nKey");
        const struct {
            const char* pszName;
            int nViewType;
            ERole eRole;
            unsigned nId;
        } lamps[] = {
            {"kick Init.", 3, ERole::Init, 0},       {"kick Veloc", 3, ERole::Param, 2505},
            {"hi-hat Revrs", 7, ERole::Param, 4005}, {"kit Init.", 2, ERole::Init, 0},
            {"kit Active", 2, ERole::Active, 0},
        };
        for (const auto& lamp : lamps)
            for (Qt::Key eKey : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter})
                QTest::addRow("%s %s", lamp.pszName, qPrintable(QKeySequence(eKey).toString()))
                    << lamp.nViewType << int(lamp.eRole) << lamp.nId << int(eKey);
    }
    void keysPressLikeAClick() {
        QFETCH(int, nViewType);
        QFETCH(int, eRole);
        QFETCH(unsigned, nId);
        QFETCH(int, nKey);
        struct SResult {
            QList<QByteArray> sent;
            QStringList steps;
            bool bLamp = false;
            bool operator==(const SResult&) const = default;
        };
        const auto Press = [&](bool bClick) {
            SResult result;
            CAppFixture f;
            CDView* pView = OpenView(f, nViewType);
            if (!pView)
                return result;
            // A variation or kit to work on: number 7, made by Init. unless Init. is the test.
            OperateControl(*pView, IdOf(*pView, ERole::Number), QStringLiteral("007"));
            if (ERole(eRole) != ERole::Init)
                OperateControl(*pView, IdOf(*pView, ERole::Init));
            f.Midi().DestroySysExList();
            auto* pLed = pView->ControlAs<CDLed>(nId ? nId : IdOf(*pView, ERole(eRole)));
            if (!pLed)
                return result;
            if (bClick) {
                QTest::mouseClick(pLed, Qt::LeftButton, {}, QPoint(2, 2));
            } else {
                pLed->setFocus(Qt::TabFocusReason);
                QTest::keyClick(pLed, Qt::Key(nKey));
            }
            return SResult{Queued(f), Steps(f), pLed->GetState()};
        };
        const SResult clicked = Press(true);
        const SResult pressed = Press(false);
        QVERIFY(!clicked.steps.isEmpty());
        QCOMPARE(pressed.steps, clicked.steps);
        QCOMPARE(pressed.sent, clicked.sent);
        QCOMPARE(pressed.bLamp, clicked.bLamp);
    }

    // Ctrl+Tab and Ctrl+Shift+Tab go round the windows in the order they were opened, from a
    // knob as from a read-out being typed into, and the focus goes with them.
    void ctrlTabGoesRoundTheWindows_data() {
        QTest::addColumn<bool>("bFromReadOut");
        QTest::addColumn<bool>("bBack");
        QTest::addColumn<QList<int>>("order");
        // Kit, kick and snare are open, the snare window active.
        for (bool bFromReadOut : {false, true}) {
            const char* pszFrom = bFromReadOut ? "read-out" : "knob";
            QTest::addRow("Ctrl+Tab from a %s", pszFrom)
                << bFromReadOut << false << QList<int>{2, 3, 4, 2};
            QTest::addRow("Ctrl+Shift+Tab from a %s", pszFrom)
                << bFromReadOut << true << QList<int>{3, 2, 4, 3};
        }
    }
    void ctrlTabGoesRoundTheWindows() {
        QFETCH(bool, bFromReadOut);
        QFETCH(bool, bBack);
        QFETCH(QList<int>, order);
        CAppFixture f;
        f.StartWithProject();
        QVERIFY(f.ActivateFrame());
        f.Trigger(ECommand::OpenKick);
        f.Trigger(ECommand::OpenSnare);
        CDView* pSnare = f.Frame().ActiveView();
        QVERIFY(pSnare && pSnare->GetViewType() == 4);
        CDCtrl* pStart = pSnare->Control(IdOf(*pSnare, ERole::Number));
        if (!bFromReadOut)
            pStart = pStart->GetNext();
        pStart->setFocus(Qt::MouseFocusReason);
        QList<int> seen;
        for (qsizetype i = 0; i < order.size(); ++i) {
            if (bBack)
                Key(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
            else
                Key(Qt::Key_Tab, Qt::ControlModifier);
            CDView* pActive = f.Frame().ActiveView();
            QVERIFY(pActive);
            seen << pActive->GetViewType();
            QVERIFY(pActive->isAncestorOf(QApplication::focusWidget()));
        }
        QCOMPARE(seen, order);
    }

    // F6 takes the focus from a panel to the toolbar and back; there the arrows, Home and End
    // choose a button and Escape goes back to the panel.
    void f6ReachesTheToolbar_data() {
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<int>("nButton"); // of the buttons that can be pressed; -1 the last
        QTest::addColumn<bool>("bOnPanel");
        const int kShiftF6 = (Qt::SHIFT | Qt::Key_F6).toCombined();
        QTest::newRow("F6") << QList<int>{Qt::Key_F6} << 0 << false;
        QTest::newRow("Shift+F6") << QList<int>{kShiftF6} << 0 << false;
        QTest::newRow("F6 F6") << QList<int>{Qt::Key_F6, Qt::Key_F6} << 0 << true;
        QTest::newRow("F6 Escape") << QList<int>{Qt::Key_F6, Qt::Key_Escape} << 0 << true;
        QTest::newRow("F6 Right") << QList<int>{Qt::Key_F6, Qt::Key_Right} << 1 << false;
        QTest::newRow("F6 Tab") << QList<int>{Qt::Key_F6, Qt::Key_Tab} << 1 << false;
        QTest::newRow("F6 Left") << QList<int>{Qt::Key_F6, Qt::Key_Left} << -1 << false;
        QTest::newRow("F6 End") << QList<int>{Qt::Key_F6, Qt::Key_End} << -1 << false;
        QTest::newRow("F6 End Home")
            << QList<int>{Qt::Key_F6, Qt::Key_End, Qt::Key_Home} << 0 << false;
    }
    void f6ReachesTheToolbar() {
        QFETCH(QList<int>, keys);
        QFETCH(int, nButton);
        QFETCH(bool, bOnPanel);
        CAppFixture f;
        CDView* pKick = OpenView(f, 3);
        QVERIFY(pKick);
        CDCtrl* pStart = pKick->Control(2600);
        pStart->setFocus(Qt::MouseFocusReason);
        for (int nKey : keys)
            Key(Qt::Key(nKey & ~Qt::KeyboardModifierMask),
                Qt::KeyboardModifiers(nKey & Qt::KeyboardModifierMask));
        if (bOnPanel) {
            QCOMPARE(QApplication::focusWidget(), pStart);
            return;
        }
        QList<QWidget*> buttons;
        for (QAction* pAction : f.Frame().ToolBar()->actions())
            if (auto* pButton =
                    qobject_cast<QToolButton*>(f.Frame().ToolBar()->widgetForAction(pAction));
                pButton && pButton->isVisible() && pButton->isEnabled())
                buttons << pButton;
        QVERIFY(buttons.size() > 2);
        QCOMPARE(QApplication::focusWidget(), buttons[nButton < 0 ? buttons.size() - 1 : nButton]);
    }

    // The about box has no button: the keys that would press one close it, as Escape does.
    void aboutBoxClosesByKey_data() {
        QTest::addColumn<int>("nKey");
        QTest::addColumn<int>("nResult");
        QTest::newRow("Return") << int(Qt::Key_Return) << int(QDialog::Accepted);
        QTest::newRow("Enter") << int(Qt::Key_Enter) << int(QDialog::Accepted);
        QTest::newRow("Space") << int(Qt::Key_Space) << int(QDialog::Accepted);
        QTest::newRow("Escape") << int(Qt::Key_Escape) << int(QDialog::Rejected);
        QTest::newRow("A") << int(Qt::Key_A) << -1;
    }
    void aboutBoxClosesByKey() {
        QFETCH(int, nKey);
        QFETCH(int, nResult);
        CAboutDlg dialog;
        dialog.setResult(-1);
        dialog.show();
        QTest::keyClick(&dialog, Qt::Key(nKey));
        QCOMPARE(dialog.result(), nResult);
        QCOMPARE(dialog.isVisible(), nResult == -1);
    }

    // In the device dialog the channel steps with Up and Down, Tab goes from the choices to the
    // buttons, and Return takes the choice.
    void deviceDialogByKeys() {
        CAppFixture f;
        f.StartWithProject();
        CMidiOutDeviceDlg dialog(&f.Midi());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QLineEdit* pChannel = dialog.ChannelEdit();
        QCOMPARE(pChannel->text(), QStringLiteral("1"));
        QTest::keyClick(pChannel, Qt::Key_Up);
        QTest::keyClick(pChannel, Qt::Key_Up);
        QTest::keyClick(pChannel, Qt::Key_Down);
        QCOMPARE(pChannel->text(), QStringLiteral("2"));
        QList<QWidget*> order{dialog.DeviceList()};
        dialog.DeviceList()->setFocus(Qt::TabFocusReason);
        for (int i = 0; i < 3; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            order << QApplication::focusWidget();
        }
        QCOMPARE(order.mid(0, 3),
                 QList<QWidget*>({dialog.DeviceList(), pChannel, dialog.ActivateAtStartBox()}));
        QVERIFY(qobject_cast<QPushButton*>(order.back()));
        // Return in the edit is OK.
        pChannel->setFocus(Qt::TabFocusReason);
        QTest::keyClick(pChannel, Qt::Key_Return);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(f.Midi().GetMidiChannel(), 1);
    }
};

QUENLEY_REGISTER_TEST(TestKeyboard)
#include "TestKeyboard.moc"
