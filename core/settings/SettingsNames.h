// The names of the values in the settings store and their fixed texts.
// Names are kept exactly as the store has always spelled them (including the
// odd ones such as nPiontNum and ISClearContant): existing stores and other
// tools depend on them. Texts are GBK.
#pragma once

namespace settingsname {

// Labels and colours (edit settings dialog).
inline constexpr char COUNT_PROJECT_NAME[] = "m_CountProjectName";
inline constexpr char COUNT_CONSTRUCTION_COMPANY[] = "m_CountConstructionCompany";
inline constexpr char COUNT_REPLACE_PEOPLE[] = "m_CountReplacePeople";
inline constexpr char COUNT_PEOPLE[] = "m_CountPeople";
inline constexpr char COUNT_POSITION[] = "m_CountPosition";
inline constexpr char COUNT_SIZE[] = "m_CountSize";
inline constexpr char COUNT_FORMULAR[] = "m_CountFormular";
inline constexpr char COUNT_UNIT[] = "m_CountUnit";
inline constexpr char COUNT_ORDER[] = "m_CountOrder";
inline constexpr char COUNT_BOOK[] = "m_CountBook";
inline constexpr char COUNT_COLOR[] = "m_CountColor";
inline constexpr char TOTAL_COLOR[] = "m_TotalColor";

// Sheet properties and program options (system settings dialog).
inline constexpr char COMPANY_NAME[] = "CompanyName";
inline constexpr char PROJECT_NAME[] = "ProjectName";
inline constexpr char PROJECT_COMPANY_NAME[] = "ProjectCompanyName";
inline constexpr char AUDIT_NAME[] = "AuditName";
inline constexpr char COUNT_NAME[] = "CountName";
inline constexpr char IS_CLEAR_CONTANT[] = "ISClearContant";
inline constexpr char NET_ADDRESS[] = "m_NetAddress";
inline constexpr char IS_NOT_PRN_ADDRESS[] = "ISNotPrnAddress";
inline constexpr char PRINT_TIME[] = "PrintTime";
inline constexpr char SHOW_STYLE[] = "ShowStyle";
inline constexpr char ENTER_TO_WORD[] = "EnterToWord";
inline constexpr char IS_AUTO_SAVE[] = "IsAutoSave";
inline constexpr char SAVE_TIME[] = "SaveTime";
inline constexpr char WORK_DIR[] = "WorkDir";

// Display and editing state (commands of the sheet and the frame).
inline constexpr char PIONT_NUM[] = "nPiontNum";
inline constexpr const char* SEAT_SIGN[5] = {"nSEATSIGN1", "nSEATSIGN2", "nSEATSIGN3", "nSEATSIGN4", "nSEATSIGN5"};
inline constexpr char EXAMPLE_SHOW[] = "ExampleShow";
inline constexpr char SELECT_ADD_SIGN[] = "SelectAddSign";
inline constexpr char DRAW_LINES_STYLE[] = "DrawLinesStyle";
inline constexpr const char* RECENT_FILE[4] = {"RecentFile1", "RecentFile2", "RecentFile3", "RecentFile4"};
inline constexpr char WINDOW_SHOW[] = "WindowShow";
inline constexpr char WINDOW_TOP[] = "WindowTop";
inline constexpr char WINDOW_BOTTOM[] = "WindowBottom";
inline constexpr char WINDOW_LEFT[] = "WindowLeft";
inline constexpr char WINDOW_RIGHT[] = "WindowRight";
// Widths in pixels the user gave the five data columns, "w1,w2,w3,w4,w5";
// 0 or nothing keeps a column at the width of the header template.
inline constexpr char COLUMN_WIDTHS[] = "ColumnWidths";

}  // namespace settingsname

namespace settingsdefault {

// Print labels.
inline constexpr char COUNT_PROJECT_NAME[] = "\xCF\xEE\xC4\xBF\xC3\xFB\xB3\xC6";                          // 项目名称
inline constexpr char COUNT_CONSTRUCTION_COMPANY[] = "\xBD\xA8\xC9\xE8\xB5\xA5\xCE\xBB\xC3\xFB\xB3\xC6";  // 建设单位名称
inline constexpr char COUNT_REPLACE_PEOPLE[] = "\xBA\xCB\xB6\xD4\xC8\xCB";                                // 核对人
inline constexpr char COUNT_PEOPLE[] = "\xBC\xC6\xCB\xE3\xC8\xCB";                                        // 计算人

// Column headers; the sequence column's header is fixed, not a setting.
inline constexpr char HEADER_SEQ[] = "\xD0\xF2\xBA\xC5";                              // 序号
inline constexpr char COUNT_POSITION[] = "\xBC\xC6\xCB\xE3\xB2\xBF\xCE\xBB";          // 计算部位
inline constexpr char COUNT_SIZE[] = "\xB9\xE6\xB8\xF1\xC0\xE0\xB1\xF0";              // 规格类别
inline constexpr char COUNT_FORMULAR[] = "\xBC\xC6\xCB\xE3\xB1\xED\xB4\xEF\xCA\xBD";  // 计算表达式
inline constexpr char COUNT_UNIT[] = "\xB5\xA5\xCE\xBB";                              // 单位
inline constexpr char COUNT_ORDER[] = "\xD2\xFD\xD3\xC3";                             // 引用

// Print title.
inline constexpr char COUNT_BOOK[] = "\xBC\xC6  \xC1\xBF  \xB5\xD7  \xB8\xE5";  // 计  量  底  稿

// Colours, 0x00BBGGRR as decimal text.
inline constexpr char COUNT_COLOR[] = "65535";     // yellow
inline constexpr char TOTAL_COLOR[] = "16711935";  // magenta

// Document properties.
inline constexpr char COMPANY_NAME[] = "\xA1\xC1\xA1\xC1\xA1\xC1\xA1\xC1\xA1\xC1\xBD\xA8\xD6\xFE\xB0\xB2\xD7\xB0\xB9\xA4\xB3\xCC\xD3\xD0\xCF\xDE\xB9\xAB\xCB\xBE";  // ×××××建筑安装工程有限公司
inline constexpr char PROJECT_NAME[] = "\xA1\xC1\xA1\xC1\xA1\xC1\xD0\xA1\xC7\xF8\xCD\xC1\xBD\xA8\xB0\xB2\xD7\xB0\xB9\xA4\xB3\xCC";                                  // ×××小区土建安装工程
inline constexpr char PROJECT_COMPANY_NAME[] = "\xA1\xC1\xA1\xC1\xA1\xC1\xB7\xBF\xB2\xFA\xBF\xAA\xB7\xA2\xD3\xD0\xCF\xDE\xB9\xAB\xCB\xBE";                          // ×××房产开发有限公司

// Program options.
inline constexpr char IS_CLEAR_CONTANT[] = "1";
inline constexpr char IS_NOT_PRN_ADDRESS[] = "0";
inline constexpr char PRINT_TIME[] = "1";
inline constexpr char SHOW_STYLE[] = "AUTOSHOW";
inline constexpr char ENTER_TO_WORD[] = "DOWN";
inline constexpr char SAVE_TIME[] = "10";
inline constexpr char PIONT_NUM[] = "2";
inline constexpr char EXAMPLE_SHOW[] = "0";
inline constexpr char DRAW_LINES_STYLE[] = "\xCD\xF8\xB8\xF1\xCF\xDF\xA3\xAD\xCF\xB8";  // 网格线－细

// Column alignments 1..5, stored as 10 * column + alignment code.
inline constexpr int SEAT_SIGN[5] = {17, 24, 31, 44, 54};

}  // namespace settingsdefault

namespace settingstext {

// IsAutoSave holds this text when autosave is on; anything else means off.
inline constexpr char AUTO_SAVE_ON[] = "\xD7\xD4\xB6\xAF\xB4\xE6\xC5\xCC";  // 自动存盘

// ShowStyle values.
inline constexpr char SHOW_STYLE_AUTOSHOW[] = "AUTOSHOW";
inline constexpr char SHOW_STYLE_AUTOENTER[] = "AUTOENTER";
inline constexpr char SHOW_STYLE_AUTOSHOWSIGN[] = "AUTOSHOWSIGN";

// EnterToWord values.
inline constexpr char ENTER_UP[] = "UP";
inline constexpr char ENTER_DOWN[] = "DOWN";
inline constexpr char ENTER_LEFT[] = "LEFT";
inline constexpr char ENTER_RIGHT[] = "RIGHT";

// DrawLinesStyle values, index 0, 1, 2.
inline constexpr const char* DRAW_LINES_STYLES[3] = {
    "\xCD\xF8\xB8\xF1\xCF\xDF\xA3\xAD\xCF\xB8",  // 网格线－细
    "\xCD\xF8\xB8\xF1\xCF\xDF\xA3\xAD\xD6\xD0",  // 网格线－中
    "\xCD\xF8\xB8\xF1\xCF\xDF\xA3\xAD\xB4\xD6",  // 网格线－粗
};

}  // namespace settingstext
