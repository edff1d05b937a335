#pragma once

#include "CInstrumentView.h"

class CHiHaView final : public CInstrumentView {
    Q_OBJECT
public:
    static constexpr int kViewType = 7;
    explicit CHiHaView(CQuenleyDoc* pDoc);
};
