#pragma once

#include <QFrame>
#include <cstdint>

#include "editor/panel/VM4_PanelValueRow.h"

class IPanelHost;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QToolButton;
class TNode;
class TNodeSymbolPreview;

// The upper half of the left panel: the selected node's name, type, symbol and
// values, edited straight into the document in SI units.
class TNodePanel : public QFrame {
    Q_OBJECT
public:
    static constexpr const char* NotConvertibleMessage =
        "The node cannot be converted to an End Pressure node.\r\rDemand Pressure nodes must be at the end of a "
        "single pipe.";
    static constexpr const char* BelowVacuumMessage =
        "The pressure value is less than that of a perfect vacuum, i.e. < 0.0 bar absolute.\r\rThe  value will be "
        "set to 0.0 bar absolute (or equivalent in other units).\r\r ";
    // Type list entries, in list order.
    static constexpr int TankEntry = 0;
    static constexpr int EndPressureEntry = 1;
    static constexpr int JoinPointEntry = 2;

    explicit TNodePanel(IPanelHost& host, QWidget* parent = nullptr);

    // Fills the part from the document (id 0: no node).
    void UpdatePanelsNode(std::int32_t nodeId);
    // The areas that flash and that answer clicks.
    QFrame* Header() const { return header_; }
    QFrame* Detail() const { return detail_; }
    QFrame* JoinPanel() const { return join_; }
    QFrame* NotesPanel() const { return notes_; }
    void SetAreasColour(const QColor& colour);
    void RepaintPreview();

private:
    void createHeader();
    void createDetail();
    void createJoinPanel();
    void createNotes();
    void connectEdits();
    void connectValue(const TPanelValueRow& row, void (TNodePanel::*store)(double));
    void setUnitLabels();
    void showNone();
    void setEditable(bool editable);
    void showTank(TNode& node, bool tank);
    void showJoinPoint(TNode& node);
    void restoreTankLayout();
    TNode* selectedNode();

    // Edits of the user; each acts only on a selected node.
    void NameEdited();
    void NotesEdited();
    void StoreSurfacePressure(double value);
    void StoreLiquidLevel(double value);
    void StoreElevation(double value);
    void TypeChosen(int entry);
    bool ConvertToEndPressure(TNode& node, std::int32_t nodeId);
    void SymbolStep(int step);
    void Browse(bool up);
    void EditDemands();
    void afterTypeOrSymbolChange();

    IPanelHost& host_;
    bool filling_ = false;
    QFrame* header_ = nullptr;
    QFrame* detail_ = nullptr;
    QFrame* join_ = nullptr;
    QFrame* notes_ = nullptr;
    QLabel* idLabel_ = nullptr;
    QLineEdit* name_ = nullptr;
    QToolButton* browseUp_ = nullptr;
    QToolButton* browseDown_ = nullptr;
    QComboBox* type_ = nullptr;
    TNodeSymbolPreview* preview_ = nullptr;
    QToolButton* symbolUp_ = nullptr;
    QToolButton* symbolDown_ = nullptr;
    QLabel* picture_ = nullptr;
    TPanelValueRow surfacePressure_;
    TPanelValueRow liquidLevel_;
    TPanelValueRow elevation_;
    TPanelValueRow joinElevation_;
    TPanelValueRow demandIn_;
    TPanelValueRow demandOut_;
    QPushButton* editDemandIn_ = nullptr;
    QPushButton* editDemandOut_ = nullptr;
    QPlainTextEdit* notesEdit_ = nullptr;
};
