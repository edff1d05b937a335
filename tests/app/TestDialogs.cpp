// The device dialog's choices and checks, the copy rules for instruments and kits, and the
// variation browser's list.

#include "AppFixture.h"
#include "CCopyVariationDlg.h"
#include "CImportProjectDlg.h"
#include "CMidiOutDeviceDlg.h"
#include "CVariationBrowserDlg.h"
#include "ModelTestUtil.h"
#include "TestMain.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

using Commands::ECommand;
using QuenleyMessage::EAnswer;
using QuenleyMessage::EButtons;

namespace {

CKick s_kick;
CKit s_kit;
CSnar s_snare;

// Message boxes answered from a queue and recorded, for dialogs tested on their own.
struct CAnswers {
    CAnswers() {
        QuenleyMessage::SetHook([this](const QString& strText, QuenleyMessage::EIcon,
                                       QuenleyMessage::EButtons eButtons) {
            texts << strText;
            buttons << eButtons;
            if (answers.empty())
                return EAnswer::Ok;
            const EAnswer e = answers.front();
            answers.pop_front();
            return e;
        });
    }
    ~CAnswers() { QuenleyMessage::SetHook({}); }
    QStringList texts;
    QList<EButtons> buttons;
    std::deque<EAnswer> answers;
};

CSection* Make(CQuenleyDoc& doc, const CSection& kind, int nNumber, int nFill) {
    CSection* p = doc.FindOrCreateVariation(&kind, nNumber);
    for (int i = 0; i < p->GetParamCount(); ++i)
        p->SetParam(i, (nFill + i) & 0xFF);
    return p;
}

} // namespace

class TestDialogs : public QObject {
    Q_OBJECT

private slots:
    void init() { CAppFixture::ClearSettings(); }

    // Opening with nothing chosen shows a blank port and channel 1.
    void deviceDialogOpensOnTheCurrentChoice() {
        CQueueFixture queue;
        CMidiWnd wnd(std::make_unique<CScriptedMidiDriver>(queue.m_pScript));
        QObject frame;
        wnd.Create(&frame);
        QVERIFY(wnd.DMidiOutInit());
        CMidiOutDeviceDlg dialog(&wnd);
        QCOMPARE(dialog.DeviceList()->count(), 3);
        QCOMPARE(dialog.DeviceList()->item(2)->text(), QStringLiteral("Scripted C"));
        QCOMPARE(dialog.SelectedText()->text(), QStringLiteral(" "));
        QCOMPARE(dialog.ChannelEdit()->text(), QStringLiteral("1"));
        QVERIFY(dialog.DeviceList()->selectedItems().isEmpty());

        QVERIFY(wnd.SetMidiDevice(1));
        QVERIFY(wnd.SetMidiChannel(9));
        CMidiOutDeviceDlg again(&wnd);
        QCOMPARE(again.SelectedText()->text(), QStringLiteral("Scripted B"));
        QCOMPARE(again.ChannelEdit()->text(), QStringLiteral("10"));
    }

    void deviceDialogValidatesTheChannel_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::newRow("17") << "17"
                            << "Please enter an integer between 1 and 16.";
        QTest::newRow("0") << "0"
                           << "Please enter an integer between 1 and 16.";
        QTest::newRow("empty") << ""
                               << "Please enter an integer.";
    }
    void deviceDialogValidatesTheChannel() {
        QFETCH(QString, typed);
        QFETCH(QString, message);
        CAnswers answers;
        CQueueFixture queue(4);
        CMidiOutDeviceDlg dialog(&queue.m_wnd);
        dialog.DeviceList()->setCurrentRow(2);
        dialog.ChannelEdit()->setText(typed);
        dialog.accept();
        QCOMPARE(answers.texts, QStringList({message}));
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(queue.m_wnd.GetMidiDevice(), 0u);
        QCOMPARE(queue.m_wnd.GetMidiChannel(), 4);
    }

    // OK applies the selected line and the channel; without a selection only the channel. Picking
    // a line puts an unconfirmed channel back.
    void deviceDialogApplies() {
        CAnswers answers;
        CQueueFixture queue(0);
        CMidiOutDeviceDlg dialog(&queue.m_wnd);
        dialog.ChannelEdit()->setText(QStringLiteral("12"));
        dialog.DeviceList()->setCurrentRow(1);
        QCOMPARE(dialog.SelectedText()->text(), QStringLiteral("Scripted B"));
        QCOMPARE(dialog.ChannelEdit()->text(), QStringLiteral("1"));
        dialog.ChannelEdit()->setText(QStringLiteral("16"));
        dialog.accept();
        QVERIFY(answers.texts.isEmpty());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(queue.m_wnd.GetMidiDevice(), 1u);
        QCOMPARE(queue.m_wnd.GetMidiChannel(), 15);
        // The next message to the module carries channel 15.
        CQuenleyDoc doc(&queue.m_wnd);
        doc.FindOrCreateVariation(&s_kick, 0)->SetParam(0, 1);
        QCOMPARE(queue.Queued().back().at(4), char(15));

        CMidiOutDeviceDlg channelOnly(&queue.m_wnd);
        channelOnly.ChannelEdit()->setText(QStringLiteral("3"));
        channelOnly.accept();
        QCOMPARE(queue.m_wnd.GetMidiDevice(), 1u);
        QCOMPARE(queue.m_wnd.GetMidiChannel(), 2);
    }

    void deviceDialogWithoutLink() {
        CAnswers answers;
        CMidiOutDeviceDlg dialog(nullptr);
        QCOMPARE(dialog.SelectedText()->text(), QStringLiteral("  Midi-Device error !"));
        QVERIFY(!dialog.DeviceList()->isEnabled());
        QVERIFY(!dialog.ChannelEdit()->isEnabled());
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }

    // Copying to the source's own number does nothing and keeps the dialog open; a kit's bank
    // is part of its number.
    void copyToTheSameNumber() {
        CAnswers answers;
        CQueueFixture queue;
        CQuenleyDoc doc(&queue.m_wnd);
        CSection* pKick = Make(doc, s_kick, 12, 40);
        queue.Clear();
        CCopyVariationDlg kick(&doc, pKick, QStringLiteral(" Kick    012 "));
        QVERIFY(!kick.BankEdit()->isEnabled());
        QVERIFY(!kick.StoreSoundsBox()->isEnabled());
        kick.NumberEdit()->setText(QStringLiteral("12"));
        kick.accept();
        QCOMPARE(kick.result(), int(QDialog::Rejected));
        QCOMPARE(doc.GetSectionList().size(), size_t(1));

        CSection* pKit44 = Make(doc, s_kit, 44, 1);
        CCopyVariationDlg kit(&doc, pKit44, QString());
        kit.NumberEdit()->setText(QStringLiteral("44"));
        kit.BankEdit()->setText(QStringLiteral("1"));
        kit.accept();
        QCOMPARE(kit.result(), int(QDialog::Accepted));
        CSection* pKit300 = doc.FindVariation(&s_kit, 300);
        QVERIFY(pKit300);
        QCOMPARE(pKit300->GetParam(10), pKit44->GetParam(10));

        CCopyVariationDlg again(&doc, pKit300, QString());
        again.NumberEdit()->setText(QStringLiteral("44"));
        again.BankEdit()->setText(QStringLiteral("1"));
        again.accept();
        QCOMPARE(again.result(), int(QDialog::Rejected));

        CCopyVariationDlg badBank(&doc, pKit300, QString());
        badBank.BankEdit()->setText(QStringLiteral("3"));
        badBank.accept();
        QCOMPARE(answers.texts, QStringList({"Please enter an integer between 0 and 2."}));
        QCOMPARE(badBank.result(), int(QDialog::Rejected));
    }

    // Overwriting asks; Cancel leaves the target as it was and closes the dialog; OK copies,
    // sends the target as one block, and marks the project modified.
    void copyOntoAnExistingInstrument() {
        CAnswers answers;
        CQueueFixture queue;
        CQuenleyDoc doc(&queue.m_wnd);
        CSection* pSource = Make(doc, s_kick, 3, 100);
        CSection* pTarget = Make(doc, s_kick, 7, 10);
        doc.SetModifiedFlag(false);
        queue.Clear();
        answers.answers = {EAnswer::Cancel};
        CCopyVariationDlg cancel(&doc, pSource, QString());
        cancel.NumberEdit()->setText(QStringLiteral("7"));
        cancel.accept();
        QCOMPARE(answers.texts, QStringList({"Kick007 always exist\noverwrite ?"}));
        QCOMPARE(answers.buttons.front(), EButtons::OkCancel);
        QCOMPARE(cancel.result(), int(QDialog::Accepted));
        QCOMPARE(pTarget->GetParam(0), 10);
        QVERIFY(queue.Queued().isEmpty());
        QVERIFY(!doc.IsModified());

        answers.answers = {EAnswer::Ok};
        CCopyVariationDlg ok(&doc, pSource, QString());
        ok.NumberEdit()->setText(QStringLiteral("7"));
        ok.accept();
        for (int i = 0; i < pSource->GetParamCount(); ++i)
            QCOMPARE(pTarget->GetParam(i), pSource->GetParam(i));
        QCOMPARE(pTarget->GetNumber(), 7);
        QCOMPARE(queue.Queued().size(), 1);
        QVERIFY(queue.Oldest().IsBlock());
        QCOMPARE(queue.Oldest().nVariation, 7);
        QVERIFY(doc.IsModified());
    }

    // Kit 3 to bank 2, number 9, with its sounds: kit 521 gets the name, each sound the kit
    // uses is copied to number 9 of its kind, and the kit points to those copies.
    void kitWithItsSounds() {
        CAnswers answers;
        CQueueFixture queue;
        CQuenleyDoc doc(&queue.m_wnd);
        CSection* pKit = doc.FindOrCreateVariation(&s_kit, 3);
        pKit->SetName("Groove  ");
        Make(doc, s_kick, 4, 30);
        Make(doc, s_snare, 6, 60);
        pKit->SetParam(8, 4);
        pKit->SetParam(9, 6);
        pKit->SetParam(10, 2); // no low tom 2
        answers.answers = {EAnswer::Yes};
        CCopyVariationDlg dialog(&doc, pKit, QString());
        dialog.NumberEdit()->setText(QStringLiteral("9"));
        dialog.BankEdit()->setText(QStringLiteral("2"));
        dialog.StoreSoundsBox()->setChecked(true);
        dialog.accept();
        QVERIFY(answers.texts.isEmpty());
        CSection* pNew = doc.FindVariation(&s_kit, 521);
        QVERIFY(pNew);
        QCOMPARE(QByteArray(pNew->GetName()), QByteArray("Groove  "));
        QCOMPARE(pNew->GetParam(8), 9);
        QCOMPARE(pNew->GetParam(9), 9);
        QCOMPARE(pNew->GetParam(10), 0); // the new kit's default, as no copy was made
        QCOMPARE(doc.FindVariation(&s_kick, 9)->GetParam(0), 30);
        QCOMPARE(doc.FindVariation(&s_snare, 9)->GetParam(0), 60);
        QVERIFY(!doc.FindVariationOfKind(Kinds::kLowTom, 9));
    }

    // An existing sound under the kit's number is asked about with Yes and No; No skips it.
    void kitSoundsAskBeforeOverwriting() {
        CAnswers answers;
        CQueueFixture queue;
        CQuenleyDoc doc(&queue.m_wnd);
        CSection* pKit = doc.FindOrCreateVariation(&s_kit, 3);
        Make(doc, s_kick, 4, 30);
        Make(doc, s_kick, 9, 90);
        pKit->SetParam(8, 4);
        answers.answers = {EAnswer::No};
        CCopyVariationDlg dialog(&doc, pKit, QString());
        dialog.NumberEdit()->setText(QStringLiteral("9"));
        dialog.StoreSoundsBox()->setChecked(true);
        dialog.accept();
        QCOMPARE(answers.texts, QStringList({"Kick009 always exist\noverwrite ?"}));
        QCOMPARE(answers.buttons.front(), EButtons::YesNo);
        QCOMPARE(doc.FindVariation(&s_kick, 9)->GetParam(0), 90);
        QCOMPARE(doc.FindVariation(&s_kit, 9)->GetParam(8), 0);
    }

    // Onto an existing active kit, either way the marks move to the sounds the kit now uses.
    void copyOntoTheActiveKitMovesTheMarks_data() {
        QTest::addColumn<bool>("storeSounds");
        QTest::newRow("plain copy") << false;
        QTest::newRow("store sounds") << true;
    }
    void copyOntoTheActiveKitMovesTheMarks() {
        QFETCH(bool, storeSounds);
        CAnswers answers;
        CQueueFixture queue;
        CQuenleyDoc doc(&queue.m_wnd);
        CSection* pSource = doc.FindOrCreateVariation(&s_kit, 3);
        CSection* pTarget = doc.FindOrCreateVariation(&s_kit, 9);
        Make(doc, s_kick, 1, 10);
        Make(doc, s_kick, 4, 40);
        Make(doc, s_kick, 9, 90);
        pSource->SetParam(8, 4);
        pTarget->SetParam(8, 1);
        QVERIFY(doc.MakeActive(Kinds::kKit, 9));
        QVERIFY(doc.MakeActive(Kinds::kKick, 1));
        answers.answers = {EAnswer::Yes, EAnswer::Yes};
        CCopyVariationDlg dialog(&doc, pSource, QString());
        dialog.NumberEdit()->setText(QStringLiteral("9"));
        dialog.StoreSoundsBox()->setChecked(storeSounds);
        dialog.accept();
        QCOMPARE(answers.texts.front(), QStringLiteral("Kit009 Bank000 always exist\noverwrite ?"));
        const int nUsed = pTarget->GetParam(8);
        QCOMPARE(nUsed, storeSounds ? 9 : 4);
        QCOMPARE(doc.FindActiveVariation(&s_kick)->GetNumber(), nUsed);
        QVERIFY(!doc.FindVariation(&s_kick, 1)->IsActive());
        QVERIFY(pTarget->IsActive());
        QVERIFY(!pSource->IsActive());
    }

    // The fields step with Up and Down and the wheel, and stop at their range's ends.
    void copyFieldsStep_data() {
        QTest::addColumn<bool>("bBank");
        QTest::addColumn<QString>("start");
        QTest::addColumn<int>("nKey"); // 0: one wheel notch, up for nNotch 1
        QTest::addColumn<int>("nNotch");
        QTest::addColumn<QString>("result");
        QTest::newRow("number up") << false << "7" << int(Qt::Key_Up) << 0 << "8";
        QTest::newRow("number down") << false << "7" << int(Qt::Key_Down) << 0 << "6";
        QTest::newRow("number top") << false << "255" << int(Qt::Key_Up) << 0 << "255";
        QTest::newRow("number bottom") << false << "0" << int(Qt::Key_Down) << 0 << "0";
        QTest::newRow("number wheel up") << false << "7" << 0 << 1 << "8";
        QTest::newRow("number wheel down") << false << "7" << 0 << -1 << "6";
        QTest::newRow("bank up") << true << "1" << int(Qt::Key_Up) << 0 << "2";
        QTest::newRow("bank top") << true << "2" << int(Qt::Key_Up) << 0 << "2";
        QTest::newRow("bank wheel top") << true << "2" << 0 << 1 << "2";
        QTest::newRow("bank wheel down") << true << "2" << 0 << -1 << "1";
    }
    void copyFieldsStep() {
        QFETCH(bool, bBank);
        QFETCH(QString, start);
        QFETCH(int, nKey);
        QFETCH(int, nNotch);
        QFETCH(QString, result);
        CQueueFixture queue;
        CQuenleyDoc doc(&queue.m_wnd);
        CCopyVariationDlg dialog(&doc, doc.FindOrCreateVariation(&s_kit, 3), QString());
        QLineEdit* pField = bBank ? dialog.BankEdit() : dialog.NumberEdit();
        pField->setText(start);
        if (nKey) {
            QTest::keyClick(pField, Qt::Key(nKey));
        } else {
            // A real wheel event over the field goes on to the box the field sits in; a sent one
            // would stop at the field.
            QWidget* pBox = pField->parentWidget();
            const QPointF at(pBox->width() / 2.0, pBox->height() / 2.0);
            QWheelEvent wheel(at, pBox->mapToGlobal(at), {}, {0, nNotch * 120}, Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(pBox, &wheel);
        }
        QCOMPARE(pField->text(), result);
    }

    // After a copy the status bar names what went where; after Cancel or No it says nothing.
    void copySaysWhatItCopied_data() {
        QTest::addColumn<int>("nKind");
        QTest::addColumn<int>("nNumber");
        QTest::addColumn<int>("nBank");
        QTest::addColumn<bool>("bStoreSounds");
        QTest::addColumn<bool>("bTargetExists");
        QTest::addColumn<QString>("said");
        const int kKick = Kinds::kKick;
        const int kKit = Kinds::kKit;
        QTest::newRow("kick") << kKick << 12 << 0 << false << false
                              << "Kick 000 copied to Kick 012.";
        QTest::newRow("kick overwritten")
            << kKick << 12 << 0 << false << true << "Kick 000 copied to Kick 012.";
        QTest::newRow("kit") << kKit << 10 << 1 << false << false
                             << "Kit 000 Bank 000 copied to Kit 010 Bank 001.";
        QTest::newRow("kit with its sounds")
            << kKit << 10 << 1 << true << false
            << "Kit 000 Bank 000 copied to Kit 010 Bank 001 with 2 sounds.";
        QTest::newRow("kick cancelled") << kKick << 12 << 0 << false << true << "";
        QTest::newRow("kit not overwritten") << kKit << 10 << 1 << true << true << "";
    }
    void copySaysWhatItCopied() {
        QFETCH(int, nKind);
        QFETCH(int, nNumber);
        QFETCH(int, nBank);
        QFETCH(bool, bStoreSounds);
        QFETCH(bool, bTargetExists);
        QFETCH(QString, said);
        CAppFixture f;
        f.StartWithProject();
        const bool bKit = nKind == Kinds::kKit;
        CSection* pSource = bKit ? f.Doc()->FindOrCreateVariation(&s_kit, 0)
                                 : f.Doc()->FindOrCreateVariation(&s_kick, 0);
        // The kit uses kick 4 and snare 6, and a low tom 2 the project does not hold.
        Make(*f.Doc(), s_kick, 4, 40);
        Make(*f.Doc(), s_snare, 6, 60);
        for (auto [nParam, nUsed] : {std::pair{8, 4}, {9, 6}, {10, 2}})
            f.Doc()->FindOrCreateVariation(&s_kit, 0)->SetParam(nParam, nUsed);
        if (bTargetExists)
            Make(*f.Doc(), bKit ? static_cast<const CSection&>(s_kit) : s_kick,
                 bKit ? Kinds::kKitsPerBank + 10 : 12, 1);
        f.Trigger(bKit ? ECommand::OpenKit : ECommand::OpenKick);
        QCOMPARE(f.Frame().ActiveView()->GetVariation(), pSource);
        // A question about the target: OK or No for the rows that expect nothing said.
        f.answers = {said.isEmpty() ? (bKit ? EAnswer::No : EAnswer::Cancel)
                                    : (bKit ? EAnswer::Yes : EAnswer::Ok)};
        f.Frame().statusBar()->clearMessage();
        QTimer::singleShot(0, [&] {
            auto* pDialog = qobject_cast<CCopyVariationDlg*>(QApplication::activeModalWidget());
            QVERIFY(pDialog);
            pDialog->NumberEdit()->setText(QString::number(nNumber));
            pDialog->BankEdit()->setText(QString::number(nBank));
            pDialog->StoreSoundsBox()->setChecked(bStoreSounds);
            pDialog->accept();
        });
        f.Press(ECommand::CopyTo);
        QCOMPARE(f.shown.size(), size_t(bTargetExists ? 1 : 0));
        QCOMPARE(f.Frame().statusBar()->currentMessage(), said);
    }

    // Import from Project lists the other project's sections, from the LFOs down to the kits,
    // and copies the chosen one under the number given, as one step; Cancel anywhere changes
    // nothing.
    void importFromProject_data() {
        QTest::addColumn<bool>("bFileChosen");
        QTest::addColumn<int>("nRow"); // -1: Cancel in the list
        QTest::addColumn<bool>("bCopy");
        QTest::addColumn<int>("nNumber"); // -1: as offered
        QTest::addColumn<bool>("bStoreSounds");
        QTest::addColumn<QString>("said");
        QTest::addColumn<QStringList>("made");
        QTest::addColumn<int>("nQueued");
        QTest::addColumn<QString>("step");
        QTest::newRow("kit with its sounds")
            << true << 2 << true << 9 << true
            << "Kit 003 Bank 000 copied to Kit 009 Bank 000 with 2 sounds."
            << QStringList{"Snar009 Crack", "Kick009 Deep", "Kit 009 Bank000 Groove"} << 6
            << "Copy to Kit 009 Bank 000";
        QTest::newRow("kick under its own number")
            << true << 1 << true << -1 << false << "Kick 004 copied to Kick 004."
            << QStringList{"Kick004 Deep"} << 1 << "Copy to Kick 004";
        QTest::newRow("Cancel in the copy")
            << true << 2 << false << 9 << true << "" << QStringList{} << 0 << "";
        QTest::newRow("Cancel in the list")
            << true << -1 << false << 9 << true << "" << QStringList{} << 0 << "";
        QTest::newRow("no file") << false << -1 << false << 9 << true << "" << QStringList{} << 0
                                 << "";
    }
    void importFromProject() {
        QFETCH(bool, bFileChosen);
        QFETCH(int, nRow);
        QFETCH(bool, bCopy);
        QFETCH(int, nNumber);
        QFETCH(bool, bStoreSounds);
        QFETCH(QString, said);
        QFETCH(QStringList, made);
        QFETCH(int, nQueued);
        QFETCH(QString, step);
        QTemporaryDir dir;
        const QString strPath = dir.filePath(QStringLiteral("other.qly"));
        {
            // Kit 3 uses kick 4 and snare 6, and a low tom 2 the project lacks.
            CQuenleyDoc other;
            CSection* pKit = other.FindOrCreateVariation(&s_kit, 3);
            pKit->SetName("Groove  ");
            for (auto [nParam, nUsed] : {std::pair{8, 4}, {9, 6}, {10, 2}})
                pKit->SetParam(nParam, nUsed);
            Make(other, s_kick, 4, 40)->SetName("Deep            ");
            Make(other, s_snare, 6, 60)->SetName("Crack           ");
            QVERIFY(other.OnSaveDocument(strPath));
        }
        CAppFixture f;
        f.StartWithProject();
        const QByteArray before = f.Doc()->SaveToBytes();
        f.Midi().DestroySysExList();
        f.Frame().statusBar()->clearMessage();
        QStringList listed;
        if (bFileChosen) {
            f.files = {strPath};
            QTimer::singleShot(0, [&] {
                auto* pList = qobject_cast<CImportProjectDlg*>(QApplication::activeModalWidget());
                QVERIFY(pList);
                for (int i = 0; i < pList->List()->count(); ++i)
                    listed << pList->List()->item(i)->text().simplified();
                if (nRow < 0)
                    return pList->reject();
                QTimer::singleShot(0, [&] {
                    auto* pCopy =
                        qobject_cast<CCopyVariationDlg*>(QApplication::activeModalWidget());
                    QVERIFY(pCopy);
                    if (nNumber >= 0)
                        pCopy->NumberEdit()->setText(QString::number(nNumber));
                    pCopy->StoreSoundsBox()->setChecked(bStoreSounds);
                    bCopy ? pCopy->accept() : pCopy->reject();
                });
                pList->List()->setCurrentRow(nRow);
                pList->accept();
            });
        }
        f.Trigger(ECommand::ImportFromProject);
        if (bFileChosen)
            QCOMPARE(listed,
                     QStringList({"Snar006 Crack", "Kick004 Deep", "Kit 003 Bank000 Groove"}));
        QCOMPARE(f.Frame().statusBar()->currentMessage(), said);
        QStringList now;
        for (const auto& pSection : f.Doc()->GetSectionList())
            now << QString::fromLatin1(pSection->GetDisplayString()).simplified();
        QCOMPARE(now, made);
        QCOMPARE(f.Midi().QueueLength(), nQueued);
        if (made.isEmpty())
            return;
        QCOMPARE(f.Action(ECommand::Undo)->text(), QStringLiteral("&Undo ") + step);
        f.Trigger(ECommand::Undo);
        QCOMPARE(f.Doc()->SaveToBytes(), before);
    }

    // The browser lists the kind's variations in number order, the first one selected, and
    // opens a window on the choice; the shown one just closes it.
    void browserListsTheKind() {
        CQueueFixture queue;
        CQuenleyDoc doc(&queue.m_wnd);
        for (int n : {9, 1, 4})
            doc.FindOrCreateVariation(&s_kick, n)->SetName("Boom            ");
        doc.FindOrCreateVariation(&s_snare, 2);
        doc.FindOrCreateVariation(&s_kit, 0);
        CSection* pKick4 = doc.FindVariation(&s_kick, 4);
        QList<CSection*> opened;
        CVariationBrowserDlg dialog(&doc, pKick4, [&opened](CSection* p) {
            opened << p;
            return true;
        });
        QCOMPARE(dialog.List()->count(), 3);
        QCOMPARE(dialog.List()->item(0)->text(), QStringLiteral("Kick001 Boom            "));
        QCOMPARE(dialog.List()->item(2)->text(), QStringLiteral("Kick009 Boom            "));
        QCOMPARE(dialog.List()->currentRow(), 0);
        QCOMPARE(dialog.SelectedText()->text(), dialog.List()->item(0)->text());
        dialog.List()->setCurrentRow(2);
        QCOMPARE(dialog.SelectedText()->text(), dialog.List()->item(2)->text());
        dialog.accept();
        QCOMPARE(opened, QList<CSection*>({doc.FindVariation(&s_kick, 9)}));
        QCOMPARE(dialog.result(), int(QDialog::Accepted));

        CVariationBrowserDlg same(&doc, pKick4, [&opened](CSection* p) {
            opened << p;
            return true;
        });
        same.List()->setCurrentRow(1);
        same.accept();
        QCOMPARE(opened.size(), 1);
        QCOMPARE(same.result(), int(QDialog::Accepted));

        // A window that cannot be opened keeps the dialog open.
        CVariationBrowserDlg refused(&doc, pKick4, [](CSection*) { return false; });
        refused.accept();
        QCOMPARE(refused.result(), int(QDialog::Rejected));
    }

    void browserOnAnEmptyProject() {
        CQuenleyDoc doc;
        CVariationBrowserDlg dialog(&doc, &s_kick, nullptr);
        QCOMPARE(dialog.SelectedText()->text(), QStringLiteral(" ... no variation found !"));
        QCOMPARE(dialog.List()->count(), 0);
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }
};

QUENLEY_REGISTER_TEST(TestDialogs)
#include "TestDialogs.moc"
