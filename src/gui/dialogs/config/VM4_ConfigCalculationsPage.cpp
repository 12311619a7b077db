#include "dialogs/config/VM4_ConfigCalculationsPage.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <functional>

#include "dialogs/config/VM4_ConfigWorkingCopy.h"
#include "foundations/VM4_Units.h"
#include "widgets/VM4_RightEdit.h"

namespace {

// How one option is shown: in a unit of the settings, as a count or as a factor.
enum class TShownAs { FlowRate, SurfacePressure, Velocity, Count, Factor };

struct TCalculationOption {
    const char* Caption;
    const char* ObjectName;
    double TNetworkSettings::*Value;  // nullptr for the two counts
    std::int32_t TNetworkSettings::*Count;
    TShownAs ShownAs;
    int Decimals;
    int IntegerDigits;
    // Zero would stop the solver from converging or iterating at all.
    bool AllowZero;
};

const std::vector<TCalculationOption>& Options() {
    static const std::vector<TCalculationOption> options = {
        {"Flow Balancing Tolerance", "EditFlowTolerance", &TNetworkSettings::FlowBalancingTolerance, nullptr,
         TShownAs::FlowRate, 6, 3, false},
        {"Pressure Balancing Tolerance ( for initial approximate solution )", "EditPressureToleranceApprox",
         &TNetworkSettings::PressureBalancingToleranceApprox, nullptr, TShownAs::SurfacePressure, 6, 3, false},
        {"Pressure Balancing Tolerance ( for final solution )", "EditPressureToleranceFinal",
         &TNetworkSettings::PressureBalancingToleranceFinal, nullptr, TShownAs::SurfacePressure, 6, 3, false},
        {"Max Iterations for Approximate Solution", "EditMaxIterationsApprox", nullptr,
         &TNetworkSettings::MaxIterationsApproxSolution, TShownAs::Count, 0, 3, false},
        {"Max Iterations to find Final Solution", "EditMaxIterationsFinal", nullptr,
         &TNetworkSettings::MaxIterationsFinalSolution, TShownAs::Count, 0, 4, false},
        {"Final Iterations Delta Reduction Factor", "EditDeltaReduction", &TNetworkSettings::DeltaQReductionFactor,
         nullptr, TShownAs::Factor, 3, 1, false},
        {"Min Velocity for Discharge Estimates", "EditMinVelocity", &TNetworkSettings::MinVelocityDischarge, nullptr,
         TShownAs::Velocity, 6, 3, true},
        {"Max Velocity for Discharge Estimates", "EditMaxVelocity", &TNetworkSettings::MaxVelocityDischarge, nullptr,
         TShownAs::Velocity, 6, 3, false},
        {"High Velocity warnings for Liquid Velocity > ", "EditLiquidVelocity", &TNetworkSettings::LiquidHighVelocity,
         nullptr, TShownAs::Velocity, 6, 3, false},
        {"Gas Velocity >", "EditGasVelocity", &TNetworkSettings::GasHighVelocity, nullptr, TShownAs::Velocity, 6, 3,
         false},
    };
    return options;
}

// Shown value = toShown(SI value); SI value = fromShown(shown value).
struct TConversion {
    std::function<double(double)> ToShown;
    std::function<double(double)> FromShown;
    std::string UnitText;
};

TConversion ConversionFor(TShownAs shownAs, const TConfigWorkingCopy& working) {
    const TNetworkSettings& s = working.Settings;
    const auto plain = [](int si, int unit) {
        return TConversion{[si, unit](double x) { return convertUnits(si, unit, x); },
                           [si, unit](double x) { return convertUnits(unit, si, x); }, unitName(unit)};
    };
    switch (shownAs) {
        case TShownAs::FlowRate: return plain(UNIT_M3_SEC, s.FlowRateUnit);
        case TShownAs::Velocity: return plain(UNIT_M_SEC, s.VelocityUnit);
        case TShownAs::SurfacePressure: {
            const int unit = s.SurfacePressureUnit;
            const double atmosphere = s.AtmosphericPressure;
            const double density = working.Fluid.Density_kg_m3;
            return {[=](double x) { return convertPressure(UNIT_BAR_G, unit, x, atmosphere, density); },
                    [=](double x) { return convertPressure(unit, UNIT_BAR_G, x, atmosphere, density); },
                    unitShortName(unit)};
        }
        default: return {[](double x) { return x; }, [](double x) { return x; }, ""};
    }
}

}  // namespace

TConfigCalculationsPage::TConfigCalculationsPage(TConfigWorkingCopy& working, IMessageBoxes& messages,
                                                 QWidget* parent)
    : QWidget(parent), working_(working) {
    setObjectName(QStringLiteral("PanelCalculations"));
    auto* layout = new QVBoxLayout(this);
    for (const char* text : {"We recommend that you do not change these values.",
                             "Most systems will solve without any changes to these parameters.",
                             "However, if a valid system does not solve then these values can be amended to overcome "
                             "any convergence problems. "})
        layout->addWidget(new QLabel(QString::fromLatin1(text), this));
    auto* grid = new QGridLayout;
    for (std::size_t i = 0; i < Options().size(); ++i) {
        const TCalculationOption& option = Options()[i];
        auto* box = new TRightEdit(messages, this);
        box->setObjectName(QString::fromLatin1(option.ObjectName));
        box->SetRules(option.ShownAs == TShownAs::Count
                          ? IntegerRules(option.IntegerDigits, option.AllowZero, false)
                          : DecimalRules(option.Decimals, option.IntegerDigits, option.AllowZero, false));
        connect(box, &TRightEdit::ValueEdited, this, [this, i] { store(i); });
        auto* unit = new QLabel(this);
        const int row = static_cast<int>(i);
        grid->addWidget(new QLabel(QString::fromLatin1(option.Caption), this), row, 0);
        grid->addWidget(box, row, 1);
        grid->addWidget(unit, row, 2);
        boxes_.push_back(box);
        unitLabels_.push_back(unit);
    }
    layout->addLayout(grid);
    auto* reset = new QPushButton(QStringLiteral("Reset All entries to the Default Values"), this);
    reset->setObjectName(QStringLiteral("ButtonResetCalculations"));
    reset->setAutoDefault(false);
    connect(reset, &QPushButton::clicked, this, &TConfigCalculationsPage::resetAll);
    layout->addWidget(reset, 0, Qt::AlignLeft);
    layout->addStretch(1);
}

void TConfigCalculationsPage::Load() {
    for (std::size_t i = 0; i < Options().size(); ++i) {
        const TCalculationOption& option = Options()[i];
        if (option.ShownAs == TShownAs::Count) {
            boxes_[i]->SetValueText(std::to_string(working_.Settings.*option.Count));
            continue;
        }
        const TConversion conversion = ConversionFor(option.ShownAs, working_);
        boxes_[i]->SetValueText(formatFixed(option.Decimals, conversion.ToShown(working_.Settings.*option.Value)));
        unitLabels_[i]->setText(QString::fromStdString(conversion.UnitText));
    }
}

// A text that is not a value yet (or a refused zero) leaves the last valid one.
void TConfigCalculationsPage::store(std::size_t index) {
    const TCalculationOption& option = Options()[index];
    if (option.ShownAs == TShownAs::Count) {
        const auto count = boxes_[index]->ReadInteger();
        if (count.Valid) working_.Settings.*option.Count = count.Value;
        return;
    }
    const TDecimalEntry entry = boxes_[index]->ReadDecimal();
    if (entry.Outcome == TEntryOutcome::Valid)
        working_.Settings.*option.Value = ConversionFor(option.ShownAs, working_).FromShown(entry.Value);
}

std::vector<std::string> TConfigCalculationsPage::InvalidEntries() const {
    std::vector<std::string> invalid;
    for (std::size_t i = 0; i < Options().size(); ++i) {
        const bool valid = Options()[i].ShownAs == TShownAs::Count
                               ? boxes_[i]->ReadInteger().Valid
                               : boxes_[i]->ReadDecimal().Outcome == TEntryOutcome::Valid;
        if (!valid) invalid.push_back(Options()[i].Caption);
    }
    return invalid;
}

void TConfigCalculationsPage::resetAll() {
    working_.Settings.ResetCalculationOptions();
    Load();
}
