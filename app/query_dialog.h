#pragma once
// Finding a person in a records file: the query dialog (6007 to chart, 6018 to
// delete) by the list of all names, a surname or a full name, and the pick
// dialog (6009, 6019) when several records carry the chosen name.
#include <QDialog>
#include <string>
#include <vector>

#include "engine/chart/person_record.h"

class QButtonGroup;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace qv::ui {

class PersonQueryDialog : public QDialog {
    Q_OBJECT
public:
    PersonQueryDialog(int templateId, std::string recordsPath, int yearDisplay, QWidget* parent = nullptr);

    // The number of the record chosen, after OK.
    int Chosen() const { return chosen_; }

    void accept() override;

private:
    enum class Mode { AllNames, Surname, FullName };
    void BuildWidgets();
    void ShowAllNames();
    void SearchSurname();
    void UseFullName();
    void ListNamesOf(const std::vector<std::string>& big5Names);
    std::string ChosenName() const;  // Big5; empty when there is none
    // After several matches: the pick dialog; false when it was cancelled.
    bool Pick(const std::vector<int>& numbers);

    int templateId_;
    std::string path_;
    int yearDisplay_;
    Mode mode_ = Mode::AllNames;
    int chosen_ = -1;
    QLineEdit* search_ = nullptr;
    QListWidget* names_ = nullptr;
    QPushButton* searchButton_ = nullptr;
    QRadioButton* allNames_ = nullptr;
    QRadioButton* surname_ = nullptr;
    QRadioButton* fullName_ = nullptr;
};

class PersonPickDialog : public QDialog {
    Q_OBJECT
public:
    PersonPickDialog(int templateId, const std::string& recordsPath, const std::vector<int>& numbers, int yearDisplay,
                     QWidget* parent = nullptr);

    int Picked() const { return picked_; }
    void accept() override;

private:
    std::vector<int> numbers_;
    int picked_ = -1;
    QListWidget* lines_ = nullptr;
};

// The pick dialog's line for a record, e.g. "N國曆1992年  2月  3日 7時 8分" (Western years).
QString PickLineText(const PersonRecord& record, int yearDisplay);

}  // namespace qv::ui
