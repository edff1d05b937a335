#include "CMidiWnd.h"

#include "CMsgEvent.h"
#include "CSysExItem.h"

#include <algorithm>
#include <iterator>
#include <new>

CMidiWnd::CMidiWnd(std::unique_ptr<CMidiOutDriver> pDriver) : CDMidi(std::move(pDriver)) {
    m_pauseTimer.setSingleShot(true);
    m_pauseTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_pauseTimer, &QTimer::timeout, this, &CMidiWnd::SendAfterPause);
    m_noteOffTimer.setSingleShot(true);
    m_noteOffTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_noteOffTimer, &QTimer::timeout, this, [this] { WriteNoteOffs(false); });
    m_clock.start();
}

CMidiWnd::~CMidiWnd() {
    if (IsOpen())
        DMidiOutDeactivate();
    DestroySysExList();
}

bool CMidiWnd::Create(QObject* pParent) {
    if (!pParent)
        return false;
    m_pParentWnd = pParent;
    setObjectName(QStringLiteral("CMidiWnd"));
    return SetCallbackWnd(this);
}

bool CMidiWnd::AddSysExBuffer(std::unique_ptr<CSysExItem> pItem) {
    if (!pItem || !pItem->pBuffer)
        return false;
    pItem->nSeq = ++m_nSeq;
    const SKey key = KeyOf(*pItem);
    if (const auto found = m_waiting.find(key); found != m_waiting.end()) {
        // A value queued before a note stays, so that the note sounds with it; the newer one
        // follows the note.
        if ((*found->second)->nSeq >= m_nLastNoteSeq)
            m_SysExList.erase(found->second);
        m_waiting.erase(found);
    }
    if (pItem->IsNote())
        m_nLastNoteSeq = pItem->nSeq;
    m_SysExList.push_front(std::move(pItem));
    m_waiting.emplace(key, m_SysExList.begin());
    emit QueueChanged();
    if (m_bClosed || m_bClosing)
        return false;
    if (m_bIdle) {
        m_bIdle = false;
        Msg::Post(this, WM_MIDIOUT_DONE, 0, 0);
    }
    return true;
}

bool CMidiWnd::QueueMessage(const SWhat& what, std::unique_ptr<std::uint8_t[]> pBytes,
                            int nLength) {
    if (!pBytes)
        return false;
    std::unique_ptr<CSysExItem> pItem = CSysExItem::New();
    if (!pItem)
        return false;
    pItem->nSection = what.nSection;
    pItem->nVariation = what.nVariation;
    pItem->nParam = what.bBlock ? CSysExItem::BlockKey(what.nParam) : what.nParam;
    pItem->nLength = nLength;
    pItem->pBuffer = std::move(pBytes);
    return AddSysExBuffer(std::move(pItem));
}

bool CMidiWnd::QueueNote(int nChannel, int nKey, int nVelocity, int nLengthMs) {
    if (m_bClosed || m_bClosing || m_bDeviceGone || !IsOpen())
        return false; // a note kept for later would sound out of the blue
    if (nChannel < 0 || nChannel > 15 || nKey < 0 || nKey > 127 || nVelocity < 1 ||
        nVelocity > 127 || nLengthMs < 0)
        return false;
    std::unique_ptr<CSysExItem> pItem = CSysExItem::New();
    if (!pItem)
        return false;
    pItem->nSection = CSysExItem::kNoteSection;
    pItem->nVariation = nChannel;
    pItem->nParam = nKey;
    pItem->nNoteMs = nLengthMs;
    pItem->nLength = 3;
    pItem->pBuffer.reset(new (std::nothrow) std::uint8_t[3]{
        std::uint8_t(0x90 | nChannel), std::uint8_t(nKey), std::uint8_t(nVelocity)});
    return AddSysExBuffer(std::move(pItem));
}

bool CMidiWnd::PlayTailNote() {
    Unkey(*m_SysExList.back());
    const std::unique_ptr<CSysExItem> pNote = std::move(m_SysExList.back());
    m_SysExList.pop_back();
    emit QueueChanged();
    const std::uint8_t* p = pNote->pBuffer.get();
    const std::uint32_t nOn = p[0] | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16;
    const std::uint32_t nOff = (0x80u | (p[0] & 0x0Fu)) | std::uint32_t(p[1]) << 8 | 0x40u << 16;
    // A key struck again before its Note Off: the earlier note ends first.
    for (auto it = m_noteOffs.begin(); it != m_noteOffs.end();) {
        if (it->nMsg == nOff) {
            DMidiOutShortMsg(nOff);
            it = m_noteOffs.erase(it);
        } else {
            ++it;
        }
    }
    if (!DMidiOutShortMsg(nOn)) {
        if (MeansDeviceGone(LastResult())) {
            OnDeviceGone();
            return false;
        }
        // Only the note is lost; the values behind it still go.
        emit SendFailed(LastResult());
        return true;
    }
    m_noteOffs.push_back({m_clock.elapsed() + pNote->nNoteMs, nOff});
    ScheduleNoteOffs();
    return true;
}

void CMidiWnd::WriteNoteOffs(bool bAll) {
    const qint64 nNow = m_clock.elapsed();
    const bool bPort = IsOpen() && !m_bDeviceGone;
    for (auto it = m_noteOffs.begin(); it != m_noteOffs.end();) {
        if (bAll || it->nDueMs <= nNow) {
            if (bPort)
                DMidiOutShortMsg(it->nMsg);
            it = m_noteOffs.erase(it);
        } else {
            ++it;
        }
    }
    ScheduleNoteOffs();
}

void CMidiWnd::ScheduleNoteOffs() {
    if (m_noteOffs.empty()) {
        m_noteOffTimer.stop();
        return;
    }
    qint64 nFirst = m_noteOffs.front().nDueMs;
    for (const SNoteOff& off : m_noteOffs)
        nFirst = std::min(nFirst, off.nDueMs);
    m_noteOffTimer.start(int(std::max<qint64>(0, nFirst - m_clock.elapsed())));
}

void CMidiWnd::Unkey(const CSysExItem& item) {
    if (const auto found = m_waiting.find(KeyOf(item));
        found != m_waiting.end() && found->second->get() == &item)
        m_waiting.erase(found);
}

CMidiWnd::SKey CMidiWnd::KeyOf(const CSysExItem& item) {
    return {item.nSection, item.nVariation, item.nParam};
}

void CMidiWnd::DestroySysExList() {
    const bool bCutOff = !m_SysExList.empty();
    m_waiting.clear();
    m_SysExList.clear();
    // A pause that is running goes on; when it ends the loop carries on with what is queued then.
    m_pPaused = nullptr;
    emit QueueChanged();
    if (bCutOff)
        emit ModuleInDoubt();
}

bool CMidiWnd::SendSysExBuffer() {
    // Everything waits for the next open; a done message that comes after the port went must
    // not hand the next entry to a port that is no more.
    if (m_bDeviceGone || m_bClosing || !IsOpen())
        return false;
    if (m_pauseTimer.isActive())
        return true; // the paused entry leaves when the pause ends
    // Nothing comes back for a note: the next entry follows it at once.
    while (!m_SysExList.empty() && m_SysExList.back()->IsNote())
        if (!PlayTailNote())
            return false;
    if (m_SysExList.empty()) {
        m_bIdle = true;
        return false;
    }
    CSysExItem* pItem = m_SysExList.back().get();
    if (!pItem->bSending) {
        // Handed over from here on: a newer message no longer replaces it.
        pItem->bSending = true;
        Unkey(*pItem);
    }
    if (pItem->IsBlock()) {
        m_pPaused = pItem;
        m_pauseTimer.start(kBlockPauseMs);
        return true;
    }
    return HandOver(pItem);
}

bool CMidiWnd::HandOver(CSysExItem* pItem) {
    m_bResetting = false;
    if (DMidiOutSendSysExBuffer(pItem->pBuffer.get(), static_cast<std::uint32_t>(pItem->nLength)))
        return true;
    if (MeansDeviceGone(LastResult())) {
        KeepTail();
        OnDeviceGone();
        return false;
    }
    // The entry stays at the tail and goes out after the next open; say so rather than stall
    // in silence.
    emit ModuleInDoubt();
    emit SendFailed(LastResult());
    return false;
}

void CMidiWnd::SendAfterPause() {
    CSysExItem* pItem = m_pPaused;
    m_pPaused = nullptr;
    if (!pItem) {
        SendSysExBuffer(); // the queue was cleared meanwhile
        return;
    }
    HandOver(pItem);
}

bool CMidiWnd::RemoveSysExBuffer() {
    if (m_SysExList.empty())
        return false;
    // After a clear the tail is an entry that was never sent: it stays.
    if (!m_SysExList.back()->bSending)
        return false;
    m_SysExList.pop_back();
    emit QueueChanged();
    return true;
}

bool CMidiWnd::MeansDeviceGone(MMRESULT nResult) {
    return nResult == MIDIERR_NODEVICE || nResult == MMSYSERR_NODRIVER ||
           nResult == MMSYSERR_BADDEVICEID;
}

void CMidiWnd::KeepTail() {
    if (m_SysExList.empty() || !m_SysExList.back()->bSending)
        return;
    const auto tail = std::prev(m_SysExList.end());
    CSysExItem& item = **tail;
    item.bSending = false;
    const SKey key = KeyOf(item);
    if (m_waiting.count(key)) {
        // A newer message for the same values waits already and replaces this one.
        m_SysExList.erase(tail);
        emit QueueChanged();
        return;
    }
    m_waiting.emplace(key, tail);
}

void CMidiWnd::OnDeviceGone() {
    if (m_bDeviceGone)
        return;
    m_bDeviceGone = true;
    m_bIdle = true;
    emit ModuleInDoubt();
    m_pauseTimer.stop();
    m_pPaused = nullptr;
    m_noteOffs.clear();
    m_noteOffTimer.stop();
    // The port is no use any more; a port that still holds a message gives it back first.
    m_bResetting = true;
    if (IsOpen() && !DMidiOutDeactivate()) {
        DMidiOutReset();
        DMidiOutDeactivate();
    }
    emit DeviceGone(QString::fromStdString(GetMidiDeviceName()), QueueLength());
}

void CMidiWnd::CloseAndClear() {
    WriteNoteOffs(true);
    m_pauseTimer.stop();
    m_pPaused = nullptr;
    DestroySysExList();
    if (!IsOpen())
        return;
    // A port refuses to close while it holds a message: what waits there comes back at once,
    // the one being written when it is out.
    if (HasBuffersOut())
        ResetPort();
    m_bClosing = !DMidiOutDeactivate();
}

void CMidiWnd::FinishClosing() {
    // Tried once the port has nothing left, so that All Notes Off goes out once more, not once
    // per message handed back.
    if (!m_bClosing || HasBuffersOut())
        return;
    if (!IsOpen() || DMidiOutDeactivate())
        m_bClosing = false;
}

bool CMidiWnd::ResetPort() {
    m_bResetting = true;
    // What the module made of the messages cut short is anybody's guess.
    emit ModuleInDoubt();
    return DMidiOutReset();
}

qint64 CMidiWnd::EstimatedMsLeft() const {
    // A cable carries a byte in 320 microseconds.
    constexpr qint64 kMicrosPerByte = 320;
    qint64 nMicros = 0;
    for (const auto& pItem : m_SysExList)
        nMicros += pItem->nLength * kMicrosPerByte + (pItem->IsBlock() ? kBlockPauseMs * 1000 : 0);
    return (nMicros + 999) / 1000;
}

bool CMidiWnd::event(QEvent* pEvent) {
    CMsgEvent* pMsg = Msg::From(pEvent);
    if (!pMsg)
        return QObject::event(pEvent);
    switch (pMsg->Message()) {
    case WM_MIDIOUT_DONE:
        if (auto* pHeader = reinterpret_cast<DMidiHeader*>(pMsg->WParam())) {
            const bool bFailed = (pHeader->dwFlags & MHDR_FAILED) != 0;
            const bool bGone = bFailed && (pHeader->dwFlags & MHDR_NODEVICE) != 0;
            // What a reset handed back counts as not delivered, even where the port wrote it.
            if (!bFailed && !m_bResetting && pHeader->lpData)
                emit MessageConfirmed(
                    QByteArray::fromRawData(reinterpret_cast<const char*>(pHeader->lpData),
                                            static_cast<qsizetype>(pHeader->dwBufferLength)));
            DMidiOutClearSysExBuffer(pHeader);
            if (bGone && !m_bResetting) {
                // Not delivered, and nothing else will be: it waits for the next open.
                KeepTail();
                OnDeviceGone();
            } else {
                RemoveSysExBuffer();
                if (bFailed && !m_bResetting) {
                    emit ModuleInDoubt();
                    emit SendFailed(MIDIERR_NODEVICE);
                }
            }
        }
        FinishClosing();
        SendSysExBuffer();
        break;
    case WM_MIDIOUT_OPEN:
        Msg::Post(m_pParentWnd, WM_MIDIOUT_OPEN);
        m_bDeviceGone = false;
        m_bClosed = false;
        m_bIdle = false;
        SendSysExBuffer();
        break;
    case WM_MIDIOUT_CLOSE:
        Msg::Post(m_pParentWnd, WM_MIDIOUT_CLOSE);
        if (!m_SysExList.empty())
            emit ModuleInDoubt();
        m_bClosed = true;
        m_bClosing = false;
        m_noteOffs.clear();
        m_noteOffTimer.stop();
        break;
    default:
        return QObject::event(pEvent);
    }
    pMsg->SetResult(0);
    return true;
}
