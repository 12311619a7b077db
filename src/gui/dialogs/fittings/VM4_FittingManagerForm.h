#pragma once

#include <QDialog>
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "foundations/VM4_ProgramFolders.h"
#include "model/VM4_Fitting_Set_Class.h"

class IMessageBoxes;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QWidget;
class TChooseSymbolForm;
class TFittingDatabase;
class TKValueCalculatorForm;
class TQtUserMessages;
class TRightEdit;

// "Pipe fitting friction coefficients": the fittings of one pipe (at most five
// types, 1 to 20 of each) above the whole fitting database. A database fitting
// is copied onto the pipe by double click; new fitting types are typed in or
// worked out by a K-value calculator, and may be kept in the user's own part
// of the database. The pipe changes only on "  Save".
//
// The database is read on the first showing (again after a failed read). A
// database that could not be read completely is never written back, since its
// file would lose the fittings that were not read.
class TFittingManagerForm : public QDialog {
    Q_OBJECT
public:
    enum TCalculator { LongPipeBend, SuddenContraction, SuddenEnlargement, GradualContraction, GradualEnlargement,
                       PipeEntrance, CalculatorCount };

    TFittingManagerForm(IMessageBoxes& boxes, const TProgramFolders& folders, QWidget* parent = nullptr);
    ~TFittingManagerForm() override;

    // Shows the dialog on a pipe's fittings; "  Save" copies the working set
    // back into `fittings`.
    void EditPipeFittings(TFittingSet& fittings, std::int32_t pipeId, bool resultsMode, const std::string& pipeName);

    // The pieces tests drive.
    const TFittingSet& WorkingSet() const { return working_; }
    TFittingDatabase& Database() { return *database_; }
    QTableWidget& PipeGrid() const { return *pipeGrid_; }
    QTableWidget& DatabaseGrid() const { return *databaseGrid_; }
    TKValueCalculatorForm& Calculator(TCalculator which) const;
    TChooseSymbolForm& SymbolChooser() const { return *symbolChooser_; }
    // The database slot shown in a grid row (1-based rows), or 0.
    int SlotOfRow(int row) const;
    // Adds the database fitting of a row to the pipe, as a double click does.
    void AddDatabaseRowToPipe(int row);
    void SortDatabase(int column);
    void MoveToSize(int sizeIndex);
    void SetQuantity(int pipeRow, int quantity);
    void RemovePipeRow(int pipeRow);
    void RemoveDatabaseRow(int row);
    void OpenCalculator(TCalculator which);
    void OpenNewFittingPanel();
    void ChangeSymbol();
    void SaveNewFittingToList();
    void AddNewFittingToPipe();
    // The new-fitting panel's fields.
    QLineEdit& NewType() const { return *newType_; }
    QLineEdit& NewDescription() const { return *newDescription_; }
    TRightEdit& NewK() const { return *newK_; }
    QComboBox& NewMetricSize() const { return *newMetric_; }
    int NewSymbol() const { return newSymbol_; }
    QLabel& TotalLabel() const { return *total_; }
    bool NewFittingPanelOpen() const;

private:
    void createPipePart();
    void createDatabasePart();
    void createNewFittingPanel();
    void createCalculatorButtons();
    void createClosingButtons();
    void setUpDatabaseGrid(QTableWidget& grid, int rows, const char* lastHeader);

    bool loadDatabase();
    bool databaseWritable();
    void fillPipeGrid();
    void fillDatabaseGrid();
    void markUserFitting(int row);
    void fillFittingRow(QTableWidget& grid, int row, const TFitting& fitting) const;
    void showQuantitySelector(int pipeRow);
    void hideQuantitySelector();
    void refreshTotal();
    bool addToWorkingSet(const TFitting& fitting);
    void scrollDatabaseTo(int row);
    void copyRowToNewFittingPanel(int row);
    void setNewFittingPanelOpen(bool open);
    void setNewSymbol(int symbol);
    bool readNewFitting(TFitting& fitting);
    void setResultsMode(bool resultsMode);
    void showFileData();
    void reportFileError(const std::exception& error);
    void closeWith(bool save);
    void showEvent(QShowEvent* event) override;

    IMessageBoxes& boxes_;
    std::unique_ptr<TQtUserMessages> messages_;
    std::unique_ptr<TFittingDatabase> database_;
    bool databaseLoaded_ = false;
    bool databaseComplete_ = false;
    TFittingSet working_{TFittingSet::kPipeCapacity};
    std::array<bool, 8> sortAscending_{};
    // Grid row (0-based) to database slot.
    std::vector<int> rowSlots_;
    bool save_ = false;

    QLabel* pipeId_ = nullptr;
    QLabel* pipeName_ = nullptr;
    QTableWidget* pipeGrid_ = nullptr;
    QLabel* total_ = nullptr;
    QComboBox* quantity_ = nullptr;
    QPushButton* removeFromPipe_ = nullptr;
    int quantityRow_ = -1;
    QTableWidget* databaseGrid_ = nullptr;
    QComboBox* jumpMetric_ = nullptr;
    QComboBox* jumpImperial_ = nullptr;
    QPushButton* top_ = nullptr;
    QPushButton* end_ = nullptr;
    QWidget* newPanel_ = nullptr;
    QLineEdit* newType_ = nullptr;
    QComboBox* newMetric_ = nullptr;
    QComboBox* newImperial_ = nullptr;
    QLineEdit* newDescription_ = nullptr;
    TRightEdit* newK_ = nullptr;
    QLabel* newPicture_ = nullptr;
    int newSymbol_ = 0;
    std::array<std::unique_ptr<TKValueCalculatorForm>, CalculatorCount> calculators_;
    std::unique_ptr<TChooseSymbolForm> symbolChooser_;
};
