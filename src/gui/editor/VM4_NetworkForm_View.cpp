// The main window's view onto the drawing: regenerating and showing the picture,
// zoom, fit, wheel and scroll bars; and the unit-system commands and the fluid
// display, which change what the labels show.

#include <QComboBox>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <QScrollBar>

#include "editor/VM4_DrawingExtent.h"
#include "editor/VM4_NetworkCanvas.h"
#include "editor/panel/VM4_InfoPanel.h"
#include "editor/VM4_NetworkForm.h"
#include "foundations/VM4_Units.h"
#include "model/VM4_Network_Class.h"
#include "platform/VM4_MessageBoxes.h"

namespace {

// A wheel turn smaller than this is a touchpad's jitter, not a zoom.
constexpr int kWheelThreshold = 20;

}  // namespace

int TNetworkForm::canvasWidth() const { return canvas_->width(); }

int TNetworkForm::canvasHeight() const { return canvas_->height(); }

// ---- Picture --------------------------------------------------------------------------------------

void TNetworkForm::RefreshScreen(bool drawGrid) {
    if (!initialised_) return;
    UpdatePanelResultsKey();
    infoPanel_->UpdatePanels(false);
    RefreshScreenImageOnly(drawGrid);
}

void TNetworkForm::RefreshScreenImageOnly(bool drawGrid) {
    if (!initialised_) return;
    ScreenDrawing_.DrawMetaFileFromNetwork(*TheNetwork, 0, false, drawGrid, ResultsMode_, DrawingState_);
    DrawNetworkImageFromMetaFileAutomatic();
}

void TNetworkForm::DrawNetworkImageFromMetaFileAutomatic() {
    QImage& image = canvas_->Image();
    const QSize size(std::max(canvasWidth(), 1), std::max(canvasHeight(), 1));
    if (image.size() != size) image = QImage(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    const TPixelRect target = View_.TargetRect();
    ScreenDrawing_.PaintOnto(painter, target.Left, target.Top, target.Right, target.Bottom);
    painter.end();
    canvas_->update();
}

// ---- Zoom and scroll -----------------------------------------------------------------------------------

void TNetworkForm::updateZoomList() { ScaleComboBox1->setCurrentIndex(View_.ZoomIndex); }

void TNetworkForm::updateScrollBars() {
    const auto set = [](QScrollBar* bar, const TScrollBarSetting& setting, int maximum) {
        // Moving the bars here must not move the view again.
        const QSignalBlocker blocker(bar);
        bar->setPageStep(setting.PageSize);
        bar->setRange(0, std::max(maximum - setting.PageSize, 0));
        bar->setValue(setting.Position);
    };
    set(horizontalScrollBar_, View_.HorizontalScrollBar(canvasWidth()), kDrawingWidth);
    set(verticalScrollBar_, View_.VerticalScrollBar(canvasHeight()), kDrawingHeight);
}

void TNetworkForm::NetWorkImageRescaleFromIndex() {
    View_.RescaleFromIndex(ScaleComboBox1->currentIndex(), canvasWidth(), canvasHeight());
    updateScrollBars();
    DrawNetworkImageFromMetaFileAutomatic();
}

void TNetworkForm::ScaleComboBoxChange(int index) {
    ScaleComboBox1->setCurrentIndex(index);
    NetWorkImageRescaleFromIndex();
}

void TNetworkForm::ZoomInClick() {
    ScaleComboBox1->setCurrentIndex(std::min(View_.ZoomIndex + 1, TNetworkView::ZoomEntryCount - 1));
    NetWorkImageRescaleFromIndex();
}

void TNetworkForm::ZoomOutClick() {
    ScaleComboBox1->setCurrentIndex(std::max(View_.ZoomIndex - 1, 0));
    NetWorkImageRescaleFromIndex();
}

void TNetworkForm::CanvasWheel(int delta) {
    if (delta > kWheelThreshold)
        ZoomOutClick();
    else if (delta < -kWheelThreshold)
        ZoomInClick();
}

void TNetworkForm::ToolButtonZoomCentreClick() {
    View_.FitToDrawing(GetMinMaxXY(*TheNetwork), canvasWidth(), canvasHeight());
    updateZoomList();
    updateScrollBars();
    DrawNetworkImageFromMetaFileAutomatic();
}

void TNetworkForm::CanvasResized() {
    if (!initialised_) return;
    updateScrollBars();
    DrawNetworkImageFromMetaFileAutomatic();
}

void TNetworkForm::HorizontalScrollBarChange(int position) {
    View_.ScrollHorizontallyTo(position);
    DrawNetworkImageFromMetaFileAutomatic();
}

void TNetworkForm::VerticalScrollBarChange(int position) {
    View_.ScrollVerticallyTo(position);
    DrawNetworkImageFromMetaFileAutomatic();
}

// ---- Unit systems and the fluid display ------------------------------------------------------------------

void TNetworkForm::ImperialUnits1Click() { changeUnitSystem(true); }

void TNetworkForm::MetricUnits1Click() { changeUnitSystem(false); }

void TNetworkForm::changeUnitSystem(bool imperial) {
    if (UnitChangeSuppressed_) return;
    bool proceed = true;
    if (AskBeforeUnitChange_) {
        proceed = services_.MessageBoxes->Confirm(UnitSystemChangeQuestion(imperial));
    }
    AskBeforeUnitChange_ = false;
    if (proceed) {
        if (imperial)
            TheNetwork->SetImperialUnits();
        else
            TheNetwork->SetMetricUnits();
        MarkModified();
        UpdateFluidDisplay();
    }
    // Declined, the buttons show the system the network still has.
    SetUnitRadioButtonsFromNetwork();
    AskBeforeUnitChange_ = true;
    RefreshScreen();
    refreshHintAfterUnitChange();
}

void TNetworkForm::UpdateFluidDisplay() {
    const TFluid& fluid = TheNetwork->Fluid;
    const TNetworkSettings& settings = TheNetwork->Settings;
    std::string text;
    try {
        const std::string temperature =
            convertUnitsToText(UNIT_DEG_K, settings.TemperatureUnit, 0, fluid.Temperature_K) +
            unitName(settings.TemperatureUnit);
        const std::string pressure =
            formatFixed(1, convertPressure(UNIT_BAR_G, settings.SurfacePressureUnit, fluid.Pressure_bar_g,
                                           settings.AtmosphericPressure, fluid.Density_kg_m3)) +
            unitName(settings.SurfacePressureUnit);
        text = " " + fluid.Name + " (" + temperature + " at " + pressure + ")";
    } catch (const EVelmoraError&) {
        text = " " + fluid.Name;  // units of the wrong kind in a damaged file
    }
    EditFluid->setText(QString::fromStdString(text));
    EditFluid->setCursorPosition(0);
}
