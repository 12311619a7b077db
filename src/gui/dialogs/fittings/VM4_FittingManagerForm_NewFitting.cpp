// The fitting manager's new-fitting panel: a fitting type typed in, based on a
// database row or worked out by a K-value calculator, added to the pipe or kept
// in the user's part of the database.

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include "dialogs/VM4_DialogHelpers.h"
#include "dialogs/fittings/VM4_ChooseSymbolForm.h"
#include "dialogs/fittings/VM4_FittingManagerForm.h"
#include "dialogs/fittings/VM4_GradualContractionCalculationForm.h"
#include "dialogs/fittings/VM4_GradualEnlargementCalculationForm.h"
#include "dialogs/fittings/VM4_LongPipeBendCalculationForm.h"
#include "dialogs/fittings/VM4_PipeEntranceCalculationForm.h"
#include "dialogs/fittings/VM4_SuddenContractionCalculationForm.h"
#include "dialogs/fittings/VM4_SuddenEnlargementCalculationForm.h"
#include "editor/VM4_FittingSymbols.h"
#include "foundations/VM4_DecimalMark.h"
#include "foundations/VM4_EntryValidation.h"
#include "foundations/VM4_Input_Validation.h"
#include "foundations/VM4_Units.h"
#include "libraries/VM4_FittingSizes.h"
#include "libraries/VM4_Fitting_Database.h"
#include "platform/VM4_MessageBoxes.h"
#include "widgets/VM4_RightEdit.h"

namespace {

const char* const kKNotValid = "The 'K' value is not valid";
const char* const kAddToDatabase = "Add new fitting data to Fitting database.\rProceed with this operation?";
const QColor kPanelBackground(213, 214, 255);
const QColor kCalculatorOpen(255, 255, 0);
constexpr int kPanelTop = 380;
constexpr int kDatabaseTop = 190;
constexpr int kDatabaseHeight = 300;

struct TCalculatorButton {
    const char* Caption;
    const char* Name;
    int Symbol;
    const char* DefaultK;
    const char* Type;
    const char* Description;
};

constexpr std::array<TCalculatorButton, TFittingManagerForm::CalculatorCount> kCalculatorButtons = {{
    {"long pipe bend", "ButtonLongPipeBend", 2, "1.00", "PRad", "Pipe bend with specific radius"},
    {"sudden contraction", "ButtonSuddenContraction", 32, "1.50", "SuCon", "Sudden contraction"},
    {"sudden enlargement", "ButtonSuddenEnlargement", 31, "1.00", "SuEn", "Sudden enlargement"},
    {"gradual contraction", "ButtonGradualContraction", 30, "1.50", "GrCon", "Gradual contraction"},
    {"gradual enlargement", "ButtonGradualEnlargement", 29, "1.00", "GrEn", "Gradual enlargement"},
    {"entrance rounded", "ButtonEntranceRounded", 28, "0.50", "EntRnd", "Pipe entrance rounded intake"},
}};

}  // namespace

void TFittingManagerForm::createNewFittingPanel() {
    newPanel_ = Placed(new QGroupBox(QStringLiteral("New fitting"), this), "PanelNewFitting", 10, kPanelTop, 700, 120);
    auto* panel = newPanel_;
    Placed(new QLabel(QStringLiteral("Type"), panel), "LabelNewType", 70, 18, 59, 18);
    Placed(new QLabel(QStringLiteral("Metric"), panel), "LabelNewMetric", 132, 18, 69, 18);
    Placed(new QLabel(QStringLiteral("Imperial"), panel), "LabelNewImperial", 204, 18, 69, 18);
    Placed(new QLabel(QStringLiteral("Description"), panel), "LabelNewDescription", 276, 18, 180, 18);
    Placed(new QLabel(QStringLiteral("K value"), panel), "LabelNewK", 460, 18, 60, 18);
    newPicture_ = Placed(new QLabel(panel), "PictureNewSymbol", 8, 38, 56, 40);
    newType_ = Placed(new QLineEdit(panel), "EditNewType", 70, 40, 59, 24);
    newType_->setMaxLength(static_cast<int>(TFitting::kTypeCapacity));
    newMetric_ = Placed(new QComboBox(panel), "ComboNewMetric", 132, 40, 69, 24);
    newImperial_ = Placed(new QComboBox(panel), "ComboNewImperial", 204, 40, 69, 24);
    for (int index = 0; index < FittingSizes::Count; ++index) {
        newMetric_->addItem(qs(FittingSizes::MetricText(index, "N/A")));
        newImperial_->addItem(qs(FittingSizes::ImperialText(index, "N/A")));
    }
    connect(newMetric_, &QComboBox::activated, newImperial_, &QComboBox::setCurrentIndex);
    connect(newImperial_, &QComboBox::activated, newMetric_, &QComboBox::setCurrentIndex);
    newDescription_ = Placed(new QLineEdit(panel), "EditNewDescription", 276, 40, 180, 24);
    newDescription_->setMaxLength(static_cast<int>(TFitting::kDescriptionCapacity));
    newK_ = Placed(new TRightEdit(boxes_, panel), "EditNewK", 460, 40, 60, 24);
    newK_->SetRules(DecimalRules(2, 3, true, false));
    auto* change = Placed(new QPushButton(QStringLiteral("Change"), panel), "ButtonChangeSymbol", 8, 84, 56, 24);
    auto* toList = Placed(new QPushButton(QStringLiteral("Save this fitting data to list"), panel),
                          "ButtonSaveToList", 276, 84, 180, 26);
    auto* toPipe = Placed(new QPushButton(QStringLiteral("Add this fitting to pipe"), panel), "ButtonAddToPipe", 460,
                          84, 150, 26);
    auto* cancel = Placed(new QPushButton(QStringLiteral("Cancel"), panel), "ButtonCancelNewFitting", 616, 84, 76, 26);
    auto* open = Placed(new QPushButton(QStringLiteral("Create new fitting"), this), "ButtonCreateNewFitting", 580,
                        kDatabaseTop + 160, 130, 26);
    connect(change, &QPushButton::clicked, this, [this] { ChangeSymbol(); });
    connect(toList, &QPushButton::clicked, this, [this] { SaveNewFittingToList(); });
    connect(toPipe, &QPushButton::clicked, this, [this] { AddNewFittingToPipe(); });
    connect(cancel, &QPushButton::clicked, this, [this] { setNewFittingPanelOpen(false); });
    connect(open, &QPushButton::clicked, this, [this] { OpenNewFittingPanel(); });
    setNewSymbol(0);
}

void TFittingManagerForm::createCalculatorButtons() {
    auto* group = Placed(new QGroupBox(QStringLiteral("Calculate K value"), this), "PanelCalculateK", 10, 510, 700, 84);
    for (std::size_t i = 0; i < kCalculatorButtons.size(); ++i) {
        const TCalculatorButton& button = kCalculatorButtons[i];
        auto* b = Placed(new QPushButton(QString::fromLatin1(button.Caption), group), button.Name,
                         10 + static_cast<int>(i % 3) * 230, 22 + static_cast<int>(i / 3) * 30, 220, 26);
        connect(b, &QPushButton::clicked, this, [this, i] { OpenCalculator(static_cast<TCalculator>(i)); });
    }
    calculators_[LongPipeBend] = std::make_unique<TLongPipeBendCalculationForm>(boxes_, this);
    calculators_[SuddenContraction] = std::make_unique<TSuddenContractionCalculationForm>(boxes_, this);
    calculators_[SuddenEnlargement] = std::make_unique<TSuddenEnlargementCalculationForm>(boxes_, this);
    calculators_[GradualContraction] = std::make_unique<TGradualContractionCalculationForm>(boxes_, this);
    calculators_[GradualEnlargement] = std::make_unique<TGradualEnlargementCalculationForm>(boxes_, this);
    calculators_[PipeEntrance] = std::make_unique<TPipeEntranceCalculationForm>(boxes_, this);
}

TKValueCalculatorForm& TFittingManagerForm::Calculator(TCalculator which) const { return *calculators_[which]; }

bool TFittingManagerForm::NewFittingPanelOpen() const { return newPanel_->isVisibleTo(this); }

// The open panel takes the lower part of the database grid.
void TFittingManagerForm::setNewFittingPanelOpen(bool open) {
    newPanel_->setVisible(open);
    databaseGrid_->setFixedHeight(open ? kPanelTop - kDatabaseTop - 6 : kDatabaseHeight);
}

void TFittingManagerForm::OpenNewFittingPanel() { setNewFittingPanelOpen(true); }

void TFittingManagerForm::setNewSymbol(int symbol) {
    newSymbol_ = symbol;
    newPicture_->setPixmap(FittingPixmap(symbol, 56, 40, kPanelBackground));
}

void TFittingManagerForm::copyRowToNewFittingPanel(int row) {
    const int slot = SlotOfRow(row);
    if (slot == 0) return;
    const TFitting& fitting = database_->Fittings().GetFitting(slot);
    const int sizeIndex = FittingSizes::IndexOfSize(fitting.SizeIndex);
    newMetric_->setCurrentIndex(sizeIndex);
    newImperial_->setCurrentIndex(sizeIndex);
    newType_->setText(qs(fitting.Type));
    newDescription_->setText(qs(fitting.Description));
    newK_->SetValueText(formatFixed(2, fitting.KValue));
    setNewSymbol(fitting.ImageIndex);
}

void TFittingManagerForm::ChangeSymbol() {
    symbolChooser_->move(pos() + QPoint(12, 179));
    const int symbol = symbolChooser_->ChooseSymbol(newSymbol_);
    if (symbol >= 0) setNewSymbol(symbol);
}

// The panel's fitting; false (after the message) when its K is not a number.
bool TFittingManagerForm::readNewFitting(TFitting& fitting) {
    const TParsedNumber<double> k = ParseDecimalText(ToSystemDecimalMark(newK_->Text()), true, false);
    if (!k.Valid) {
        boxes_.ShowInformation(kKNotValid);
        return false;
    }
    const int sizeIndex = std::max(0, newMetric_->currentIndex());
    fitting.SetFittingData(FittingSizes::SizeOfIndex(sizeIndex), newSymbol_, newType_->text().toStdString(),
                           FittingSizes::MetricText(sizeIndex, ""), FittingSizes::ImperialText(sizeIndex, ""),
                           newDescription_->text().toStdString(), k.Value);
    return true;
}

void TFittingManagerForm::SaveNewFittingToList() {
    TFitting fitting;
    if (!readNewFitting(fitting) || !boxes_.Confirm(kAddToDatabase) || !databaseWritable()) return;
    setNewFittingPanelOpen(false);
    try {
        database_->AddUserFitting(fitting);
    } catch (const std::exception& error) {
        reportFileError(error);
        return;
    }
    fillDatabaseGrid();
    scrollDatabaseTo(databaseGrid_->rowCount());
}

void TFittingManagerForm::AddNewFittingToPipe() {
    TFitting fitting;
    if (!readNewFitting(fitting)) return;
    if (addToWorkingSet(fitting)) setNewFittingPanelOpen(false);
}

void TFittingManagerForm::OpenCalculator(TCalculator which) {
    const TCalculatorButton& button = kCalculatorButtons[which];
    TKValueCalculatorForm& calculator = *calculators_[which];
    setNewFittingPanelOpen(true);
    setNewSymbol(button.Symbol);
    newMetric_->setCurrentIndex(0);
    newImperial_->setCurrentIndex(0);
    newType_->clear();
    newDescription_->clear();
    newK_->SetValueText(calculator.HasResult() ? formatFixed(2, calculator.ResultK())
                                               : ToSystemDecimalMark(button.DefaultK));
    const QPalette plain = newK_->palette();
    QPalette marked = plain;
    marked.setColor(QPalette::Base, kCalculatorOpen);
    newK_->setPalette(marked);
    calculator.move(pos() + QPoint(214, 179));
    const bool use = calculator.Execute();
    newK_->setPalette(plain);
    if (!use) return;
    newK_->SetValueText(formatFixed(2, calculator.ResultK()));
    newType_->setText(QString::fromLatin1(button.Type));
    newDescription_->setText(QString::fromLatin1(button.Description));
    setNewSymbol(button.Symbol);
}
