#include "person_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

#include "engine/calendar/calendar.h"
#include "engine/clock/clock_zone.h"
#include "paint_helpers.h"
#include "person_entry.h"
#include "person_text.h"
#include "engine/texts/text_ids.h"
#include "engine/texts/string_table.h"

namespace qv::ui {
namespace {



constexpr const char* RefusedStyle = "color: #b00000";

QString Padded(int n) { return QStringLiteral("%1").arg(n, 2); }  // "%2d"

void FillNumbers(QComboBox& box, int first, int last) {
    for (int n = first; n <= last; ++n) box.addItem(QString::number(n));
}

QComboBox* NewList(const char* objectName, bool editable) {
    auto* box = new QComboBox;
    box->setObjectName(QString::fromLatin1(objectName));
    box->setEditable(editable);
    if (editable) box->setInsertPolicy(QComboBox::NoInsert);
    return box;
}

QLineEdit* NewEdit(const char* objectName) {
    auto* edit = new QLineEdit;
    edit->setObjectName(QString::fromLatin1(objectName));
    return edit;
}

// The remarks keep their lines apart with CR LF in the record; the box shows them as lines.
std::string StoredLines(const QString& shown) {
    QString text = shown;
    return text.replace(QLatin1Char('\n'), QStringLiteral("\r\n")).toStdString();
}
QString ShownLines(const std::string& stored) {
    return QString::fromStdString(stored).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

QRadioButton* NewRadio(const QString& text, const char* objectName, QButtonGroup& group) {
    auto* radio = new QRadioButton(text);
    radio->setObjectName(QString::fromLatin1(objectName));
    group.addButton(radio);
    return radio;
}

// Widgets side by side in one cell of the grid.
QWidget* Row(std::initializer_list<QWidget*> widgets) {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    for (QWidget* w : widgets) layout->addWidget(w);
    layout->addStretch();
    return row;
}

// The leap month of a lunar year, 0 when it has none.
int LeapMonthOf(int lunarYear) { return LunarYearInRange(lunarYear) ? LunarMonthLengths(lunarYear).LeapMonth : 0; }

// The text that says why a birth clock time cannot be charted; 0 when it can.
int FaultText(BirthClockFault fault) {
    switch (fault) {
        case BirthClockFault::None: return 0;
        case BirthClockFault::HourUnknown: return CorrectionNeedsHourText;
        case BirthClockFault::SkippedTime: return SkippedClockTimeText;
        case BirthClockFault::LongitudeOutOfRange: return LongitudeText;
        case BirthClockFault::InvalidMoment: break;
    }
    return DateNotInCalendarText;
}

BirthEntry SolarEntryOf(const Moment& m) {
    BirthEntry entry;
    entry.Year = m.Year, entry.Month = m.Month, entry.Day = m.Day, entry.Hour = m.Hour, entry.Minute = m.Minute;
    return entry;
}

}  // namespace

QString YearEntryText(int year, int yearDisplay) {
    if (yearDisplay == 0) return QString::number(year);
    const int republic = year - 1911;
    if (republic <= 0) return Text(BeforeRepublicText) + QString::number(1 - republic);
    if (republic == 1) return Text(FirstRepublicYearText);
    return Text(RepublicText) + QString::number(republic);
}

std::optional<int> TypedYear(const QString& typed, int yearDisplay) {
    // Full-width digits, as a Chinese input method gives them, count too.
    QString text = typed.normalized(QString::NormalizationForm_KC).trimmed();
    if (text == Text(FirstRepublicYearText)) return 1912;
    if (text.endsWith(Text(YearText))) text.chop(1);  // "民國74年"
    int sign = 0;
    for (const auto& [prefix, s] : {std::pair{Text(BeforeRepublicText), -1}, std::pair{Text(RepublicText), 1}}) {
        if (text.startsWith(prefix)) {
            text = text.mid(prefix.size()).trimmed();
            sign = s;
            break;
        }
    }
    bool number = false;
    const int n = text.toInt(&number);
    if (!number || n < 0) return std::nullopt;
    if (sign < 0) return 1912 - n;
    // With Republican years on show, a short number is one of them.
    if (sign > 0 || (yearDisplay == 1 && text.size() <= 3)) return 1911 + n;
    return n;
}

PersonDialog::PersonDialog(const PersonDialogSetup& setup, const PersonRecord& person, QWidget* parent)
    : QDialog(parent), setup_(setup) {
    const bool modify = setup.TemplateId == 6010;
    setWindowTitle(modify ? QStringLiteral("修改個人資料") : QStringLiteral("請輸入個人資料"));
    BuildWidgets();
    FitFieldsToFont();
    if (modify) {
        StartFrom(person);
    } else {
        StartFromToday();
    }
}

void PersonDialog::BuildWidgets() {
    name_ = NewEdit("name");
    address_ = NewEdit("address");
    phone_ = NewEdit("phone");
    // Return adds a line there instead of pressing 排盤; Tab still moves on.
    remarks_ = new QPlainTextEdit;
    remarks_->setObjectName(QStringLiteral("remarks"));
    remarks_->setTabChangesFocus(true);
    auto* sex = new QButtonGroup(this);
    male_ = NewRadio(Text(text_base::Sex), "male", *sex);
    female_ = NewRadio(Text(text_base::Sex + 1), "female", *sex);
    auto* calendar = new QButtonGroup(this);
    solar_ = NewRadio(QStringLiteral("國曆"), "solar", *calendar);
    lunarButton_ = NewRadio(QStringLiteral("農曆"), "lunar", *calendar);
    yearList_ = NewList("year", true);
    for (int y = EntryFirstYear; y <= EntryLastYear; ++y) yearList_->addItem(YearEntryText(y, setup_.YearDisplay));
    monthList_ = NewList("month", false);
    monthList_->setSizeAdjustPolicy(QComboBox::AdjustToContents);  // wide enough for a leap month
    dayList_ = NewList("day", true);
    hourList_ = NewList("hour", false);
    FillNumbers(*hourList_, 0, 23);
    minuteList_ = NewList("minute", false);
    FillNumbers(*minuteList_, 0, 59);
    hourUnknown_ = new QCheckBox(QStringLiteral("不知道時間"));
    hourUnknown_->setObjectName(QStringLiteral("hourUnknown"));
    uncertain_ = new QPushButton(QStringLiteral("時辰不確定(&U)…"));
    uncertain_->setObjectName(QStringLiteral("uncertainHour"));
    uncertain_->setAutoDefault(false);
    uncertain_->setVisible(static_cast<bool>(setup_.ChooseAmongCandidates));
    problem_ = new QLabel;
    problem_->setObjectName(QStringLiteral("problem"));
    problem_->setStyleSheet(QString::fromLatin1(RefusedStyle));
    problem_->setWordWrap(true);
    problem_->hide();

    auto* buttons = new QDialogButtonBox;
    buttons->addButton(QStringLiteral("排盤"), QDialogButtonBox::AcceptRole)->setObjectName(QStringLiteral("ok"));
    buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &PersonDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &PersonDialog::reject);

    auto* grid = new QGridLayout(this);
    const auto line = [grid](const QString& label, QWidget* field) {
        const int row = grid->rowCount();
        grid->addWidget(new QLabel(label), row, 0);
        grid->addWidget(field, row, 1);
    };
    if (!setup_.StartNote.empty()) {
        auto* note = new QLabel(Utf8(setup_.StartNote));
        note->setObjectName(QStringLiteral("startNote"));
        note->setWordWrap(true);
        grid->addWidget(note, 0, 0, 1, 2);
    }
    line(QStringLiteral("姓名："), name_);
    line(QStringLiteral("性別："), Row({male_, female_}));
    line(QStringLiteral("曆法："), Row({solar_, lunarButton_}));
    line(QStringLiteral("出生日期："), Row({yearList_, new QLabel(Text(YearText)), monthList_, new QLabel(QStringLiteral("月")),
                                        dayList_, new QLabel(QStringLiteral("日"))}));
    line(QStringLiteral("出生時間："), Row({hourList_, new QLabel(QStringLiteral("時")), minuteList_,
                                        new QLabel(QStringLiteral("分")), hourUnknown_, uncertain_}));
    grid->addWidget(BuildClockGroup(), grid->rowCount(), 0, 1, 2);
    grid->addWidget(chartedMoment_, grid->rowCount(), 0, 1, 2);
    line(QStringLiteral("地址："), address_);
    line(QStringLiteral("電話："), phone_);
    line(QStringLiteral("備註："), remarks_);
    grid->addWidget(problem_, grid->rowCount(), 0, 1, 2);
    grid->addWidget(buttons, grid->rowCount(), 0, 1, 2);

    connect(yearList_, &QComboBox::currentIndexChanged, this, &PersonDialog::YearChosen);
    connect(yearList_->lineEdit(), &QLineEdit::editingFinished, this, &PersonDialog::YearTyped);
    connect(monthList_, &QComboBox::currentIndexChanged, this, &PersonDialog::MonthChosen);
    connect(dayList_, &QComboBox::currentIndexChanged, this, &PersonDialog::DayChosen);
    connect(hourList_, &QComboBox::currentIndexChanged, this, [this](int i) { hour_ = i; });
    connect(minuteList_, &QComboBox::currentIndexChanged, this, [this](int i) { minute_ = i; });
    connect(lunarButton_, &QRadioButton::toggled, this, &PersonDialog::CalendarChosen);
    connect(hourUnknown_, &QCheckBox::toggled, this, &PersonDialog::HourUnknownToggled);
    connect(uncertain_, &QPushButton::clicked, this, &PersonDialog::ChooseAmongCandidates);

    // After the handlers above, so the moment shown reads the lists as they settled.
    const auto show = &PersonDialog::ShowChartedMoment;
    for (QComboBox* list : {yearList_, monthList_, dayList_, hourList_, minuteList_, zoneList_})
        connect(list, &QComboBox::currentIndexChanged, this, show);
    for (QComboBox* list : {yearList_, dayList_}) connect(list, &QComboBox::editTextChanged, this, show);
    for (QAbstractButton* button : std::initializer_list<QAbstractButton*>{lunarButton_, hourUnknown_, solarTime_, secondOfRepeated_})
        connect(button, &QAbstractButton::toggled, this, show);
    connect(longitude_, &QLineEdit::textChanged, this, show);
}

// The birthplace's zone and true solar time: both optional, off at first.
QGroupBox* PersonDialog::BuildClockGroup() {
    zoneList_ = NewList("zone", false);
    FillZones();
    solarTime_ = new QCheckBox(QStringLiteral("真太陽時"));
    solarTime_->setObjectName(QStringLiteral("solarTime"));
    longitude_ = NewEdit("longitude");
    longitude_->setPlaceholderText(QStringLiteral("例：121.5"));
    longitude_->setEnabled(false);
    auto* occurrence = new QButtonGroup(this);
    firstOfRepeated_ = NewRadio(QStringLiteral("第一次"), "firstOfRepeated", *occurrence);
    secondOfRepeated_ = NewRadio(QStringLiteral("第二次"), "secondOfRepeated", *occurrence);
    firstOfRepeated_->setChecked(true);
    repeatedRow_ = Row({new QLabel(QStringLiteral("此時間當地出現兩次：")), firstOfRepeated_, secondOfRepeated_});
    repeatedRow_->hide();
    chartedMoment_ = new QLabel;
    chartedMoment_->setObjectName(QStringLiteral("chartedMoment"));
    chartedMoment_->setWordWrap(true);
    chartedMoment_->hide();

    auto* group = new QGroupBox(QStringLiteral("出生時間校正（可不選）"));
    auto* grid = new QGridLayout(group);
    grid->addWidget(new QLabel(QStringLiteral("出生地時區：")), 0, 0);
    grid->addWidget(zoneList_, 0, 1);
    grid->addWidget(Row({solarTime_, new QLabel(QStringLiteral("經度")), longitude_,
                         new QLabel(QStringLiteral("度（東經為正，西經為負）"))}), 1, 0, 1, 2);
    grid->addWidget(repeatedRow_, 2, 0, 1, 2);
    return group;
}

// None first, then the zones most births of our users happened in, then every
// other zone of the database.
void PersonDialog::FillZones() {
    zoneList_->addItem(QStringLiteral("不校正（東八區）"));
    ClockZone zone;
    std::string problem;
    // "台北（Asia/Taipei）": the name a user knows, and the ID to search by.
    auto add = [this](std::string_view id) {
        const std::string_view chinese = ZoneChineseName(id);
        zoneList_->addItem(chinese.empty() ? Utf8(id) : Utf8(chinese) + QStringLiteral("（") + Utf8(id) + QStringLiteral("）"),
                           Utf8(id));
    };
    for (std::string_view name : CommonZoneNames)
        if (FindClockZone(name, zone, problem)) add(name);
    const std::vector<std::string> all = AllZoneNames();
    if (all.empty()) return;
    zoneList_->insertSeparator(zoneList_->count());
    for (const std::string& name : all)
        if (std::ranges::find(CommonZoneNames, name) == std::end(CommonZoneNames)) add(name);
    // Typing any part of a name or ID finds the zone.
    zoneList_->setEditable(true);
    zoneList_->setInsertPolicy(QComboBox::NoInsert);
    zoneList_->completer()->setCompletionMode(QCompleter::PopupCompletion);
    zoneList_->completer()->setFilterMode(Qt::MatchContains);
    zoneList_->completer()->setCaseSensitivity(Qt::CaseInsensitive);
    // What the box shows is what is charted: typing that ends without a pick takes the
    // first zone holding the words, or else shows the zone chosen before again.
    connect(zoneList_->lineEdit(), &QLineEdit::editingFinished, this, [this] {
        const QString typed = zoneList_->currentText().trimmed();
        if (typed == zoneList_->itemText(zoneList_->currentIndex())) return;
        const int found = typed.isEmpty() ? 0 : zoneList_->findText(typed, Qt::MatchContains);
        if (found >= 0) zoneList_->setCurrentIndex(found);
        zoneList_->setEditText(zoneList_->itemText(zoneList_->currentIndex()));
    });
}

std::string PersonDialog::ZoneId() const {
    return zoneList_->currentIndex() > 0 ? zoneList_->currentData().toString().toStdString() : std::string();
}

void PersonDialog::StartFrom(const PersonRecord& person) {
    (person.sex == 1 ? female_ : male_)->setChecked(true);
    solar_->setChecked(true);
    year_ = person.year, month_ = person.month, day_ = person.day;
    const bool unknown = person.hour == HourUnknown;
    hour_ = unknown ? 12 : person.hour;
    minute_ = unknown ? 0 : person.minute;
    PersonTexts texts;
    ClockNote entered = setup_.Previous;
    if (LoadPersonTexts(person, texts).Ok) {
        name_->setText(QString::fromStdString(texts.Name));
        address_->setText(QString::fromStdString(texts.Address));
        phone_->setText(QString::fromStdString(texts.Phone));
        remarks_->setPlainText(ShownLines(RemarksWithoutClockNote(texts.Remarks)));
        if (!entered.Applied()) entered = ClockNoteInRemarks(texts.Remarks);
    }
    ShowDate();
    hourUnknown_->setChecked(unknown);
    HourUnknownToggled(unknown);
    if (entered.Applied() && !unknown) StartFromClockTime(entered);
}

// The record holds the moment charted; the same person modified again in
// this run starts from the clock time and correction it was entered with, so
// that "排盤" unchanged charts the same moment instead of correcting twice.
void PersonDialog::StartFromClockTime(const ClockNote& note) {
    ShowClockTime(note.Given);
    if (const int zone = zoneList_->findData(Utf8(note.Zone)); !note.Zone.empty() && zone > 0)
        zoneList_->setCurrentIndex(zone);
    if (note.Longitude) {
        longitude_->setText(QString::number(*note.Longitude, 'g', 10));
        solarTime_->setChecked(true);
    }
    if (note.SecondOfRepeated && repeatedRow_->isVisibleTo(this)) secondOfRepeated_->setChecked(true);
}

// A Gregorian clock time in the date and time lists, the hour known.
void PersonDialog::ShowClockTime(const Moment& given) {
    year_ = given.Year, month_ = given.Month, day_ = given.Day;
    hour_ = given.Hour, minute_ = given.Minute;
    ShowDate();
    hourUnknown_->setChecked(false);
    HourUnknownToggled(false);
}

// The day entered, read on the birth clock chosen (zone, true solar time),
// and the clock minute of the chart chosen put back.
void PersonDialog::ChooseAmongCandidates() {
    BirthEntry entry;
    PersonRecord record{};
    CandidateRequest request;
    const bool read = Entered(entry);
    entry.HourUnknown = true;
    if (!read || !FillBirth(entry, setup_.RatHourRule, record).Ok) return Refuse(Text(DateNotInCalendarText));
    if (const int why = ChosenClock(request.Clock); why != 0) return Refuse(Text(why));
    request.Date = CivilDate{record.year, record.month, record.day};
    request.Sex = female_->isChecked() ? 1 : 0;
    const std::optional<Moment> chosen = setup_.ChooseAmongCandidates(request);
    if (!chosen) return;
    solar_->setChecked(true);
    ShowClockTime(*chosen);
    problem_->hide();
}

void PersonDialog::StartFromToday() {
    male_->setChecked(true);
    solar_->setChecked(true);
    const LocalDateTime& t = setup_.Today;
    const bool unknown = t.Hour == HourUnknown;  // asked for by "不知道時間"
    year_ = t.Year, month_ = t.Month, day_ = t.Day, hour_ = unknown ? 12 : t.Hour, minute_ = unknown ? 0 : t.Minute;
    ShowDate();
    hourUnknown_->setChecked(unknown);
    HourUnknownToggled(unknown);
}

void PersonDialog::ShowDate() {
    rebuilding_ = true;
    if (year_ >= EntryFirstYear && year_ <= EntryLastYear) {
        yearList_->setCurrentIndex(year_ - EntryFirstYear);
    } else {
        yearList_->setEditText(QString::number(year_));
    }
    rebuilding_ = false;
    RebuildMonths();
}

void PersonDialog::RebuildMonths() {
    rebuilding_ = true;
    monthList_->clear();
    for (int m = 1; m <= 12; ++m) monthList_->addItem(Padded(m));
    const int leap = lunar_ ? LeapMonthOf(year_) : 0;
    if (leap > 0) monthList_->insertItem(leap, Text(LeapMonthText) + Padded(leap));
    const bool afterLeap = leap > 0 && (month_ > leap || leap_);
    monthList_->setCurrentIndex(month_ - 1 + (afterLeap ? 1 : 0));
    rebuilding_ = false;
    RebuildDays();
}

int PersonDialog::MonthLengthShown() const {
    if (!lunar_) return MonthLength(year_, month_);
    return LunarYearInRange(year_) ? LunarMonthLength(year_, month_, leap_) : 30;
}

void PersonDialog::RebuildDays() {
    rebuilding_ = true;
    const int length = MonthLengthShown();
    dayList_->clear();
    FillNumbers(*dayList_, 1, length);
    day_ = std::clamp(day_, 1, length);
    dayList_->setCurrentIndex(day_ - 1);
    rebuilding_ = false;
}

void PersonDialog::YearChosen(int index) {
    if (rebuilding_ || index < 0) return;
    year_ = EntryFirstYear + index;
    leap_ = false;  // a leap month falls back to the regular month of its number
    RebuildMonths();
}

// A year typed and left acts as one chosen: the month and day lists follow it.
void PersonDialog::YearTyped() {
    if (rebuilding_) return;
    const std::optional<int> year = TypedYear(yearList_->currentText(), setup_.YearDisplay);
    if (!year || *year == year_) return;
    year_ = *year;
    leap_ = false;
    ShowDate();
}

void PersonDialog::MonthChosen(int index) {
    if (rebuilding_ || index < 0) return;
    const int leap = lunar_ ? LeapMonthOf(year_) : 0;
    if (leap > 0 && index >= leap) {
        month_ = index;
        leap_ = index == leap;
    } else {
        month_ = index + 1;
        leap_ = false;
    }
    RebuildDays();
}

void PersonDialog::DayChosen(int index) {
    if (!rebuilding_ && index >= 0) day_ = index + 1;
}

void PersonDialog::CalendarChosen(bool lunar) {
    if (lunar == lunar_) return;
    if (lunar) {
        LunarDate converted{};
        if (!SolarToLunar(CivilDate{year_, month_, day_}, converted)) {
            Refuse(Text(DateNotInCalendarText));
            solar_->setChecked(true);
            return;
        }
        year_ = converted.Year, month_ = converted.Month, day_ = converted.Day, leap_ = converted.Leap;
    } else {
        CivilDate converted{};
        if (!LunarToSolar(LunarDate{year_, month_, day_, leap_}, converted)) {
            Refuse(Text(DateNotInCalendarText));
            lunarButton_->setChecked(true);
            return;
        }
        year_ = converted.Year, month_ = converted.Month, day_ = converted.Day, leap_ = false;
    }
    lunar_ = lunar;
    ShowDate();
}

void PersonDialog::HourUnknownToggled(bool unknown) {
    hourList_->setEnabled(!unknown);
    minuteList_->setEnabled(!unknown);
    if (unknown) {
        // Greyed at 12:00; the time chosen before comes back when the box is cleared.
        const QSignalBlocker quietHour(hourList_), quietMinute(minuteList_);
        hourList_->setCurrentIndex(12);
        minuteList_->setCurrentIndex(0);
        return;
    }
    if (hour_ < 0 || hour_ == 24) hour_ = 0;
    hour_ = std::min(hour_, 23);
    const int minute = std::clamp(minute_, 0, 59);
    hourList_->setCurrentIndex(hour_);
    minuteList_->setCurrentIndex(minute);
}

void PersonDialog::accept() {
    PersonRecord record{};
    ClockNote note;
    if (!TakeTexts(record) || !TakeBirth(record, note) || !KeepClockNote(record, note)) return;
    record.sex = female_->isChecked() ? 1 : 0;
    if (const int why = setup_.WhyNotChartable ? setup_.WhyNotChartable(record) : 0; why != 0) {
        Refuse(Text(why));
        return;
    }
    result_ = record;
    note_ = note;
    problem_->hide();
    QDialog::accept();
}

bool PersonDialog::TakeTexts(PersonRecord& record) {
    struct Field {
        std::string PersonTexts::* Text;
        QWidget* Edit;
        std::string Typed;
        const char* Label;
    };
    const Field fields[] = {{&PersonTexts::Name, name_, name_->text().toStdString(), "姓名"},
                            {&PersonTexts::Address, address_, address_->text().toStdString(), "地址"},
                            {&PersonTexts::Phone, phone_, phone_->text().toStdString(), "電話"},
                            {&PersonTexts::Remarks, remarks_, StoredLines(remarks_->toPlainText()), "備註"}};
    PersonTexts all;
    for (const Field& f : fields) {
        const std::string& text = f.Typed;
        PersonTexts one;
        one.*f.Text = text;
        PersonRecord scratch{};
        if (const qv::Result stored = StorePersonTexts(one, scratch); !stored.Ok) {
            Refuse(QString::fromUtf8(f.Label) + Text(stored.Reason));
            f.Edit->setFocus();
            return false;
        }
        all.*f.Text = text;
    }
    return StorePersonTexts(all, record).Ok;
}

// The record holds the moment charted; the clock time it was corrected from
// goes with it in the remarks.
bool PersonDialog::KeepClockNote(PersonRecord& record, const ClockNote& note) {
    PersonTexts texts;
    if (!note.Applied() || !LoadPersonTexts(record, texts).Ok) return true;
    texts.Remarks = RemarksWithClockNote(texts.Remarks, note);
    const qv::Result stored = StorePersonTexts(texts, record);
    if (stored.Ok) return true;
    Refuse(QStringLiteral("備註") + Text(stored.Reason));
    remarks_->setFocus();
    return false;
}

bool PersonDialog::TypedNumber(const QComboBox& box, int firstValue, int& value) const {
    const QString typed = box.currentText().trimmed();
    if (const int index = box.findText(typed); index >= 0) {
        value = firstValue + index;
        return true;
    }
    bool ok = false;
    value = typed.toInt(&ok);
    return ok;
}

bool PersonDialog::TakeBirth(PersonRecord& record, ClockNote& note) {
    Moment given{};
    ChartedMoment moment;
    BirthClock clock;
    if (const int why = ReadBirth(record, given, moment, clock); why != 0) {
        Refuse(Text(why));
        return false;
    }
    note = NoteOf(ZoneId(), clock, given, moment);
    return true;
}

bool PersonDialog::Correcting() const { return zoneList_->currentIndex() > 0 || solarTime_->isChecked(); }

int PersonDialog::ChosenClock(BirthClock& clock) const {
    if (zoneList_->currentIndex() > 0) {
        ClockZone zone;
        std::string problem;
        if (!FindClockZone(ZoneId(), zone, problem)) return ZoneUnreadableText;
        clock.Zone = zone;
    }
    clock.SecondOfRepeated = secondOfRepeated_->isChecked();
    if (solarTime_->isChecked()) {
        // Full-width digits and signs, as a Chinese input method gives them, count too.
        bool number = false;
        const double degrees = longitude_->text().normalized(QString::NormalizationForm_KC).trimmed().toDouble(&number);
        if (!number) return LongitudeText;
        clock.SolarLongitude = degrees;
    }
    return 0;
}

bool PersonDialog::Entered(BirthEntry& entry) const {
    entry.Lunar = lunar_;
    entry.Month = month_;
    entry.LeapMonth = lunar_ && leap_;
    entry.HourUnknown = hourUnknown_->isChecked();
    entry.Hour = hour_;
    entry.Minute = minute_;
    const std::optional<int> year = TypedYear(yearList_->currentText(), setup_.YearDisplay);
    entry.Year = year.value_or(0);
    return year && TypedNumber(*dayList_, 1, entry.Day);
}

int PersonDialog::ReadBirth(PersonRecord& record, Moment& given, ChartedMoment& moment, BirthClock& clock) const {
    BirthEntry entry;
    if (!Entered(entry) || !FillBirth(entry, setup_.RatHourRule, record).Ok) return DateNotInCalendarText;
    if (const int why = ChosenClock(clock); why != 0) return why;
    // A lunar date is on the Gregorian calendar by now; the clock reads that.
    given = Moment{record.year, record.month, record.day, record.hour, record.minute};
    moment = ChartMomentOf(clock, given);
    if (const int why = FaultText(moment.Fault); why != 0) return why;
    if (!clock.Corrects()) return 0;
    return FillBirth(SolarEntryOf(moment.Charted), setup_.RatHourRule, record).Reason;
}

void PersonDialog::ShowChartedMoment() {
    if (rebuilding_) return;
    longitude_->setEnabled(solarTime_->isChecked());
    const bool correcting = Correcting();
    PersonRecord record{};
    Moment given{};
    ChartedMoment moment;
    BirthClock clock;
    const int why = correcting ? ReadBirth(record, given, moment, clock) : 0;
    const bool repeated = why == 0 && moment.Repeated;
    // The first again when the choice comes back; kept while another input
    // (a longitude being typed) cannot be read.
    if (why == 0 && !repeated) firstOfRepeated_->setChecked(true);
    repeatedRow_->setVisible(repeated);
    chartedMoment_->setVisible(correcting);
    chartedMoment_->setStyleSheet(why != 0 ? QString::fromLatin1(RefusedStyle) : QString());
    if (why != 0)
        chartedMoment_->setText(Text(why));
    else if (correcting)
        chartedMoment_->setText(Utf8(
            ChartedMomentText(moment.Charted, NoteOf(ZoneId(), clock, given, moment))));
    GrowToFit();
}

void PersonDialog::FitFieldsToFont() {
    remarks_->setFixedHeight(fontMetrics().lineSpacing() * 3 + 12);
    longitude_->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("-000.000000")));
}

void PersonDialog::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) FitFieldsToFont();  // a large screen grows the dialog's text
    QDialog::changeEvent(event);
}

void PersonDialog::GrowToFit() {
    // A window takes no height from wrapped lines by itself.
    const int needed = layout()->totalHeightForWidth(width());
    if (height() < needed) resize(width(), needed);
}

void PersonDialog::Refuse(const QString& why) {
    problem_->setText(why);
    problem_->show();
    GrowToFit();
}

QString PersonDialog::Problem() const { return problem_->isHidden() ? QString() : problem_->text(); }

}  // namespace qv::ui
