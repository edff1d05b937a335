#pragma once

#include <QObject>

class CDView;
class CMainFrame;
class CQuenleyApp;

// Play: sounds the active editor window's instrument on the module, a kit window's instruments
// one after another, and, when the settings ask for it, the sound once each gesture on a panel
// has ended. Its notes, velocity, length and channel are the Audition settings.
class CAudition : public QObject {
    Q_OBJECT

public:
    CAudition(CQuenleyApp* pApp, CMainFrame* pFrame);
    ~CAudition() override;

    // Midi > Play for the active editor window.
    void Play();
    // Whether Play has something to play in the active window (not in the LFO window).
    bool CanPlay() const;
    // Settings > Audition...
    void SettingsDialog();

private:
    CQuenleyApp* m_pApp;
    CMainFrame* m_pFrame;
};
