#pragma once

#include "CDocumentView.h"
#include "PanelBitmaps.h"
#include "PanelTables.h"

#include <QElapsedTimer>
#include <QImage>
#include <QTimer>
#include <QWidget>

#include <map>
#include <memory>
#include <vector>

class CDCtrl;
class CDDynCtrl;
class CDLcd;
class CDLed;
class CQuenleyDoc;
class CSection;
class QPainter;

// The base of every editor view: one front panel painted as the background, with the panel's
// controls built from its table as children. Talks to the project document as one of its views
// and reaches the frame around it only through its caption, its icon and CViewFrame.
class CDView : public QWidget, public CDocumentView {
    Q_OBJECT

public:
    CDView(CQuenleyDoc* pDoc, int nViewType, Panels::EPanel ePanel,
           PanelBitmaps::EPicture ePicture);
    ~CDView() override;

    // Null: false. Otherwise the picture becomes the panel and sets the panel size.
    bool SetPanelBitmap(const QImage& bitmap);
    int PanelWidth() const { return m_nPanelWidth; }
    int PanelHeight() const { return m_nPanelHeight; }
    const Panels::SPanel& PanelTable() const { return *m_pPanel; }
    CQuenleyDoc* GetDocument() const { return m_pDoc; }
    // The project is closing: the view stops being one of its views and is deleted next.
    void DetachDocument();

    // The frame calls this before the initial update; the view then opens on that number.
    virtual void SetVariationNumber(int nNumber);
    // Builds the controls and shows the start variation; called once, after the frame exists.
    virtual void OnInitialUpdate();

    CSection* GetVariation() const override { return nullptr; }
    int GetViewType() const override { return m_nViewType; }
    // A window on a number without a section is kept too, on the number it was opened for;
    // views whose number the user turns say which one they are on now.
    bool GetShownNumber(int& rnNumber) const override;
    bool GetWindowPlacement(SWindowPlacement& placement) const override;
    void OnUpdate(CDocumentView* pSender, int nHint, CSection* pHint) override;
    bool OnSectionListChanged(int nKind) override;

    // A value typed into a read-out and not yet confirmed is taken before any command acts on
    // the project, so what the panel shows is what is saved and sent.
    void CommitPendingEdit();

    // The focus to the control that had it last in this panel, or to its first one.
    void FocusControl();

    // While pShown is set (a copy its caller keeps alive), the panel shows it in place of the
    // project's section, refuses every change and says so in its caption; null shows the
    // project's section again. The project's section stays the window's variation throughout.
    void SetCompared(const CSection* pShown);
    const CSection* Compared() const { return m_pCompared; }
    bool IsComparing() const { return m_pCompared != nullptr; }
    // What the caption adds while comparing.
    static QString ComparedSuffix();

    // The control of the table row nId, or null when it could not be made.
    CDCtrl* Control(unsigned nId) const;
    template <class T> T* ControlAs(unsigned nId) const { return dynamic_cast<T*>(Control(nId)); }

    QSize sizeHint() const override;

    // The panel and its controls magnified nPercent / 100 times, each picture pixel a block of
    // screen pixels; the window's largest size grows with it. 100 is the panel as drawn.
    // Refuses anything outside kMinZoom ... kMaxZoom.
    bool SetZoom(int nPercent);
    int Zoom() const { return m_nZoom; }
    static constexpr int kMinZoom = 50;
    static constexpr int kMaxZoom = 400;
    // The panel's size on screen at the current zoom.
    QSize ZoomedPanelSize() const;

    // What control nId's tooltip says: the parameter's name as a musician reads it on the panel,
    // and its value as the panel shows it ("L1Wav: RCT"); empty for an unknown control.
    virtual QString ToolTipText(unsigned nId) const;
    // The parameter's name as the status bar gives it ("Decay", "Kick Variation").
    QString ControlName(unsigned nId) const;
    // What control nId stands for in plain words, with the instrument where the window or the
    // column leaves it open ("Low tom level"); a screen reader's name is unique in the window.
    QString FullName(unsigned nId, Panels::ENameUse eUse = Panels::ENameUse::Speech) const;

    // How long a run of wheel notches or arrow keys stays quiet before it counts as ended.
    static constexpr int kRunQuietMs = 300;

signals:
    // The user changes the project from this window in a way the controls do not refuse (a
    // drop, a menu of the panel): whoever compares ends it now, before the change.
    void CompareEndWanted();
    // A gesture that changed something has ended: a drag released, a run of wheel notches or
    // arrow keys gone quiet, a typed value confirmed, a lamp clicked, an assistive tool's
    // change. nId is the control it changed last. Once per gesture, never per step.
    void GestureEnded(unsigned nId);

protected:
    // The section the panel shows: the compared copy while comparing, else pOwn.
    const CSection* ShownSection(const CSection* pOwn) const {
        return m_pCompared ? m_pCompared : pOwn;
    }
    // Shows the shown section's values on every control again, the number it is on included.
    virtual void RefreshShown() {}

    // Makes every control of the panel table in table order, with its settings and partners.
    // A picture that cannot be made is reported once for the window, and the controls that need
    // it are left out. False when any control is missing.
    bool CreateControls();

    void SetCaption(const QString& strCaption);
    // The controls' descriptions say when the window shows no variation or kit.
    void SayWhetherShown();
    // The caption of a window whose variation the project does not hold.
    void SetUndefinedCaption();
    // The status bar says which numbers the read-out nId takes ("Decay takes 0 to 127.").
    void SayRange(unsigned nId);
    // Gives every control its tooltip text and its name for assistive tools, and the view's
    // zoom; CreateControls ends with these.
    void InstallToolTips();
    void ApplyZoomToControls();

    // The control shows nValue brought into its range, so a value a damaged project holds never
    // leaves the previous section's value standing; nothing is redrawn when it already shows it.
    static void ShowValue(CDDynCtrl* pControl, int nValue);
    // The section's name on every cell of the read-out, so nothing of a longer name stays.
    static void ShowName(CDLcd* pLcd, const CSection* pSection);
    // The read-out's text is what the section's name holds (true without either).
    static bool NameMatches(const CDLcd* pLcd, const CSection* pSection);

    // The controls' notifications; each handler's result is 0. A read-out brings its partner
    // knob or fader along; a knob or fader with a partner read-out counts as an edit of that
    // read-out, and only when the value differs. Each path ends in one OnControlChanged.
    virtual void OnLedChanged(CDLed* pLed);
    virtual void OnLcdChanged(CDLcd* pLcd);
    // Knobs and faders.
    virtual void OnKnobChanged(CDDynCtrl* pControl);
    // A control's value changed as the user meant it.
    virtual void OnControlChanged(CDCtrl* pControl);

    // The name of the history step a control's change makes, "%1" standing for the changed
    // section ("%1 Decay", "%1 Kick Variation").
    virtual QString EditName(const CDCtrl* pControl) const;
    // The kind whose section names a step when several changed.
    virtual int EditKind() const;

    bool event(QEvent* pEvent) override;
    // Tab and Shift+Tab go round the panel's controls in table order, skipping disabled ones,
    // and bring the one reached into sight.
    bool focusNextPrevChild(bool bNext) override;
    // Sees the input on the controls, so that one drag, or one run of wheel notches or arrow
    // keys on a control, is one step of the history.
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;
    void paintEvent(QPaintEvent* pEvent) override;
    void PaintZoomed(QPainter& painter, const QRect& rDirty);

    int m_nStartNumber = 0;

private:
    // A change of the current gesture; the gesture's end is due once no button is held and,
    // for a run, once it has gone quiet.
    void NoteGestureChange(unsigned nId);
    void EndGesture();

    CQuenleyDoc* m_pDoc;
    const Panels::SPanel* m_pPanel;
    QImage m_panelBitmap;
    int m_nPanelWidth = 0;
    int m_nPanelHeight = 0;
    int m_nViewType;
    int m_nZoom = 100;
    QString m_strCaption; // without the comparison's suffix
    const CSection* m_pCompared = nullptr;
    std::vector<std::unique_ptr<CDCtrl>> m_controls;
    std::map<unsigned, CDCtrl*> m_byId;
    quint64 m_nGesture = 0;
    const QObject* m_pRunControl = nullptr;
    QElapsedTimer m_runClock; // since the last event of the run
    bool m_bGestureChanged = false; // the current gesture changed something not yet told
    unsigned m_nChangedId = 0;
    QTimer m_gestureEnd;
};
