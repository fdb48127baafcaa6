#include "core/document/Autosave.h"

#include <chrono>

#include "core/document/DocumentTexts.h"

namespace {
const long long MS_PER_MINUTE = 60000;
}

long long CSteadyClock::NowMs() const
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

CAutosave::CAutosave(CSettingsStore& store, const CClock& clock)
    : m_Settings(store), m_pClock(&clock)
{
}

long CAutosave::SaveMinutes() const
{
    return settingsvalue::ToLong(m_Settings.ReadWithDefault(doctext::KEY_SAVE_TIME, "10", true));
}

bool CAutosave::AutosaveOn() const
{
    return m_Settings.ReadString(doctext::KEY_AUTOSAVE) == doctext::TEXT_AUTOSAVE_ON;
}

void CAutosave::Run(long minutes)
{
    // Below two minutes (only a hand-edited setting) no timer runs: a period
    // of zero or less would fire without pause.
    m_bRunning = minutes > 1;
    if (!m_bRunning)
        return;
    m_nPeriod = minutes * MS_PER_MINUTE;
    m_nDue = m_pClock->NowMs() + m_nPeriod;
}

void CAutosave::Start()
{
    const long minutes = SaveMinutes();
    const bool bOn = AutosaveOn();
    Stop();
    if (bOn)
        Run(minutes);
}

void CAutosave::RestartAfterSave()
{
    Stop();
    Run(SaveMinutes());
}

bool CAutosave::Tick(bool bModified)
{
    const long long now = m_pClock->NowMs();
    if (!m_bRunning || now < m_nDue)
        return false;
    // An unchanged sheet is not written again: each save moves the backups
    // on, and a sheet left open would soon keep no older version.
    if (!AutosaveOn() || !bModified) {
        m_nDue = now + m_nPeriod;  // the timer keeps running
        return false;
    }
    // Stopped first, so that a slow save or an open dialog is not overtaken;
    // a successful save starts it again.
    Stop();
    return true;
}
