#include "CAudition.h"

CAudition::CAudition(CQuenleyApp* pApp, CMainFrame* pFrame) : m_pApp(pApp), m_pFrame(pFrame) {}

CAudition::~CAudition() = default;

void CAudition::Play() {}

bool CAudition::CanPlay() const {
    return false;
}

void CAudition::SettingsDialog() {}
