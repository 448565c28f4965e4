#pragma once
// The potential-parameter dialogs: PotentialCategoryDialog (6022) chooses or
// creates a category and sets its name, K and number of abilities;
// PotentialItemDialog (6024) sets each ability's name, elements and ten gods.
// They edit the table in memory; the file keeps the result only when the item
// dialog ends with OK.
#include <QDialog>

#include "engine/fortune/potential.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QRadioButton;

namespace qv::ui {

class CQuorvaneApp;

class PotentialCategoryDialog : public QDialog {
    Q_OBJECT
public:
    // currentCategory is shown first and becomes the edited category on OK.
    PotentialCategoryDialog(PotentialTable& table, int16_t& currentCategory, QWidget* parent = nullptr);
    // The category "繼續設定" applied to the table, or -1 when it changed nothing.
    int Applied() const { return applied_; }

private:
    void LoadCategory(int c);
    void ChooseNew();
    void ChooseOld();
    void Continue();

    PotentialTable& table_;
    int16_t& current_;
    bool newCategory_ = false;
    int selected_ = 0;
    int applied_ = -1;
    QListWidget* list_;
    QRadioButton* newRadio_;
    QRadioButton* oldRadio_;
    QLineEdit* k_;
    QLineEdit* count_;
    QLineEdit* name_;
    QLabel* present_;
    QLabel* problem_;
};

class PotentialItemDialog : public QDialog {
    Q_OBJECT
public:
    PotentialItemDialog(PotentialTable& table, int category, QWidget* parent = nullptr);

private:
    void FillList();
    void LoadItem(int i);
    // False, with the reason shown, when the name cannot be stored.
    bool StoreItem(int i);
    void Select(int row);

    PotentialTable& table_;
    int first_, count_;
    int selected_ = 0;
    QListWidget* list_;
    QLineEdit* name_;
    QComboBox* elements_[3];
    QComboBox* tenGods_[4];
    QLabel* problem_;
};

// Both dialogs as the potential-parameter command runs them, saving or
// reloading the table file: true when the category dialog ended with OK.
bool RunPotentialParameterDialogs(CQuorvaneApp& app, QWidget* parent);

// Stores a name as the table holds it, Big5 within `capacity` − 1 bytes; a
// name that does not fit or holds a character Big5 cannot is left unstored
// and the string-table text of the reason returned, else 0.
int StorePotentialName(char* field, size_t capacity, const QString& text);

}  // namespace qv::ui
