#pragma once

#include "AuditionSettings.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QSpinBox;

// Settings > Audition...: the note Play sends for each instrument, the velocity, the length and
// the channel, and whether each change plays by itself. The caller keeps Settings() on OK.
class CAuditionDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAuditionDlg(const SAuditionSettings& settings, QWidget* pParent = nullptr);

    SAuditionSettings Settings() const;
    void Show(const SAuditionSettings& settings);

    QSpinBox* NoteBox(int i) const { return m_notes[size_t(i)]; }
    QSpinBox* VelocityBox() const { return m_pVelocity; }
    QSpinBox* LengthBox() const { return m_pLength; }
    QComboBox* ChannelBox() const { return m_pChannel; }
    QCheckBox* AfterChangeBox() const { return m_pAfterChange; }

private:
    std::array<QSpinBox*, SAuditionSettings::kInstruments> m_notes{};
    std::array<QLabel*, SAuditionSettings::kInstruments> m_noteNames{};
    QSpinBox* m_pVelocity;
    QSpinBox* m_pLength;
    QComboBox* m_pChannel;
    QCheckBox* m_pAfterChange;
};
