#pragma once

#include <QDialog>
#include <functional>
#include <string>

class IFileDialogs;
class IMessageBoxes;
class QAction;
class QMenuBar;
class QTabBar;
class QToolBar;
class QVBoxLayout;
class TNetwork;
class TResultsGrid;

// The results table window: the network's result tables on seven tabs over one
// grid, with export to the spreadsheet program and a switch between the metric
// and imperial unit systems. It shows the network's current results; every
// opening, tab change and unit change fills the grid afresh.
class TFormResults : public QDialog {
    Q_OBJECT

public:
    static constexpr const char* Caption = "Velmora Studio - Results";
    // The name of the sheet a table is exported or saved as.
    static constexpr const char* SheetName = "Velmora Studio - Results";
    static constexpr double ExportColumnWidth_chars = 14.0;
    // A workbook of results, not a network; the pattern with its dot, so that
    // "notxlsx" files are not offered.
    static constexpr const char* WorkbookFilter = "Velmora Results Workbook (*.xlsx)";
    static constexpr const char* WorkbookSuffix = "xlsx";
    static const char* const DiameterMismatchMessage;

    enum TTab { PipesTab, FittingsTab, PumpsTab, NodesTab, FluidsTab, PipeMaterialsTab, AllResultsTab, TabCount };

    TFormResults(IMessageBoxes& boxes, IFileDialogs& files, QWidget* parent = nullptr);
    ~TFormResults() override;

    // Fills the grid with the pipe results on the "Pipes" tab and shows the
    // window modally; the caller redraws the network afterwards.
    void ShowResultsTable(TNetwork& network);
    // The same, without showing the window.
    void FillResultsTable(TNetwork& network);
    // Fills the grid afresh for the tab shown, in the network's current units:
    // after the units were changed elsewhere.
    void RefillCurrentTab();
    int CurrentTab() const;

    // Called when the user selects a cell: the tab and the id read from the
    // row's first cell, a pipe id on "Pipes", "Fittings", "Pumps" and "Pipe
    // Materials", a node id on "Nodes"; 0 for the other, and for a first cell
    // that is not a whole number.
    std::function<void(int tabIndex, int pipeId, int nodeId)> CellSelected;
    // Called after the window changed the network's units, so that the main
    // window redraws the network and its unit controls.
    std::function<void()> UnitsChanged;
    // The configuration dialog at its units page, in results mode.
    std::function<void()> SpecifyUnits;
    // Opens an exported workbook with the desktop's spreadsheet program.
    std::function<bool(const std::string& path)> OpenWithDesktop;

    TResultsGrid& Grid() { return *grid_; }

private:
    QAction* makeAction(const char* objectName, const QString& text, void (TFormResults::*handler)());
    void createMenus(QMenuBar& bar);
    void createToolBar(QToolBar& bar);
    void createTabs(QVBoxLayout& layout);
    void createButtons(QVBoxLayout& layout);

    void TabChange(int tab);
    void refill(int tab);
    void GridSelectCell(int column, int row);

    void SaveToExcelClick();
    bool confirmReplace(const std::string& path);
    void ExportToExcelClick();
    void ImperialUnitsClick();
    void MetricUnitsClick();
    void changeUnitSystem(bool imperial);
    void SpecifyUnitsClick();

    IMessageBoxes& boxes_;
    IFileDialogs& files_;
    TNetwork* network_ = nullptr;
    QTabBar* tabs_ = nullptr;
    TResultsGrid* grid_ = nullptr;
};
