#pragma once

#include <QTableWidget>
#include <string>

class QComboBox;
class TPumpCurveGrid;

// The pump dialog's curve grid on screen: 4 columns and 12 rows, row 0 the
// headings, row 1 the unit selectors (flow, head) and unit names, rows 2..11
// the points. The shut-off cells (flow and efficiency of point 1) always read
// "0", cannot be selected and are painted silver.
class TPumpCurveTable : public QTableWidget {
    Q_OBJECT
public:
    explicit TPumpCurveTable(QWidget* parent);

    QComboBox* FlowUnitBox() const { return flowUnits_; }
    QComboBox* HeadUnitBox() const { return headUnits_; }
    void SetNPSHrUnitName(const std::string& name);

    void CopyTo(TPumpCurveGrid& grid) const;
    void CopyFrom(const TPumpCurveGrid& grid);
    // Grey text on grey rows while the curve is not in use (fixed flow, results).
    void SetGreyed(bool greyed);

private:
    static bool isShutOffCell(int column, int row);
    void paintCells();

    QComboBox* flowUnits_ = nullptr;
    QComboBox* headUnits_ = nullptr;
    bool greyed_ = false;
};
