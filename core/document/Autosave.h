// The two timers of the document: autosave, and the one-shot opening of
// the file named on the command line. Both are plain objects driven by a
// clock: the desktop program calls Tick() from a timer (for instance one
// armed for DueAt()), tests move a manual clock. They only say when a save
// or an open is due; their owner runs it.
#pragma once

#include <string>

#include "core/settings/SettingsStore.h"

class CClock {
public:
    virtual ~CClock() = default;
    virtual long long NowMs() const = 0;
};

// Milliseconds of the monotonic clock.
class CSteadyClock : public CClock {
public:
    long long NowMs() const override;
};

class CAutosave {
public:
    CAutosave(CSettingsStore& store, const CClock& clock);
    // Another clock from now on (a test's); the schedule keeps its times.
    void SetClock(const CClock& clock) { m_pClock = &clock; }

    // When the view is first shown and after the settings dialog's OK: runs
    // every SaveTime minutes when autosave is on and SaveTime is at least 2.
    void Start();
    // After every successful save: the interval counts from now, whether
    // autosave is on or not (a tick while it is off does nothing).
    void RestartAfterSave();
    void Stop() { m_bRunning = false; }

    // Fires when due: true when the sheet (bModified: it has unsaved
    // changes) is to be saved now with autosave on; the timer has stopped
    // then and the save restarts it. Otherwise it waits another interval.
    bool Tick(bool bModified);

    bool IsRunning() const { return m_bRunning; }
    bool IsDue() const { return m_bRunning && m_pClock->NowMs() >= m_nDue; }
    long long DueAt() const { return m_nDue; }
    long long PeriodMs() const { return m_nPeriod; }

private:
    // SaveTime in minutes; an empty value is stored as "10" first.
    long SaveMinutes() const;
    bool AutosaveOn() const;
    void Run(long minutes);

    CSettingsKey m_Settings;
    const CClock* m_pClock;
    bool m_bRunning = false;
    long long m_nPeriod = 0;
    long long m_nDue = 0;
};
