#pragma once

#include "CInstrumentView.h"

class CKickView final : public CInstrumentView {
    Q_OBJECT
public:
    static constexpr int kViewType = 3;
    explicit CKickView(CQuenleyDoc* pDoc);
};
