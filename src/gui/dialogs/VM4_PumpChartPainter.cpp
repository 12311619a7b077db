#include "dialogs/VM4_PumpChartPainter.h"

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QString>
#include <cmath>

#include "dialogs/VM4_DialogHelpers.h"
#include "foundations/VM4_EntryValidation.h"
#include "foundations/VM4_Units.h"
#include "model/VM4_Pump_Class.h"

namespace {

constexpr int kFlowDivisions = 6;
constexpr int kHeadDivisions = 6;
constexpr int kSideAxisX = 326;
constexpr int kEfficiencyBase = 138;
constexpr int kEfficiencyHeight = 110;
constexpr int kNPSHrBase = 212;
constexpr int kNPSHrHeight = 66;
// 7-point Arial at the 96 dots per inch the chart was laid out for.
constexpr int kTextPixels = 9;

// Pixels are rounded to nearest, ties to even.
int toPixel(double x) { return static_cast<int>(std::nearbyint(x)); }


QFont chartFont(int pixels) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixels);
    return font;
}

void textCentredAt(QPainter& painter, int cx, int top, const QString& text) {
    const int width = painter.fontMetrics().horizontalAdvance(text);
    painter.drawText(cx - width / 2, top + painter.fontMetrics().ascent(), text);
}

void textAt(QPainter& painter, int x, int top, const QString& text) {
    painter.drawText(x, top + painter.fontMetrics().ascent(), text);
}

// A title read upwards, centred on the axis between `bottom` and `top`.
void verticalTitle(QPainter& painter, int x, int bottom, int top, const QString& text) {
    painter.save();
    painter.translate(x, (bottom + top) / 2);
    painter.rotate(-90);
    textCentredAt(painter, 0, 0, text);
    painter.restore();
}

// A side axis at x = 326 with ticks and labels to its left.
void sideAxis(QPainter& painter, const QColor& colour, int base, int height, int divisions, double max, int decimals,
              const QString& title) {
    painter.setPen(colour);
    painter.drawLine(kSideAxisX, base, kSideAxisX, base - height);
    const double step = static_cast<double>(height) / divisions;
    for (int k = 0; k < divisions; ++k) {
        const int y = base - toPixel(k * step);
        painter.drawLine(kSideAxisX - 3, y, kSideAxisX, y);
        textAt(painter, 301, y - 6, qs(formatFixed(decimals, k * max / divisions)));
    }
    verticalTitle(painter, 330, base, base - height, title);
}

struct TChartScale {
    double FlowMax = 0.0;
    double HeadMax = 0.0;
    double NPSHrMax = 0.0;
    double LastFlow = 0.0;
};

double toDisplayHead(const TPumpCurveUnits& units, double head_mH2O, int unit) {
    return convertPressureWithDensity(UNIT_M_H2O, unit, head_mH2O, units.Density_kgm3);
}

TChartScale scaleFor(const TPumpChartInput& input) {
    const TPump& pump = *input.Pump;
    const TPumpCurveUnits& units = input.Units;
    TChartScale scale;
    const int n = pump.PointCount();
    scale.LastFlow = convertUnits(UNIT_M3_SEC, units.Flow, pump.Point(n).Flow_m3s);
    scale.FlowMax = 1.2 * scale.LastFlow;
    scale.HeadMax = 1.2 * toDisplayHead(units, pump.Point(1).Head_mH2O, units.Head);
    scale.NPSHrMax = 1.2 * toDisplayHead(units, pump.Point(n).NPSHr_mH2O, units.NPSHr);
    return scale;
}

// Head of the fitted curve at a flow in display units, in the head unit.
double curveHeadAt(const TPumpChartInput& input, double flow) {
    const TPumpCurveUnits& units = input.Units;
    const double flow_m3s = convertUnits(units.Flow, UNIT_M3_SEC, flow);
    const double head_m = input.Pump->calcPumpHead_mHd_Fluid(flow_m3s, units.Density_kgm3);
    return convertPressureWithDensity(UNIT_M_HD, units.Head, head_m, units.Density_kgm3);
}

void gridLines(QPainter& painter) {
    painter.setPen(QColor(Qt::lightGray));
    for (int x = 65; x < 311; x += 23) painter.drawLine(x, 219, x, 25);
    for (int y = 220; y > 20; y -= 16) painter.drawLine(65, y, 296, y);
}

void flowAxis(QPainter& painter, const TChartScale& scale, const TPumpCurveUnits& units) {
    painter.setPen(Qt::black);
    painter.drawLine(65, 220, 341, 220);
    for (int k = 0; k < kFlowDivisions; ++k) {
        const int x = 65 + 46 * k;
        painter.drawLine(x, 220, x, 223);
        textCentredAt(painter, x, 225, qs(formatInUnit(units.Flow, k * scale.FlowMax / kFlowDivisions)));
    }
    painter.setPen(Qt::blue);
    textCentredAt(painter, 65 + 276 / 2, 238, qs("Flow - " + unitName(units.Flow)));
}

bool isFluidHead(int unit) { return unit >= UNIT_M_HD && unit <= UNIT_IN_HD; }

void headAxis(QPainter& painter, const TChartScale& scale, const TPumpChartInput& input) {
    const TPumpCurveUnits& units = input.Units;
    painter.setPen(Qt::black);
    painter.drawLine(65, 220, 65, 28);
    for (int k = 0; k < kHeadDivisions; ++k) {
        const int y = 220 - 32 * k;
        painter.drawLine(62, y, 65, y);
        textAt(painter, 30, y - 6, qs(PadLeft(formatInUnit(units.Head, k * scale.HeadMax / kHeadDivisions), 4)));
    }
    std::string title = "Head - " + unitName(units.Head) + " ";
    if (isFluidHead(units.Head)) title += input.FluidCaption;
    painter.setPen(Qt::blue);
    verticalTitle(painter, 13, 220, 28, qs(title));
}

// The fitted curve swept pixel by pixel, never past the last measured point.
void sweepCurve(QPainter& painter, const TChartScale& scale, const TPumpChartInput& input, double fromFlow,
                double toFlow) {
    bool started = false;
    QPoint last;
    for (int i = 1; i <= TPumpChartPainter::FlowAxisLength; ++i) {
        const double f = scale.FlowMax * i / TPumpChartPainter::FlowAxisLength;
        if (f > scale.LastFlow || (started && f >= toFlow)) break;
        const QPoint here(65 + i, TPumpChartPainter::YOfHead(curveHeadAt(input, f), scale.HeadMax));
        if (!started) {
            if (f < fromFlow) continue;
            started = true;
        } else {
            painter.drawLine(last, here);
        }
        last = here;
    }
}

void preferredRegion(QPainter& painter, const TChartScale& scale, const TPumpChartInput& input) {
    const TPump& pump = *input.Pump;
    if (pump.PreferredOpRegionFromPercent <= 0 || pump.PreferredOpRegionToPercent <= 0) return;
    const double bep = convertUnits(UNIT_M3_SEC, input.Units.Flow, pump.GetFlowAtBEP_m3s());
    const double from = pump.PreferredOpRegionFromPercent * bep / 100.0;
    const double to = pump.PreferredOpRegionToPercent * bep / 100.0;
    painter.setPen(QPen(Qt::yellow, 8));
    sweepCurve(painter, scale, input, from, to);
    const QString legend = qs("Preferred Operating region between " + formatInUnit(input.Units.Flow, from) + " and " +
                              formatInUnit(input.Units.Flow, to) + " " + unitName(input.Units.Flow));
    const int width = painter.fontMetrics().horizontalAdvance(legend) + 6;
    painter.fillRect(65, 7, width, painter.fontMetrics().height() + 2, Qt::yellow);
    painter.setPen(Qt::black);
    textAt(painter, 68, 8, legend);
}

QPoint pointPixel(double flow, double flowMax, int base, double value, double valueMax, int height) {
    return {TPumpChartPainter::XOfFlow(flow, flowMax), base - toPixel(value / valueMax * height)};
}

void efficiencyLine(QPainter& painter, const TChartScale& scale, const TPumpChartInput& input) {
    const QColor green(0, 128, 0);
    sideAxis(painter, green, kEfficiencyBase, kEfficiencyHeight, 10, 100.0, 0, QStringLiteral("Efficiency %"));
    const TPump& pump = *input.Pump;
    for (int i = 3; i <= pump.PointCount(); ++i) {
        const auto at = [&](int p) {
            return pointPixel(convertUnits(UNIT_M3_SEC, input.Units.Flow, pump.Point(p).Flow_m3s), scale.FlowMax,
                              kEfficiencyBase, pump.Point(p).Efficiency, 100.0, kEfficiencyHeight);
        };
        painter.drawLine(at(i - 1), at(i));
    }
}

void npshrLine(QPainter& painter, const TChartScale& scale, const TPumpChartInput& input) {
    const TPump& pump = *input.Pump;
    if (!(scale.NPSHrMax > 0.0)) return;
    sideAxis(painter, Qt::red, kNPSHrBase, kNPSHrHeight, 4, scale.NPSHrMax, 1,
             qs("NPSHr - " + unitName(input.Units.NPSHr)));
    for (int i = 2; i <= pump.PointCount(); ++i) {
        const auto at = [&](int p) {
            return pointPixel(convertUnits(UNIT_M3_SEC, input.Units.Flow, pump.Point(p).Flow_m3s), scale.FlowMax,
                              kNPSHrBase, toDisplayHead(input.Units, pump.Point(p).NPSHr_mH2O, input.Units.NPSHr),
                              scale.NPSHrMax, kNPSHrHeight);
        };
        painter.drawLine(at(i - 1), at(i));
    }
}

void markedFlow(QPainter& painter, const TChartScale& scale, const TPumpChartInput& input) {
    const double flow = convertUnits(UNIT_M3_SEC, input.Units.Flow, *input.MarkedFlow_m3s);
    const QPoint centre(TPumpChartPainter::XOfFlow(flow, scale.FlowMax),
                        TPumpChartPainter::YOfHead(curveHeadAt(input, flow), scale.HeadMax));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 255, 0));
    painter.drawEllipse(centre, 4, 4);
    painter.setBrush(Qt::NoBrush);
}

}  // namespace

int TPumpChartPainter::XOfFlow(double flow, double flowMax) { return X0 + toPixel(flow / flowMax * FlowAxisLength); }

int TPumpChartPainter::YOfHead(double head, double headMax) { return Y0 - toPixel(head / headMax * HeadAxisHeight); }

void TPumpChartPainter::PaintChart(QPainter& painter, const TPumpChartInput& input) {
    painter.fillRect(0, 0, Width, Height, Qt::white);
    if (input.Pump == nullptr || input.Pump->PointCount() < 3) return;
    painter.setFont(chartFont(kTextPixels));
    const TChartScale scale = scaleFor(input);
    if (!(scale.FlowMax > 0.0) || !(scale.HeadMax > 0.0)) return;
    const TPumpChartOptions& options = input.Options;
    if (options.GridLines) gridLines(painter);
    flowAxis(painter, scale, input.Units);
    if (options.Head) headAxis(painter, scale, input);
    if (options.PreferredRegion) preferredRegion(painter, scale, input);
    if (options.Head) {
        painter.setPen(QPen(Qt::blue, 1));
        sweepCurve(painter, scale, input, 0.0, scale.LastFlow + 1.0);
    }
    if (options.Efficiency) efficiencyLine(painter, scale, input);
    if (options.NPSHr) npshrLine(painter, scale, input);
    if (input.MarkedFlow_m3s) markedFlow(painter, scale, input);
}

void TPumpChartPainter::PaintInstructions(QPainter& painter) {
    painter.fillRect(0, 0, Width, Height, QColor(224, 224, 224));
    painter.setFont(chartFont(13));
    painter.setPen(Qt::gray);
    const struct {
        int Y;
        const char* Text;
    } lines[] = {{40, "To enter a pump curve:"},
                 {70, "Select 'Fixed Speed' as the pump type."},
                 {95, "Enter the pump curve points in the grid."},
                 {150, "Click on the Draw Graph button."},
                 {170, "to show the pump curve."}};
    for (const auto& line : lines) textCentredAt(painter, Width / 2, line.Y, QString::fromLatin1(line.Text));
}
