#pragma once
// 時辰不確定: every distinct chart of a span of birth clock time side by
// side, one column each, with the fields a practitioner compares them by;
// sortable when the span covers several days. Choosing one gives its minute
// back to the person dialog.
#include <QDialog>
#include <functional>
#include <optional>
#include <vector>

#include "birth_candidates.h"

class QComboBox;
class QDateTimeEdit;
class QLabel;
class QTableWidget;

namespace qv::ui {

// What the person dialog asks about: the day entered, the sex and the
// birthplace's clock.
struct CandidateRequest {
    CivilDate Date{};
    int Sex = 0;
    BirthClock Clock{};
};

// Lists and charts the candidates of the birth clock's [first, last]; false
// when the span cannot be charted.
using CandidateLister = std::function<bool(const BirthClock& clock, int sex, const Moment& first, const Moment& last,
                                           std::vector<CandidateChart>& out)>;

// How the candidates can be ordered; the time order breaks ties.
enum class CandidateOrder { Time, StrongFirst, WeakFirst, EarlyLuckFirst, PatternFirst, FavouredElement };

// The candidates in that order; for FavouredElement, those whose 用神 or
// 喜神 is `element` (0-4) first.
void SortCandidates(std::vector<CandidateChart>& charts, CandidateOrder order, int element = 0);

class CandidatesWindow : public QDialog {
    Q_OBJECT
public:
    CandidatesWindow(CandidateLister lister, const CandidateRequest& request, QWidget* parent = nullptr);

    // The birth clock minute of the candidate chosen (the middle of its range).
    std::optional<Moment> Chosen() const { return chosen_; }
    const std::vector<CandidateChart>& Shown() const { return charts_; }

    // Lists the span of the two time boxes again.
    void List();
    void accept() override;

private:
    void Sort();
    void Fill();

    CandidateLister lister_;
    CandidateRequest request_;
    std::vector<CandidateChart> charts_;
    std::optional<Moment> chosen_;
    QDateTimeEdit* from_ = nullptr;
    QDateTimeEdit* until_ = nullptr;
    QComboBox* order_ = nullptr;
    QTableWidget* table_ = nullptr;
    QLabel* problem_ = nullptr;
};

}  // namespace qv::ui
