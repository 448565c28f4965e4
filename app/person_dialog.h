#pragma once
// The person dialog (templates 6005 new, 6010 modify): name, sex, birth date in
// either calendar, time or "不知道時間", address, telephone, remarks; and how
// the birth clock is read: the birthplace's zone and true solar time, with the
// moment to be charted shown as they change. "排盤" closes it only with a
// record the program can chart; anything else is told in the dialog, which
// stays open.
#include <QDialog>
#include <functional>
#include <optional>

#include "candidates_window.h"
#include "engine/chart/chart_record.h"
#include "clock_note.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace qv {
struct BirthEntry;
}

namespace qv::ui {

struct PersonDialogSetup {
    int TemplateId = 6005;
    int16_t YearDisplay = 1;     // year list: 0 Western years, 1 Republican years
    int16_t RatHourRule = 1;     // FirstTimeBase
    LocalDateTime Today{};       // the starting date and time of a new person
    // 0 when a finished record can be charted, else the text that says why not.
    std::function<int(const PersonRecord&)> WhyNotChartable;
    // For 6010: how the person's birth time was corrected when entered in this run.
    ClockNote Previous{};
    // 時辰不確定…: the birth clock minute chosen among the charts of the day
    // entered; without it the button is not shown.
    std::function<std::optional<Moment>(const CandidateRequest&)> ChooseAmongCandidates{};
    // Shown above the fields when not empty: where the starting moment came from.
    std::string StartNote{};
};

// The Gregorian year of a year typed into the year box: "1985", "民國74",
// "民國前5", "民國元年"; with Republican years on show (yearDisplay 1) a
// number of at most three digits is one of them ("74" is 1985).
std::optional<int> TypedYear(const QString& typed, int yearDisplay);

class PersonDialog : public QDialog {
    Q_OBJECT
public:
    // person: the current person for 6010; ignored for 6005.
    PersonDialog(const PersonDialogSetup& setup, const PersonRecord& person, QWidget* parent = nullptr);

    // The record after "排盤": its birth is the moment charted.
    const PersonRecord& Result() const { return result_; }
    // How that moment was read from the birth clock time given.
    const ClockNote& Note() const { return note_; }
    // The text shown for the last refused "排盤" (empty when none).
    QString Problem() const;

    void accept() override;

protected:
    void changeEvent(QEvent* event) override;

private:
    void BuildWidgets();
    void FitFieldsToFont();  // the remarks' three lines, the longitude's digits
    QGroupBox* BuildClockGroup();
    void FillZones();
    void StartFrom(const PersonRecord& person);
    void StartFromToday();
    void StartFromClockTime(const ClockNote& note);
    void ShowDate();
    void RebuildMonths();
    void RebuildDays();
    void YearChosen(int index);
    void YearTyped();
    void MonthChosen(int index);
    void DayChosen(int index);
    void CalendarChosen(bool lunar);
    void HourUnknownToggled(bool unknown);
    void ShowClockTime(const Moment& given);
    void ChooseAmongCandidates();
    // The date and time as entered, in the calendar shown; false when the
    // year or the day cannot be read.
    bool Entered(BirthEntry& entry) const;
    int MonthLengthShown() const;
    bool TakeTexts(PersonRecord& record);
    bool TakeBirth(PersonRecord& record, ClockNote& note);
    bool KeepClockNote(PersonRecord& record, const ClockNote& note);
    std::string ZoneId() const;
    // Fills the record's birth as the chart takes it: the date and time given,
    // read through the birth clock chosen. 0, or the text that says why not.
    int ReadBirth(PersonRecord& record, Moment& given, ChartedMoment& moment, BirthClock& clock) const;
    bool Correcting() const;
    // The birth clock the choices describe: 0, or the text that says why it cannot be read.
    int ChosenClock(BirthClock& clock) const;
    // The moment "排盤" will chart, and the choice of a time the clock showed twice.
    void ShowChartedMoment();
    bool TypedNumber(const QComboBox& box, int firstValue, int& value) const;
    void Refuse(const QString& why);
    void GrowToFit();

    PersonDialogSetup setup_;
    PersonRecord result_{};
    ClockNote note_;
    bool lunar_ = false;
    int year_ = 0, month_ = 1, day_ = 1;  // in the calendar shown
    bool leap_ = false;
    int hour_ = 0, minute_ = 0;

    QLineEdit* name_ = nullptr;
    QLineEdit* address_ = nullptr;
    QLineEdit* phone_ = nullptr;
    QPlainTextEdit* remarks_ = nullptr;  // several lines, stored separated by CR LF
    QRadioButton* male_ = nullptr;
    QRadioButton* female_ = nullptr;
    QRadioButton* solar_ = nullptr;
    QRadioButton* lunarButton_ = nullptr;
    QComboBox* yearList_ = nullptr;
    QComboBox* monthList_ = nullptr;
    QComboBox* dayList_ = nullptr;
    QComboBox* hourList_ = nullptr;
    QComboBox* minuteList_ = nullptr;
    QCheckBox* hourUnknown_ = nullptr;
    QPushButton* uncertain_ = nullptr;
    QComboBox* zoneList_ = nullptr;
    QCheckBox* solarTime_ = nullptr;
    QLineEdit* longitude_ = nullptr;
    QWidget* repeatedRow_ = nullptr;
    QRadioButton* firstOfRepeated_ = nullptr;
    QRadioButton* secondOfRepeated_ = nullptr;
    QLabel* chartedMoment_ = nullptr;
    QLabel* problem_ = nullptr;
    bool rebuilding_ = false;  // list signals while a list is refilled are not the user's
};

// The year list's entry for a year 1900-2099 ("民國前12" … "民國188", or "1900" … "2099").
QString YearEntryText(int year, int yearDisplay);

}  // namespace qv::ui
