#pragma once

#include <QDialog>
#include <cstdint>

class IMessageBoxes;
class QLabel;
class QLineEdit;
class QPushButton;
class TNetwork;

// "Set Flow Control": the name of a pipe's flow control and the flow it holds.
// The pipe changes only on "OK" or "Delete".
class TFlowControlForm : public QDialog {
    Q_OBJECT
public:
    explicit TFlowControlForm(IMessageBoxes& boxes, QWidget* parent = nullptr);

    void EditFlowControl(TNetwork& network, std::int32_t pipeId, bool resultsMode);

private:
    enum class TOutcome { Cancelled, Accepted, Deleted };
    void closeWith(TOutcome outcome);

    IMessageBoxes& boxes_;
    TOutcome outcome_ = TOutcome::Cancelled;
    QLabel* pipeLabel_ = nullptr;
    QLabel* pipeName_ = nullptr;
    QLineEdit* name_ = nullptr;
    QLineEdit* flow_ = nullptr;
    QLabel* flowUnit_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* delete_ = nullptr;
};
