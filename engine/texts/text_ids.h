#pragma once
// The names of the string table's numbered texts (engine/texts/string_table.cpp):
// each number named once, here, for the table's users in every layer. A text
// shown is StringText(name), never StringText(number).
namespace qv {

// Display bases of the symbol kinds: a symbol's text is StringText(base + number).
namespace text_base {
inline constexpr int TenGod = 130;
inline constexpr int GodRole = 140;
inline constexpr int SeasonalState = 145;
inline constexpr int Sex = 153;  // 男, 女
inline constexpr int Stem = 156;
inline constexpr int Branch = 166;
inline constexpr int Polarity = 194;
inline constexpr int Element = 208;
inline constexpr int NaYin = 213;
inline constexpr int SpiritA = 243;
inline constexpr int SpiritB = 265;
inline constexpr int Organ = 286;  // 甲膽 … 癸腎
inline constexpr int Stage = 312;
inline constexpr int Animal = 381;
inline constexpr int Term = 395;
inline constexpr int ChartKind = 422;  // 本命盤 … 變盤, by ChartKindNumber
inline constexpr int Pattern = 484;
inline constexpr int MonthName = 748;  // 正月 … 十二月
inline constexpr int PillarChange = 1111;  // 時 日 月 年 時鐘: what changed where a candidate starts
inline constexpr int PillarName = 1123;  // 年柱 月柱 日柱 時柱
inline constexpr int RelationKind = 1201;  // 三會 三合 半會 六合 沖 三刑 自刑 刑 害
}  // namespace text_base

// The programs and their shell.
inline constexpr int ProductTitleText = 129;  // the caption of every message
inline constexpr int UnnamedText = 155;       // 未命名
inline constexpr int PotentialCaptionWord = 178;
inline constexpr int PotentialNatalWord = 179;
inline constexpr int PotentialCompareWord = 180;
inline constexpr int YearText = 188;  // 年
inline constexpr int ShowFlowYearsText = 297;   // 顯示流年視窗
inline constexpr int CloseFlowYearsText = 298;  // 關閉流年視窗
inline constexpr int PotentialUnusedText = 302;
inline constexpr int ShowPotentialsText = 303;   // 顯示潛能視窗
inline constexpr int ClosePotentialsText = 304;  // 關閉潛能視窗
inline constexpr int LeapMonthText = 380;        // 閏
inline constexpr int NominalAgeText = 420;       // 虛歲
inline constexpr int ConceptionPillarText = 421;  // 胎元
inline constexpr int CustomerNotFoundText = 434;  // 找不到該客戶資料...
inline constexpr int RepublicText = 452;           // 民國
inline constexpr int BeforeRepublicText = 453;     // 民國前
inline constexpr int FirstRepublicYearText = 454;  // 民國元年
inline constexpr int RecordsFilterText = 458;      // *.sap Tessaly資料檔|*.sap|
inline constexpr int NamelessText = 505;           // 無名氏

// The records file.
inline constexpr int CannotOpenRecordsText = 459;   // 無法開啟資料庫
inline constexpr int CannotMergeRecordsText = 460;  // 無法合併資料庫
inline constexpr int RecordMissingText = 461;       // 該筆資料不存在
inline constexpr int CannotDeleteRecordText = 462;  // 無法刪除該筆資料

// Fortune levels and their fixed words.
inline constexpr int LevelWordText = 545;       // + L
inline constexpr int NotBornText = 557;         // 尚未出生
inline constexpr int TurningMarkText = 558;     // 變
inline constexpr int StrongActivityText = 562;  // 團隊 學習 公務 求財 旅遊
inline constexpr int WeakActivityText = 567;    // 團隊 學習 工作 購物 旅遊
inline constexpr int PlainTravelWord = 576;     // 普通; 572 快樂 … 576, 577 不順 … 581 最累
inline constexpr int ForReferenceText = 584;    // (僅供參考)
inline constexpr int ValueCaptionText = 691;    // 相對數值
inline constexpr int FeelingCaptionText = 692;  // 感受程度

// What the user is told when a request cannot be done.
inline constexpr int DateNotInCalendarText = 900;  // the date does not exist or lies outside 1900-2099
inline constexpr int MomentNotChartableText = 901;  // outside the solar-term table
inline constexpr int NotBig5Text = 902;             // after a field label: a character Big5 cannot hold
inline constexpr int TooLongText = 903;             // after a field label: longer than the field
inline constexpr int StoredBirthBrokenText = 904;   // a stored record whose birth cannot be charted
inline constexpr int CannotPrintText = 905;         // the printer or the output file cannot be opened
inline constexpr int PotentialTableRefusedText = 906;  // EngyInfo.tbl is damaged; the fault follows
inline constexpr int SkippedClockTimeText = 910;    // the birth zone's clock jumped over that time
inline constexpr int LongitudeText = 911;           // not a number within -180..180
inline constexpr int CorrectionNeedsHourText = 912;
inline constexpr int ZoneUnreadableText = 913;      // the zone chosen is not in the tz database
inline constexpr int HelpPageUnopenedText = 920;    // no browser took the help page; its path follows
inline constexpr int CannotSavePictureText = 921;   // an exported picture could not be written
inline constexpr int MergedText = 930;              // merged; the number of persons added follows
inline constexpr int RecordsFullText = 931;         // 新增個人資料... greyed at the 1000 persons a file holds
inline constexpr int OutOfRangeText = 932;          // after a field label: the whole numbers it takes follow

// Why a potential table file was refused.
inline constexpr int PotentialFolderText = 940;      // the path is a folder
inline constexpr int PotentialTooLongText = 941;     // longer than any table
inline constexpr int PotentialUnreadableText = 942;
inline constexpr int PotentialDamagedText = 943;     // lengths or counts do not fit

// Why a file could not be changed.
inline constexpr int FileDamagedText = 950;
inline constexpr int DiskFullText = 951;
inline constexpr int NoWriteAccessText = 952;
inline constexpr int FileBusyText = 953;
inline constexpr int PersonGoneText = 954;
inline constexpr int NotAPlainFileText = 955;
inline constexpr int PotentialSaveFailedText = 956;  // the reason follows; the edits stay in use
inline constexpr int CannotWriteFileText = 957;
inline constexpr int SettingsSaveFailedText = 958;   // the reason follows; the values stay in use
inline constexpr int HardLinkedText = 960;
inline constexpr int ForeignLinkText = 961;
inline constexpr int OtherOwnerText = 962;
inline constexpr int OwnFileIsFolderText = 963;
inline constexpr int FullFileText = 964;  // the change would pass MaxPersons

// Unsaved persons, the program's own questions and notes, the command-line and
// two-person texts.
inline constexpr int UnsavedPersonText = 965;  // the caption's mark of a person not stored
inline constexpr int CommandLineFaultText = 1000;
inline constexpr int ModeFaultText = 1001;
inline constexpr int CategoryFaultText = 1002;
inline constexpr int SexFaultText = 1003;
inline constexpr int PictureNeedsChartText = 1004;
inline constexpr int CalendarEndsText = 1005;  // 萬年曆只到農曆
inline constexpr int CalendarEndsTailText = 1006;  // 年為止，之後的月份無法列出。
inline constexpr int ConfirmDeleteText = 1050;  // 確定要刪除這筆個人資料嗎？
inline constexpr int NotRecordsFileText = 1051;  // 這不是個人資料檔，未開啟：
inline constexpr int WaitingForLockText = 1052;  // 另一個程式正在寫入此檔案，等候中（最多 10 秒）：
inline constexpr int PillarCountText = 1100;
inline constexpr int NotAPillarText = 1101;
inline constexpr int YearRangeText = 1102;
inline constexpr int MonthNotOfYearText = 1103;
inline constexpr int HourNotOfDayText = 1104;
inline constexpr int NothingFoundText = 1105;
inline constexpr int StrongText = 1106;  // 身強
inline constexpr int WeakText = 1107;  // 身弱
inline constexpr int ForwardText = 1108;
inline constexpr int BackwardText = 1109;
inline constexpr int NoPatternText = 1110;
inline constexpr int SpanRangeText = 1116;
inline constexpr int LuckStartText = 1117;
inline constexpr int CandidatesUsageText = 1118;
inline constexpr int NoteStartText = 1120;
inline constexpr int NoteMinutesText = 1121;
inline constexpr int NoteEndText = 1122;
inline constexpr int RepeatedClockNoteText = 1150;
inline constexpr int ClockChangeWordText = 1151;  // 時鐘調整
inline constexpr int ChartedMomentWordText = 1152;  // 排盤時刻
inline constexpr int SolarShiftNoteText = 1153;
inline constexpr int SolarHourNoteText = 1154;
inline constexpr int StemUnionText = 1200;  // 五合
inline constexpr int SameElementText = 1214;
inline constexpr int GeneratesText = 1215;
inline constexpr int ControlsText = 1216;
inline constexpr int HarmoniousText = 1219;
inline constexpr int ConflictingText = 1220;
inline constexpr int TransformsText = 1221;
inline constexpr int PersonAText = 1222;
inline constexpr int PersonBText = 1223;  // 甲方 乙方
inline constexpr int ComparisonTitleText = 1224;
inline constexpr int BestDaysTitleText = 1225;
inline constexpr int ZodiacWordText = 1226;
inline constexpr int NaYinWordText = 1227;
inline constexpr int TenGodWordText = 1228;
inline constexpr int DayMasterWordText = 1229;
inline constexpr int FavourableWordText = 1230;
inline constexpr int UnfavourableWordText = 1231;
inline constexpr int MuchText = 1232;
inline constexpr int LittleText = 1233;
inline constexpr int BranchUnionWordText = 1234;  // 合
inline constexpr int BothGoodText = 1235;  // 兩人皆好的年
inline constexpr int ShownValueText = 1400;   // 長條旁數值
inline constexpr int BaselineWordText = 1401;  // 基準線
inline constexpr int RankWordText = 1500;     // 名次
inline constexpr int DateWordText = 1501;     // 日期
inline constexpr int DayPillarWordText = 1502;  // 日柱
inline constexpr int ValueWordText = 1503;    // 取值
inline constexpr int DayBranchWordText = 1504;  // 日支
inline constexpr int CategoryWordText = 1505;  // 類別
inline constexpr int UntilWordText = 1506;    // 至
inline constexpr int DayCountText = 1507;     // 共 %1 日
inline constexpr int PageOfPagesText = 1508;  // 第 %1 頁，共 %2 頁

}  // namespace qv
