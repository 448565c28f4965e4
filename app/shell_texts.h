#pragma once
// String-table numbers of the texts the shell and its dialogs show.
namespace qv::ui {

inline constexpr int ShowFlowYearsText = 297;     // 顯示流年視窗
inline constexpr int CloseFlowYearsText = 298;    // 關閉流年視窗
inline constexpr int ShowPotentialsText = 303;    // 顯示潛能視窗
inline constexpr int ClosePotentialsText = 304;   // 關閉潛能視窗
inline constexpr int CustomerNotFoundText = 434;   // 找不到該客戶資料...
inline constexpr int RecordsFilterText = 458;      // *.sap Tessaly資料檔|*.sap|
inline constexpr int DateNotInCalendarText = 900;  // the date does not exist or lies outside 1900-2099
inline constexpr int MomentNotChartableText = 901; // outside the solar-term table
inline constexpr int NotBig5Text = 902;            // after a field label: a character Big5 cannot hold
inline constexpr int TooLongText = 903;            // after a field label: longer than the field
inline constexpr int StoredBirthBrokenText = 904;  // a stored record whose birth cannot be charted
inline constexpr int CannotPrintText = 905;        // the printer or the output file cannot be opened
inline constexpr int PotentialTableRefusedText = 906;  // EngyInfo.tbl is damaged; the fault follows
inline constexpr int SkippedClockTimeText = 910;   // the birth zone's clock jumped over that time
inline constexpr int LongitudeText = 911;          // not a number within -180..180
inline constexpr int CorrectionNeedsHourText = 912;
inline constexpr int ZoneUnreadableText = 913;     // the zone chosen is not in the tz database
inline constexpr int MergedText = 930;             // merged; the number of persons added follows
inline constexpr int OutOfRangeText = 932;         // after a field label: the whole numbers it takes follow
inline constexpr int RecordsFullText = 931;        // 新增個人資料... greyed at the 1000 persons a file holds
inline constexpr int HelpPageUnopenedText = 920;   // no browser took the help page; its path follows
inline constexpr int CannotSavePictureText = 921;  // an exported picture could not be written
inline constexpr int PotentialSaveFailedText = 956;  // the reason follows; the edits stay in use
inline constexpr int SettingsSaveFailedText = 958;   // the reason follows; the values stay in use

}  // namespace qv::ui
