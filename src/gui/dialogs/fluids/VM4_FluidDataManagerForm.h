#pragma once

#include <QDialog>
#include <filesystem>
#include <functional>
#include <memory>

#include "libraries/VM4_FluidEntry.h"
#include "libraries/VM4_GasViscosityCalc.h"
#include "model/VM4_Fluid_Class.h"

class IMessageBoxes;
class IUserMessages;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;
class QTimer;
class TFluidDatabase;
class TGasPropertiesCalculatorForm;

// "Fluid data": sets the network's fluid from the fluid database or as typed,
// adds and removes database fluids (written to the user's files at once) and
// opens the gas properties calculator. The network's fluid changes only on "Save".
class TFluidDataManagerForm : public QDialog {
    Q_OBJECT
public:
    // The fluid files come from `programTables`; what the form writes goes to `userTables`.
    TFluidDataManagerForm(IMessageBoxes& boxes, const std::filesystem::path& programTables,
                          const std::filesystem::path& userTables, QWidget* parent = nullptr);
    ~TFluidDataManagerForm() override;

    // True when the fluid was saved.
    bool EditNetworkFluid(TFluid& fluid, bool metric, bool resultsMode);

    TFluidDatabase& Database() { return *database_; }
    TGasPropertiesCalculatorForm& GasCalculator();

private:
    // The boxes of one fluid (the fluid panel or the new-entry panel).
    struct TFluidBoxes {
        QLineEdit* Name;
        QLineEdit* Formula;
        QLineEdit* Temperature;
        QLineEdit* Pressure;
        QLineEdit* Density;
        QLineEdit* Viscosity;
        QLineEdit* VapourPressure;
        QCheckBox* Gas;
    };

    void buildDatabase();
    void buildFluidPanel();
    void buildNewEntryPanel();
    TFluidBoxes makeBoxes(QWidget* parent, const char* prefix, int y);
    bool ensureLoaded();

    void setMetric(bool metric);
    void fillGrid();
    void applyFilter();
    void showFluid(const TFluid& fluid);
    void showOnBoxes(const TFluid& fluid, const TFluidBoxes& boxes, int temperatureDecimals);
    static TFluidEntryTexts textsOf(const TFluidBoxes& boxes);
    void convertBoxes(const TFluidBoxes& boxes, bool toMetric, int temperatureDecimals);
    void selectRow(int row);
    int selectedSlot() const;

    void useSelectedFluid();
    void save();
    void addNewEntry();
    void removeEntry();
    void calculateGas();
    void addFluid(const TFluid& fluid);

    IMessageBoxes& boxes_;
    std::unique_ptr<IUserMessages> messages_;
    std::unique_ptr<TFluidDatabase> database_;
    std::filesystem::path programTables_;
    TGasConstantTable gases_;
    std::unique_ptr<TGasPropertiesCalculatorForm> calculator_;
    TFluid* fluid_ = nullptr;
    TFluid working_;
    bool loaded_ = false;
    bool metric_ = true;
    bool resultsMode_ = false;
    bool saved_ = false;
    bool sortAscending_ = true;
    QTimer* flash_ = nullptr;

    QTableWidget* grid_ = nullptr;
    QLabel* unitsLine_ = nullptr;
    QLabel* viscosityNote_ = nullptr;
    QComboBox* filter_ = nullptr;
    QRadioButton* metricButton_ = nullptr;
    QRadioButton* imperialButton_ = nullptr;
    QPushButton* useSelected_ = nullptr;
    QPushButton* addNew_ = nullptr;
    QPushButton* remove_ = nullptr;
    QPushButton* calculate_ = nullptr;

    QGroupBox* fluidPanel_ = nullptr;
    QTableWidget* fluidRow_ = nullptr;
    TFluidBoxes panel_{};
    QPushButton* save_ = nullptr;

    QGroupBox* newEntryPanel_ = nullptr;
    QTableWidget* newEntryHeadings_ = nullptr;
    TFluidBoxes newEntry_{};
};
