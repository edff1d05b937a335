#pragma once

#include "CInstrumentView.h"

// The two oscillators' waveforms and destinations are selector knobs with their names shown
// beside them. A whole-variation send carries the first six values only; the speed reaches the
// module by its own message.
class CLFOsView final : public CInstrumentView {
    Q_OBJECT
public:
    static constexpr int kViewType = 12;
    explicit CLFOsView(CQuenleyDoc* pDoc);
};
