#pragma once
// Choosing days (擇日): a modeless window listing the days of a range for one
// or two persons, best first by the day fortune value of a category (for two,
// the lower), each with its pillar and its relation to each person's day
// branch; days of 沖 come last. A day opens on the perpetual calendar.
#include <QDialog>
#include <functional>
#include <memory>

#include "best_days_paint.h"
#include "comparison_window.h"
#include "engine/fortune/best_days.h"

class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QTableWidget;

namespace qv::ui {

// The categories a user chooses days by, in the order of the curve menus.
struct DayCategory {
    const char* Name;
    int Category;
};
inline constexpr DayCategory DayCategories[] = {{"本命", 1}, {"事業", 9}, {"遷移", 7}, {"財運", 5}, {"健康", 6},
                                                {"愛情", 3}, {"人際", 8}, {"子女", 4}, {"整體", 14}};

class CBestDaysWnd : public QDialog {
    Q_OBJECT
public:
    using DayOpener = std::function<void(const CivilDate&)>;
    // Opens on `first` alone, the overall category, from today for a year.
    CBestDaysWnd(std::unique_ptr<ChartRecord> first, const CivilDate& today, TwoPersonHooks hooks, DayOpener openDay,
                 QWidget* owner);
    ~CBestDaysWnd() override;

    // Person 0 or 1 chosen anew from the records file; DropSecond lists for the first alone.
    void ChoosePerson(int side);
    void DropSecond();
    // The range and category; the list follows at once.
    void SetRange(const CivilDate& from, const CivilDate& to);
    void SetCategoryIndex(int index);
    const BestDays& Days() const { return *days_; }
    bool Listed() const { return listed_; }
    QTableWidget* Table() const { return table_; }
    // The day of the current row on the perpetual calendar.
    void OpenCurrentDay();
    // The list as the pages and the picture show it.
    BestDaysSheet Sheet() const;
    bool PrintOn(QPrinter& printer) const;  // page after page
    void Print();
    void ExportPicture();  // the whole list on one page, PNG or PDF, named after the persons

private:
    void BuildWidgets(const CivilDate& today);
    void List();
    void FillTable();
    QString PersonLine(int side) const;

    std::unique_ptr<ChartRecord> persons_[2];
    TwoPersonHooks hooks_;
    DayOpener openDay_;
    std::unique_ptr<BestDays> days_;
    bool listed_ = false;
    QLabel* who_[2] = {};
    QPushButton* drop_ = nullptr;
    QComboBox* category_ = nullptr;
    QDateEdit* from_ = nullptr;
    QDateEdit* to_ = nullptr;
    QLabel* status_ = nullptr;
    QTableWidget* table_ = nullptr;
};

}  // namespace qv::ui
