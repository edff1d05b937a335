#pragma once

#include "CSmplView.h"

class CClapView final : public CSmplView {
    Q_OBJECT
public:
    static constexpr int kViewType = 8;
    explicit CClapView(CQuenleyDoc* pDoc);
};
