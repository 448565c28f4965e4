#pragma once
// 八字反查: the pillars chosen (year and month, the day and hour when known),
// a rat-hour rule and a span of years; the list of every time range in which
// they hold, Gregorian and lunar, or why they cannot occur. A double click
// starts a new person on the middle of the range.
#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "engine/analysis/pillar_search.h"

class QComboBox;
class QLabel;
class QSpinBox;
class QTableWidget;

namespace qv::ui {

// Starts 新增個人資料 on the moment, the range it was found in told beside it.
using NewPersonAtMoment = std::function<void(const Moment& moment, const std::string& note)>;

class PillarSearchWindow : public QDialog {
    Q_OBJECT
public:
    PillarSearchWindow(const SolarTermTable& table, int ratHourRule, NewPersonAtMoment newPerson,
                       QWidget* parent = nullptr);

    // Searches with the choices shown.
    void Search();
    const std::vector<PillarRange>& Found() const { return found_; }
    // The middle minute of a range, and its note "八字反查：… 至 …".
    static Moment MiddleOf(const PillarRange& r);
    static std::string RangeNote(const PillarRange& r);

private:
    void OpenRow(int row);

    const SolarTermTable& table_;
    NewPersonAtMoment newPerson_;
    QComboBox* pillars_[4] = {};
    QComboBox* rule_ = nullptr;
    QSpinBox* firstYear_ = nullptr;
    QSpinBox* lastYear_ = nullptr;
    QTableWidget* list_ = nullptr;
    QLabel* status_ = nullptr;
    std::vector<PillarRange> found_;
};

}  // namespace qv::ui
