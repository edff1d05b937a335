#include "CQuickView.h"
#include "KitViewTestUtil.h"
#include "TestMain.h"
#include "ViewBench.h"
#include "ViewTypes.h"

#include <QTest>

namespace {

namespace QuickIds {
inline constexpr unsigned kKitNumber = 3000;
inline constexpr unsigned kBank = 3005;
inline constexpr unsigned kName = 3010;
// Row r: kick 0 ... LFOs 9.
constexpr unsigned RowNumber(int r) {
    return 3015u + 10 * r;
}
constexpr unsigned RowName(int r) {
    return 3020u + 10 * r;
}
} // namespace QuickIds

constexpr unsigned kSnareName = 3515;
constexpr unsigned kSnareTuneKnob = 3570;
constexpr unsigned kHiHatInit = 4015;

// A step of the bench below: operate control nId of a window with the input.
QString Op(const char* pszWindow, unsigned nId, const char* pszInput = "") {
    return QStringLiteral("%1 %2 %3")
        .arg(QLatin1String(pszWindow))
        .arg(nId)
        .arg(QLatin1String(pszInput));
}
QString Destroy(int nKind, int nNumber) {
    return QStringLiteral("delete %1 %2").arg(nKind).arg(nNumber);
}

const char* const kUndefined = " - Undefined -  ";

// A name as a section holds it: the characters given, blanks to its full length.
QByteArray Name(const char* pszName, int nLength = 16) {
    return QByteArray(pszName).leftJustified(nLength, ' ', true);
}

// A window of any type as the frame makes it, on screen so it can be operated.
// Every section as a line: kind, number, mark, name and values.
QStringList Contents(const CQuenleyDoc& doc) {
    QStringList lines;
    for (const auto& p : doc.GetSectionList()) {
        QString line = QStringLiteral("%1 %2 %3 [%4]")
                           .arg(p->GetKind())
                           .arg(p->GetNumber())
                           .arg(p->IsActive())
                           .arg(QString::fromLatin1(p->GetName()));
        for (int i = 0; i < p->GetParamCount(); ++i)
            line += QStringLiteral(" %1").arg(p->GetParam(i));
        lines << line;
    }
    return lines;
}

// Kit 517 "Groove" uses kick 3, snare 7, hi-hat 9 and LFOs 2 (none of the other kinds' 0
// exists). A kick 7 and kits 0 and 5 are there to be mistaken for what the window shows.
void FillProject(CKitBench& b, bool bActive = false) {
    CSection* pKit = b.Add(1, 517);
    pKit->SetName(Name("Groove", 8));
    for (const auto& [nParam, nValue] : {std::pair{8, 3}, {9, 7}, {12, 9}, {17, 2}})
        pKit->SetParam(nParam, nValue);
    pKit->SetActive(bActive);
    b.Add(1, 0)->SetName(Name("Zero", 8));
    b.Add(1, 5, 9, 8)->SetName(Name("Bank0", 8));
    const struct {
        int nKind;
        int nNumber;
        const char* pszName;
    } variations[] = {{2, 3, "Boom"},  {2, 7, "Other kind"}, {3, 5, "Five"},   {3, 7, "Crack"},
                      {3, 8, "Brush"}, {6, 9, "Tight"},      {11, 2, "Wobble"}};
    for (const auto& v : variations)
        b.Add(v.nKind, v.nNumber)->SetName(Name(v.pszName));
}

// What the Kit-Info window shows for a check key: "caption", "number" (the number it keeps) or
// a control id.
QString Shown(CDView& view, const QString& strKey) {
    if (strKey == QLatin1String("caption"))
        return view.windowTitle();
    if (strKey == QLatin1String("number")) {
        int n = -1;
        view.GetShownNumber(n);
        return QString::number(n);
    }
    const auto* pLcd = view.ControlAs<CDLcd>(strKey.toUInt());
    return pLcd ? QString::fromLatin1(pLcd->GetText()) : QStringLiteral("no control");
}

// Checks "key=text", each against what the window shows.
void VerifyShown(CDView& view, const QStringList& checks) {
    for (const QString& check : checks) {
        const QString strKey = check.section('=', 0, 0);
        QCOMPARE(Shown(view, strKey), check.section('=', 1));
    }
}

QString Check(unsigned nId, const char* pszText) {
    return QStringLiteral("%1=%2").arg(nId).arg(QLatin1String(pszText));
}

// Every row: number 000 and no name.
QStringList UndefinedRows() {
    QStringList checks;
    for (int r = 0; r < CQuickView::kRows; ++r)
        checks << Check(QuickIds::RowNumber(r), "000") << Check(QuickIds::RowName(r), kUndefined);
    return checks;
}

// Stands just before or just after the Kit-Info window in the document's list of views, so the
// document tells it of every change just before or just after the window; what it sees then
// (the queue, the modified flag and the project) must not differ.
class CProbe : public CDocumentView {
public:
    explicit CProbe(CKitBench& b) : m_b(b) { m_b.doc.AddView(this); }
    ~CProbe() override { m_b.doc.RemoveView(this); }
    CSection* GetVariation() const override { return nullptr; }
    int GetViewType() const override { return 0; }
    bool GetWindowPlacement(SWindowPlacement&) const override { return false; }
    void OnUpdate(CDocumentView*, int, CSection*) override { Record(); }
    bool OnSectionListChanged(int) override {
        Record();
        return false;
    }

    QStringList seen;

private:
    void Record() {
        seen << QStringLiteral("%1 messages, modified %2: %3")
                    .arg(m_b.Sent().size())
                    .arg(m_b.doc.IsModified())
                    .arg(Contents(m_b.doc).join(QLatin1String("; ")));
    }

    CKitBench& m_b;
};

// The project, a kit window on kit 517, a snare window on 7 and a hi-hat window on 9, and the
// Kit-Info window on 517 when asked for; the queue and the modified flag then start empty.
struct CQuickBench : CKitBench {
    std::unique_ptr<CDView> pSnare;
    std::unique_ptr<CDView> pHiHat;
    std::unique_ptr<CProbe> pBefore;
    std::unique_ptr<CDView> pQuick;
    std::unique_ptr<CProbe> pAfter;

    explicit CQuickBench(bool bWithQuick) {
        FillProject(*this);
        Open(517);
        pSnare = OpenView(doc, ViewTypes::kSnare, 7);
        pHiHat = OpenView(doc, ViewTypes::kHiHat, 9);
        if (bWithQuick) {
            pBefore = std::make_unique<CProbe>(*this);
            pQuick = OpenView(doc, ViewTypes::kQuick, 517);
            pAfter = std::make_unique<CProbe>(*this);
        }
        queue.Clear();
        doc.SetModifiedFlag(false);
    }

    // "window id [input]" operates a control of the kit, snare, hi-hat or Kit-Info window;
    // "delete kind number" destroys a section as the Destroy command does.
    void Step(const QString& strStep) {
        const QString strWhat = strStep.section(' ', 0, 0);
        const int nFirst = strStep.section(' ', 1, 1).toInt();
        // Typed text may end in blanks.
        const QString strInput = strStep.section(' ', 2);
        if (strWhat == QLatin1String("delete")) {
            QVERIFY(doc.RemoveVariation(Find(nFirst, strInput.toInt())));
            doc.SectionListChanged(nFirst);
            return;
        }
        CDView* pWindow = strWhat == QLatin1String("kit")     ? pView.get()
                          : strWhat == QLatin1String("snare") ? pSnare.get()
                          : strWhat == QLatin1String("hihat") ? pHiHat.get()
                                                              : pQuick.get();
        if (!pWindow)
            return; // the Kit-Info window's own steps, in the run without it
        // A knob counts from the last pointer position any knob saw, so no other window may
        // lie under the pointer when it comes over the control.
        for (CDView* p :
             {static_cast<CDView*>(pView.get()), pSnare.get(), pHiHat.get(), pQuick.get()})
            if (p)
                p->move(p == pWindow ? QPoint(0, 0) : QPoint(2000, 0));
        pWindow->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(pWindow));
        OperateControl(*pWindow, unsigned(nFirst), strInput);
    }
};

} // namespace

// The Kit-Info window on a real project among kit and instrument windows: it shows the kit it
// was opened for and follows every change the other windows make, and it never changes the
// project or sends anything itself.
class TestQuickView : public QObject {
    Q_OBJECT

private slots:
    void opensOnItsKit_data() {
        using namespace QuickIds;
        QTest::addColumn<int>("nNumber");
        QTest::addColumn<bool>("bActive");
        QTest::addColumn<QStringList>("checks");
        const QStringList rows517 = {
            Check(RowNumber(0), "003"), Check(RowName(0), "Boom            "),
            Check(RowNumber(1), "007"), Check(RowName(1), "Crack           "),
            Check(RowNumber(2), "000"), Check(RowName(2), kUndefined),
            Check(RowNumber(4), "009"), Check(RowName(4), "Tight           "),
            Check(RowNumber(9), "002"), Check(RowName(9), "Wobble          ")};
        QTest::newRow("kit 517") << 517 << false
                                 << QStringList{"caption= i Kit005 Bank002 ",
                                                Check(kKitNumber, "005"), Check(kBank, "002"),
                                                Check(kName, "Groove  ")} +
                                        rows517;
        QTest::newRow("kit 517, active")
            << 517 << true << QStringList{"caption= i Kit005 Bank002*"} + rows517;
        QTest::newRow("kit 5 of bank 0, on snare 8")
            << 5 << false << QStringList{"caption= i Kit005 Bank000 ",
                                         Check(kBank, "000"),
                                         Check(kName, "Bank0   "),
                                         Check(RowNumber(0), "000"),
                                         Check(RowName(0), kUndefined),
                                         Check(RowNumber(1), "008"),
                                         Check(RowName(1), "Brush           ")};
        QTest::newRow("no kit on 300, kit 0 there")
            << 300 << false
            << QStringList{"caption= Undefined", "number=300", Check(kKitNumber, "044"),
                           Check(kBank, "001"), Check(kName, "-Undef.-")} +
                   UndefinedRows();
    }
    // Opening shows and marks nothing: an active kit's variations keep their marks as they are.
    void opensOnItsKit() {
        QFETCH(int, nNumber);
        QFETCH(bool, bActive);
        QFETCH(QStringList, checks);
        CKitBench b;
        FillProject(b, bActive);
        b.queue.Clear();
        b.doc.SetModifiedFlag(false);
        const QStringList before = Contents(b.doc);
        std::unique_ptr<CDView> pQuick = OpenView(b.doc, ViewTypes::kQuick, nNumber);
        VerifyShown(*pQuick, checks);
        QCOMPARE(pQuick->GetVariation(), b.Find(1, nNumber));
        auto& quick = static_cast<CQuickView&>(*pQuick);
        if (nNumber == 517) {
            QCOMPARE(quick.RowVariation(0), b.Find(2, 3));
            QCOMPARE(quick.RowVariation(1), b.Find(3, 7));
            QCOMPARE(quick.RowVariation(2), nullptr);
        }
        QCOMPARE(Contents(b.doc), before);
        QCOMPARE(b.Sent(), QList<QByteArray>());
        QVERIFY(!b.doc.IsModified());
    }

    void followsTheOtherWindows_data() {
        using namespace QuickIds;
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<int>("nSent"); // by the other windows
        QTest::addColumn<QStringList>("checks");
        const QString strUndefinedKit = QStringLiteral("caption= Undefined");
        const QStringList keepsItsNumber = {"number=517", Check(kKitNumber, "005"),
                                            Check(kBank, "002"), Check(kName, "-Undef.-")};
        QTest::newRow("kit activated in its window") << QStringList{Op("kit", KitIds::kActive)} << 0
                                                     << QStringList{"caption= i Kit005 Bank002*"};
        QTest::newRow("the mark moves on to kit 5")
            << QStringList{Op("kit", KitIds::kActive), Op("kit", KitIds::kBankLcd, "000"),
                           Op("kit", KitIds::kActive)}
            << 0 << QStringList{"caption= i Kit005 Bank002 ", Check(kName, "Groove  ")};
        QTest::newRow("kit renamed in its window")
            << QStringList{Op("kit", KitIds::kName, "Swing   ")} << 1
            << QStringList{Check(kName, "Swing   ")};
        QTest::newRow("the snare it uses renamed in a snare window")
            << QStringList{Op("snare", kSnareName, "Crisp")} << 0
            << QStringList{Check(RowNumber(1), "007"), Check(RowName(1), "Crisp           ")};
        QTest::newRow("the snare it uses edited in a snare window")
            << QStringList{Op("snare", kSnareTuneKnob, "+3")} << 1
            << QStringList{Check(RowName(1), "Crack           ")};
        QTest::newRow("another snare typed in the kit window")
            << QStringList{Op("kit", KitIds::VariationLcd(1), "008")} << 1
            << QStringList{Check(RowNumber(1), "008"), Check(RowName(1), "Brush           ")};
        QTest::newRow("another snare turned to in the kit window")
            << QStringList{Op("kit", KitIds::VariationKnob(1), "-2")} << 1
            << QStringList{Check(RowNumber(1), "005"), Check(RowName(1), "Five            ")};
        QTest::newRow("a snare number without a snare")
            << QStringList{Op("kit", KitIds::VariationLcd(1), "099")} << 1
            << QStringList{Check(RowNumber(1), "099"), Check(RowName(1), kUndefined)};
        QTest::newRow("the hi-hat it uses destroyed")
            << QStringList{Destroy(6, 9)} << 0
            << QStringList{Check(RowNumber(4), "009"), Check(RowName(4), kUndefined),
                           Check(RowName(1), "Crack           ")};
        QTest::newRow("the hi-hat made again by its window's Init.")
            << QStringList{Destroy(6, 9), Op("hihat", kHiHatInit)} << 1
            << QStringList{Check(RowNumber(4), "009"), Check(RowName(4), "Untitled        ")};
        QTest::newRow("typed into its own read-outs")
            << QStringList{Op("quick", RowNumber(1), "099"), Op("quick", kName, "Hacked  ")} << 0
            << QStringList{Check(RowNumber(1), "007"), Check(kName, "Groove  ")};
        QTest::newRow("kit destroyed")
            << QStringList{Destroy(1, 517)} << 0
            << QStringList{strUndefinedKit} + keepsItsNumber + UndefinedRows();
        QTest::newRow("kit destroyed, then kits 5 and 0 changed")
            << QStringList{Destroy(1, 517),
                           Op("kit", KitIds::kBankLcd, "000"),
                           Op("kit", KitIds::kName, "Other   "),
                           Op("kit", KitIds::kActive),
                           Op("kit", KitIds::kKitLcd, "000"),
                           Op("kit", KitIds::kActive),
                           Op("kit", KitIds::kName, "Nought  ")}
            << 2 << QStringList{strUndefinedKit} + keepsItsNumber + UndefinedRows();
        QTest::newRow("kit made again on its number by the kit window's Init.")
            << QStringList{Destroy(1, 517), Op("kit", KitIds::kInit)} << 2
            << QStringList{"caption= i Kit005 Bank002 ", Check(kKitNumber, "005"),
                           Check(kBank, "002"),          Check(kName, "Untitled"),
                           Check(RowNumber(0), "000"),   Check(RowName(0), kUndefined),
                           Check(RowNumber(1), "005"),   Check(RowName(1), "Five            ")};
        QTest::newRow("kit destroyed, made again, activated")
            << QStringList{Destroy(1, 517), Op("kit", KitIds::kInit), Op("kit", KitIds::kActive)}
            << 2 << QStringList{"caption= i Kit005 Bank002*", Check(RowNumber(1), "005")};
    }
    // The same steps run once without the Kit-Info window: whatever it shows, the project, the
    // queue and the modified flag end the same, so nothing of them is its doing.
    void followsTheOtherWindows() {
        QFETCH(QStringList, steps);
        QFETCH(int, nSent);
        QFETCH(QStringList, checks);
        QStringList withoutContents;
        QList<QByteArray> withoutSent;
        bool bWithoutModified = false;
        {
            CQuickBench b(false);
            for (const QString& step : steps) {
                b.Step(step);
                if (QTest::currentTestFailed())
                    return;
            }
            withoutContents = Contents(b.doc);
            withoutSent = b.Sent();
            bWithoutModified = b.doc.IsModified();
        }
        CQuickBench b(true);
        for (const QString& step : steps) {
            b.Step(step);
            if (QTest::currentTestFailed())
                return;
        }
        VerifyShown(*b.pQuick, checks);
        QCOMPARE(b.pQuick->GetVariation(), b.Find(1, 517));
        QCOMPARE(Contents(b.doc), withoutContents);
        QCOMPARE(b.Sent(), withoutSent);
        QCOMPARE(withoutSent.size(), nSent);
        QCOMPARE(b.pAfter->seen, b.pBefore->seen);
        QCOMPARE(b.doc.IsModified(), bWithoutModified);
    }
};

QUENLEY_REGISTER_TEST(TestQuickView)
#include "TestQuickView.moc"
