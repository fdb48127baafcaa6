#include "core/print/PrintSettings.h"

#include <fcntl.h>
#include <sys/stat.h>

#include "core/settings/SettingsNames.h"

SPrintDate LocalDate(std::time_t t)
{
    std::tm tm{};
    localtime_r(&t, &tm);
    SPrintDate date;
    date.m_nYear = tm.tm_year + 1900;
    date.m_nMonth = tm.tm_mon + 1;
    date.m_nDay = tm.tm_mday;
    return date;
}

bool FileDates(const std::string& nativePath, SPrintDate& created, SPrintDate& modified)
{
    if (nativePath.empty())
        return false;
    struct statx sx {};
    if (statx(AT_FDCWD, nativePath.c_str(), 0, STATX_BTIME | STATX_MTIME | STATX_CTIME, &sx) != 0)
        return false;
    const bool bBirth = (sx.stx_mask & STATX_BTIME) != 0;
    created = LocalDate(static_cast<std::time_t>(bBirth ? sx.stx_btime.tv_sec : sx.stx_ctime.tv_sec));
    modified = LocalDate(static_cast<std::time_t>(sx.stx_mtime.tv_sec));
    return true;
}

std::string ReadShowStyle(const CSettingsKey& key)
{
    return key.ReadWithDefault(settingsname::SHOW_STYLE, settingstext::SHOW_STYLE_AUTOSHOW, true);
}

SPrintSettings ReadPrintSettings(const CSettingsKey& key, const std::string& nativePath, const std::string& title,
                                 const SPrintDate& today)
{
    using namespace settingsname;
    SPrintSettings s;
    s.m_strCompany = key.ReadString(COMPANY_NAME);
    s.m_strBook = key.ReadString(COUNT_BOOK);
    s.m_strClientLabel = key.ReadString(COUNT_CONSTRUCTION_COMPANY);
    s.m_strClient = key.ReadString(PROJECT_COMPANY_NAME);
    s.m_strProjectLabel = key.ReadString(COUNT_PROJECT_NAME);
    s.m_strProject = key.ReadString(PROJECT_NAME);
    s.m_strCalcLabel = key.ReadString(COUNT_PEOPLE);
    s.m_strCalculator = key.ReadString(COUNT_NAME);
    s.m_strCheckLabel = key.ReadString(COUNT_REPLACE_PEOPLE);
    s.m_strChecker = key.ReadString(AUDIT_NAME);
    s.m_strHeader[0] = settingsdefault::HEADER_SEQ;
    s.m_strHeader[1] = key.ReadString(COUNT_POSITION);
    s.m_strHeader[2] = key.ReadString(COUNT_SIZE);
    s.m_strHeader[3] = key.ReadString(COUNT_FORMULAR);
    s.m_strHeader[4] = key.ReadString(COUNT_ORDER);
    s.m_strSeatSign[0] = key.ReadString(SEAT_SIGN[0]);
    s.m_strSeatSign[1] = key.ReadString(SEAT_SIGN[1]);
    s.m_strSeatSign[2] = key.ReadString(SEAT_SIGN[2]);
    s.m_strSeatSign[3] = key.ReadString(SEAT_SIGN[4]);

    const std::string lines = key.ReadWithDefault(DRAW_LINES_STYLE, settingstext::DRAW_LINES_STYLES[0], true);
    s.m_nPen = lines == settingstext::DRAW_LINES_STYLES[1] ? 5 : lines == settingstext::DRAW_LINES_STYLES[2] ? 9
                                                                                                             : 1;

    // The print date.
    std::string printTime = key.ReadString(PRINT_TIME);
    SPrintDate created, modified;
    const bool bDates = FileDates(nativePath, created, modified);
    if (printTime.empty() || !bDates) {
        printTime = "1";
        key.WriteValue(PRINT_TIME, printTime);
    }
    const SPrintDate& date = printTime == "2" ? created : printTime == "3" ? modified
                                                                           : today;
    s.m_nYear = date.m_nYear;
    s.m_nMonth = date.m_nMonth;
    s.m_nDay = date.m_nDay;
    s.m_strTitle = title;

    // The web address.
    const std::string noAddress = key.ReadString(IS_NOT_PRN_ADDRESS);
    if (noAddress != "1" && noAddress != "0")
        key.WriteValue(IS_NOT_PRN_ADDRESS, "0");
    s.m_strAddress = noAddress == "1" ? std::string("   ") : key.ReadString(NET_ADDRESS) + "   ";
    return s;
}
