#include "CDMidi.h"

#include "CMsgEvent.h"

#include <QObject>

#include <cstring>
#include <new>
#include <string>

CDMidi::CDMidi(std::unique_ptr<CMidiOutDriver> pDriver)
    : m_pDriver(pDriver ? std::move(pDriver) : CreateSystemMidiDriver()) {}

CDMidi::~CDMidi() {
    // The owner closes the port first; a port still open here is dropped without notifying a
    // window that may be gone already.
    delete m_hMidiOut;
    m_hMidiOut = nullptr;
    for (DMidiHeader* pHeader : m_outstanding) {
        delete[] pHeader->lpData;
        delete pHeader;
    }
    m_outstanding.clear();
    ReleaseDeviceNames();
    m_nState &= ~DMIDI_DEVLIST;
}

void CDMidi::ReleaseDeviceNames() {
    if (!m_pDeviceNames)
        return;
    for (std::uint32_t i = 0; i < m_nNumDevs; ++i)
        delete[] m_pDeviceNames[i];
    delete[] m_pDeviceNames;
    m_pDeviceNames = nullptr;
}

bool CDMidi::SetCallbackWnd(QObject* pWnd) {
    if (!pWnd) {
        m_nState &= ~DMIDI_WINDOW;
        return false;
    }
    m_hNotifyWnd = pWnd;
    m_nState |= DMIDI_WINDOW;
    return true;
}

bool CDMidi::DMidiOutInit() {
    // The open port was opened by its place in this list; a new list could move another device
    // there.
    if (m_hMidiOut) {
        m_nLastResult = MIDIERR_STILLPLAYING;
        return false;
    }
    ReleaseDeviceNames();
    m_fullNames.clear();
    m_nNumDevs = m_pDriver->GetNumDevs();
    if (m_nNumDevs == 0) {
        m_nState &= ~DMIDI_DEVLIST;
        m_nLastResult = MMSYSERR_NODRIVER;
        FindChosenDevice();
        return false;
    }
    m_pDeviceNames = new (std::nothrow) char*[m_nNumDevs];
    if (!m_pDeviceNames) {
        m_nState &= ~DMIDI_DEVLIST;
        m_nLastResult = MMSYSERR_NOMEM;
        return false;
    }
    for (std::uint32_t i = 0; i < m_nNumDevs; ++i) {
        m_pDeviceNames[i] = new (std::nothrow) char[kNameSize];
        if (!m_pDeviceNames[i]) {
            for (std::uint32_t j = 0; j < i; ++j)
                delete[] m_pDeviceNames[j];
            delete[] m_pDeviceNames;
            m_pDeviceNames = nullptr;
            m_nNumDevs = 0;
            m_nState &= ~DMIDI_DEVLIST;
            m_nLastResult = MMSYSERR_NOMEM;
            FindChosenDevice();
            return false;
        }
    }
    for (std::uint32_t i = 0; i < m_nNumDevs; ++i) {
        std::string strName;
        m_pDriver->GetDevName(i, strName);
        m_fullNames.push_back(strName);
        std::size_t n = std::min(strName.size(), kNameSize - 1);
        // Never cut a UTF-8 character in half.
        while (n > 0 && n < strName.size() &&
               (static_cast<unsigned char>(strName[n]) & 0xC0) == 0x80)
            --n;
        std::memcpy(m_pDeviceNames[i], strName.data(), n);
        m_pDeviceNames[i][n] = '\0';
    }
    m_nState |= DMIDI_DEVLIST;
    m_nLastResult = MMSYSERR_NOERROR;
    FindChosenDevice();
    return true;
}

namespace {

// Some back ends end a name with the device's address on the system ("USB Drum MIDI 1 24:0"),
// which may change when it is plugged in again; the rest of the name is what stays.
std::string WithoutAddress(const std::string& strName) {
    const std::size_t nSpace = strName.rfind(' ');
    if (nSpace == std::string::npos)
        return strName;
    const std::string strTail = strName.substr(nSpace + 1);
    const std::size_t nColon = strTail.find(':');
    const auto Digits = [](const std::string& s) {
        return !s.empty() && s.find_first_not_of("0123456789") == std::string::npos;
    };
    if (nColon == std::string::npos || !Digits(strTail.substr(0, nColon)) ||
        !Digits(strTail.substr(nColon + 1)))
        return strName;
    return strName.substr(0, nSpace);
}

} // namespace

void CDMidi::FindChosenDevice() {
    if (m_strDevice.empty())
        return;
    m_nDeviceId = DMIDI_NONE;
    m_nState &= ~DMIDI_DEVICE;
    for (std::uint32_t i = 0; i < m_fullNames.size() && i < m_nNumDevs; ++i) {
        // Names stored before the list kept them in full were cut to the buffer's size.
        if (m_fullNames[i] == m_strDevice || m_strDevice == m_pDeviceNames[i]) {
            m_nDeviceId = i;
            m_nState |= DMIDI_DEVICE;
            return;
        }
    }
    // Plugged in again under a new address: the same device if no other one has that name.
    const std::string strStem = WithoutAddress(m_strDevice);
    if (strStem == m_strDevice)
        return;
    std::uint32_t nFound = DMIDI_NONE;
    for (std::uint32_t i = 0; i < m_fullNames.size() && i < m_nNumDevs; ++i) {
        const std::string strOther = WithoutAddress(m_fullNames[i]);
        if (strOther == m_fullNames[i] || strOther != strStem)
            continue;
        if (nFound != DMIDI_NONE)
            return; // two of them: which one is meant cannot be told
        nFound = i;
    }
    if (nFound == DMIDI_NONE)
        return;
    m_nDeviceId = nFound;
    m_strDevice = m_fullNames[nFound];
    m_nState |= DMIDI_DEVICE;
}

bool CDMidi::SetMidiChannel(std::uint16_t nChannel) {
    if ((m_nState & (DMIDI_DEVLIST | DMIDI_WINDOW)) != (DMIDI_DEVLIST | DMIDI_WINDOW))
        return false;
    if (nChannel > 15) {
        m_nState &= ~DMIDI_CHANNEL;
        return false;
    }
    m_nChannel = nChannel;
    m_nState |= DMIDI_CHANNEL;
    return true;
}

bool CDMidi::SetMidiDevice(std::uint32_t nId) {
    if ((m_nState & (DMIDI_DEVLIST | DMIDI_WINDOW)) != (DMIDI_DEVLIST | DMIDI_WINDOW))
        return false;
    if (nId < m_nNumDevs) {
        m_nDeviceId = nId;
        m_strDevice = nId < m_fullNames.size() ? m_fullNames[nId] : m_pDeviceNames[nId];
        m_nState |= DMIDI_DEVICE;
        return true;
    }
    m_nDeviceId = DMIDI_NONE;
    m_strDevice.clear();
    m_nState &= ~DMIDI_DEVICE;
    return false;
}

bool CDMidi::SetMidiDeviceByName(const std::string& strName) {
    if (strName.empty())
        return SetMidiDevice(DMIDI_NONE);
    m_strDevice = strName;
    FindChosenDevice();
    return (m_nState & DMIDI_DEVICE) != 0;
}

const char* CDMidi::GetDeviceName(std::uint32_t i) const {
    if (!m_pDeviceNames || i >= m_nNumDevs)
        return nullptr;
    return m_pDeviceNames[i];
}

MMRESULT CDMidi::AllNotesOff() {
    if (!m_hMidiOut)
        return MMSYSERR_ERROR;
    return m_hMidiOut->ShortMsg(0x7BB0u | (m_nChannel & 0x0F));
}

bool CDMidi::DMidiOutActivate() {
    if (m_hMidiOut)
        return false;
    m_strOpenError.clear();
    // The driver's list may have changed since ours was read: a device that moved, or that was
    // missing and is back, is looked up again, and one that has gone is not replaced by
    // whatever now sits at its place.
    std::string strThere;
    if (!m_strDevice.empty() && (m_nDeviceId >= m_fullNames.size() ||
                                 m_pDriver->GetDevName(m_nDeviceId, strThere) != MMSYSERR_NOERROR ||
                                 strThere != m_fullNames[m_nDeviceId])) {
        DMidiOutInit();
        if (!(m_nState & DMIDI_DEVICE)) {
            m_nLastResult = MIDIERR_NODEVICE;
            return false;
        }
    }
    std::unique_ptr<CMidiOutPort> pPort;
    const MMRESULT nOpen = m_pDriver->Open(pPort, m_nDeviceId, &CDMidi::MidiOutProc, m_hNotifyWnd);
    if (nOpen == MMSYSERR_NOERROR)
        m_hMidiOut = pPort.release();
    else
        m_strOpenError = m_pDriver->LastOpenError();
    m_nLastResult = AllNotesOff();
    if (nOpen != MMSYSERR_NOERROR)
        m_nLastResult = nOpen;
    return m_nLastResult == MMSYSERR_NOERROR;
}

bool CDMidi::DMidiOutDeactivate() {
    if (!m_hMidiOut) {
        m_nLastResult = MMSYSERR_INVALHANDLE;
        return false;
    }
    AllNotesOff();
    m_nLastResult = m_hMidiOut->Close();
    if (m_nLastResult != MMSYSERR_NOERROR)
        return false;
    delete m_hMidiOut;
    m_hMidiOut = nullptr;
    return true;
}

bool CDMidi::DMidiOutReset() {
    AllNotesOff();
    m_nLastResult = m_hMidiOut ? m_hMidiOut->Reset() : MMSYSERR_INVALHANDLE;
    return m_nLastResult == MMSYSERR_NOERROR;
}

bool CDMidi::DMidiOutShortMsg(std::uint32_t dwMsg) {
    m_nLastResult = m_hMidiOut ? m_hMidiOut->ShortMsg(dwMsg) : MMSYSERR_INVALHANDLE;
    return m_nLastResult == MMSYSERR_NOERROR;
}

bool CDMidi::DMidiOutSendSysExBuffer(const std::uint8_t* pData, std::uint32_t nLength) {
    if (!pData || nLength == 0)
        return false;
    auto* pHeader = new (std::nothrow) DMidiHeader;
    auto* pBlock = new (std::nothrow) std::uint8_t[nLength];
    if (!pHeader || !pBlock || !m_hMidiOut) {
        delete pHeader;
        delete[] pBlock;
        m_nLastResult = m_hMidiOut ? MMSYSERR_NOMEM : MMSYSERR_INVALHANDLE;
        return false;
    }
    pHeader->lpData = pBlock;
    pHeader->dwBufferLength = nLength;
    m_nLastResult = m_hMidiOut->PrepareHeader(pHeader);
    if (m_nLastResult != MMSYSERR_NOERROR) {
        delete[] pBlock;
        delete pHeader;
        return false;
    }
    std::memcpy(pBlock, pData, nLength);
    m_nLastResult = m_hMidiOut->LongMsg(pHeader);
    if (m_nLastResult != MMSYSERR_NOERROR) {
        m_hMidiOut->UnprepareHeader(pHeader);
        delete[] pBlock;
        delete pHeader;
        return false;
    }
    m_outstanding.insert(pHeader);
    return true;
}

bool CDMidi::DMidiOutClearSysExBuffer(DMidiHeader* pHeader) {
    // Only a header this wrapper handed out is released, and only once.
    if (!pHeader || !m_outstanding.count(pHeader)) {
        m_nLastResult = MMSYSERR_INVALHANDLE;
        return false;
    }
    if (m_hMidiOut) {
        m_nLastResult = m_hMidiOut->UnprepareHeader(pHeader);
    } else {
        // A reset hands buffers back just before a close; their done messages arrive after the
        // port is gone. Such a header is out of every queue, so it is released all the same.
        m_nLastResult = (pHeader->dwFlags & MHDR_INQUEUE) ? MIDIERR_STILLPLAYING : MMSYSERR_NOERROR;
    }
    if (m_nLastResult != MMSYSERR_NOERROR)
        return false;
    m_outstanding.erase(pHeader);
    delete[] pHeader->lpData;
    delete pHeader;
    return true;
}

void CDMidi::MidiOutProc(void* pInstance, EMidiNotify eNotify, DMidiHeader* pHeader) {
    auto* pWnd = static_cast<QObject*>(pInstance);
    switch (eNotify) {
    case EMidiNotify::Open:
        Msg::Post(pWnd, WM_MIDIOUT_OPEN);
        break;
    case EMidiNotify::Close:
        Msg::Post(pWnd, WM_MIDIOUT_CLOSE);
        break;
    case EMidiNotify::Done:
        if (pHeader)
            Msg::Post(pWnd, WM_MIDIOUT_DONE, reinterpret_cast<quintptr>(pHeader));
        break;
    }
}
