#include "AuditionSettings.h"

#include "SectionKinds.h"

#include <QSettings>

namespace {

const char* const kKeys[SAuditionSettings::kInstruments] = {
    "Kick", "Snare", "LowTom", "HighTom", "HiHat", "Clap", "Rimshot", "Crash", "Ride"};
const char* const kNames[SAuditionSettings::kInstruments] = {
    "Kick", "Snare", "Low tom", "High tom", "Hi-hat", "Clap", "Rimshot", "Crash", "Ride"};

// The stored value when it is a whole number within nMin..nMax, else nDefault.
int Bounded(const QSettings& settings, const QString& strKey, int nMin, int nMax, int nDefault) {
    bool bNumber = false;
    const int n = settings.value(strKey).toString().trimmed().toInt(&bNumber);
    return bNumber && n >= nMin && n <= nMax ? n : nDefault;
}

} // namespace

static_assert(Kinds::kRide - Kinds::kKick + 1 == SAuditionSettings::kInstruments);

SAuditionSettings SAuditionSettings::Load() {
    SAuditionSettings s;
    QSettings settings;
    settings.beginGroup(QStringLiteral("Audition"));
    for (int i = 0; i < kInstruments; ++i)
        s.notes[size_t(i)] = Bounded(settings, Key(i), 0, 127, kDefaultNotes[size_t(i)]);
    s.nVelocity = Bounded(settings, QStringLiteral("Velocity"), 1, 127, kDefaultVelocity);
    s.nLengthMs =
        Bounded(settings, QStringLiteral("LengthMs"), kMinLengthMs, kMaxLengthMs, kDefaultLengthMs);
    s.nChannel = Bounded(settings, QStringLiteral("Channel"), 0, 16, 0);
    const QString strAfter = settings.value(QStringLiteral("PlayAfterChange")).toString();
    s.bPlayAfterChange = strAfter == QLatin1String("true") || strAfter == QLatin1String("1");
    return s;
}

void SAuditionSettings::Save() const {
    QSettings settings;
    settings.beginGroup(QStringLiteral("Audition"));
    for (int i = 0; i < kInstruments; ++i)
        settings.setValue(Key(i), notes[size_t(i)]);
    settings.setValue(QStringLiteral("Velocity"), nVelocity);
    settings.setValue(QStringLiteral("LengthMs"), nLengthMs);
    settings.setValue(QStringLiteral("Channel"), nChannel);
    settings.setValue(QStringLiteral("PlayAfterChange"), bPlayAfterChange);
}

int SAuditionSettings::Note(int nKind) const {
    const int i = nKind - Kinds::kKick;
    return i >= 0 && i < kInstruments ? notes[size_t(i)] : -1;
}

QString SAuditionSettings::Key(int i) {
    return QString::fromLatin1(kKeys[i]);
}

QString SAuditionSettings::InstrumentName(int i) {
    return QString::fromLatin1(kNames[i]);
}

QString SAuditionSettings::NoteName(int nNote) {
    static const char* const kPitches[12] = {"C",  "C#", "D",  "D#", "E",  "F",
                                             "F#", "G",  "G#", "A",  "A#", "B"};
    return QString::fromLatin1(kPitches[nNote % 12]) + QString::number(nNote / 12 - 1);
}
