#pragma once

#include <optional>
#include <string>

#include "dialogs/VM4_PumpCurveGrid.h"

class QPainter;
class TPump;

// Which parts of the pump chart are drawn (the dialog's check boxes).
struct TPumpChartOptions {
    bool GridLines = true;
    bool Head = true;
    bool Efficiency = true;
    bool NPSHr = true;
    bool PreferredRegion = true;
};

// Everything the pump chart shows. The pump's curve is SI; the chart is drawn
// in the display units.
struct TPumpChartInput {
    const TPump* Pump = nullptr;
    TPumpCurveUnits Units;
    // Added after "Head - unit" for fluid heads, e.g. "Water (20°C)".
    std::string FluidCaption;
    TPumpChartOptions Options;
    // The flow marked with a dot (the calculator's or the solved flow).
    std::optional<double> MarkedFlow_m3s;
};

// Paints the pump chart or its instruction screen at fixed pixel positions
// (origin 65, 220), so that the same picture comes out on screen and in an image.
class TPumpChartPainter {
public:
    static constexpr int Width = 360;
    static constexpr int Height = 250;
    static constexpr int X0 = 65;
    static constexpr int Y0 = 220;
    static constexpr int FlowAxisLength = 276;
    static constexpr int HeadAxisHeight = 192;

    static void PaintChart(QPainter& painter, const TPumpChartInput& input);
    static void PaintInstructions(QPainter& painter);

    // Pixel of a flow (display units) along the flow axis whose end is `flowMax`.
    static int XOfFlow(double flow, double flowMax);
    // Pixel of a head (display units) on the head axis whose end is `headMax`.
    static int YOfHead(double head, double headMax);
};
