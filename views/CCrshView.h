#pragma once

#include "CSmplView.h"

class CCrshView final : public CSmplView {
    Q_OBJECT
public:
    static constexpr int kViewType = 10;
    explicit CCrshView(CQuenleyDoc* pDoc);
};
