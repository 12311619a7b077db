#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>
#include <vector>

class IMessageBoxes;
class QLabel;
class QListWidget;
class QPushButton;
class TNetwork;
class TPipe;
class TRightEdit;
struct TConfigWorkingCopy;

// The Pipe Defaults tab: the values newly drawn pipes take, and copying them to
// pipes of the network chosen from a list.
class TConfigPipeDefaultsPage : public QWidget {
    Q_OBJECT

public:
    static const char* const CopiedMessage;

    TConfigPipeDefaultsPage(TConfigWorkingCopy& working, IMessageBoxes& boxes, QWidget* parent = nullptr);

    // Fills the boxes from the working default pipe and lists the network's pipes.
    void Load(TNetwork& network);

    // The fitting manager and the pipe diameter manager, on the working default
    // pipe; their buttons are greyed out while these are not set.
    std::function<void(TPipe& pipe)> EditFittings;
    std::function<void(TPipe& pipe, bool showMaterials)> EditDiameter;
    // The copy changed pipes of the network (at once, whatever the dialog's end).
    std::function<void()> NetworkChanged;

private:
    void fillBoxes();
    void fillPipeList();
    void storeDimension(TRightEdit* box, double TPipe::*field, int unit);
    void copyToCheckedPipes();
    std::string pipeLine(std::int32_t pipeId) const;

    TConfigWorkingCopy& working_;
    IMessageBoxes& boxes_;
    TNetwork* network_ = nullptr;
    TRightEdit* length_;
    TRightEdit* diameter_;
    TRightEdit* roughness_;
    std::vector<QLabel*> unitLabels_;
    QLabel* nominal_;
    QLabel* material_;
    QLabel* schedule_;
    QPushButton* fittings_;
    QPushButton* diameterButton_;
    QPushButton* materialButton_;
    QListWidget* pipes_;
    std::vector<std::int32_t> pipeIds_;
};
