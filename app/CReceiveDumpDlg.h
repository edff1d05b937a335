#pragma once

#include "CSysExReader.h"

#include <QByteArray>
#include <QDialog>
#include <QElapsedTimer>
#include <QList>

class CMidiInput;
class CQuenleyDoc;
class QLabel;
class QPushButton;
class QTimer;

// Shows a dump coming in from the module through an open input: the messages, bytes and
// variations so far and the time since the last byte, updated a few times a second rather
// than for every message. Ends by itself after a quiet spell once something came, at once with
// Done, or with Cancel, which drops what came. The input is neither opened nor closed here.
class CReceiveDumpDlg : public QDialog {
    Q_OBJECT

public:
    enum class EEnd { Running, Quiet, Done, Cancelled, DeviceGone };

    CReceiveDumpDlg(CMidiInput& input, CQuenleyDoc& doc, int nQuietMs, QWidget* pParent = nullptr);

    // The whole System Exclusive messages received, in order.
    const QList<QByteArray>& Messages() const { return m_messages; }
    EEnd End() const { return m_eEnd; }
    QPushButton* DoneButton() const { return m_pDone; }
    QLabel* CountsText() const { return m_pCounts; }

    void reject() override;

private:
    void OnMessage(const QByteArray& message);
    void OnActivity();
    void Tick();
    void Finish(EEnd eEnd);
    void ShowCounts();

    CMidiInput& m_input;
    CQuenleyDoc& m_doc;
    const int m_nQuietMs;
    QList<QByteArray> m_messages;
    CSysExReader m_reader; // what the messages so far write, for the count of variations
    QElapsedTimer m_sinceLast;
    EEnd m_eEnd = EEnd::Running;
    bool m_bChanged = true;
    int m_nVariations = 0;
    QLabel* m_pState = nullptr;
    QLabel* m_pCounts = nullptr;
    QPushButton* m_pDone = nullptr;
    QTimer* m_pTick = nullptr;
};
