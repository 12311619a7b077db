#pragma once

#include <QDialog>
#include <functional>
#include <string>

#include "results/VM4_DataCellEdit.h"

class IFileDialogs;
class IMessageBoxes;
class QAction;
class QTabBar;
class QTimer;
class TNetwork;
class TResultsGrid;

// "Network Data - Grid View": the pipes, tanks, end-pressure nodes and join
// points as tables whose cells the user types into. Each keystroke that forms a
// value is written into the network at once and the drawing redrawn; the grid
// keeps no copy of the data, so there is nothing to cancel. What a cell cannot
// hold is refused and the cell shows the network's value again shortly after.
class TPipeDataForm : public QDialog {
    Q_OBJECT

public:
    static constexpr const char* Caption = "Network Data - Grid View";
    static constexpr int TabCount = 4;
    // How long a refused entry stays visible before the network's value returns.
    static constexpr int RefuseRefill_ms = 200;
    static constexpr int QuietRefill_ms = 10;

    TPipeDataForm(IMessageBoxes& boxes, IFileDialogs& files, QWidget* parent = nullptr);
    ~TPipeDataForm() override;

    // Shows the pipes' table of the network, modally.
    void ShowNetworkDataGrid(TNetwork& network);
    // Fills the grid with the tab's table; for showing without the modal loop.
    void Fill(TNetwork& network);

    TResultsGrid& Grid() { return *grid_; }
    int CurrentTab() const;
    void SelectTab(int tab);
    void RefillCurrentTab();

    // The main window's part: redraw after a change; highlight the item of a
    // selected row; forget its selection and tool states; open the units page of
    // the configuration (the command is greyed out while this is not set).
    std::function<void()> NetworkChanged;
    std::function<void(std::int32_t pipeId, std::int32_t nodeId)> ItemSelected;
    std::function<void()> ClearNetworkStates;
    std::function<void()> SpecifyUnits;
    // Opens a saved workbook in the desktop's spreadsheet program.
    std::function<bool(const std::string& path)> OpenWithDesktop;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QAction* makeAction(const char* objectName, const QString& text, void (TPipeDataForm::*handler)());
    void createMenusAndToolBar(class QVBoxLayout& layout);
    void TabChange(int tab);
    void GridCellEdited(int column, int row, const QString& text);
    void GridCellEditEnded(int column, int row);
    void GridSelectCell(int column, int row);
    void RefillTimerFired();
    void startRefill(int milliseconds);
    void SaveToExcelClick();
    void ExportToExcelClick();
    void ImperialUnitsClick();
    void MetricUnitsClick();
    void changeUnitSystem(bool imperial);
    void SpecifyUnitsClick();
    TDataTable currentTable() const;
    std::string sheetName() const;
    void changed();

    IMessageBoxes& boxes_;
    IFileDialogs& files_;
    TNetwork* network_ = nullptr;
    TResultsGrid* grid_;
    QTabBar* tabs_ = nullptr;
    QTimer* refillTimer_;
    QAction* specifyUnits_ = nullptr;
    QAction* changeDisplayUnits_ = nullptr;
    // The outcome of the last keystroke of the cell being typed.
    TCellEditOutcome lastOutcome_ = TCellEditOutcome::Unchanged;
};
