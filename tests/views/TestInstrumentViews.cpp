#include "TestMain.h"
#include "ViewBench.h"

#include <QTest>

namespace {

// "id text": the control shows text (everything after the first blank).
void CheckShown(CDView& view, const QStringList& shown) {
    for (const QString& entry : shown) {
        const qsizetype nSpace = entry.indexOf(' ');
        const QByteArray actual = Shown(view, entry.left(nSpace).toUInt());
        QVERIFY2(
            actual == entry.mid(nSpace + 1).toLatin1(),
            qPrintable(
                QStringLiteral("wanted %1, shows \"%2\"").arg(entry, QString::fromLatin1(actual))));
    }
}

QString Hex(const QList<QByteArray>& messages) {
    QStringList hex;
    for (const QByteArray& message : messages)
        hex << QString::fromLatin1(message.toHex(' '));
    return hex.join(" | ");
}

void AddTypeRows() {
    QTest::addColumn<int>("nType");
    for (int nType = 3; nType <= 12; ++nType)
        QTest::addRow("%s", PanelIds(nType).pszLabel) << nType;
}

} // namespace

// The instrument editors driven through their own controls: every write of a value or of one
// field of a packed value, choosing the variation, the undefined state, Init., names, captions,
// and the values a damaged project may hold.
class TestInstrumentViews : public QObject {
    Q_OBJECT

private slots:
    void fieldWrites_data() {
        QTest::addColumn<int>("nType");
        QTest::addColumn<int>("nParam");
        QTest::addColumn<int>("nStored");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QList<int>>("sent"); // the value each step sends; -1: nothing
        QTest::addColumn<QStringList>("shown");
        using L = QStringList;
        using V = QList<int>;
        QTest::newRow("kick EQ 3 to 4") << 3 << 7 << 163 << L{"2625 +1"} << V{164}
                                        << L{"2560 004", "2570 LIN", "2575 ON ", "2505 lit"};
        QTest::newRow("kick EQ at 7 turned further")
            << 3 << 7 << 167 << L{"2625 +1"} << V{-1} << L{"2560 007", "2625 7"};
        QTest::newRow("kick Veloc off")
            << 3 << 7 << 164 << L{"2505"} << V{36} << L{"2575 OFF", "2505 dark", "2560 004"};
        QTest::newRow("kick Scale bit stays")
            << 3 << 7 << 0xC2 << L{"2560 005", "2505", "2635 +1"} << V{0xC5, 0x45, -1}
            << L{"2570 SEM", "2575 OFF", "2625 5", "2635 0"};
        QTest::newRow("kick Tune knob") << 3 << 0 << 221 << L{"2590 +1"} << V{222} << L{"2525 222"};
        QTest::newRow("kick Tune typed as stored")
            << 3 << 0 << 221 << L{"2525 221"} << V{-1} << L{"2590 221"};
        QTest::newRow("snare DeTun 10, then Veloc off")
            << 4 << 3 << 201 << L{"3585 +1", "3505"} << V{202, 74}
            << L{"3540 010", "3585 10", "3555 OFF", "3505 dark"};
        QTest::newRow("snare DeTun 16 refused") << 4 << 3 << 201 << L{"3540 016"} << V{-1}
                                                << L{"3540 009", "3585 9", "3555 ON ", "3505 lit"};
        QTest::newRow("snare DeTun typed as stored")
            << 4 << 3 << 201 << L{"3540 009"} << V{-1} << L{"3540 009"};
        QTest::newRow("low tom Decay 16, then Veloc off")
            << 5 << 1 << 207 << L{"3660 +1", "3605"} << V{208, 144}
            << L{"3635 016", "3660 16", "3645 OFF", "3605 dark"};
        QTest::newRow("high tom Decay 64 refused")
            << 6 << 1 << 207 << L{"3635 064"} << V{-1}
            << L{"3635 015", "3645 ON ", "3605 lit", "3620 HiTo"};
        QTest::newRow("hi-hat as stored")
            << 7 << 7 << 156 << L{} << V{} << L{"4065 909", "4150 0",    "4075 FIL", "4155 3",
                                                "4070 OFF", "4005 dark", "4095 ON ", "4010 lit"};
        QTest::newRow("hi-hat Smple 0 to 2")
            << 7 << 7 << 156 << L{"4150 +2"} << V{158} << L{"4065 CR7", "4075 FIL", "4095 ON "};
        QTest::newRow("hi-hat Sourc 1 clears bit 5")
            << 7 << 7 << 156 + 0x20 << L{"4155 -2", "4155 -1"} << V{140, -1}
            << L{"4075 NOI", "4155 1", "4065 909"};
        QTest::newRow("hi-hat Revrs on")
            << 7 << 7 << 156 << L{"4005"} << V{220} << L{"4070 ON ", "4005 lit", "4095 ON "};
        QTest::newRow("clap as stored")
            << 8 << 4 << 0xC1 << L{} << V{}
            << L{"3855 808", "3865 ON ", "3810 lit", "3860 ON ", "3805 lit", "3825 Clap"};
        QTest::newRow("clap Revrs off, then Smple 3")
            << 8 << 4 << 0xC1 << L{"3810", "3900 +2"} << V{0x81, 0x83}
            << L{"3855 QLY", "3865 OFF", "3860 ON "};
        QTest::newRow("ride Smple 3 keeps bits 2 to 7")
            << 11 << 4 << 0xBD << L{"3900 +2"} << V{0xBF} << L{"3855 QLY", "3860 ON ", "3865 OFF"};
        QTest::newRow("LFO L2Des 3") << 12 << 4 << 0x05 << L{"4330 +3"} << V{0x35}
                                     << L{"4265 HTT", "4330 3", "4245 FIL", "4310 5"};
        QTest::newRow("LFO L2Syn on, then L1Syn on")
            << 12 << 5 << 0x23 << L{"4210", "4205"} << V{0xA3, 0xAB}
            << L{"4285 ON ", "4280 ON ", "4235 RCT", "4255 TRI"};
        QTest::newRow("LFO L1Des stops at 9")
            << 12 << 4 << 0x05 << L{"4310 +9", "4310 +1"} << V{0x09, -1} << L{"4245 RDT", "4310 9"};
        QTest::newRow("LFO L2Des stops at 3")
            << 12 << 4 << 0x35 << L{"4330 +1"} << V{-1} << L{"4265 HTT", "4330 3"};
        QTest::newRow("LFO speed typed, beyond the block")
            << 12 << 6 << 0 << L{"4275 120"} << V{120} << L{"4340 120"};
    }
    // Variation 7; after every step exactly the one value is queued, or nothing, and no other
    // value of the variation changes.
    void fieldWrites() {
        QFETCH(int, nType);
        QFETCH(int, nParam);
        QFETCH(int, nStored);
        QFETCH(QStringList, steps);
        QFETCH(QList<int>, sent);
        QFETCH(QStringList, shown);
        const int nKind = PanelIds(nType).nKind;
        CViewBench b;
        CSection* pVariation = b.Add(nKind, 7);
        Fill(pVariation, 5);
        pVariation->SetParam(nParam, nStored);
        QList<int> expected = Params(pVariation);
        b.Open(nType, 7);
        bool bSent = false;
        for (qsizetype i = 0; i < steps.size(); ++i) {
            b.Operate(steps[i]);
            QList<QByteArray> messages;
            if (sent[i] >= 0) {
                expected[nParam] = sent[i];
                messages << InstrumentValue(nKind, 7, nParam, sent[i]);
                bSent = true;
            }
            QVERIFY2(b.Sent() == messages, qPrintable(steps[i] + ": " + Hex(b.Sent())));
            QCOMPARE(Params(pVariation), expected);
            b.queue.Clear();
        }
        QCOMPARE(b.doc.IsModified(), bSent);
        CheckShown(*b.pView, shown);
        QCOMPARE(PairMismatch(*b.pView), QString());
    }

    void refreshFromStoredValues_data() { AddTypeRows(); }
    // Variations 20 and 21 differ in every bit; 21 is turned to, 20 typed back, 256 refused.
    void refreshFromStoredValues() {
        QFETCH(int, nType);
        const SPanelIds& ids = PanelIds(nType);
        CViewBench b;
        CSection* pFirst = b.Add(ids.nKind, 20);
        Fill(pFirst, 11 * nType);
        pFirst->SetName("First");
        CSection* pSecond = b.Add(ids.nKind, 21);
        for (int i = 0; i < pSecond->GetParamCount(); ++i)
            pSecond->SetParam(i, pFirst->GetParam(i) ^ 0xFF);
        pSecond->SetName("Second");
        b.Open(nType, 20);
        QCOMPARE(b.pView->GetVariation(), pFirst);
        QCOMPARE(b.Shown(ids.nName), QByteArray("Firstled        "));
        for (const Panels::SControl& row : b.pView->PanelTable().controls)
            if (row.binding.eRole == Panels::ERole::Param && !row.binding.IsField() &&
                row.eKind == Panels::EKind::Lcd)
                QCOMPARE(b.Shown(row.nId), QByteArray::number(pFirst->GetParam(row.binding.nParam))
                                               .rightJustified(3, '0'));
        QCOMPARE(PairMismatch(*b.pView), QString());
        const QStringList first = PanelSnapshot(*b.pView);
        const QStringList second = PanelSnapshot(*OpenView(b.doc, nType, 21, false));
        QVERIFY(first != second);

        b.Operate(QStringLiteral("%1 +1").arg(ids.nNumberKnob));
        QCOMPARE(b.pView->GetVariation(), pSecond);
        QCOMPARE(PanelSnapshot(*b.pView), second);
        b.Operate(QStringLiteral("%1 020").arg(ids.nNumberLcd));
        QCOMPARE(PanelSnapshot(*b.pView), first);
        b.Operate(QStringLiteral("%1 256").arg(ids.nNumberLcd));
        QCOMPARE(PanelSnapshot(*b.pView), first);
        QCOMPARE(b.doc.GetSectionList().size(), size_t(2));
        QVERIFY(b.Sent().isEmpty());
        QVERIFY(!b.doc.IsModified());
    }

    void undefinedNumbers_data() { AddTypeRows(); }
    // Variation 30 exists, 31 and 32 do not.
    void undefinedNumbers() {
        QFETCH(int, nType);
        const SPanelIds& ids = PanelIds(nType);
        CViewBench b;
        CSection* pVariation = b.Add(ids.nKind, 30);
        Fill(pVariation, 3);
        pVariation->SetName("Shown");
        pVariation->SetActive(true);
        b.Open(nType, 30);
        const QString strTurn = QStringLiteral("%1 +1").arg(ids.nNumberKnob);
        b.Operate(strTurn);
        QCOMPARE(b.pView->GetVariation(), nullptr);
        int nShown = -1;
        QVERIFY(b.pView->GetShownNumber(nShown));
        QCOMPARE(nShown, 31);
        QCOMPARE(b.Caption(), QString(" Undefined"));
        CheckShown(*b.pView, {QStringLiteral("%1  - Undefined -  ").arg(ids.nName),
                              QStringLiteral("%1 dark").arg(ids.nActive),
                              QStringLiteral("%1 031").arg(ids.nNumberLcd),
                              QStringLiteral("%1 31").arg(ids.nNumberKnob)});
        if (ids.nLabel)
            QCOMPARE(b.Shown(ids.nLabel), QByteArray(ids.pszLabel));
        // Every parameter control at rest; the hi-hat source knob at 3, as its range starts at 1.
        std::vector<std::unique_ptr<CPaintCounter>> counters;
        for (const Panels::SControl& row : b.pView->PanelTable().controls) {
            const Panels::ERole eRole = row.binding.eRole;
            if (eRole == Panels::ERole::ParamText)
                QCOMPARE(b.Shown(row.nId), QByteArray("   "));
            else if (eRole != Panels::ERole::Param && eRole != Panels::ERole::None)
                continue;
            else if (row.eKind == Panels::EKind::Led)
                QCOMPARE(b.Shown(row.nId), QByteArray("dark"));
            else if (row.eKind == Panels::EKind::Lcd)
                QCOMPARE(b.Shown(row.nId), QByteArray("000"));
            else
                QCOMPARE(b.Shown(row.nId), QByteArray(row.nId == 4155 ? "3" : "0"));
            counters.push_back(std::make_unique<CPaintCounter>(b.pView->Control(row.nId)));
        }
        counters.push_back(std::make_unique<CPaintCounter>(b.pView->Control(ids.nName)));
        CPaintCounter number(b.pView->Control(ids.nNumberLcd));
        QTest::qWait(60);
        for (const auto& p : counters)
            p->m_nPaints = 0;
        b.Operate(strTurn);
        QTest::qWait(60);
        QVERIFY(number.m_nPaints > 0);
        int nPaints = 0;
        for (const auto& p : counters)
            nPaints += p->m_nPaints;
        QCOMPARE(nPaints, 0);
        QCOMPARE(b.Shown(ids.nNumberLcd), QByteArray("032"));
        // The controls move without a variation, but change nothing.
        for (const Panels::SControl& row : b.pView->PanelTable().controls)
            if (row.binding.eRole == Panels::ERole::Param && row.eKind != Panels::EKind::Lcd)
                b.Operate(QString::number(row.nId) +
                          (row.eKind == Panels::EKind::Led ? "" : " +1"));
        QVERIFY(b.Sent().isEmpty());
        QVERIFY(!b.doc.IsModified());
        QCOMPARE(b.doc.GetSectionList().size(), size_t(1));

        b.Operate(QStringLiteral("%1 030").arg(ids.nNumberLcd));
        QCOMPARE(b.pView->GetVariation(), pVariation);
        QCOMPARE(b.Caption(), QStringLiteral(" %1%2*").arg(ids.pszLabel, "030"));
        QCOMPARE(PanelSnapshot(*b.pView), PanelSnapshot(*OpenView(b.doc, nType, 30, false)));
    }

    void initialise_data() {
        QTest::addColumn<int>("nType");
        QTest::addColumn<bool>("bExisting");
        QTest::addColumn<QList<int>>("defaults");
        QTest::addColumn<int>("nBlock"); // values the block carries
        const QList<int> sample{127, 0, 63, 63, 132, 200};
        const QList<int> tom{200, 207, 200};
        const QList<QList<int>> defaults{{221, 26, 127, 0, 200, 0, 200, 160, 255},
                                         {200, 253, 3, 201, 7, 200},
                                         tom,
                                         tom,
                                         {73, 3, 3, 3, 3, 3, 3, 156, 200, 228, 28, 33},
                                         sample,
                                         sample,
                                         sample,
                                         sample,
                                         {0, 0, 0, 0, 0, 0, 0}};
        for (int nType = 3; nType <= 12; ++nType)
            for (bool bExisting : {false, true})
                QTest::addRow("%s, %s", PanelIds(nType).pszLabel,
                              bExisting ? "changed variation" : "no variation")
                    << nType << bExisting << defaults[nType - 3] << (nType == 12 ? 6 : -1);
    }
    // On number 9: the variation there, changed and active, or none.
    void initialise() {
        QFETCH(int, nType);
        QFETCH(bool, bExisting);
        QFETCH(QList<int>, defaults);
        QFETCH(int, nBlock);
        const SPanelIds& ids = PanelIds(nType);
        CViewBench b;
        if (bExisting) {
            CSection* pOld = b.Add(ids.nKind, 9);
            Fill(pOld, 1);
            pOld->SetName("Changed name 123");
            pOld->SetActive(true);
        }
        CSection* pNeighbour = b.Add(ids.nKind, 10);
        Fill(pNeighbour, 2);
        const QList<int> neighbour = Params(pNeighbour);
        b.Open(nType, 9);
        QWidget* pInit = b.pView->Control(ids.nInit);
        QTest::mousePress(pInit, Qt::LeftButton, {}, QPoint(1, 1));
        CSection* pVariation = b.Find(ids.nKind, 9);
        QVERIFY(pVariation);
        QCOMPARE(b.Sent(),
                 QList<QByteArray>{InstrumentBlock(
                     ids.nKind, 9, defaults.first(nBlock < 0 ? defaults.size() : nBlock))});
        QCOMPARE(Params(pVariation), defaults);
        QCOMPARE(QByteArray(pVariation->GetName()), QByteArray("Untitled        "));
        QCOMPARE(pVariation->IsActive(), bExisting);
        QCOMPARE(Params(pNeighbour), neighbour);
        QVERIFY(b.doc.IsModified());
        QCOMPARE(b.pView->GetVariation(), pVariation);
        QCOMPARE(b.Caption(),
                 QStringLiteral(" %1%2%3").arg(ids.pszLabel, "009", bExisting ? "*" : " "));
        QCOMPARE(b.Shown(ids.nInit), QByteArray("lit"));
        if (ids.nIndicator)
            QCOMPARE(b.Shown(ids.nIndicator), QByteArray("ON "));

        QTest::mouseRelease(pInit, Qt::LeftButton, {}, QPoint(1, 1));
        QCOMPARE(b.Shown(ids.nInit), QByteArray("dark"));
        if (ids.nIndicator)
            QCOMPARE(b.Shown(ids.nIndicator), QByteArray("OFF"));
        QCOMPARE(b.Sent().size(), 1);
        QCOMPARE(b.doc.GetSectionList().size(), size_t(2));
        QCOMPARE(PanelSnapshot(*b.pView), PanelSnapshot(*OpenView(b.doc, nType, 9, false)));
    }

    void captions_data() {
        QTest::addColumn<int>("nType");
        QTest::addColumn<int>("nNumber");
        QTest::addColumn<bool>("bActive");
        QTest::addColumn<QString>("caption");
        QTest::newRow("crash 3 active") << 10 << 3 << true << " Crsh003*";
        QTest::newRow("kick 7") << 3 << 7 << false << " Kick007 ";
        QTest::newRow("snare 255 active") << 4 << 255 << true << " Snar255*";
        QTest::newRow("low tom 0 active") << 5 << 0 << true << " LoTo000*";
        QTest::newRow("high tom 42") << 6 << 42 << false << " HiTo042 ";
        QTest::newRow("hi-hat 100 active") << 7 << 100 << true << " HiHa100*";
        QTest::newRow("rimshot 18") << 9 << 18 << false << " Rims018 ";
        QTest::newRow("LFOs 9 active") << 12 << 9 << true << " LFOs009*";
    }
    void captions() {
        QFETCH(int, nType);
        QFETCH(int, nNumber);
        QFETCH(bool, bActive);
        QFETCH(QString, caption);
        CViewBench b;
        b.Add(PanelIds(nType).nKind, nNumber)->SetActive(bActive);
        b.Open(nType, nNumber);
        QCOMPARE(b.Caption(), caption);
        QCOMPARE(b.Shown(PanelIds(nType).nActive), QByteArray(bActive ? "lit" : "dark"));
    }

    void renaming_data() {
        QTest::addColumn<int>("nType");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("nCell");
        QTest::addColumn<QByteArray>("name");
        QTest::newRow("kick") << 3 << "Boom" << 0 << QByteArray("Boomtled        ");
        QTest::newRow("clap, last cell") << 8 << "X" << 15 << QByteArray("Untitled       X");
        QTest::newRow("LFOs, same letters") << 12 << "Unti" << 0 << QByteArray("Untitled        ");
        QTest::newRow("hi-hat, nothing typed") << 7 << "" << 0 << QByteArray("Untitled        ");
    }
    // The module keeps no instrument names, so nothing is sent.
    void renaming() {
        QFETCH(int, nType);
        QFETCH(QString, typed);
        QFETCH(int, nCell);
        QFETCH(QByteArray, name);
        const SPanelIds& ids = PanelIds(nType);
        CViewBench b;
        CSection* pVariation = b.Add(ids.nKind, 2);
        const QList<int> values = Params(pVariation);
        b.Open(nType, 2);
        OperateControl(*b.pView, ids.nName, typed, nCell);
        QCOMPARE(QByteArray(pVariation->GetName()), name);
        QCOMPARE(b.Shown(ids.nName), name);
        QCOMPARE(b.doc.IsModified(), name != "Untitled        ");
        QCOMPARE(Params(pVariation), values);
        QVERIFY(b.Sent().isEmpty());
    }

    // A name typed where no variation is belongs to nothing: the read-out says so again.
    void nameWithoutVariation() {
        const SPanelIds& ids = PanelIds(3);
        CViewBench b;
        b.Open(3, 9);
        OperateControl(*b.pView, ids.nName, QStringLiteral("Boom"));
        QCOMPARE(b.Shown(ids.nName), QByteArray(" - Undefined -  "));
        QVERIFY(!b.Find(ids.nKind, 9));
        QVERIFY(!b.doc.IsModified());
        QVERIFY(b.Sent().isEmpty());
    }

    void damagedValues_data() {
        QTest::addColumn<int>("nType");
        QTest::addColumn<int>("nParam");
        QTest::addColumn<int>("nDamaged");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QString>("step");
        QTest::addColumn<int>("nSent");
        using L = QStringList;
        QTest::newRow("kick Tune 300")
            << 3 << 0 << 300 << L{"2525 255", "2590 255"} << "2590 -1" << 254;
        QTest::newRow("kick Tune -5")
            << 3 << 0 << -5 << L{"2525 000", "2590 0"} << "2525 010" << 10;
        QTest::newRow("kick packed 419")
            << 3 << 7 << 419 << L{"2560 003", "2570 LIN", "2575 ON ", "2505 lit"} << "2625 +1"
            << 164;
        QTest::newRow("snare Level 256") << 4 << 5 << 256 << L{"3550 255"} << "3595 -1" << 254;
        QTest::newRow("low tom packed 400")
            << 5 << 1 << 400 << L{"3635 016", "3645 OFF", "3605 dark"} << "3635 020" << 0x94;
        QTest::newRow("hi-hat Sourc 0")
            << 7 << 7 << 0x84 << L{"4075    ", "4155 1", "4065 909", "4095 ON "} << "4155 +1"
            << 0x94;
        QTest::newRow("hi-hat packed 999")
            << 7 << 7 << 999 << L{"4065 QLY", "4075    ", "4070 ON ", "4095 ON "} << "4150 -1"
            << 0xE6;
        QTest::newRow("clap packed 300")
            << 8 << 4 << 300 << L{"3855 909", "3860 OFF", "3865 OFF"} << "3805" << 0xAC;
        QTest::newRow("LFO destinations 12 and 15")
            << 12 << 4 << 0xFC << L{"4245 ???", "4310 9", "4265 ???", "4330 3"} << "4310 -1"
            << 0xF8;
        QTest::newRow("LFO L2 destination 4")
            << 12 << 4 << 0x49 << L{"4245 RDT", "4265 ???", "4330 3"} << "4330 -1" << 0x29;
        QTest::newRow("LFO waveforms 5 and 7")
            << 12 << 5 << 0x75 << L{"4235 ???", "4300 3", "4255 ???", "4320 3", "4280 OFF"}
            << "4300 -1" << 0x72;
        QTest::newRow("LFO packed 0x1FF")
            << 12 << 5 << 0x1FF << L{"4235 ???", "4280 ON ", "4285 ON "} << "4205" << 0xF7;
    }
    // Variation 1 is shown first, then the damaged variation 2, as a project file left it.
    void damagedValues() {
        QFETCH(int, nType);
        QFETCH(int, nParam);
        QFETCH(int, nDamaged);
        QFETCH(QStringList, shown);
        QFETCH(QString, step);
        QFETCH(int, nSent);
        const SPanelIds& ids = PanelIds(nType);
        CViewBench b;
        CSection* pFirst = b.Add(ids.nKind, 1);
        Fill(pFirst, 9);
        pFirst->SetName("Long name here!!");
        CSection* pDamaged = b.Add(ids.nKind, 2);
        std::int32_t values[Kinds::kMaxParams] = {};
        for (int i = 0; i < pFirst->GetParamCount(); ++i)
            values[i] = pFirst->GetParam(i) ^ 0x55;
        values[nParam] = nDamaged;
        const char name[17] = "Ab";
        QVERIFY(pDamaged->SetStoredFields(false, 2, name, values));
        b.Open(nType, 1);
        b.Operate(QStringLiteral("%1 +1").arg(ids.nNumberKnob));
        QCOMPARE(b.pView->GetVariation(), pDamaged);
        CheckShown(*b.pView, shown);
        QCOMPARE(b.Shown(ids.nName), QByteArray("Ab              "));
        QCOMPARE(PanelSnapshot(*b.pView), PanelSnapshot(*OpenView(b.doc, nType, 2, false)));
        QCOMPARE(PairMismatch(*b.pView), QString());

        b.Operate(step);
        QCOMPARE(b.Sent(), QList<QByteArray>{InstrumentValue(ids.nKind, 2, nParam, nSent)});
        values[nParam] = nSent;
        QCOMPARE(Params(pDamaged), QList<int>(values, values + pDamaged->GetParamCount()));
        QVERIFY(b.doc.IsModified());
    }
};

QUENLEY_REGISTER_TEST(TestInstrumentViews)
#include "TestInstrumentViews.moc"
