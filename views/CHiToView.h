#pragma once

#include "CTomView.h"

class CHiToView final : public CTomView {
    Q_OBJECT
public:
    static constexpr int kViewType = 6;
    explicit CHiToView(CQuenleyDoc* pDoc);
};
