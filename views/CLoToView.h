#pragma once

#include "CTomView.h"

class CLoToView final : public CTomView {
    Q_OBJECT
public:
    static constexpr int kViewType = 5;
    explicit CLoToView(CQuenleyDoc* pDoc);
};
