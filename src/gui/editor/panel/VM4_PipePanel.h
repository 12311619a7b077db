#pragma once

#include <QFrame>
#include <array>
#include <cstdint>

#include "editor/panel/VM4_PanelValueRow.h"

class IPanelHost;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QToolButton;
class TPipe;

// The lower half of the left panel: the selected pipe's name, dimensions, the
// items on it and the commands that close, reopen or reverse it.
class TPipePanel : public QFrame {
    Q_OBJECT
public:
    static constexpr const char* UseAsDefaultQuestion =
        "Use the values from this pipe as the default values when drawing new pipes?";
    // The items on a pipe, in the order of their buttons.
    enum TItem { Fittings, FixedPressureLoss, FlowControl, Pump, ItemCount };

    explicit TPipePanel(IPanelHost& host, QWidget* parent = nullptr);

    void UpdatePanelsPipe(std::int32_t pipeId);
    void SetColour(const QColor& colour);

private:
    void createHeader(QGridLayout& grid);
    void createItems(QGridLayout& grid);
    void createValues(QGridLayout& grid);
    void createFooter(QGridLayout& grid);
    void connectEdits();
    void connectValue(const TPanelValueRow& row, void (TPipePanel::*store)(double));
    void setUnitLabels();
    void showNone();
    void setEditable(bool editable);
    void showValues(const TPipe& pipe);
    void showItems(const TPipe& pipe);
    void showItemCounts(const std::array<int, ItemCount>& counts, const std::array<bool, ItemCount>& included);
    TPipe* selectedPipe();

    void NameEdited();
    void NotesEdited();
    void StoreLength(double value);
    void StoreDiameter(double value);
    void StoreRoughness(double value);
    void OpenItem(TItem item);
    void IncludeClicked(TItem item, bool checked);
    void Browse(bool up);
    void Reverse();
    void Close();
    void Reopen();
    void ChangeDiameter(int startMode);
    void UseAsDefault();
    void AlterDefaults();
    void afterPipeCommand();

    IPanelHost& host_;
    bool filling_ = false;
    QLabel* idLabel_ = nullptr;
    QToolButton* browseUp_ = nullptr;
    QToolButton* browseDown_ = nullptr;
    QPushButton* close_ = nullptr;
    QPushButton* reopen_ = nullptr;
    QPushButton* reverse_ = nullptr;
    QLineEdit* name_ = nullptr;
    std::array<QPushButton*, ItemCount> itemButtons_{};
    std::array<QCheckBox*, ItemCount> include_{};
    QLabel* includeLabel_ = nullptr;
    TPanelValueRow length_;
    TPanelValueRow diameter_;
    TPanelValueRow roughness_;
    QPushButton* diameterButton_ = nullptr;
    QPushButton* materialButton_ = nullptr;
    QLabel* nominal_ = nullptr;
    QLabel* material_ = nullptr;
    QLabel* schedule_ = nullptr;
    QPushButton* useAsDefault_ = nullptr;
    QPushButton* alterDefaults_ = nullptr;
    QPlainTextEdit* notesEdit_ = nullptr;
};
