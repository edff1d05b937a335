#pragma once

#include "CSmplView.h"

class CRimsView final : public CSmplView {
    Q_OBJECT
public:
    static constexpr int kViewType = 9;
    explicit CRimsView(CQuenleyDoc* pDoc);
};
