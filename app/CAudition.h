#pragma once

#include "AuditionSettings.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>

class CDView;
class CMainFrame;
class CQuenleyApp;
class CQuenleyDoc;

// Play: sounds the active editor window's instrument on the module, a kit window's instruments
// one after another, and, when the settings ask for it, the sound once each gesture on a panel
// has ended. Its notes, velocity, length and channel are the Audition settings.
class CAudition : public QObject {
    Q_OBJECT

public:
    CAudition(CQuenleyApp* pApp, CMainFrame* pFrame);
    ~CAudition() override;

    // Follows the editor windows once the main frame has its work area and menus.
    void Attach();

    // Midi > Play for the active editor window.
    void Play();
    // Whether Play has something to play in the active window (not in the LFO window).
    bool CanPlay() const;
    // Settings > Audition...
    void SettingsDialog();

    // A running kit pattern ends; its notes already queued still sound.
    void StopPattern();
    bool IsPatternRunning() const { return m_patternTimer.isActive(); }

    // Between two notes of a kit pattern.
    static constexpr int kPatternStepMs = 180;
    // Play after each change sounds at most this often; a gesture ending sooner plays at the
    // end of the interval.
    static constexpr int kMinAutoGapMs = 250;

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    // Plays what the view stands for; nControlId the control a gesture changed (0: Play).
    void PlayView(CDView& view, unsigned nControlId);
    // One note of an instrument kind; false when the port is not open.
    bool QueueKind(const SAuditionSettings& settings, int nKind);
    // The status line when the module sounds another variation (or kit) than the window's, or
    // nothing could be queued.
    // bQueued false: the port is not open, and the line says so.
    void SayWhatSounds(int nKind, const CDView& view, bool bQueued);
    // Queues the first note at once and the others at their steps; false when the port is not
    // open.
    bool StartPattern(const SAuditionSettings& settings);
    void PatternStep();
    void OnGestureEnded(unsigned nId);
    void AutoPlay();
    void UpdateAction();

    CQuenleyApp* m_pApp;
    CMainFrame* m_pFrame;

    QTimer m_patternTimer;
    int m_nPatternStep = 0;
    SAuditionSettings m_patternSettings;
    const CQuenleyDoc* m_pPatternDoc = nullptr;

    QTimer m_autoTimer;
    QElapsedTimer m_sinceAuto;
    QPointer<CDView> m_pAutoView;
    unsigned m_nAutoId = 0;
};
