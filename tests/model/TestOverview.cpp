#include "COverviewFilter.h"
#include "COverviewModel.h"
#include "CQuenleyDoc.h"
#include "RuntimeClasses.h"
#include "TestMain.h"

#include <QMimeData>
#include <QTest>

#include <memory>

namespace {

void SetName(CQuenleyDoc& doc, int nKind, int nNumber, const char* pszName) {
    CSection* pSection = doc.FindVariationOfKind(nKind, nNumber);
    QByteArray name(pszName);
    name.resize(pSection->GetNameLength(), ' ');
    pSection->SetName(name.constData());
}

// The largest project there is, but kick 100: every kit uses variation 0 of each kind except
// Kit003 Bank000 and Kit044 Bank001, which use kick 12 "Tight"; kit 259 is "Groove", snare 7
// "Tight Snr", and kick 5 is active.
void MakeLargest(CQuenleyDoc& doc) {
    for (int nKind = Kinds::kFirstKind; nKind <= Kinds::kLastKind; ++nKind) {
        const std::unique_ptr<CSection> pTemplate(NewSectionOfKind(nKind));
        for (int n = 0; n < Kinds::Info(nKind).nVariations; ++n)
            if (nKind != Kinds::kKick || n != 100)
                QVERIFY(doc.FindOrCreateVariation(pTemplate.get(), n));
    }
    for (int nKit : {3, 300})
        doc.FindVariationOfKind(Kinds::kKit, nKit)
            ->SetParam(Kinds::KitParamOfKind(Kinds::kKick), 12);
    SetName(doc, Kinds::kKick, 12, "Tight");
    SetName(doc, Kinds::kSnare, 7, "Tight Snr");
    SetName(doc, Kinds::kKit, 259, "Groove");
    doc.MakeActive(Kinds::kKick, 5);
}

QString Text(const QAbstractItemModel& model, const QModelIndex& index, int nRole) {
    return model.data(index, nRole).toString();
}

// Every row and column as the views read them.
QStringList Dump(const QAbstractItemModel& model, const QModelIndex& parent = {}) {
    QStringList lines;
    for (int r = 0; r < model.rowCount(parent); ++r) {
        QStringList cells;
        for (int c = 0; c < model.columnCount(parent); ++c)
            cells << Text(model, model.index(r, c, parent), Qt::DisplayRole);
        lines << cells.join('|');
        lines += Dump(model, model.index(r, 0, parent));
    }
    return lines;
}

// "insert 9 100-100": a range of rows under the top-level row 9 ("top" for the kinds).
class CSignalLog {
public:
    explicit CSignalLog(const QAbstractItemModel& model) {
        const auto Parent = [](const QModelIndex& p) {
            return p.isValid() ? QString::number(p.row()) : QStringLiteral("top");
        };
        QObject::connect(&model, &QAbstractItemModel::rowsInserted, &m_context,
                         [this, Parent](const QModelIndex& p, int a, int b) {
                             lines
                                 << QStringLiteral("insert %1 %2-%3").arg(Parent(p)).arg(a).arg(b);
                         });
        QObject::connect(&model, &QAbstractItemModel::rowsRemoved, &m_context,
                         [this, Parent](const QModelIndex& p, int a, int b) {
                             lines
                                 << QStringLiteral("remove %1 %2-%3").arg(Parent(p)).arg(a).arg(b);
                         });
        QObject::connect(&model, &QAbstractItemModel::dataChanged, &m_context,
                         [this, Parent](const QModelIndex& a, const QModelIndex& b) {
                             lines << QStringLiteral("change %1 %2-%3")
                                          .arg(Parent(a.parent()))
                                          .arg(a.row())
                                          .arg(b.row());
                         });
        QObject::connect(&model, &QAbstractItemModel::modelReset, &m_context,
                         [this] { lines << QStringLiteral("reset"); });
    }
    QStringList lines;

private:
    QObject m_context;
};

} // namespace

// The overview's model and search over the largest project.
class TestOverview : public QObject {
    Q_OBJECT

private slots:
    void rows_data() {
        QTest::addColumn<int>("nKind"); // 0: the kind row of nNumber
        QTest::addColumn<int>("nNumber");
        QTest::addColumn<int>("nRole");
        QTest::addColumn<QString>("text");
        const int nAccessible = Qt::AccessibleTextRole;
        QTest::newRow("LFOs first") << 0 << 11 << nAccessible << "LFOs, 256 variations";
        QTest::newRow("kick 100 missing") << 0 << 2 << nAccessible << "Kick, 255 variations";
        QTest::newRow("kits last") << 0 << 1 << nAccessible << "Kit, 768 kits";
        QTest::newRow("kick used twice")
            << 2 << 12 << nAccessible << "Kick 012 Tight, used by Kit003 Bank000, Kit044 Bank001";
        QTest::newRow("kick used by the rest") << 2 << 0 << int(Qt::DisplayRole)
                                               << "used by Kit000 Bank000, Kit001 Bank000, Kit002 "
                                                  "Bank000 and 763 more";
        QTest::newRow("active and unused")
            << 2 << 5 << nAccessible << "Kick 005 Untitled, active, unused";
        QTest::newRow("kit") << 1 << 259 << nAccessible << "Kit003 Bank001 Groove";
    }
    void rows() {
        QFETCH(int, nKind);
        QFETCH(int, nNumber);
        QFETCH(int, nRole);
        QFETCH(QString, text);
        CQuenleyDoc doc;
        MakeLargest(doc);
        COverviewModel model;
        model.Refresh(&doc);
        QCOMPARE(model.rowCount(), 11);
        QModelIndex index;
        if (nKind == 0) {
            // Store order: the kinds from the LFOs down.
            index = model.index(Kinds::kLastKind - nNumber, 0);
        } else {
            index = model.IndexOf({nKind, nNumber});
            if (nRole == Qt::DisplayRole)
                index = index.siblingAtColumn(COverviewModel::kUsedByColumn);
        }
        QCOMPARE(Text(model, index, nRole), text);
    }

    void filter_data() {
        QTest::addColumn<QString>("search");
        QTest::addColumn<QStringList>("shown"); // the first rows: number or kind, and name or count
        QTest::addColumn<int>("nFound");
        QTest::newRow("everything")
            << "" << QStringList{"LFOs|256 variations", "000|Untitled"} << 3327;
        QTest::newRow("kind and number")
            << "kick 12" << QStringList{"Kick|1 of 255 variations", "012|Tight"} << 1;
        QTest::newRow("digits run on")
            << "SNARE7" << QStringList{"Snare|1 of 256 variations", "007|Tight Snr"} << 1;
        QTest::newRow("part of names") << "tight"
                                       << QStringList{"Snare|1 of 256 variations", "007|Tight Snr",
                                                      "Kick|1 of 255 variations", "012|Tight"}
                                       << 2;
        QTest::newRow("kit in its bank")
            << "kit 3 bank 1" << QStringList{"Kit|1 of 768 kits", "Kit003 Bank001|Groove"} << 1;
        QTest::newRow("every word")
            << "tight snare" << QStringList{"Snare|1 of 256 variations", "007|Tight Snr"} << 1;
        QTest::newRow("no such number") << "kick 100" << QStringList{} << 0;
    }
    void filter() {
        QFETCH(QString, search);
        QFETCH(QStringList, shown);
        QFETCH(int, nFound);
        CQuenleyDoc doc;
        MakeLargest(doc);
        COverviewModel model;
        model.Refresh(&doc);
        COverviewFilter filter;
        filter.setSourceModel(&model);
        filter.SetSearch(search);
        QStringList lines = Dump(filter);
        QCOMPARE(lines.size() - filter.rowCount(), nFound);
        for (QString& line : lines)
            line = line.section('|', 0, 1);
        QCOMPARE(lines.mid(0, shown.size()), shown);
    }

    void refresh_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QStringList>("told"); // what the views were told
        // Kicks are top-level row 9; kick 100 is missing, so kick n > 100 is row n - 1.
        QTest::newRow("nothing") << "" << QStringList{};
        QTest::newRow("rename") << "rename" << QStringList{"change 9 12-12"};
        QTest::newRow("new variation")
            << "new" << QStringList{"insert 9 100-100", "change top 9-9"};
        QTest::newRow("destroy") << "destroy" << QStringList{"remove 9 12-12", "change top 9-9"};
        QTest::newRow("destroy a kind") << "destroy lfos" << QStringList{"remove top 0-0"};
        QTest::newRow("kit takes kick 13") << "choose" << QStringList{"change 9 12-13"};
        QTest::newRow("active mark moves")
            << "activate" << QStringList{"change 9 5-5", "change 9 199-199"};
    }
    void refresh() {
        QFETCH(QString, change);
        QFETCH(QStringList, told);
        CQuenleyDoc doc;
        MakeLargest(doc);
        COverviewModel model;
        model.Refresh(&doc);
        CSignalLog log(model);
        if (change == "rename") {
            SetName(doc, Kinds::kKick, 12, "Loose");
        } else if (change == "new") {
            const std::unique_ptr<CSection> pKick(NewSectionOfKind(Kinds::kKick));
            QVERIFY(doc.FindOrCreateVariation(pKick.get(), 100));
        } else if (change == "destroy") {
            QVERIFY(doc.RemoveVariation(doc.FindVariationOfKind(Kinds::kKick, 12)));
        } else if (change == "destroy lfos") {
            for (int n = 0; n < Kinds::kInstrumentVariations; ++n)
                QVERIFY(doc.RemoveVariation(doc.FindVariationOfKind(Kinds::kLfos, n)));
        } else if (change == "choose") {
            doc.FindVariationOfKind(Kinds::kKit, 3)
                ->SetParam(Kinds::KitParamOfKind(Kinds::kKick), 13);
        } else if (change == "activate") {
            QVERIFY(doc.MakeActive(Kinds::kKick, 200));
        }
        model.Refresh(&doc);
        QCOMPARE(log.lines, told);
        // What the changes left is what a new overview of the project shows.
        COverviewModel fresh;
        fresh.Refresh(&doc);
        QCOMPARE(Dump(model), Dump(fresh));
    }

    void drag() {
        CQuenleyDoc doc;
        MakeLargest(doc);
        COverviewModel model;
        model.Refresh(&doc);
        const QModelIndex kit = model.IndexOf({Kinds::kKit, 259});
        const QModelIndex kick = model.IndexOf({Kinds::kKick, 12});
        const std::unique_ptr<QMimeData> pData(
            model.mimeData({kit, kit.siblingAtColumn(1), kick, model.index(0, 0)}));
        QVERIFY(pData);
        QCOMPARE(SectionKeys::Decode(pData->data(SectionKeys::kMimeType)),
                 (std::vector<SSectionKey>{{Kinds::kKick, 12}, {Kinds::kKit, 259}}));
    }
};

QUENLEY_REGISTER_TEST(TestOverview)
#include "TestOverview.moc"
