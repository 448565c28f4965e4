#include "index_explanation.h"

#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "fortune_window.h"
#include "paint_helpers.h"

namespace qv::ui {

CIndexExplanationDialog::CIndexExplanationDialog(const HotArea& area, int mode, int category,
                                                 const QString& windowCaption, QWidget* parent)
    : QDialog(parent), text_(new QPlainTextEdit(this)) {
    setObjectName(QStringLiteral("indexExplanationDialog"));
    setWindowTitle(QString::fromStdString(ExplanationCaption(windowCaption.toStdString(), area)));
    text_->setObjectName(QStringLiteral("explanationText"));
    text_->setReadOnly(true);
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text_->setFont(MakeChartFont(0, 14, 400));
    text_->setPlainText(QString::fromStdString(ExplanationBody(area, mode, category)));
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* close = buttons->addButton(QStringLiteral("關閉"), QDialogButtonBox::AcceptRole);
    close->setObjectName(QStringLiteral("closeButton"));
    close->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* column = new QVBoxLayout(this);
    column->addWidget(text_);
    column->addWidget(buttons);
    resize(480, 360);
}

QString CIndexExplanationDialog::Text() const { return text_->toPlainText(); }

void RunIndexExplanation(CFortuneCurveWindow& window, const HotArea& area) {
    CIndexExplanationDialog dialog(area, window.Curve().Mode, window.Curve().Category, window.windowTitle(), &window);
    dialog.exec();
}

}  // namespace qv::ui
