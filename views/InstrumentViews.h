#pragma once

#include "CInstrumentView.h"
#include "SectionKinds.h"

// One window type per instrument kind. Each is the kind it edits and the panel it shows; the
// panel's table holds its controls, their fields and their words, and CInstrumentView the rules
// they all follow.

class CKickView final : public CInstrumentView {
    Q_OBJECT
public:
    static constexpr int kViewType = 3;
    explicit CKickView(CQuenleyDoc* pDoc);
};

class CSnarView final : public CInstrumentView {
    Q_OBJECT
public:
    static constexpr int kViewType = 4;
    explicit CSnarView(CQuenleyDoc* pDoc);
};

// Low and high tom share the tom panel; its label read-out says which kind the window edits.
class CTomView : public CInstrumentView {
    Q_OBJECT
protected:
    CTomView(CQuenleyDoc* pDoc, int nViewType, int nSectionKind);
};

class CLoToView final : public CTomView {
    Q_OBJECT
public:
    static constexpr int kViewType = 5;
    explicit CLoToView(CQuenleyDoc* pDoc);
};

class CHiToView final : public CTomView {
    Q_OBJECT
public:
    static constexpr int kViewType = 6;
    explicit CHiToView(CQuenleyDoc* pDoc);
};

class CHiHaView final : public CInstrumentView {
    Q_OBJECT
public:
    static constexpr int kViewType = 7;
    explicit CHiHaView(CQuenleyDoc* pDoc);
};

// Clap, rimshot, crash and ride share the sample panel, with the kind's label on it.
class CSmplView : public CInstrumentView {
    Q_OBJECT
protected:
    CSmplView(CQuenleyDoc* pDoc, int nViewType, int nSectionKind);
};

class CClapView final : public CSmplView {
    Q_OBJECT
public:
    static constexpr int kViewType = 8;
    explicit CClapView(CQuenleyDoc* pDoc);
};

class CRimsView final : public CSmplView {
    Q_OBJECT
public:
    static constexpr int kViewType = 9;
    explicit CRimsView(CQuenleyDoc* pDoc);
};

class CCrshView final : public CSmplView {
    Q_OBJECT
public:
    static constexpr int kViewType = 10;
    explicit CCrshView(CQuenleyDoc* pDoc);
};

class CRideView final : public CSmplView {
    Q_OBJECT
public:
    static constexpr int kViewType = 11;
    explicit CRideView(CQuenleyDoc* pDoc);
};

// The two oscillators' waveforms and destinations are selector knobs with their names shown
// beside them. A whole-variation send carries the first six values only; the speed reaches the
// module by its own message.
class CLFOsView final : public CInstrumentView {
    Q_OBJECT
public:
    static constexpr int kViewType = 12;
    explicit CLFOsView(CQuenleyDoc* pDoc);
};
