#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <mutex>
#include <vector>

typedef struct _jack_client jack_client_t;
typedef struct _jack_port jack_port_t;
typedef std::uint32_t jack_nframes_t;

// A JACK client with one MIDI input that records every event arriving there, with the time at
// which it arrived on JACK's own microsecond clock.
class CJackReceiver {
public:
    struct Event {
        QByteArray bytes;
        std::uint64_t nMicros;
    };

    CJackReceiver() = default;
    ~CJackReceiver();

    // Connects to the named server, or without a name to the one JACK_DEFAULT_SERVER names;
    // false with a reason when no server answers.
    bool Start(const char* pszClientName, QString& strWhy, const char* pszServer = nullptr);
    // The full name of the input port, as MIDI back ends list it.
    QString PortName() const;
    std::uint64_t Now() const; // JACK's clock, microseconds
    double PeriodMicros() const;

    std::vector<Event> Events();
    std::size_t Count();
    void Clear();
    // Waits until at least n events arrived or the timeout passed; true when they did.
    bool WaitFor(std::size_t n, int nTimeoutMs);

private:
    static int Process(jack_nframes_t nFrames, void* pArg);

    jack_client_t* m_pClient = nullptr;
    jack_port_t* m_pPort = nullptr;
    std::mutex m_mutex;
    std::vector<Event> m_events;
};
