#include "editor/panel/VM4_NodeSymbolPreview.h"

#include <QPainter>
#include <QPixmap>

#include "editor/VM4_Canvas_Drawings.h"
#include "model/VM4_Node_Class.h"

namespace {

constexpr int TankSymbolCount = 30;
constexpr int EndPressureSymbolCount = 9;

// Colours are stored as blue × 65536 + green × 256 + red.
std::int32_t StoredColour(const QColor& colour) { return colour.blue() * 65536 + colour.green() * 256 + colour.red(); }

}  // namespace

TNodeSymbolPreview::TNodeSymbolPreview(QWidget* parent) : QLabel(parent) {
    setFixedSize(Size, Size);
    ShowNothing();
}

QColor TNodeSymbolPreview::Background() { return QColor(224, 223, 227); }

int TNodeSymbolPreview::WrappedTankSymbol(int symbol) {
    if (symbol < 0) return TankSymbolCount - 1;
    return symbol >= TankSymbolCount ? 0 : symbol;
}

int TNodeSymbolPreview::WrappedEndPressureSymbol(int symbol) {
    if (symbol < 0) return EndPressureSymbolCount - 1;
    return symbol >= EndPressureSymbolCount ? 0 : symbol;
}

void TNodeSymbolPreview::ShowNothing() {
    QPixmap picture(Size, Size);
    picture.fill(Background());
    setPixmap(picture);
}

void TNodeSymbolPreview::ShowNode(TNode& node) {
    QPixmap picture(Size, Size);
    picture.fill(Background());
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    switch (node.NodeType) {
        case TNodeType::Tank:
            node.Symbol = WrappedTankSymbol(node.Symbol);
            node.Colour = StoredColour(TankSymbolColour(node.Symbol));
            DrawTankSymbol(painter, node.Symbol, Size / 2, Size / 2);
            break;
        case TNodeType::DemandPressure: {
            node.Symbol = WrappedEndPressureSymbol(node.Symbol);
            node.Colour = StoredColour(TankSymbolColour(node.Symbol));
            DrawEndPressureSymbol(painter, node.Symbol, Size / 2, Size / 2);
            QFont font(QStringLiteral("Arial"), 7);
            painter.setFont(font);
            painter.setPen(Qt::black);
            painter.drawText(QPoint(17, 14 + painter.fontMetrics().ascent()), QStringLiteral("P"));
            break;
        }
        case TNodeType::JoinPoint:
            node.Symbol = 0;
            DrawJoinPoint(painter, 20, 15);
            break;
        case TNodeType::NotSet: break;
    }
    painter.end();
    setPixmap(picture);
}
