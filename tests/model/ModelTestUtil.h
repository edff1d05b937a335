#pragma once

#include "CMidiWnd.h"
#include "CScriptedMidiDriver.h"
#include "CSysExItem.h"
#include "SectionKinds.h"

#include <QByteArray>
#include <QList>
#include <QObject>

#include <memory>

// A transmit queue on the scripted driver, for a test to hand to its project or sections. The
// port stays closed, so every message the sections build waits in the queue where the test can
// read it.
class CQueueFixture {
public:
    explicit CQueueFixture(int nChannel = 0)
        : m_pScript(std::make_shared<CMidiScript>()),
          m_wnd(std::make_unique<CScriptedMidiDriver>(m_pScript)) {
        m_wnd.Create(&m_frame);
        m_wnd.DMidiOutInit();
        m_wnd.SetMidiChannel(static_cast<std::uint16_t>(nChannel));
        m_wnd.SetMidiDevice(0);
    }

    // The waiting messages, oldest first.
    QList<QByteArray> Queued() const {
        QList<QByteArray> list;
        for (auto it = m_wnd.Queue().rbegin(); it != m_wnd.Queue().rend(); ++it)
            list.push_back(
                QByteArray(reinterpret_cast<const char*>((*it)->pBuffer.get()), (*it)->nLength));
        return list;
    }
    const CSysExItem& Oldest() const { return *m_wnd.Queue().back(); }
    const CSysExItem& Newest() const { return *m_wnd.Queue().front(); }
    void Clear() { m_wnd.DestroySysExList(); }

    std::shared_ptr<CMidiScript> m_pScript;
    QObject m_frame;
    CMidiWnd m_wnd;
};

// A module message built here byte by byte, not by the code under test.
inline QByteArray Message(std::uint8_t nArea, int nAddress, const QList<int>& values,
                          int nChannel = 0) {
    QByteArray b;
    b.append('\xF0').append('\x31').append(char(nArea)).append('\x56').append(char(nChannel));
    b.append(char((nAddress >> 7) & 0x7F)).append(char(nAddress & 0x7F));
    for (int v : values)
        b.append(char((v >> 7) & 0x7F)).append(char(v & 0x7F));
    return b.append('\xF7');
}

// The module address of parameter nIndex of variation nNumber of kind nKind.
inline int AddressOf(int nKind, int nNumber, int nIndex) {
    const Kinds::SKindInfo& info = Kinds::Info(nKind);
    return info.nBaseAddress + nNumber * info.nParams + nIndex;
}

inline QByteArray Hex(const char* psz) { return QByteArray::fromHex(psz); }
