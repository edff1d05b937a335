#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>

typedef struct _jack_client jack_client_t;
typedef struct _jack_port jack_port_t;
typedef std::uint32_t jack_nframes_t;

// A JACK client with one MIDI output that plays the byte strings it is given, each as one JACK
// event, in order, a few per period, as a device or another program would.
class CJackSender {
public:
    CJackSender() = default;
    ~CJackSender();
    CJackSender(const CJackSender&) = delete;
    CJackSender& operator=(const CJackSender&) = delete;

    // Connects to the server JACK_DEFAULT_SERVER names; false with a reason when none answers.
    bool Start(const char* pszClientName, QString& strWhy);
    // The full name of the output port, as MIDI back ends list it.
    QString PortName() const;
    // Waits until a receiver is connected and the server has run a period with it, so that
    // nothing played is lost to a connection not yet in place; true when it is.
    bool WaitConnected(int nTimeoutMs);
    void Play(const QList<QByteArray>& events);
    // Waits until everything given has gone out or the timeout passed; true when it has.
    bool WaitPlayed(int nTimeoutMs);
    // Closes the client: the device goes away.
    void Stop();

private:
    static int Process(jack_nframes_t nFrames, void* pArg);

    jack_client_t* m_pClient = nullptr;
    jack_port_t* m_pPort = nullptr;
    std::mutex m_mutex;
    std::deque<QByteArray> m_waiting;
    std::atomic<unsigned> m_nPeriods{0};
};
