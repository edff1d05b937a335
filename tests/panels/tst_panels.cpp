// The panel tables checked against themselves and against the section kinds they edit: a typing
// error in an id, a partner, a position or a bit field shows up here rather than as a control
// that edits the wrong bits, sits on another one or is never linked to its read-out.

#include "PanelTables.h"
#include "SectionKinds.h"

#include <QRect>
#include <QtTest>

#include <algorithm>
#include <cstring>
#include <set>

using namespace Panels;

Q_DECLARE_METATYPE(Panels::EPanel)

namespace {

QRect Rect(const SPanel& panel, const SControl& c) {
    const SSize size = ControlSize(c, panel.nLcdGap);
    return {c.x, c.y, size.nWidth, size.nHeight};
}

QByteArray Name(const SControl& c) {
    return QByteArray::number(c.nId);
}

bool SameField(const SBinding& a, const SBinding& b) {
    return a.nParam == b.nParam && a.nMask == b.nMask && a.nShift == b.nShift;
}

bool IsTextLcd(const SControl& c) {
    return c.eKind == EKind::Lcd && !c.Has(kNumeric);
}

int Count(const SPanel& panel, ERole eRole) {
    return int(std::count_if(panel.controls.begin(), panel.controls.end(),
                             [eRole](const SControl& c) { return c.binding.eRole == eRole; }));
}

bool IsKitPanel(const SPanel& panel) {
    return panel.nSectionKind == Kinds::kKit;
}

void AddPanelRows() {
    QTest::addColumn<EPanel>("ePanel");
    for (const SPanel& panel : AllPanels())
        QTest::newRow(panel.pszName) << panel.ePanel;
}

// The rows of several panels named "<panel> <id>".
const SControl& Row(EPanel ePanel, unsigned nId) {
    static const SControl missing{};
    const SControl* pRow = FindControl(Panel(ePanel), nId);
    return pRow ? *pRow : missing;
}

} // namespace

class TestPanels : public QObject {
    Q_OBJECT

private slots:
    void identity_data();
    void identity();
    void placement_data() { AddPanelRows(); }
    void placement();
    void partners_data() { AddPanelRows(); }
    void partners();
    void bindings_data() { AddPanelRows(); }
    void bindings();
    void displays_data() { AddPanelRows(); }
    void displays();
    void texts_data() { AddPanelRows(); }
    void texts();
    void roles_data() { AddPanelRows(); }
    void roles();
    void columns_data();
    void columns();
    void fieldWrites_data();
    void fieldWrites();
    void words_data();
    void words();
    void findControl();
};

void TestPanels::identity_data() {
    QTest::addColumn<EPanel>("ePanel");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("nFirstId");
    QTest::addColumn<int>("nLastId");
    QTest::addColumn<int>("nFirstKind");
    QTest::addColumn<int>("nLastKind");
    QTest::addColumn<QList<int>>("counts"); // LEDs, LCDs, faders, knobs
    using namespace Kinds;
    QTest::newRow("kick") << EPanel::Kick << QSize(350, 282) << 2500 << 2635 << int(kKick)
                          << int(kKick) << QList<int>{3, 14, 0, 11};
    QTest::newRow("snare") << EPanel::Snare << QSize(350, 220) << 3500 << 3595 << int(kSnare)
                           << int(kSnare) << QList<int>{3, 10, 0, 7};
    QTest::newRow("tom") << EPanel::Tom << QSize(350, 158) << 3600 << 3665 << int(kLowTom)
                         << int(kHighTom) << QList<int>{3, 7, 0, 4};
    QTest::newRow("lfo") << EPanel::Lfo << QSize(350, 282) << 4200 << 4340 << int(kLfos)
                         << int(kLfos) << QList<int>{4, 14, 0, 10};
    QTest::newRow("hihat") << EPanel::HiHat << QSize(350, 344) << 4000 << 4175 << int(kHiHat)
                           << int(kHiHat) << QList<int>{4, 18, 0, 14};
    QTest::newRow("sample") << EPanel::Sample << QSize(350, 220) << 3800 << 3905 << int(kClap)
                            << int(kRide) << QList<int>{4, 11, 0, 7};
    QTest::newRow("kit") << EPanel::Kit << QSize(484, 379) << 2005 << 2235 << int(kKit) << int(kKit)
                         << QList<int>{2, 23, 9, 13};
    QTest::newRow("quick") << EPanel::Quick << QSize(199, 379) << 3000 << 3110 << int(kKit)
                           << int(kKit) << QList<int>{0, 23, 0, 0};
}

// Size, kinds, the id block and the control count of each panel; ids in steps of 5, none twice;
// made in the order lamps, read-outs, faders, knobs, which is also the tab order.
void TestPanels::identity() {
    QFETCH(EPanel, ePanel);
    QFETCH(QSize, size);
    QFETCH(int, nFirstId);
    QFETCH(int, nLastId);
    QFETCH(int, nFirstKind);
    QFETCH(int, nLastKind);
    QFETCH(QList<int>, counts);
    const SPanel& panel = Panel(ePanel);
    QCOMPARE(panel.ePanel, ePanel);
    QCOMPARE(QString::fromLatin1(panel.pszName), QString::fromLatin1(QTest::currentDataTag()));
    QCOMPARE(QSize(panel.nWidth, panel.nHeight), size);
    QCOMPARE(panel.nSectionKind, nFirstKind);
    QCOMPARE(panel.nSectionKind + panel.nKindCount - 1, nLastKind);
    QVERIFY(panel.ShowsKind(nLastKind) && !panel.ShowsKind(nLastKind + 1));

    QList<int> found{0, 0, 0, 0};
    std::set<unsigned> ids;
    int nLastOrder = 0;
    for (const SControl& c : panel.controls) {
        QVERIFY2(int(c.nId) >= nFirstId && int(c.nId) <= nLastId && c.nId % 5 == 0, Name(c));
        QVERIFY2(ids.insert(c.nId).second, Name(c) + " twice");
        const int nOrder = c.eKind == EKind::Led     ? 0
                           : c.eKind == EKind::Lcd   ? 1
                           : c.eKind == EKind::Fader ? 2
                                                     : 3;
        QVERIFY2(nOrder >= nLastOrder, Name(c) + " out of creation order");
        nLastOrder = nOrder;
        ++found[nOrder];
    }
    QCOMPARE(found, counts);
}

// On the picture, apart from each other; read-outs have cells and nothing else does.
void TestPanels::placement() {
    QFETCH(EPanel, ePanel);
    const SPanel& panel = Panel(ePanel);
    const QRect bounds(0, 0, panel.nWidth, panel.nHeight);
    for (std::size_t i = 0; i < panel.controls.size(); ++i) {
        const SControl& c = panel.controls[i];
        QVERIFY2((c.eKind == EKind::Lcd) == (c.nCells > 0), Name(c));
        QVERIFY2(bounds.contains(Rect(panel, c)), Name(c) + " leaves the panel");
        for (std::size_t j = i + 1; j < panel.controls.size(); ++j)
            QVERIFY2(!Rect(panel, c).intersects(Rect(panel, panel.controls[j])),
                     Name(c) + " overlaps " + Name(panel.controls[j]));
        // The kit's faders share the Level printed above their read-outs.
        QVERIFY2(c.ePlace == EPlace::None || std::strlen(c.pszLabel) > 0,
                 Name(c) + ": nothing to print");
    }
    QList<QRect> windows;
    for (const SDecor& d : panel.decor) {
        QVERIFY(bounds.contains(QRect(d.x, d.y, std::max(d.w, 1), std::max(d.h, 1))));
        if (d.eKind == EDecor::Window)
            windows.append(QRect(d.x, d.y, d.w, d.h));
    }
    // Read-outs sit in a window with a pixel to spare; the other controls on the plate.
    for (const SControl& c : panel.controls) {
        const QRect r = Rect(panel, c).adjusted(-1, -1, 1, 1);
        const bool bInWindow = std::any_of(windows.begin(), windows.end(),
                                           [&r](const QRect& w) { return w.contains(r); });
        const bool bOnWindow = std::any_of(windows.begin(), windows.end(),
                                           [&r](const QRect& w) { return w.intersects(r); });
        if (c.eKind == EKind::Lcd)
            QVERIFY2(bInWindow, Name(c) + " is not in a window");
        else
            QVERIFY2(!bOnWindow, Name(c) + " sits on a window");
    }
}

// A value pair is a numeric read-out and a knob or fader, linked both ways, with one binding and
// one range. Value pairs of a parameter print the same label on both halves.
void TestPanels::partners() {
    QFETCH(EPanel, ePanel);
    const SPanel& panel = Panel(ePanel);
    for (const SControl& c : panel.controls) {
        if (!c.nPartner)
            continue;
        const SControl* p = FindControl(panel, c.nPartner);
        QVERIFY2(p, Name(c) + ": no partner " + QByteArray::number(c.nPartner));
        QVERIFY2(p->nPartner == c.nId, Name(c) + " is not its partner's partner");
        QVERIFY2(p->nMin == c.nMin && p->nMax == c.nMax, Name(c) + ": ranges differ");
        QVERIFY2(p->binding.eRole == c.binding.eRole && SameField(p->binding, c.binding) &&
                     p->binding.nAlsoClear == c.binding.nAlsoClear &&
                     p->binding.nColumn == c.binding.nColumn,
                 Name(c) + ": bound otherwise than its partner");
        const SControl& lcd = c.eKind == EKind::Lcd ? c : *p;
        const SControl& knob = c.eKind == EKind::Lcd ? *p : c;
        QVERIFY2(lcd.eKind == EKind::Lcd && lcd.Has(kNumeric), Name(c) + ": no numeric read-out");
        QVERIFY2(knob.eKind == EKind::Knob || knob.eKind == EKind::Fader,
                 Name(c) + ": no knob or fader");
        QVERIFY2(lcd.Has(kDisabled) == knob.Has(kDisabled), Name(c) + ": half disabled");
        // The speed knob is printed Speed over its read-out's BPM.
        if (c.binding.eRole == ERole::Param && lcd.nId != 4275)
            QVERIFY2(std::strcmp(lcd.pszLabel, knob.pszLabel) == 0,
                     Name(c) + ": labelled otherwise than its partner");
    }
}

// Bindings stay inside the parameters of every kind the panel shows, and a field inside its
// byte; a value pair's or selector's range fits its field; roles carry a column exactly when
// they name a kit column.
void TestPanels::bindings() {
    QFETCH(EPanel, ePanel);
    const SPanel& panel = Panel(ePanel);
    for (const SControl& c : panel.controls) {
        const SBinding& b = c.binding;
        const bool bColumnRole = b.eRole == ERole::KitLevel || b.eRole == ERole::KitVariation ||
                                 b.eRole == ERole::RowName;
        QVERIFY2(bColumnRole == (b.nColumn >= 0), Name(c) + ": column");
        QVERIFY2(!bColumnRole || IsKitPanel(panel), Name(c) + ": a kit role off the kit panels");
        QVERIFY2(b.nColumn < 10, Name(c) + ": column beyond the ten instruments");
        QVERIFY2(c.nMin >= 0 && c.nMin < c.nMax && c.nMax <= 255, Name(c) + ": range");
        QVERIFY2(c.nInitial >= c.nMin && c.nInitial <= c.nMax, Name(c) + ": initial value");
        QVERIFY2(c.Has(kSelector) ==
                     (b.eRole == ERole::Param && c.eKind == EKind::Knob && !c.nPartner),
                 Name(c) + ": a knob of a parameter is half of a pair or a selector");

        const bool bParam = b.eRole == ERole::Param || b.eRole == ERole::ParamText;
        QVERIFY2(bParam == (b.nParam >= 0), Name(c) + ": parameter without a parameter role");
        if (!bParam) {
            QVERIFY2(!b.IsField() && b.nAlsoClear == 0, Name(c) + ": field without parameter");
            continue;
        }
        for (int nKind = panel.nSectionKind; panel.ShowsKind(nKind); ++nKind)
            QVERIFY2(b.nParam < Kinds::Info(nKind).nParams,
                     Name(c) + ": beyond the parameters of kind " + QByteArray::number(nKind));
        const int nField = b.nMask << b.nShift;
        QVERIFY2(b.nMask != 0 && (b.nMask & (b.nMask + 1)) == 0, Name(c) + ": mask not 2^n - 1");
        QVERIFY2(nField <= 0xFF, Name(c) + ": field beyond the byte");
        QVERIFY2((b.nAlsoClear & nField) == 0, Name(c) + ": clears its own field");
        if (b.eRole == ERole::Param && c.eKind != EKind::Led)
            QVERIFY2(c.nMax <= b.nMask, Name(c) + ": range beyond the field");
        if (c.eKind == EKind::Led)
            QVERIFY2(b.IsOneBit() && b.eRole == ERole::Param && !c.Has(kReadOnly) &&
                         !c.Has(kMomentary),
                     Name(c) + ": a parameter lamp is a latching one-bit switch");
        if (b.IsOneBit())
            QVERIFY2(c.eKind != EKind::Knob, Name(c) + ": a one-bit field is a switch");
    }
}

// A lamp's or selector's word display, and the initialise button's indicator, is a disabled
// text read-out of the same field; word tables cover every value their field can hold, so a
// stored value never looks beyond its table.
void TestPanels::displays() {
    QFETCH(EPanel, ePanel);
    const SPanel& panel = Panel(ePanel);
    std::set<unsigned> shown;
    for (const SControl& c : panel.controls) {
        const bool bNeedsDisplay =
            c.Has(kSelector) || (c.eKind == EKind::Led && c.binding.eRole == ERole::Param);
        if (bNeedsDisplay)
            QVERIFY2(c.nDisplay, Name(c) + " shows its word nowhere");
        if (!c.nDisplay)
            continue;
        QVERIFY2(bNeedsDisplay || c.binding.eRole == ERole::Init, Name(c) + ": a display");
        const SControl* d = FindControl(panel, c.nDisplay);
        QVERIFY2(d, Name(c) + ": display missing");
        QVERIFY2(IsTextLcd(*d) && d->Has(kDisabled), Name(c) + ": display is no text read-out");
        if (c.binding.eRole == ERole::Init)
            QVERIFY2(d->binding.eRole == ERole::InitIndicator, Name(c) + ": indicator");
        else
            QVERIFY2(d->binding.eRole == ERole::ParamText && SameField(d->binding, c.binding),
                     Name(c) + ": its display shows another field");
        QVERIFY2(shown.insert(d->nId).second, Name(*d) + " shows two controls");
    }
    for (const SControl& c : panel.controls) {
        const SBinding& b = c.binding;
        const bool bWords = b.eRole == ERole::ParamText || b.eRole == ERole::InitIndicator;
        QVERIFY2(bWords == !c.words.empty(), Name(c) + ": words");
        if (!bWords)
            continue;
        QVERIFY2(IsTextLcd(c) && c.Has(kDisabled), Name(c) + ": words on an operable control");
        const std::size_t nValues = b.eRole == ERole::InitIndicator ? 2 : b.nMask + 1u;
        QVERIFY2(c.words.size() == nValues, Name(c) + ": the words do not cover the field");
        for (const char* pszWord : c.words)
            QVERIFY2(int(std::strlen(pszWord)) == c.nCells, Name(c) + ": word " + pszWord);
        if (b.eRole == ERole::InitIndicator)
            QVERIFY2(shown.count(c.nId), Name(c) + ": an indicator of no button");
    }
}

// Texts fill their read-outs exactly, and number read-outs have the three digits they show.
void TestPanels::texts() {
    QFETCH(EPanel, ePanel);
    const SPanel& panel = Panel(ePanel);
    for (const SControl& c : panel.controls) {
        if (c.eKind != EKind::Lcd) {
            QVERIFY2(!c.pszInitial && c.words.empty() && !c.Has(kNumeric), Name(c));
            continue;
        }
        if (c.Has(kNumeric)) {
            QVERIFY2(c.nCells == 3 && !c.pszInitial, Name(c));
            continue;
        }
        if (c.pszInitial)
            QVERIFY2(int(std::strlen(c.pszInitial)) == c.nCells, Name(c) + ": initial text");
        const bool bSetLater = c.binding.eRole == ERole::Label; // by the view of each kind
        QVERIFY2(bSetLater != (c.pszInitial != nullptr), Name(c) + ": no initial text");
    }
}

// Every panel has one name and one number; the editing panels one initialise button and one
// active lamp; instrument labels only where kinds share the panel; banks only on kit panels.
void TestPanels::roles() {
    QFETCH(EPanel, ePanel);
    const SPanel& panel = Panel(ePanel);
    const bool bQuick = ePanel == EPanel::Quick;
    QCOMPARE(Count(panel, ERole::Name), 1);
    QCOMPARE(Count(panel, ERole::Number), bQuick ? 1 : 2);
    QCOMPARE(Count(panel, ERole::Init), bQuick ? 0 : 1);
    QCOMPARE(Count(panel, ERole::Active), bQuick ? 0 : 1);
    QCOMPARE(Count(panel, ERole::Label), panel.nKindCount > 1 ? 1 : 0);
    QCOMPARE(Count(panel, ERole::Bank), !IsKitPanel(panel) ? 0 : bQuick ? 1 : 2);

    const int nNumbers = IsKitPanel(panel) ? Kinds::kKitsPerBank : Kinds::kInstrumentVariations;
    for (const SControl& c : panel.controls) {
        switch (c.binding.eRole) {
        case ERole::Name:
            QCOMPARE(QByteArray(c.pszInitial),
                     QByteArray(IsKitPanel(panel) ? kUndefinedKitName : kUndefinedName));
            QCOMPARE(c.nCells, Kinds::Info(panel.nSectionKind).nNameLen);
            QCOMPARE(c.Has(kDisabled), bQuick);
            break;
        case ERole::Number:
            QVERIFY2(c.nMin == 0 && c.nMax == nNumbers - 1, Name(c));
            QVERIFY2(bQuick ? c.Has(kDisabled) && !c.nPartner : !c.Has(kDisabled), Name(c));
            break;
        case ERole::Bank:
            QVERIFY2(c.nMin == 0 && c.nMax == Kinds::kKitVariations / Kinds::kKitsPerBank - 1,
                     Name(c));
            break;
        case ERole::Label:
            QVERIFY2(c.nCells == 4 && c.Has(kDisabled), Name(c));
            break;
        case ERole::Active:
            QVERIFY2(c.eKind == EKind::Led && c.Has(kReadOnly) != IsKitPanel(panel), Name(c));
            break;
        case ERole::Init:
            QVERIFY2(c.eKind == EKind::Led && c.Has(kMomentary), Name(c));
            break;
        default:
            break;
        }
    }
}

void TestPanels::columns_data() {
    QTest::addColumn<EPanel>("ePanel");
    QTest::addColumn<int>("nColumn");
    for (const EPanel ePanel : {EPanel::Kit, EPanel::Quick})
        for (int c = 0; c < 10; ++c)
            QTest::addRow("%s %d", Panel(ePanel).pszName, c) << ePanel << c;
}

// Each instrument column is bound exactly once per duty: on the kit panel a level pair (a
// disabled speed knob for the LFOs) and a variation pair under the instrument's label; on the
// kit-info panel the variation's name and its number beside the instrument's label.
void TestPanels::columns() {
    QFETCH(EPanel, ePanel);
    QFETCH(int, nColumn);
    const SPanel& panel = Panel(ePanel);
    const Kinds::SKindInfo& kind = Kinds::Info(Kinds::kKick + nColumn);
    const bool bLfos = kind.nKind == Kinds::kLfos;
    QList<QByteArray> found;
    for (const SControl& c : panel.controls) {
        if (c.binding.nColumn != nColumn)
            continue;
        QByteArray what;
        switch (c.binding.eRole) {
        case ERole::KitLevel:
            what = c.eKind == EKind::Lcd ? "level lcd" : c.eKind == EKind::Fader ? "fader" : "knob";
            QVERIFY2(c.Has(kDisabled) == bLfos, Name(c) + ": only the LFO speed is fixed");
            QVERIFY2(c.nMin == 0 && c.nMax == 255, Name(c));
            break;
        case ERole::KitVariation:
            what = c.eKind == EKind::Lcd ? "variation lcd" : "variation knob";
            QVERIFY2(c.nMin == 0 && c.nMax == kind.nVariations - 1, Name(c));
            if (c.eKind == EKind::Knob || c.ePlace == EPlace::Bracketed)
                QCOMPARE(QByteArray(c.pszLabel), QByteArray(kind.pszLabel));
            break;
        case ERole::RowName:
            what = "name lcd";
            QVERIFY2(c.nCells == kind.nNameLen && IsTextLcd(c), Name(c));
            break;
        default:
            QFAIL(Name(c) + ": a column on a role without one");
        }
        found.append(what);
    }
    std::sort(found.begin(), found.end());
    QList<QByteArray> expected;
    if (ePanel == EPanel::Kit)
        expected = {"level lcd", bLfos ? "knob" : "fader", "variation knob", "variation lcd"};
    else
        expected = {"name lcd", "variation lcd"};
    std::sort(expected.begin(), expected.end());
    QCOMPARE(found, expected);
}

void TestPanels::fieldWrites_data() {
    QTest::addColumn<EPanel>("ePanel");
    QTest::addColumn<unsigned>("nId");
    QTest::addColumn<int>("nStored");
    QTest::addColumn<int>("nValue");
    QTest::addColumn<int>("nWritten");
    QTest::newRow("kick EQ 3 -> 4 keeps the other bits")
        << EPanel::Kick << 2625u << 163 << 4 << 164;
    QTest::newRow("kick Veloc off") << EPanel::Kick << 2505u << 164 << 0 << 36;
    QTest::newRow("snare DeTun 9 -> 10") << EPanel::Snare << 3540u << 201 << 10 << 202;
    QTest::newRow("snare Veloc off") << EPanel::Snare << 3505u << 202 << 0 << 74;
    QTest::newRow("tom Decay 15 -> 16") << EPanel::Tom << 3660u << 207 << 16 << 208;
    QTest::newRow("tom Veloc off keeps bit 7") << EPanel::Tom << 3605u << 208 << 0 << 144;
    QTest::newRow("hi-hat Smple 0 -> 2") << EPanel::HiHat << 4150u << 156 << 2 << 158;
    QTest::newRow("hi-hat Sourc clears bit 5") << EPanel::HiHat << 4155u << 0x3C << 1 << 0x0C;
    QTest::newRow("hi-hat Revrs on") << EPanel::HiHat << 4005u << 156 << 1 << 220;
    QTest::newRow("sample Revrs off") << EPanel::Sample << 3810u << 0xC1 << 0 << 0x81;
    QTest::newRow("sample Smple 3 keeps bits 2-7") << EPanel::Sample << 3900u << 0xFD << 3 << 0xFF;
    QTest::newRow("LFO L2Des 3") << EPanel::Lfo << 4330u << 0x05 << 3 << 0x35;
    QTest::newRow("LFO L1Des 9") << EPanel::Lfo << 4310u << 0x35 << 9 << 0x39;
    QTest::newRow("LFO L2Syn on") << EPanel::Lfo << 4210u << 0x23 << 1 << 0xA3;
    QTest::newRow("LFO L1Syn on") << EPanel::Lfo << 4205u << 0xA3 << 1 << 0xAB;
    QTest::newRow("LFO L1Wav 2") << EPanel::Lfo << 4300u << 0xAB << 2 << 0xAA;
    QTest::newRow("LFO L2Wav 1") << EPanel::Lfo << 4320u << 0xA3 << 1 << 0x93;
}

// What a control writes into the stored byte, and that it reads the value back from it.
void TestPanels::fieldWrites() {
    QFETCH(EPanel, ePanel);
    QFETCH(unsigned, nId);
    QFETCH(int, nStored);
    QFETCH(int, nValue);
    QFETCH(int, nWritten);
    const SControl& c = Row(ePanel, nId);
    QCOMPARE(c.nId, nId);
    QVERIFY(nValue >= c.nMin && nValue <= (c.eKind == EKind::Led ? 1 : c.nMax));
    QVERIFY(c.binding.FieldOf(nStored) != nValue); // a change, so something is sent
    QCOMPARE(c.binding.Replace(nStored, nValue), nWritten);
    QCOMPARE(c.binding.FieldOf(nWritten), nValue);
}

void TestPanels::words_data() {
    QTest::addColumn<EPanel>("ePanel");
    QTest::addColumn<unsigned>("nId");
    QTest::addColumn<int>("nStored");
    QTest::addColumn<QByteArray>("word");
    QTest::newRow("hi-hat 156 Smple") << EPanel::HiHat << 4065u << 156 << QByteArray("909");
    QTest::newRow("hi-hat 156 Sourc") << EPanel::HiHat << 4075u << 156 << QByteArray("FIL");
    QTest::newRow("hi-hat 156 Revrs") << EPanel::HiHat << 4070u << 156 << QByteArray("OFF");
    QTest::newRow("hi-hat 156 Veloc") << EPanel::HiHat << 4095u << 156 << QByteArray("ON ");
    QTest::newRow("hi-hat Sourc 0") << EPanel::HiHat << 4075u << 0x80 << QByteArray("   ");
    QTest::newRow("sample 0xC1 Smple") << EPanel::Sample << 3855u << 0xC1 << QByteArray("808");
    QTest::newRow("sample 0xC1 Revrs") << EPanel::Sample << 3865u << 0xC1 << QByteArray("ON ");
    QTest::newRow("sample 0xC1 Veloc") << EPanel::Sample << 3860u << 0xC1 << QByteArray("ON ");
    QTest::newRow("sample Smple 3") << EPanel::Sample << 3855u << 0xFF << QByteArray("QLY");
    QTest::newRow("kick Scale bit 6") << EPanel::Kick << 2570u << 0x40 << QByteArray("SEM");
    QTest::newRow("kick Scale default") << EPanel::Kick << 2570u << 160 << QByteArray("LIN");
    QTest::newRow("kick Veloc default") << EPanel::Kick << 2575u << 160 << QByteArray("ON ");
    QTest::newRow("tom Veloc 207") << EPanel::Tom << 3645u << 207 << QByteArray("ON ");
    QTest::newRow("LFO L2Des 0x35") << EPanel::Lfo << 4265u << 0x35 << QByteArray("HTT");
    QTest::newRow("LFO L1Des 0x35") << EPanel::Lfo << 4245u << 0x35 << QByteArray("FIL");
    QTest::newRow("LFO L1Des 9") << EPanel::Lfo << 4245u << 0x09 << QByteArray("RDT");
    QTest::newRow("LFO L1Wav 3") << EPanel::Lfo << 4235u << 0xAB << QByteArray("RCT");
    QTest::newRow("LFO L2Wav 0") << EPanel::Lfo << 4255u << 0x8F << QByteArray("SUP");
    QTest::newRow("LFO L2Syn") << EPanel::Lfo << 4285u << 0x80 << QByteArray("ON ");
    QTest::newRow("LFO L1Syn") << EPanel::Lfo << 4280u << 0x80 << QByteArray("OFF");
    // Only a damaged project holds these; they show a word of their own, inside the table.
    QTest::newRow("LFO L1Des 12") << EPanel::Lfo << 4245u << 0x0C << QByteArray(kNoWord);
    QTest::newRow("LFO L2Des 4") << EPanel::Lfo << 4265u << 0x40 << QByteArray(kNoWord);
    QTest::newRow("LFO L1Wav 7") << EPanel::Lfo << 4235u << 0x07 << QByteArray(kNoWord);
}

void TestPanels::words() {
    QFETCH(EPanel, ePanel);
    QFETCH(unsigned, nId);
    QFETCH(int, nStored);
    QFETCH(QByteArray, word);
    const SControl& c = Row(ePanel, nId);
    QCOMPARE(c.nId, nId);
    const auto nField = std::size_t(c.binding.FieldOf(nStored));
    QVERIFY(nField < c.words.size());
    QCOMPARE(QByteArray(c.words[nField]), word);
}

void TestPanels::findControl() {
    const SPanel& kick = Panel(EPanel::Kick);
    QVERIFY(!FindControl(kick, 0));
    QVERIFY(!FindControl(kick, 2501));
    QVERIFY(!FindControl(kick, 3500)); // a snare id
    const SControl* pLevel = FindControl(kick, 2630);
    QVERIFY(pLevel);
    QCOMPARE(pLevel->binding.nParam, std::int8_t(8));
    QCOMPARE(pLevel->nPartner, 2565u);
}

QTEST_GUILESS_MAIN(TestPanels)
#include "tst_panels.moc"
