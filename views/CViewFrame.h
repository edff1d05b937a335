#pragma once

struct SWindowPlacement;

// What an editor view needs of the frame around it: where the frame lies, as project files
// remember it.
class CViewFrame {
public:
    virtual ~CViewFrame() = default;
    virtual bool GetWindowPlacement(SWindowPlacement& placement) const = 0;
};
