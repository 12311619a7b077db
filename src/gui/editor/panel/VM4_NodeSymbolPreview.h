#pragma once

#include <QLabel>

class TNode;

// The 40 × 40 picture of a node's symbol beside the type list. Showing a node
// also settles its symbol: a tank's index wraps into 0..29 and an end-pressure
// node's into 0..8 (so the arrows run round), a join point's is 0, and a tank's
// colour follows its symbol, as the drawing paints it.
class TNodeSymbolPreview : public QLabel {
public:
    static constexpr int Size = 40;

    explicit TNodeSymbolPreview(QWidget* parent = nullptr);

    // Wraps and stores the node's symbol and colour, then paints it.
    void ShowNode(TNode& node);
    void ShowNothing();

    static int WrappedTankSymbol(int symbol);
    static int WrappedEndPressureSymbol(int symbol);

private:
    static QColor Background();
};
