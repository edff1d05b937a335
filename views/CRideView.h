#pragma once

#include "CSmplView.h"

class CRideView final : public CSmplView {
    Q_OBJECT
public:
    static constexpr int kViewType = 11;
    explicit CRideView(CQuenleyDoc* pDoc);
};
