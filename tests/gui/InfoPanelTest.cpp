#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QTableWidget>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ScriptedFileDialogs.h"
#include "ScriptedMessageBoxes.h"
#include "TestFormServices.h"
#include "WhenShown.h"
#include "common/NetworkBuilder.h"
#include "common/TempFolder.h"
#include "dialogs/fittings/VM4_FittingManagerForm.h"
#include "dialogs/fittings/VM4_KValueCalculatorForm.h"
#include "dialogs/LibraryDialogSupport.h"
#include "editor/VM4_NetworkCanvas.h"
#include "editor/VM4_NetworkForm.h"
#include "editor/panel/VM4_InfoPanel.h"
#include "editor/panel/VM4_NodePanel.h"
#include "editor/panel/VM4_PipePanel.h"
#include "foundations/VM4_DecimalMark.h"
#include "foundations/VM4_Units.h"
#include "model/VM4_Network_Class.h"
#include "results/VM4_ResultsLog_Form.h"
#include "widgets/VM4_RightEdit.h"

// The node and pipe panel on the left of the main window, driven through its
// widgets: values typed in display units reach the document in SI, the type
// list refuses what the network cannot hold, the arrows browse round, the
// pipe commands change the link table, and results mode shows without editing.

namespace {

// Drawing positions of the small network every test starts from.
constexpr int TankX = 400, JointX = 480, EndX = 560, RowY = 400;

class InfoPanel : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder_.isValid()); }

    TNetworkForm& Form() {
        if (!form_) {
            form_ = std::make_unique<TNetworkForm>(TestFormServices(boxes_, dialogs_, folder_.path()));
            form_->resize(1000, 700);
            form_->show();
            QApplication::processEvents();
            verdictWatch_ = std::make_unique<TWhenShown>(form_->ResultsLog(), [this] {
                TResultsLogForm& log = form_->ResultsLog();
                QPushButton* no = log.findChild<QPushButton*>("ButtonNo");
                (no->isHidden() ? log.findChild<QPushButton*>("ButtonOk") : no)->click();
            });
        }
        return *form_;
    }

    TNetwork& Network() { return Form().Network(); }

    // A tank feeding a join point that feeds an end-pressure node: pipes 1 and 2.
    void BuildLine() {
        TNetworkBuilder build(Network());
        tank_ = build.AddTank(TankX, RowY, 5.0, 0.0, 5.0);
        joint_ = build.AddJoint(JointX, RowY);
        end_ = build.AddDemandPressure(EndX, RowY);
        first_ = build.AddPipe(tank_, joint_, "P1", 100.0, 0.1);
        second_ = build.AddPipe(joint_, end_, "P2", 100.0, 0.1);
        Network().SetMetricUnits();  // m, mm, bar g
        Form().RefreshScreen();
    }

    void Select(std::int32_t nodeId, std::int32_t pipeId) {
        Form().State().SelectedNodeId = nodeId;
        Form().State().SelectedPipeId = pipeId;
        Form().RefreshScreen();
    }

    template <typename T = QPushButton>
    T* Widget(const char* name) {
        T* widget = Form().InfoPanel().findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    // Replaces the box's text by typing `text` key by key, as the user would.
    void TypeInto(const char* name, const std::string& text) {
        TRightEdit* box = Widget<TRightEdit>(name);
        box->clear();
        for (const char c : text) {
            const QString typed(QChar::fromLatin1(c));
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, typed);
            QApplication::sendEvent(box, &press);
        }
    }

    void Calculate() { Form().findChild<QPushButton*>("BitBtnCalculate")->click(); }

    QTemporaryDir folder_;
    TScriptedMessageBoxes boxes_;
    TScriptedFileDialogs dialogs_;
    std::unique_ptr<TNetworkForm> form_;
    std::unique_ptr<TWhenShown> verdictWatch_;
    std::int32_t tank_ = 0, joint_ = 0, end_ = 0, first_ = 0, second_ = 0;
};


}  // namespace

// Imperial units: ft, inches, psi gauge; each box converts what is typed into
// the model's own unit.
TEST_F(InfoPanel, EachBoxWritesItsValueInSI) {
    TScopedDecimalMark mark('.');
    BuildLine();
    Network().SetImperialUnits();
    const double density = Network().Fluid.Density_kg_m3;
    struct TCase {
        const char* Box;
        const char* Typed;
        std::function<double(const TNetwork&)> Stored;
        double Expected;
    };
    const std::int32_t tank = tank_, joint = joint_, pipe = first_;
    const std::vector<TCase> cases = {
        {"EditLength", "250.5", [pipe](const TNetwork& n) { return n.GetPipe(pipe).Length_m; }, 250.5 * 0.3048},
        {"EditDiameter", "6.065", [pipe](const TNetwork& n) { return n.GetPipe(pipe).InnerDiameter_m; },
         6.065 * 0.0254},
        {"EditRoughness", "0.001811", [pipe](const TNetwork& n) { return n.GetPipe(pipe).InnerRoughness_m; },
         0.001811 * 0.0254},
        {"EditSurfacePressure", "14.5038",
         [tank](const TNetwork& n) { return n.GetNode(tank).SurfacePressure_bar_g; }, 14.5038 / 14.5037743897},
        {"EditLiquidLevel", "12", [tank](const TNetwork& n) { return n.GetNode(tank).LiquidLevel_m; }, 12 * 0.3048},
        {"EditElevation", "-3.5", [tank](const TNetwork& n) { return n.GetNode(tank).Elevation_m; }, -3.5 * 0.3048},
        {"EditJoinElevation", "100", [joint](const TNetwork& n) { return n.GetNode(joint).Elevation_m; },
         100 * 0.3048},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Box);
        const bool joinBox = std::string(c.Box) == "EditJoinElevation";
        Select(joinBox ? joint : tank, pipe);
        TypeInto(c.Box, c.Typed);
        EXPECT_NEAR(c.Stored(Network()), c.Expected, 1e-12 * std::max(1.0, std::fabs(c.Expected)));
    }
    EXPECT_TRUE(Form().IsModified());

    // A head of the system's fluid depends on its density.
    Network().Settings.SurfacePressureUnit = UNIT_FT_HD;
    Select(tank, pipe);
    TypeInto("EditSurfacePressure", "33.5");
    EXPECT_NEAR(Network().GetNode(tank).SurfacePressure_bar_g, 33.5 * 0.3048 * 9.80665 * density / 100000, 1e-12);
}

// What the box cannot read, or reads as a value the field may not hold, leaves
// the model as it was; a pressure below a perfect vacuum is raised to it.
TEST_F(InfoPanel, RefusedValuesKeepTheModelsValue) {
    TScopedDecimalMark mark('.');
    BuildLine();
    Select(tank_, first_);
    const double diameter = Network().GetPipe(first_).InnerDiameter_m;
    for (const char* typed : {"0", "", ".", "0.000"}) {
        SCOPED_TRACE(typed);
        TypeInto("EditDiameter", typed);
        EXPECT_EQ(Network().GetPipe(first_).InnerDiameter_m, diameter);
    }
    TypeInto("EditLength", "-5");  // the minus is refused by the key filter
    EXPECT_EQ(Widget<TRightEdit>("EditLength")->Text(), "5");
    EXPECT_NEAR(Network().GetPipe(first_).Length_m, 5.0, 1e-12);  // metres

    TypeInto("EditSurfacePressure", "-2");
    EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{TNodePanel::BelowVacuumMessage});
    EXPECT_NEAR(Network().GetNode(tank_).SurfacePressure_bar_g, -1.01325, 1e-12);
    const TDecimalEntry shown = Widget<TRightEdit>("EditSurfacePressure")->ReadDecimal();
    EXPECT_NEAR(shown.Value, -1.01325, 0.00006);  // rewritten with the unit's 4 places
}

// A box left with an invalid number when Calculate is pressed: the solve uses
// the last valid value the box held.
TEST_F(InfoPanel, CalculationUsesTheLastValidValue) {
    TScopedDecimalMark mark('.');
    BuildLine();
    Select(0, first_);
    TypeInto("EditDiameter", "200");  // mm
    TypeInto("EditDiameter", "0");
    EXPECT_EQ(Widget<TRightEdit>("EditDiameter")->Text(), "0");
    Calculate();
    ASSERT_TRUE(Form().ResultsMode());
    EXPECT_NEAR(Network().GetPipe(first_).InnerDiameter_m, 0.2, 1e-12);
    EXPECT_GT(Network().GetPipe(first_).FlowUncompressed_m3s, 0.0);
}

TEST_F(InfoPanel, TypeListChangesTheNodeOrRefuses) {
    BuildLine();
    QComboBox* type = Widget<QComboBox>("ComboNodeType");

    // The join point starts pipe 2: an end-pressure node may only end one pipe.
    Network().GetNode(joint_).JointDischarge_m3s = 0.01;
    Select(joint_, 0);
    Q_EMIT type->activated(TNodePanel::EndPressureEntry);
    EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{TNodePanel::NotConvertibleMessage});
    EXPECT_EQ(Network().GetNode(joint_).NodeType, TNodeType::JoinPoint);
    EXPECT_EQ(Network().GetNode(joint_).JointDischarge_m3s, 0.01);
    EXPECT_EQ(type->currentIndex(), TNodePanel::JoinPointEntry);

    // The end node ends only pipe 2: it may become a tank and back.
    boxes_.Forget();
    Select(end_, 0);
    Q_EMIT type->activated(TNodePanel::TankEntry);
    EXPECT_EQ(Network().GetNode(end_).NodeType, TNodeType::Tank);
    EXPECT_EQ(Network().GetNode(end_).Symbol, 0);
    Network().GetNode(end_).LiquidLevel_m = 2.0;
    Q_EMIT type->activated(TNodePanel::EndPressureEntry);
    const TNode& end = Network().GetNode(end_);
    EXPECT_EQ(end.NodeType, TNodeType::DemandPressure);
    EXPECT_EQ(end.Symbol, 5);
    EXPECT_EQ(end.LiquidLevel_m, 0.0);
    EXPECT_TRUE(boxes_.Texts().empty());
    EXPECT_FALSE(Widget<TRightEdit>("EditLiquidLevel")->isVisibleTo(&Form().InfoPanel()));
}

TEST_F(InfoPanel, SymbolArrowsRunRound) {
    BuildLine();
    Network().GetNode(tank_).Symbol = 35;
    Select(tank_, 0);
    EXPECT_EQ(Network().GetNode(tank_).Symbol, 0);
    Widget<QToolButton>("SymbolDown")->click();
    EXPECT_EQ(Network().GetNode(tank_).Symbol, 29);
    Widget<QToolButton>("SymbolUp")->click();
    EXPECT_EQ(Network().GetNode(tank_).Symbol, 0);
    Network().GetNode(joint_).Symbol = 7;
    Select(joint_, 0);
    EXPECT_EQ(Network().GetNode(joint_).Symbol, 0);
}

TEST_F(InfoPanel, BrowseArrowsWrapRound) {
    BuildLine();
    struct TCase {
        const char* Button;
        bool Pipe;
        std::int32_t From;
        std::int32_t To;
    };
    const std::vector<TCase> cases = {
        {"NodeBrowseUp", false, end_, tank_},    {"NodeBrowseDown", false, tank_, end_},
        {"NodeBrowseUp", false, tank_, joint_},  {"PipeBrowseUp", true, second_, first_},
        {"PipeBrowseDown", true, first_, second_}, {"PipeBrowseUp", true, 0, first_},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.Button) + " from " + std::to_string(c.From));
        Select(c.Pipe ? 0 : c.From, c.Pipe ? c.From : 0);
        Widget<QToolButton>(c.Button)->click();
        const TDrawingState& state = Form().DrawingState();
        EXPECT_EQ(c.Pipe ? state.SelectedPipeId : state.SelectedNodeId, c.To);
        const QString label = Widget<QLabel>(c.Pipe ? "LabelPipeId" : "LabelNodeId")->text();
        EXPECT_EQ(label, QString::fromLatin1(c.Pipe ? "Pipe: %1" : "Node: %1").arg(c.To));
    }
}

TEST_F(InfoPanel, CloseReopenAndReverseChangeTheLinkTable) {
    BuildLine();
    Select(0, second_);
    Widget("ButtonClosePipe")->click();
    EXPECT_TRUE(Network().IsPipeClosed(second_));
    EXPECT_EQ(Network().GetNodeLinkCount(), 1);
    EXPECT_FALSE(Widget("ButtonClosePipe")->isVisibleTo(&Form().InfoPanel()));
    EXPECT_TRUE(Widget("ButtonReopenPipe")->isVisibleTo(&Form().InfoPanel()));

    Widget("ButtonReopenPipe")->click();
    EXPECT_FALSE(Network().IsPipeClosed(second_));
    EXPECT_EQ(Network().GetNodeLinkCount(), 2);

    Widget("ButtonReversePipe")->click();
    std::int32_t from = 0, to = 0;
    ASSERT_TRUE(Network().GetPipeNodes(second_, from, to));
    EXPECT_EQ(from, end_);
    EXPECT_EQ(to, joint_);
    EXPECT_TRUE(Form().IsModified());
}

TEST_F(InfoPanel, CountButtonsShowIncludedItems) {
    BuildLine();
    TPipe& pipe = Network().GetPipe(first_);
    pipe.HasPump = true;
    Select(0, first_);
    QCheckBox* includePump = Widget<QCheckBox>("IncludePump");
    EXPECT_EQ(Widget("ButtonCountPump")->text(), "1");
    EXPECT_TRUE(includePump->isVisibleTo(&Form().InfoPanel()));
    EXPECT_FALSE(Widget<QCheckBox>("IncludeFittings")->isVisibleTo(&Form().InfoPanel()));
    includePump->click();
    EXPECT_FALSE(Network().GetPipe(first_).CalcPump);
    EXPECT_EQ(Widget("ButtonCountPump")->text(), "0");
    EXPECT_TRUE(Network().GetPipe(first_).HasPump);
}

// The Include column shows only beside items, but the count buttons must not
// move when it comes or goes: a click aimed at one would land on its neighbour.
TEST_F(InfoPanel, CountButtonsKeepTheirPlaceWhateverThePipeHolds) {
    BuildLine();
    Network().GetPipe(first_).HasPump = true;
    const char* const buttons[] = {"ButtonCountFittings", "ButtonCountFixedPressureLoss", "ButtonCountFlowControl",
                                   "ButtonCountPump"};
    auto placesAfterSelecting = [&](std::int32_t pipeId) {
        Select(0, pipeId);
        QApplication::processEvents();
        std::vector<int> tops;  // in the panel
        for (const char* name : buttons) tops.push_back(Widget(name)->mapTo(&Form().InfoPanel(), QPoint(0, 0)).y());
        return tops;
    };
    const std::vector<int> withPump = placesAfterSelecting(first_);
    ASSERT_TRUE(Widget<QLabel>("LabelInclude")->isVisibleTo(&Form().InfoPanel()));
    EXPECT_EQ(placesAfterSelecting(second_), withPump);
    EXPECT_FALSE(Widget<QLabel>("LabelInclude")->isVisibleTo(&Form().InfoPanel()));
    placesAfterSelecting(first_);
    EXPECT_EQ(placesAfterSelecting(0), withPump);
    // Nothing selected, nothing counted: not the pump of the pipe shown before.
    for (const char* name : buttons) EXPECT_EQ(Widget(name)->text(), "0") << name;
}

// The count button opens the fitting manager through the item dialogs; what it
// saves is the pipe's, and the document counts as changed.
TEST_F(InfoPanel, TheFittingsButtonOpensTheFittingManagerOnThePipe) {
    const std::filesystem::path tables = std::filesystem::path(folder_.path().toStdString()) / "FittingTables";
    std::filesystem::create_directories(tables);
    WriteFileContents(tables / "Vmn_Fittings.vmfi", "1.02~|~~|~\r\n25~|~7~|~GATE_VALVE~|~DN25~|~1\"~|~Gate valve~|~0.18\r\n");
    BuildLine();
    Select(0, first_);
    std::string pipeName;
    QTimer::singleShot(0, [&] {
        auto* manager = Form().findChild<TFittingManagerForm*>();
        if (manager == nullptr) return;
        pipeName = manager->findChild<QLabel*>("LabelPipeName")->text().toStdString();
        manager->AddDatabaseRowToPipe(1);
        manager->SetQuantity(0, 2);
        manager->findChild<QPushButton*>("ButtonSave")->click();
    });
    Widget("ButtonCountFittings")->click();
    EXPECT_EQ(pipeName, "P1");
    EXPECT_TRUE(boxes_.Texts().empty()) << boxes_.Texts().front();
    EXPECT_EQ(Widget("ButtonCountFittings")->text(), "2");
    EXPECT_NEAR(Network().GetPipe(first_).Fittings.CalculateTotal_KValue(), 0.36, 1e-12);
    EXPECT_TRUE(Form().IsModified());
}

TEST_F(InfoPanel, UseAsDefaultCopiesThePipeWhenConfirmed) {
    BuildLine();
    Network().GetPipe(first_).InnerDiameter_m = 0.3;
    Select(0, first_);
    boxes_.AnswerConfirm(false);
    Widget("ButtonUseAsDefault")->click();
    EXPECT_NE(Network().DefaultPipe.InnerDiameter_m, 0.3);
    boxes_.AnswerConfirm(true);
    Widget("ButtonUseAsDefault")->click();
    EXPECT_EQ(Network().DefaultPipe.InnerDiameter_m, 0.3);
    EXPECT_EQ(boxes_.Texts(), (std::vector<std::string>(2, TPipePanel::UseAsDefaultQuestion)));
}

TEST_F(InfoPanel, ClicksOnEmptyPartsSayHowToSelect) {
    BuildLine();
    Select(0, 0);
    TInfoPanel& panel = Form().InfoPanel();
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(panel.NodePart().Header(), &press);
    QApplication::sendEvent(&panel.PipePart(), &press);
    EXPECT_EQ(boxes_.Texts(), (std::vector<std::string>{TInfoPanel::NoNodeMessage, TInfoPanel::NoPipeMessage}));
}

TEST_F(InfoPanel, CollapseButtonFoldsThePanel) {
    TInfoPanel& panel = Form().InfoPanel();
    panel.CollapseButton().click();
    EXPECT_EQ(panel.width(), TInfoPanel::HiddenWidth);
    EXPECT_EQ(panel.CollapseButton().text(), ">");
    panel.CollapseButton().click();
    EXPECT_EQ(panel.width(), TInfoPanel::ShownWidth);
    EXPECT_EQ(panel.CollapseButton().text(), "<");
}

// Results mode: the panel follows the hovered item and takes no edits; the
// browse arrows still work.
TEST_F(InfoPanel, ResultsModeShowsWithoutEditing) {
    BuildLine();
    Calculate();
    ASSERT_TRUE(Form().ResultsMode());
    const TNetworkView& view = Form().View();
    const QPointF pixel(((TankX + JointX) / 2 - view.ViewOriginX) * view.ViewScale,
                        (RowY - view.ViewOriginY) * view.ViewScale);
    QMouseEvent move(QEvent::MouseMove, pixel, Form().Canvas().mapToGlobal(pixel), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&Form().Canvas(), &move);
    ASSERT_EQ(Form().DrawingState().SelectedPipeId, first_);
    EXPECT_EQ(Widget<QLabel>("LabelPipeId")->text(), QString("Pipe: %1").arg(first_));

    Select(tank_, first_);
    for (const char* name : {"EditLength", "EditDiameter", "EditRoughness", "EditSurfacePressure", "EditLiquidLevel",
                             "EditElevation", "EditPipeName", "EditNodeName", "ComboNodeType", "SymbolUp",
                             "ButtonCountPump", "ButtonReversePipe", "ButtonClosePipe", "ButtonDiameter",
                             "ButtonUseAsDefault", "MemoPipeNotes"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(Widget<QWidget>(name)->isEnabled());
    }
    EXPECT_TRUE(Widget<QToolButton>("NodeBrowseUp")->isEnabled());
    EXPECT_TRUE(Widget<QToolButton>("PipeBrowseUp")->isEnabled());
}

// Done when: a pipe of an example picked on the drawing, made wider in the
// panel and calculated again carries more flow.
TEST_F(InfoPanel, WiderPipeFromThePanelCarriesMoreFlow) {
    TScopedDecimalMark mark('.');
    Form().OpenFileFromCommandLine(std::string(VELMORA_EXAMPLES_DIR) + "/Example_01_Three_Reservoirs.vme");
    ASSERT_GT(Network().GetNodeLinkCount(), 0);
    const TNodeLink link = Network().GetNodeLink(1);
    Calculate();
    ASSERT_TRUE(Form().ResultsMode());
    const double before = std::fabs(Network().GetPipe(link.PipeId).FlowUncompressed_m3s);
    Form().findChild<QPushButton*>("BitBtnCalculate")->click();  // back to design mode
    ASSERT_FALSE(Form().ResultsMode());

    // Pick the pipe at its middle with the Add Pipes tool, which selects pipes.
    Form().ChooseTool(TDrawingState::ToolAddPipes);
    const TNode& from = Network().GetNode(link.FromNodeId);
    const TNode& to = Network().GetNode(link.ToNodeId);
    const TNetworkView& view = Form().View();
    const QPointF pixel(((from.X + to.X) / 2.0 - view.ViewOriginX) * view.ViewScale,
                        ((from.Y + to.Y) / 2.0 - view.ViewOriginY) * view.ViewScale);
    TNetworkCanvas& canvas = Form().Canvas();
    ASSERT_TRUE(canvas.rect().contains(pixel.toPoint()));
    QMouseEvent press(QEvent::MouseButtonPress, pixel, canvas.mapToGlobal(pixel), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(&canvas, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, pixel, canvas.mapToGlobal(pixel), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(&canvas, &release);
    ASSERT_EQ(Form().DrawingState().SelectedPipeId, link.PipeId);
    EXPECT_EQ(Widget<QLabel>("LabelPipeId")->text(), QString("Pipe: %1").arg(link.PipeId));
    EXPECT_TRUE(Form().InfoPanel().PipeFlashing());

    const int unit = Network().Settings.DiameterUnit;
    const double wider = convertUnits(UNIT_M, unit, 1.5 * Network().GetPipe(link.PipeId).InnerDiameter_m);
    TypeInto("EditDiameter", formatFixed(unitDecimals(unit), wider));
    Calculate();
    ASSERT_TRUE(Form().ResultsMode());
    EXPECT_GT(std::fabs(Network().GetPipe(link.PipeId).FlowUncompressed_m3s), before * 1.05);
}

namespace {

// In the pipe diameter manager: the 4" row of the table shown, used and saved to the pipe.
void SaveFourInchSize(QDialog& dialog) {
    auto* sizes = dialog.findChild<QTableWidget*>(QStringLiteral("GridSizes"));
    for (int row = 0; row < sizes->rowCount(); ++row)
        if (sizes->item(row, 0)->text() == QStringLiteral("4\"")) sizes->setCurrentCell(row, 0);
    dialog.findChild<QPushButton*>(QStringLiteral("ButtonUseSelectedSize"))->click();
    dialog.findChild<QPushButton*>(QStringLiteral("ButtonSaveToPipe"))->click();
}

// The panel's "Diam?" opens the pipe diameter manager on the selected pipe; the
// size chosen there reaches the pipe, the panel and the document's modified flag.
TEST_F(InfoPanel, DiameterButtonWritesTheChosenSizeIntoTheSelectedPipe) {
    std::filesystem::copy(ShippedData() / "PipeTables", folder_.filePath("PipeTables").toStdString());
    BuildLine();
    Select(tank_, first_);
    TWhenDialogShown manager(QStringLiteral("Pipe diameter data"), SaveFourInchSize);
    Widget("ButtonDiameter")->click();
    ASSERT_TRUE(manager.Ran());
    EXPECT_NEAR(Network().GetPipe(first_).InnerDiameter_m, 0.10226, 1e-6);
    EXPECT_EQ(Network().GetPipe(first_).NominalSize, "4\"");
    EXPECT_NEAR(std::stod(Widget<TRightEdit>("EditDiameter")->Text()), 102.26, 0.01);
    EXPECT_TRUE(Form().IsModified());
}

}  // namespace

namespace {

// What an engineer does with the libraries before a calculation: a standard size
// from the pipe diameter manager, a bend whose K comes from its calculator, and
// air from the gas calculator as the fluid; the network then solves with them.
TEST_F(InfoPanel, StandardSizeCalculatedFittingAndAGasReachTheCalculation) {
    for (const char* tables : {"PipeTables", "FittingTables", "FluidTables"})
        std::filesystem::copy(ShippedData() / tables, folder_.filePath(tables).toStdString());
    BuildLine();
    Select(tank_, first_);

    TWhenDialogShown diameters(QStringLiteral("Pipe diameter data"), SaveFourInchSize);
    Widget("ButtonDiameter")->click();
    ASSERT_TRUE(diameters.Ran());
    EXPECT_NEAR(Network().GetPipe(first_).InnerDiameter_m, 0.10226, 1e-6);

    QTimer::singleShot(0, [&] {
        auto* manager = Form().findChild<TFittingManagerForm*>();
        if (manager == nullptr) return;
        TKValueCalculatorForm& bend = manager->Calculator(TFittingManagerForm::LongPipeBend);
        TWhenShown inCalculator(bend, [&] { bend.findChild<QPushButton*>("ButtonCreateNewFitting")->click(); });
        manager->OpenCalculator(TFittingManagerForm::LongPipeBend);
        manager->AddNewFittingToPipe();
        manager->findChild<QPushButton*>("ButtonSave")->click();
    });
    Widget("ButtonCountFittings")->click();
    ASSERT_EQ(Network().GetPipe(first_).Fittings.Count(), 1);
    EXPECT_NEAR(Network().GetPipe(first_).Fittings.CalculateTotal_KValue(), 0.27, 1e-12);

    boxes_.AnswerConfirm(true);  // add the calculated gas to the database
    TWhenDialogShown gas(QStringLiteral("Properties of gases"), [](QDialog& calculator) {
        calculator.findChild<QPushButton*>(QStringLiteral("ButtonAddNewEntry"))->click();
    });
    TWhenDialogShown fluids(QStringLiteral("Fluid data"), [](QDialog& manager) {
        manager.findChild<QComboBox*>(QStringLiteral("ComboFilter"))->setCurrentIndex(2);
        manager.findChild<QPushButton*>(QStringLiteral("ButtonCalculateGasData"))->click();
        auto* grid = manager.findChild<QTableWidget*>(QStringLiteral("GridFluids"));
        const QList<QTableWidgetItem*> userAir = grid->findItems(QStringLiteral("Air  *"), Qt::MatchExactly);
        ASSERT_FALSE(userAir.isEmpty());
        grid->setCurrentCell(userAir.front()->row(), 0);
        manager.findChild<QPushButton*>(QStringLiteral("ButtonUseSelectedFluid"))->click();
        manager.findChild<QPushButton*>(QStringLiteral("ButtonSave"))->click();
    });
    Form().findChild<QAction*>(QStringLiteral("ToolButtonChangeFluid"))->trigger();
    ASSERT_TRUE(fluids.Ran());
    ASSERT_TRUE(gas.Ran());
    EXPECT_EQ(Network().Fluid.Name, "Air");
    EXPECT_TRUE(Network().Fluid.IsGas);
    EXPECT_NEAR(Network().Fluid.Density_kg_m3, 1.2, 0.01);

    Calculate();
    ASSERT_TRUE(Form().ResultsMode());
    const double supplied = Network().GetPipe(first_).FlowUncompressed_m3s;
    EXPECT_GT(supplied, 0.0);
    EXPECT_NEAR(Network().GetPipe(second_).FlowUncompressed_m3s, supplied, 1e-6);
}

}  // namespace
