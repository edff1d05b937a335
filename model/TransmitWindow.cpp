#include "TransmitWindow.h"

#include "CMidiWnd.h"

#include <QPointer>

namespace {
// Guarded, so a section never reaches a queue that has already gone.
QPointer<CMidiWnd> s_pWnd;
} // namespace

CMidiWnd* TransmitWindow::Get() { return s_pWnd.data(); }

void TransmitWindow::Set(CMidiWnd* pWnd) { s_pWnd = pWnd; }
