#include "CCompareSession.h"

CCompareSession::CCompareSession(CQuenleyApp* pApp, CMainFrame* pFrame)
    : m_pApp(pApp), m_pFrame(pFrame) {}

CCompareSession::~CCompareSession() = default;

void CCompareSession::Toggle() {}

void CCompareSession::End() {}

bool CCompareSession::IsComparing() const {
    return false;
}
