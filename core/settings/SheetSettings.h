// The settings reads of sheet initialisation and of start-up, and small
// helpers for the values other commands read at the moment of use. Every
// function goes to the store each time: nothing is cached.
#pragma once

#include "core/settings/SettingsStore.h"

#include <cstdint>
#include <string>

// What a sheet initialisation takes from the store.
struct SSheetInitSettings {
    int m_ColAlign[6];           // alignment code per column; column 0 is always 4
    std::string m_strHeader[6];  // header texts of row 0
    std::uint32_t m_clrErrorCell;
    std::uint32_t m_clrSummaryRow;
    std::string m_strBookTitle;  // print title
};

// Runs the store accesses of a sheet initialisation in their fixed order:
// column alignments (clamped, written back), document property defaults,
// the ISClearContant rule, print labels, headers, print title, colours.
// Every missing value gets its default written.
SSheetInitSettings ReadSheetInitSettings(const CSettingsKey& key);

// What the view reads once at start-up, before the first sheet
// initialisation.
struct SStartupSettings {
    std::string m_strRecent[4];
    bool m_bExampleShow;
    std::string m_strAutoSave;  // IsAutoSave as stored
    int m_nDecimals;
    int m_nSaveTime;  // minutes
};

// RecentFile1..4, ExampleShow ("0" written when missing), IsAutoSave,
// nPiontNum (clamped, written back), SaveTime ("10" written when missing).
SStartupSettings ReadStartupSettings(const CSettingsKey& key);

// nPiontNum: "2" written when missing; outside 0..6 clamped and written back.
int ReadDecimals(const CSettingsKey& key);
// Stores the number of decimals, clamped to 0..6.
void WriteDecimals(const CSettingsKey& key, int nDecimals);

// SaveTime in minutes: "10" written when missing; non-numeric text gives 0.
int ReadSaveTime(const CSettingsKey& key);

// EnterToWord as stored, "DOWN" when missing (nothing written). Values other
// than UP, DOWN, LEFT and RIGHT are returned as they are: they mean no move.
std::string ReadEnterDirection(const CSettingsKey& key);

// True exactly when IsAutoSave holds "自动存盘".
bool IsAutoSaveOn(const CSettingsKey& key);

// Alignment of column 1..5 from its nSEATSIGN value, with the range check:
// codes above 7 become 7, below 1 become 1, and the corrected value is
// written back. A missing value gets its default written.
int ReadColumnAlignment(const CSettingsKey& key, int nCol);

namespace settingsvalue {
// A colour as stored: decimal text of a 0x00BBGGRR value, read by the atol
// rules (non-numeric text is 0, black). Only the low 32 bits are kept.
std::uint32_t ToColour(const std::string& text);
// The stored form ("%ld" of the 32-bit value): ToColour(FromColour(c)) == c.
std::string FromColour(std::uint32_t clr);
// atoi rules, saturated to the range of int.
int ToInt(const std::string& text);
}  // namespace settingsvalue
