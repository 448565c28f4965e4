#pragma once
// The index-explanation dialog (指數說明): the words behind one bar of a
// fortune curve, or behind the whole chart, read-only with a 關閉 button.
#include <QDialog>

#include "curve_explanation.h"

class QPlainTextEdit;

namespace qv::ui {

class CFortuneCurveWindow;

class CIndexExplanationDialog : public QDialog {
    Q_OBJECT
public:
    // mode and category of the window the area was clicked in; caption: that window's caption.
    CIndexExplanationDialog(const HotArea& area, int mode, int category, const QString& windowCaption,
                            QWidget* parent = nullptr);

    QString Text() const;

private:
    QPlainTextEdit* text_;
};

// Runs the dialog modally for an area of the window's chart.
void RunIndexExplanation(CFortuneCurveWindow& window, const HotArea& area);

}  // namespace qv::ui
