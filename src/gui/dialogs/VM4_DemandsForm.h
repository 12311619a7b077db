#pragma once

#include <QDialog>
#include <cstdint>

class IMessageBoxes;
class QLabel;
class QLineEdit;
class TNetwork;

// "Set Flow Demands": the flows that enter ("In Flow") and leave ("Out Flow")
// the network at a join point. The node changes only on "OK".
class TDemandsForm : public QDialog {
    Q_OBJECT
public:
    explicit TDemandsForm(IMessageBoxes& boxes, QWidget* parent = nullptr);

    void EditNodeDemands(TNetwork& network, std::int32_t nodeId);

private:
    // The box's flow in m³/sec; 0 with `message` shown when it holds no valid flow.
    double readFlow(QLineEdit* box, int unit, const char* message);

    IMessageBoxes& boxes_;
    QLabel* nodeLabel_ = nullptr;
    QLabel* nodeName_ = nullptr;
    QLineEdit* inFlow_ = nullptr;
    QLineEdit* outFlow_ = nullptr;
    QLabel* inUnit_ = nullptr;
    QLabel* outUnit_ = nullptr;
};
