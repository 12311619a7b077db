#include "dialogs/fittings/VM4_KValueCalculatorForm.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLabel>
#include <QPushButton>

#include "dialogs/VM4_DialogHelpers.h"
#include "foundations/VM4_DecimalMark.h"
#include "foundations/VM4_Units.h"
#include "platform/VM4_MessageBoxes.h"
#include "widgets/VM4_RightEdit.h"

namespace {

constexpr int kRowHeight = 30;
constexpr int kWidth = 330;
const char* const kNotCalculated = "xxxx";
const QColor kWarningColour(255, 255, 0);

}  // namespace

TKValueCalculatorForm::TKValueCalculatorForm(IMessageBoxes& boxes, const QString& caption,
                                             const std::vector<TInput>& inputs, const QString& velocityNote,
                                             QWidget* parent)
    : QDialog(parent), boxes_(boxes) {
    setWindowTitle(caption);
    for (const TInput& input : inputs) {
        Placed(new QLabel(QString::fromLatin1(input.Caption), this), "LabelInput", 12, rowY_, 170, 24);
        auto* box = Placed(new TRightEdit(boxes_, this), input.Name, 190, rowY_, 90, 24);
        box->SetRules(CalculatorRules(false, false));
        box->SetValueText(input.DefaultText);
        box->installEventFilter(this);
        connect(box, &TRightEdit::ValueEdited, this, [this] { clearResults(); });
        inputs_.push_back(box);
        rowY_ += kRowHeight;
    }
    if (!velocityNote.isEmpty()) {
        Placed(new QLabel(QStringLiteral("Based on velocity"), this), "LabelBasedOn", 12, rowY_, 140, 20);
        Placed(new QLabel(velocityNote, this), "LabelVelocityPipe", 12, rowY_ + 18, 200, 20);
        rowY_ += 44;
    }
    kLabel_ = addResultRow("K =", "LabelK");
}

QLabel* TKValueCalculatorForm::addResultRow(const char* caption, const char* name) {
    Placed(new QLabel(QString::fromLatin1(caption), this), "LabelResultCaption", 12, rowY_, 100, 24);
    auto* value = Placed(new QLabel(QString::fromLatin1(kNotCalculated), this), name, 190, rowY_, 90, 24);
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    rowY_ += kRowHeight;
    return value;
}

void TKValueCalculatorForm::skipRows(int rows) { rowY_ += rows * kRowHeight; }

void TKValueCalculatorForm::createButtons() {
    auto* calculate = Placed(new QPushButton(QStringLiteral("Calculate"), this), "ButtonCalculate", 12, rowY_ + 8, 90, 26);
    auto* create = Placed(new QPushButton(QStringLiteral("Create new fitting"), this), "ButtonCreateNewFitting",
                          110, rowY_ + 8, 120, 26);
    cancel_ = Placed(new QPushButton(QStringLiteral("Cancel"), this), "ButtonCancel", 238, rowY_ + 8, 80, 26);
    connect(calculate, &QPushButton::clicked, this, [this] { Calculate(); });
    connect(create, &QPushButton::clicked, this, [this] { useResult(); });
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    setFixedSize(kWidth, rowY_ + 48);
}

bool TKValueCalculatorForm::Execute() {
    if (cancel_ == nullptr) createButtons();
    resultToUse_ = false;
    exec();
    return resultToUse_;
}

void TKValueCalculatorForm::showEvent(QShowEvent* event) {
    if (cancel_ == nullptr) createButtons();
    if (!shownBefore_) adaptDecimalMarks();
    shownBefore_ = true;
    QDialog::showEvent(event);
    inputs_.front()->setFocus();
}

// The default texts are written with "."; the user's system may use ",".
void TKValueCalculatorForm::adaptDecimalMarks() {
    for (TRightEdit* box : inputs_) box->NormaliseDecimalMark();
}

bool TKValueCalculatorForm::readInputs(std::vector<double>& values) {
    values.clear();
    for (TRightEdit* box : inputs_) {
        const TParsedNumber<double> value = box->ReadPositive();
        if (!value.Valid) {
            box->ShowInvalidNumericEntry(kWarningColour);
            QApplication::beep();
            afterInvalidInput();
            return false;
        }
        values.push_back(value.Value);
    }
    return true;
}

void TKValueCalculatorForm::Calculate() {
    last_ = TKValueResult();
    clearResults();
    std::vector<double> values;
    if (!readInputs(values)) return;
    const TKValueResult result = compute(values);
    if (!result.Valid) {
        boxes_.ShowInformation(result.Refusal);
        inputs_[static_cast<std::size_t>(refusalFocus())]->setFocus();
        return;
    }
    last_ = result;
    kLabel_->setText(QString::fromStdString(formatFixed(2, result.KValue)));
    showExtras(result);
}

void TKValueCalculatorForm::useResult() {
    Calculate();
    if (!last_.Valid || !acceptResult(last_.KValue)) return;
    resultToUse_ = true;
    accept();
}

void TKValueCalculatorForm::clearResults() {
    kLabel_->clear();
    clearExtras();
}

// Leaving a box that holds no positive number puts "0.00" in it, with the
// warning; moving to "Cancel" is always allowed.
bool TKValueCalculatorForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        auto* box = qobject_cast<TRightEdit*>(watched);
        const bool userMove = reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
                              reason == Qt::MouseFocusReason;
        if (box != nullptr && userMove && QApplication::focusWidget() != cancel_ && !box->ReadPositive().Valid) {
            box->SetValueText("0" + std::string(1, SystemDecimalMark()) + "00");
            box->ShowInvalidNumericEntry(kWarningColour);
        }
    }
    return QDialog::eventFilter(watched, event);
}
