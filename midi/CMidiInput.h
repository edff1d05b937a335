#pragma once

#include "CMidiInDriver.h"
#include "CSysExAssembler.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <vector>

// The editor's MIDI input: opens a device by its full name, puts System Exclusive messages
// together whole on the driver's thread and hands them to the owner's thread in batches, so a
// dump arriving at full speed never holds up the user interface.
class CMidiInput : public QObject {
    Q_OBJECT

public:
    explicit CMidiInput(std::unique_ptr<CMidiInDriver> pDriver, QObject* pParent = nullptr);
    ~CMidiInput() override;

    // The device list, read afresh.
    QStringList DeviceNames();
    // Opens the device listed under strName (closing any other first). On failure pError says
    // why in words for the user.
    bool Open(const QString& strName, QString* pError = nullptr);
    void Close();
    // Closes the input as the end of a receive: what arrived whole up to here is still handed
    // on (at once, before it returns); a message still coming is cut short and counted.
    void Finish();
    bool IsOpen() const { return m_pPort != nullptr; }
    QString DeviceName() const { return m_strDevice; }

    // Since the last open: every byte received, the messages counted but not System Exclusive,
    // and those cut short or too long.
    qint64 BytesReceived() const { return m_nBytes.load(); }
    int OtherMessages() const;
    int BrokenMessages() const;
    // Milliseconds since the last byte arrived, -1 before the first. Real-time bytes (clock,
    // active sensing) do not count: a module may send them all the time, so they say nothing
    // about whether a dump is still coming.
    qint64 MsSinceLastByte() const;

signals:
    // One whole System Exclusive message, F0 to F7.
    void SysExReceived(const QByteArray& message);
    // Bytes arrived (after the messages they completed were handed on).
    void Activity();
    // The device went away while open; the input has been closed.
    void DeviceGone(const QString& strDevice);

private:
    static void OnInput(void* pInstance, EMidiInNotify eNotify, const std::uint8_t* pData,
                        std::size_t nLength);
    // On the owner's thread: hands on what the driver's thread collected.
    void Drain();

    std::unique_ptr<CMidiInDriver> m_pDriver;
    std::unique_ptr<CMidiInPort> m_pPort;
    QString m_strDevice;

    mutable std::mutex m_mutex; // guards what follows, shared with the driver's thread
    CSysExAssembler m_assembler;
    std::vector<QByteArray> m_ready;
    bool m_bDrainPosted = false;
    bool m_bGone = false;

    std::atomic<qint64> m_nBytes{0};
    std::atomic<std::int64_t> m_lastByteNs{0}; // steady clock; 0 before the first byte
};
