// The settings a print reads, with the corrections it stores: an empty
// ShowStyle becomes "AUTOSHOW", an empty DrawLinesStyle the thin rule, an
// ISNotPrnAddress other than "1" or "0" becomes "0", and PrintTime becomes
// "1" when it is empty or the document's file cannot be asked for its dates
// (no file, or the file is gone).
#pragma once

#include <ctime>
#include <string>

#include "core/print/PrintLayout.h"
#include "core/settings/SettingsStore.h"

struct SPrintDate {
    int m_nYear = 1970;
    int m_nMonth = 1;
    int m_nDay = 1;
};

// The local date of a point in time.
SPrintDate LocalDate(std::time_t t);

// ShowStyle, "AUTOSHOW" stored when it is empty.
std::string ReadShowStyle(const CSettingsKey& key);

// nativePath: the document's file ("" when there is none); title: the
// document's title; today: the local date of the print.
SPrintSettings ReadPrintSettings(const CSettingsKey& key, const std::string& nativePath, const std::string& title,
                                 const SPrintDate& today);

// The creation and last-modification dates of a file, in local time. False
// when the file cannot be queried. Where the file system keeps no creation
// time, the last change of the file's status stands in for it.
bool FileDates(const std::string& nativePath, SPrintDate& created, SPrintDate& modified);
