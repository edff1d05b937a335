#pragma once

class CMidiWnd;

// Where sections find the application's transmit queue. The application sets it when it makes
// the queue; tests put their own in. Without one, sections still store every value.
namespace TransmitWindow {

CMidiWnd* Get();
void Set(CMidiWnd* pWnd);

// Puts a window in for one scope and restores the previous one.
class CScoped {
public:
    explicit CScoped(CMidiWnd* pWnd) : m_pPrevious(Get()) { Set(pWnd); }
    ~CScoped() { Set(m_pPrevious); }
    CScoped(const CScoped&) = delete;
    CScoped& operator=(const CScoped&) = delete;

private:
    CMidiWnd* m_pPrevious;
};

} // namespace TransmitWindow
