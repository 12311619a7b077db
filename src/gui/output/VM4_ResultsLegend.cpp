#include "output/VM4_ResultsLegend.h"

#include <QPainter>

#include "results/VM4_ResultsHoverTexts.h"

namespace {

void WriteAt(QPainter& painter, int x, int y, int pointSize, const std::string& text) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(pointSize);
    painter.setFont(font);
    // The position is the text's top-left corner, as the screen labels place theirs.
    painter.drawText(QRect(x, y, 10000, 1000), Qt::AlignLeft | Qt::AlignTop, QString::fromStdString(text));
}

}  // namespace

void PaintResultsLegend(QImage& image, const TResultsKeyTexts& key) {
    QPainter painter(&image);
    // Corners as a GDI rectangle takes them: the right and bottom edges exclusive.
    painter.fillRect(QRect(0, 30, 290, 120), Qt::white);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::NoBrush);
    // A stroked rectangle covers one pixel more than its size.
    painter.drawRect(QRect(0, 30, 280 - 1, 110 - 1));
    WriteAt(painter, 10, 40, 14, "Velmora Studio Results");
    WriteAt(painter, 10, 70, 13, key.Flow);
    WriteAt(painter, 10, 90, 13, key.Velocity);
    WriteAt(painter, 10, 110, 13, key.PressureDrop);
}
