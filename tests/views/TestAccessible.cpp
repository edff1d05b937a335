#include "CProjectHistory.h"
#include "ControlAccessible.h"
#include "TestMain.h"
#include "ViewBench.h"
#include "ViewTypes.h"

#include <QAccessible>
#include <QSet>
#include <QTest>
#include <QUndoStack>

using namespace Panels;

namespace {

// Window type nType on the section it opens on (number 7), complete: a kit window's kit uses
// variation 0 of every kind, and the project holds each of them.
void Populate(CProjectBench& b, int nType) {
    if (nType > ViewTypes::kKit) {
        Fill(b.Add(nType - 1, 7), 3);
        return;
    }
    b.Add(Kinds::kKit, 7);
    for (const SColumnLayout& column : kColumns)
        Fill(b.Add(column.nKind, 0), column.nKind);
}

QAccessible::Role ExpectedRole(const SControl& row) {
    switch (row.eKind) {
    case EKind::Knob:
        return QAccessible::Dial;
    case EKind::Fader:
        return QAccessible::Slider;
    case EKind::Led:
        return row.binding.eRole == ERole::Active || row.binding.eRole == ERole::Init
                   ? QAccessible::Button
                   : QAccessible::CheckBox;
    case EKind::Lcd:
        break;
    }
    if (row.Has(kDisabled))
        return QAccessible::StaticText;
    return row.Has(kNumeric) ? QAccessible::SpinBox : QAccessible::EditableText;
}

void AddTypeRows(int nFirst = ViewTypes::kFirst) {
    QTest::addColumn<int>("nType");
    for (int nType = nFirst; nType <= ViewTypes::kLast; ++nType)
        QTest::newRow(qPrintable(ViewTypes::ViewTypeName(nType))) << nType;
}

CProjectHistory& AttachHistory(CQuenleyDoc& doc) {
    doc.SetHistory(std::make_unique<CProjectHistory>(doc));
    return static_cast<CProjectHistory&>(*doc.History());
}

struct SEventLog {
    inline static QList<QPair<QObject*, QAccessible::Event>> s_events;
    static void Record(QAccessibleEvent* pEvent) {
        s_events.append({pEvent->object(), pEvent->type()});
    }
    bool Has(QObject* pObject, QAccessible::Event eType) const {
        return s_events.contains(qMakePair(pObject, eType));
    }
    SEventLog() {
        s_events.clear();
        ControlAccessible::SetListener(&Record);
    }
    ~SEventLog() { ControlAccessible::SetListener({}); }
};

} // namespace

// What every control of every window tells a screen reader, and a value set through it.
class TestAccessible : public QObject {
    Q_OBJECT

private slots:
    void everyControlSpeaks_data() { AddTypeRows(); }
    // A role by what the control is, a name unique in the window, and the value with its range
    // where the control has one.
    void everyControlSpeaks() {
        QFETCH(int, nType);
        CViewBench b;
        Populate(b, nType);
        CDView& view = b.Open(nType, 7);
        QSet<QString> names;
        for (const SControl& row : view.PanelTable().controls) {
            CDCtrl* pControl = view.Control(row.nId);
            QAccessibleInterface* pFace = QAccessible::queryAccessibleInterface(pControl);
            QVERIFY(pFace);
            const QString strId = QString::number(row.nId);
            QCOMPARE(pFace->role(), ExpectedRole(row));
            const QString strName = pFace->text(QAccessible::Name);
            QVERIFY2(!strName.isEmpty() && !names.contains(strName), qPrintable(strId + strName));
            names.insert(strName);
            QAccessibleValueInterface* pValue = pFace->valueInterface();
            const bool bValue = row.eKind == EKind::Knob || row.eKind == EKind::Fader ||
                                (row.eKind == EKind::Lcd && row.Has(kNumeric));
            QCOMPARE(pValue != nullptr, bValue);
            if (auto* pDyn = dynamic_cast<CDDynCtrl*>(pControl); pValue && pDyn) {
                QCOMPARE(pValue->currentValue().toInt(), pDyn->GetValue());
                QCOMPARE(pValue->minimumValue().toInt(), row.nMin);
                QCOMPARE(pValue->maximumValue().toInt(), row.nMax);
            }
            if (auto* pLcd = dynamic_cast<CDLcd*>(pControl)) {
                QCOMPARE(pFace->text(QAccessible::Value),
                         QString::fromLatin1(pLcd->GetText()).trimmed());
                QCOMPARE(pFace->state().readOnly, row.Has(kDisabled));
            }
            if (auto* pLed = dynamic_cast<CDLed*>(pControl)) {
                QCOMPARE(pFace->state().checked, pLed->GetState() && !pLed->IsMomentary());
                QCOMPARE(pFace->state().readOnly, row.Has(kReadOnly));
            }
        }
    }

    void namesSayWhatItIs_data() {
        QTest::addColumn<int>("nType");
        QTest::addColumn<unsigned>("nId");
        QTest::addColumn<bool>("bShown");
        QTest::addColumn<QString>("strName");
        QTest::addColumn<QString>("strValue");
        QTest::newRow("hi-hat knob") << 7 << 4120u << true << "Closed hat peak time"
                                     << "";
        QTest::newRow("hi-hat read-out") << 7 << 4035u << true << "Closed hat peak time read-out"
                                         << "";
        QTest::newRow("low tom") << 5 << 3665u << true << "Low tom level"
                                 << "";
        QTest::newRow("high tom") << 6 << 3665u << true << "High tom level"
                                  << "";
        QTest::newRow("rimshot selector") << 9 << 3900u << true << "Rimshot sample set"
                                          << "";
        QTest::newRow("kick switch word") << 3 << 2575u << true << "Velocity display"
                                          << "";
        QTest::newRow("kit fader") << 2 << 2005u << true << "Kick level"
                                   << "";
        QTest::newRow("kit choice") << 2 << 2170u << true << "Kick variation"
                                    << "";
        QTest::newRow("kit LFO speed") << 2 << 2235u << true << "LFO speed"
                                       << "";
        QTest::newRow("kit info row") << 1 << 3020u << true << "Kick variation name"
                                      << "";
        QTest::newRow("no variation") << 3 << 2515u << false << "Name"
                                      << "No variation shown";
        QTest::newRow("no kit") << 2 << 2005u << false << "Kick level"
                                << "No kit shown";
    }
    // The full name with its window's context, and what the controls say without a section.
    void namesSayWhatItIs() {
        QFETCH(int, nType);
        QFETCH(unsigned, nId);
        QFETCH(bool, bShown);
        QFETCH(QString, strName);
        QFETCH(QString, strValue);
        CViewBench b;
        if (bShown)
            Populate(b, nType);
        CDView& view = b.Open(nType, 7);
        QAccessibleInterface* pFace = QAccessible::queryAccessibleInterface(view.Control(nId));
        QCOMPARE(pFace->text(QAccessible::Name), strName);
        QCOMPARE(pFace->text(QAccessible::Description), strValue);
        if (!bShown && nType > ViewTypes::kKit)
            QCOMPARE(pFace->text(QAccessible::Value), QStringLiteral("- Undefined -"));
    }

    // The kit-info window changes nothing.
    void settingIsATurn_data() { AddTypeRows(ViewTypes::kKit); }
    // Every value control set through the tool changes the project exactly as the same change
    // made with the mouse or typed: the same messages, one step of the same name, and a second
    // window follows.
    void settingIsATurn() {
        QFETCH(int, nType);
        int nChecked = 0;
        CViewBench probe;
        Populate(probe, nType);
        probe.Open(nType, 7);
        for (const SControl& row : probe.pView->PanelTable().controls) {
            auto* pProbe = dynamic_cast<CDDynCtrl*>(probe.pView->Control(row.nId));
            const bool bTyped = row.eKind == EKind::Lcd;
            if (!pProbe || !pProbe->isEnabled() || (bTyped && !row.Has(kNumeric)))
                continue;
            const int nFrom = pProbe->GetValue();
            const int nTo = nFrom < pProbe->GetMax() ? nFrom + 1 : nFrom - 1;
            const QString strId = QString::number(row.nId);

            CViewBench byHand;
            Populate(byHand, nType);
            byHand.Open(nType, 7);
            CProjectHistory& handHistory = AttachHistory(byHand.doc);
            byHand.Operate(
                bTyped
                    ? QStringLiteral("%1 %2").arg(strId).arg(nTo, row.nCells, 10, QLatin1Char('0'))
                    : QStringLiteral("%1 %2%3").arg(strId, nTo > nFrom ? "+" : "-").arg(1));

            CViewBench byTool;
            Populate(byTool, nType);
            byTool.Open(nType, 7);
            auto pOther = OpenView(byTool.doc, nType, 7, false);
            CProjectHistory& toolHistory = AttachHistory(byTool.doc);
            QAccessibleInterface* pFace =
                QAccessible::queryAccessibleInterface(byTool.pView->Control(row.nId));
            pFace->valueInterface()->setCurrentValue(nTo);

            QVERIFY2(byTool.Sent() == byHand.Sent(), qPrintable(strId));
            QCOMPARE(byTool.doc.SaveToBytes(), byHand.doc.SaveToBytes());
            QCOMPARE(toolHistory.Stack().count(), handHistory.Stack().count());
            QCOMPARE(toolHistory.Stack().undoText(), handHistory.Stack().undoText());
            // A parameter's or the kit's value is one message and one step; choosing another
            // kit or variation to show is neither.
            const bool bEdit =
                row.binding.eRole != ERole::Number && row.binding.eRole != ERole::Bank;
            if (bEdit)
                QCOMPARE(PanelSnapshot(*pOther), PanelSnapshot(*byTool.pView));
            QVERIFY2(byTool.Sent().size() == (bEdit ? 1 : 0), qPrintable(strId));
            QCOMPARE(toolHistory.Stack().count(), bEdit ? 1 : 0);
            ++nChecked;
        }
        QVERIFY(nChecked > 0);
    }

    void lampsActAsClicked_data() {
        QTest::addColumn<int>("nType");
        QTest::addColumn<unsigned>("nId");
        QTest::addColumn<QString>("strAction");
        QTest::newRow("switch") << 3 << 2505u << QAccessibleActionInterface::toggleAction();
        QTest::newRow("Init.") << 4 << 3510u << QAccessibleActionInterface::pressAction();
        QTest::newRow("kit Active") << 2 << 2115u << QAccessibleActionInterface::pressAction();
    }
    // A lamp or button worked through the tool does what a click does, as one step.
    void lampsActAsClicked() {
        QFETCH(int, nType);
        QFETCH(unsigned, nId);
        QFETCH(QString, strAction);
        CViewBench byHand;
        Populate(byHand, nType);
        byHand.Open(nType, 7);
        CProjectHistory& handHistory = AttachHistory(byHand.doc);
        byHand.Operate(QString::number(nId));
        CViewBench byTool;
        Populate(byTool, nType);
        byTool.Open(nType, 7);
        CProjectHistory& toolHistory = AttachHistory(byTool.doc);
        QAccessibleInterface* pFace =
            QAccessible::queryAccessibleInterface(byTool.pView->Control(nId));
        QCOMPARE(pFace->actionInterface()->actionNames(), QStringList{strAction});
        pFace->actionInterface()->doAction(strAction);
        QCOMPARE(byTool.Sent(), byHand.Sent());
        QCOMPARE(byTool.doc.SaveToBytes(), byHand.doc.SaveToBytes());
        QCOMPARE(toolHistory.Stack().count(), 1);
        QCOMPARE(toolHistory.Stack().undoText(), handHistory.Stack().undoText());
        QCOMPARE(PanelSnapshot(*byTool.pView), PanelSnapshot(*byHand.pView));
    }

    // A second set right after a first is a step of its own, not part of the first.
    void eachSetIsAStep() {
        CViewBench b;
        Populate(b, ViewTypes::kKick);
        b.Open(ViewTypes::kKick, 7);
        CProjectHistory& history = AttachHistory(b.doc);
        QAccessibleValueInterface* pDecay =
            QAccessible::queryAccessibleInterface(b.pView->Control(2600))->valueInterface();
        pDecay->setCurrentValue(10);
        pDecay->setCurrentValue(11);
        QCOMPARE(history.Stack().count(), 2);
        QVERIFY(history.Undo());
        QCOMPARE(b.pView->ControlAs<CDDynCtrl>(2600)->GetValue(), 10);
    }

    // Changes shown in a window are announced, whichever window or undo made them.
    void changesAreAnnounced() {
        CViewBench b;
        Populate(b, ViewTypes::kKick);
        b.Open(ViewTypes::kKick, 7);
        auto pListened = OpenView(b.doc, ViewTypes::kKick, 7, false);
        CProjectHistory& history = AttachHistory(b.doc);
        SEventLog log;
        const auto Check = [&](const char* pszWhat) {
            QVERIFY2(log.Has(pListened->Control(2600), QAccessible::ValueChanged), pszWhat);
            QVERIFY2(log.Has(pListened->Control(2535), QAccessible::TextUpdated), pszWhat);
        };
        b.Operate(QStringLiteral("2600 +1"));
        Check("another window");
        SEventLog::s_events.clear();
        QVERIFY(history.Undo());
        Check("undo");
        SEventLog::s_events.clear();
        b.Operate(QStringLiteral("2505"));
        QVERIFY(log.Has(pListened->Control(2505), QAccessible::StateChanged));
    }
};

QUENLEY_REGISTER_TEST(TestAccessible)
#include "TestAccessible.moc"
