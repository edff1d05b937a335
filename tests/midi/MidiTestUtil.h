#pragma once

#include "CMsgEvent.h"
#include "CSysExItem.h"

#include <QByteArray>
#include <QEvent>
#include <QObject>
#include <QVector>

#include <cstring>

// Records the numbered messages a window receives.
class CMsgRecorder : public QObject {
public:
    struct Entry {
        unsigned nMsg;
        quintptr wParam;
    };
    QVector<Entry> received;

    int Count(unsigned nMsg) const {
        int n = 0;
        for (const Entry& e : received)
            n += e.nMsg == nMsg ? 1 : 0;
        return n;
    }

protected:
    bool event(QEvent* pEvent) override {
        if (CMsgEvent* pMsg = Msg::From(pEvent)) {
            received.push_back({pMsg->Message(), pMsg->WParam()});
            return true;
        }
        return QObject::event(pEvent);
    }
};

// Counts the messages posted to another object without taking them away from it.
class CMsgSpy : public QObject {
public:
    explicit CMsgSpy(QObject* pTarget) { pTarget->installEventFilter(this); }
    QVector<CMsgRecorder::Entry> seen;

    int Count(unsigned nMsg, quintptr wParam) const {
        int n = 0;
        for (const auto& e : seen)
            n += (e.nMsg == nMsg && e.wParam == wParam) ? 1 : 0;
        return n;
    }

protected:
    bool eventFilter(QObject*, QEvent* pEvent) override {
        if (CMsgEvent* pMsg = Msg::From(pEvent))
            seen.push_back({pMsg->Message(), pMsg->WParam()});
        return false;
    }
};

// A queue entry holding a copy of bytes, as the message builders make them.
inline std::unique_ptr<CSysExItem> MakeItem(int nSection, int nVariation, int nParam, const QByteArray& bytes) {
    auto pItem = CSysExItem::New();
    pItem->nSection = nSection;
    pItem->nVariation = nVariation;
    pItem->nParam = nParam;
    pItem->nLength = static_cast<int>(bytes.size());
    pItem->pBuffer = std::make_unique<std::uint8_t[]>(bytes.size());
    std::memcpy(pItem->pBuffer.get(), bytes.constData(), static_cast<std::size_t>(bytes.size()));
    return pItem;
}

// A single-value message for parameter nParam of a kick variation with the given value.
inline QByteArray ParamMsg(int nVariation, int nParam, int nValue) {
    const int nAddr = nVariation * 9 + nParam;
    const char bytes[] = {'\xF0',
                          '\x31',
                          '\x3E',
                          '\x56',
                          0,
                          static_cast<char>((nAddr >> 7) & 0x7F),
                          static_cast<char>(nAddr & 0x7F),
                          static_cast<char>((nValue >> 7) & 0x7F),
                          static_cast<char>(nValue & 0x7F),
                          '\xF7'};
    return QByteArray(bytes, sizeof bytes);
}

// A block message of n values, all equal to nFill.
inline QByteArray BlockMsg(int nValues, int nFill) {
    QByteArray bytes = QByteArray::fromHex("F0313F5600000F");
    for (int i = 0; i < nValues; ++i) {
        bytes.append(static_cast<char>((nFill >> 7) & 0x7F));
        bytes.append(static_cast<char>(nFill & 0x7F));
    }
    bytes.append('\xF7');
    return bytes;
}
