#pragma once

#include "CModuleRecord.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <cstddef>
#include <cstdint>

class CMidiWnd;

// Keeps the record of what the module on the chosen output and channel holds: fed by every
// message the port confirms sent, dropped whenever the link says it can no longer be trusted,
// and kept in a file of its own per device and channel, which the editor and quenley-cli share.
// The file is written a little after the last change, so that a long send writes it a few
// times rather than once per message.
class CModuleRecordKeeper : public QObject {
    Q_OBJECT
public:
    // strFolder: where the records live; empty for the user's data folder.
    explicit CModuleRecordKeeper(CMidiWnd* pMidiWnd, QString strFolder = QString());
    ~CModuleRecordKeeper() override;

    // The record of the device and channel chosen now, read from its file on first use.
    const CModuleRecord& Record();
    // Records every value of one complete message the module has (a confirmed send, or a dump
    // it sent).
    void Absorb(const std::uint8_t* pBytes, std::size_t nLength);
    // Nothing is known any more about the chosen device and channel.
    void Forget();
    // Writes a changed record now; false when that failed (Problem says why).
    bool Flush();
    // The file of the chosen device and channel; empty while none is chosen.
    QString Path() const;

    static QString DefaultFolder();
    // How long after a change the file is written.
    static constexpr int kWriteDelayMs = 1000;

signals:
    // The record changed: values were learnt or forgotten.
    void Changed();
    // A record file was damaged or could not be read or written, in words for the user.
    void Problem(const QString& strText);

private:
    // Switches to the record of the device and channel chosen now, and reads it again when
    // another program has written it since.
    void Follow();
    void Load();
    // The file's size and time of change as last read or written here; -1 while there is none.
    struct SFileStamp {
        qint64 nSize = -1;
        qint64 nMsecs = -1;
        bool operator==(const SFileStamp&) const = default;
    };
    SFileStamp FileStamp() const;
    QString Describe() const;

    CMidiWnd* m_pMidiWnd;
    QString m_strFolder;
    QString m_strDevice;
    int m_nChannel = -1;
    bool m_bLoaded = false;
    bool m_bDirty = false;
    CModuleRecord m_record;
    SFileStamp m_fileStamp;
    QTimer m_writeTimer;
};
