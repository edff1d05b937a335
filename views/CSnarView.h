#pragma once

#include "CInstrumentView.h"

class CSnarView final : public CInstrumentView {
    Q_OBJECT
public:
    static constexpr int kViewType = 4;
    explicit CSnarView(CQuenleyDoc* pDoc);
};
