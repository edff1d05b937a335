#pragma once

#include "CEditHistory.h"
#include "CQuenleyDoc.h"

#include <QStringList>

#include <memory>
#include <vector>

// Keeps the steps it is given, clean while it has none past the saved count.
class CStepList : public CEditHistory {
public:
    void Record(const QString& strName, CProjectChange change, quint64) override {
        names << strName;
        steps.push_back(std::move(change));
    }
    bool IsClean() const override { return int(steps.size()) == nSaved; }
    void ProjectSaved() override { nSaved = int(steps.size()); }
    void ProjectReplaced() override {
        steps.clear();
        names.clear();
        nSaved = 0;
    }
    std::vector<CProjectChange> steps;
    QStringList names;
    int nSaved = 0;
};

inline CStepList& AttachStepList(CQuenleyDoc& doc) {
    doc.SetHistory(std::make_unique<CStepList>());
    return static_cast<CStepList&>(*doc.History());
}
