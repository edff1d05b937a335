#include "CScriptedMidiDriver.h"

#include <QCoreApplication>
#include <QMetaObject>

QString HexBytes(const QByteArray& bytes) {
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

void CMidiScript::Due(EMidiNotify eNotify, DMidiHeader* pHeader) {
    pending.push_back({eNotify, pHeader});
    if (bAuto) {
        std::weak_ptr<CMidiScript> pWeak = weak_from_this();
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [pWeak] {
                if (auto pScript = pWeak.lock())
                    pScript->Deliver();
            },
            Qt::QueuedConnection);
    }
}

QList<QByteArray> CMidiScript::LongsSince(std::size_t nMark) const {
    QList<QByteArray> list;
    for (std::size_t i = nMark; i < sent.size(); ++i)
        if (sent[i].size() > 3)
            list << sent[i];
    return list;
}

bool CMidiScript::Complete() {
    if (inFlight.empty())
        return false;
    DMidiHeader* pHeader = inFlight.front();
    inFlight.pop_front();
    pHeader->dwFlags = (pHeader->dwFlags & ~MHDR_INQUEUE) | MHDR_DONE;
    Due(EMidiNotify::Done, pHeader);
    return true;
}

void CMidiScript::Vanish() {
    bGone = true;
    while (!inFlight.empty()) {
        DMidiHeader* pHeader = inFlight.front();
        inFlight.pop_front();
        pHeader->dwFlags =
            (pHeader->dwFlags & ~MHDR_INQUEUE) | MHDR_DONE | MHDR_FAILED | MHDR_NODEVICE;
        Due(EMidiNotify::Done, pHeader);
    }
}

bool CMidiScript::Deliver() {
    if (pending.empty())
        return false;
    Note note = pending.front();
    pending.pop_front();
    if (pProc)
        pProc(pInstance, note.eNotify, note.pHeader);
    return true;
}

int CMidiScript::DeliverAll() {
    int n = 0;
    while (Deliver())
        ++n;
    return n;
}

namespace {

class CScriptedPort : public CMidiOutPort {
public:
    explicit CScriptedPort(std::shared_ptr<CMidiScript> pScript) : m_pScript(std::move(pScript)) {}
    // Like a real port: what a closed port still had to say is said before it is gone; a port
    // destroyed while open says nothing more.
    ~CScriptedPort() override {
        CMidiScript& s = *m_pScript;
        if (s.bOpen) {
            s.pending.clear();
            s.inFlight.clear();
            s.bOpen = false;
        } else {
            s.DeliverAll();
        }
        s.pProc = nullptr;
    }

    MMRESULT Close() override {
        CMidiScript& s = *m_pScript;
        s.calls << QStringLiteral("close");
        if (!s.inFlight.empty())
            return MIDIERR_STILLPLAYING;
        if (s.nCloseResult != MMSYSERR_NOERROR)
            return s.nCloseResult;
        s.bOpen = false;
        s.Due(EMidiNotify::Close, nullptr);
        return MMSYSERR_NOERROR;
    }
    MMRESULT Reset() override {
        CMidiScript& s = *m_pScript;
        s.calls << QStringLiteral("reset");
        if (s.nResetResult != MMSYSERR_NOERROR)
            return s.nResetResult;
        while (s.Complete()) {
        }
        return MMSYSERR_NOERROR;
    }
    MMRESULT ShortMsg(std::uint32_t dwMsg) override {
        CMidiScript& s = *m_pScript;
        QByteArray bytes;
        for (int i = 0; i < 3; ++i)
            bytes.append(static_cast<char>((dwMsg >> (8 * i)) & 0xFF));
        s.calls << QStringLiteral("short ") + HexBytes(bytes);
        if (s.bGone)
            return MIDIERR_NODEVICE;
        if (s.nShortResult != MMSYSERR_NOERROR)
            return s.nShortResult;
        s.sent.push_back(bytes);
        return MMSYSERR_NOERROR;
    }
    MMRESULT PrepareHeader(DMidiHeader* pHeader) override {
        CMidiScript& s = *m_pScript;
        s.calls << QStringLiteral("prepare");
        if (s.nPrepareResult != MMSYSERR_NOERROR)
            return s.nPrepareResult;
        pHeader->dwFlags |= MHDR_PREPARED;
        ++s.nLiveHeaders;
        return MMSYSERR_NOERROR;
    }
    MMRESULT LongMsg(DMidiHeader* pHeader) override {
        CMidiScript& s = *m_pScript;
        QByteArray bytes(reinterpret_cast<const char*>(pHeader->lpData),
                         static_cast<int>(pHeader->dwBufferLength));
        s.calls << QStringLiteral("long ") + HexBytes(bytes);
        if (s.bGone)
            return MIDIERR_NODEVICE;
        if (s.nLongResult != MMSYSERR_NOERROR)
            return s.nLongResult;
        s.sent.push_back(bytes);
        pHeader->dwFlags |= MHDR_INQUEUE;
        s.inFlight.push_back(pHeader);
        if (s.bAuto)
            s.Complete();
        return MMSYSERR_NOERROR;
    }
    MMRESULT UnprepareHeader(DMidiHeader* pHeader) override {
        CMidiScript& s = *m_pScript;
        s.calls << QStringLiteral("unprepare");
        if (pHeader->dwFlags & MHDR_INQUEUE)
            return MIDIERR_STILLPLAYING;
        if (s.nUnprepareResult != MMSYSERR_NOERROR)
            return s.nUnprepareResult;
        pHeader->dwFlags &= ~MHDR_PREPARED;
        --s.nLiveHeaders;
        return MMSYSERR_NOERROR;
    }

private:
    std::shared_ptr<CMidiScript> m_pScript;
};

} // namespace

CScriptedMidiDriver::CScriptedMidiDriver(std::shared_ptr<CMidiScript> pScript)
    : m_pScript(std::move(pScript)) {}

unsigned CScriptedMidiDriver::GetNumDevs() {
    return static_cast<unsigned>(m_pScript->deviceNames.size());
}

MMRESULT CScriptedMidiDriver::GetDevName(unsigned nId, std::string& strName) {
    if (nId >= m_pScript->deviceNames.size())
        return MMSYSERR_BADDEVICEID;
    strName = m_pScript->deviceNames[nId];
    return MMSYSERR_NOERROR;
}

MMRESULT CScriptedMidiDriver::Open(std::unique_ptr<CMidiOutPort>& pPort, unsigned nId,
                                   MidiOutProc pProc, void* pInstance) {
    CMidiScript& s = *m_pScript;
    s.calls << QStringLiteral("open %1").arg(nId);
    if (nId >= s.deviceNames.size())
        return MMSYSERR_BADDEVICEID;
    if (s.nOpenResult != MMSYSERR_NOERROR)
        return s.nOpenResult;
    s.pProc = pProc;
    s.pInstance = pInstance;
    s.bOpen = true;
    s.bGone = false;
    pPort = std::make_unique<CScriptedPort>(m_pScript);
    s.Due(EMidiNotify::Open, nullptr);
    return MMSYSERR_NOERROR;
}

std::string CScriptedMidiDriver::LastOpenError() const {
    return m_pScript->nOpenResult != MMSYSERR_NOERROR ? m_pScript->strOpenError : std::string();
}
