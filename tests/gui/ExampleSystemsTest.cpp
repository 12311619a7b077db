#include <QApplication>
#include <QListWidget>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "ScriptedMessageBoxes.h"
#include "common/NobodyThere.h"
#include "editor/VM4_Examples_Form.h"
#include "foundations/VM4_Units.h"
#include "foundations/VM4_UserMessages.h"
#include "model/VM4_Network_Class.h"
#include "platform/VM4_JPEGImage.h"

// The example systems shipped beside the program: each is complete, solves
// without warnings, and the three-reservoir example gives the figures its help
// page quotes.

namespace {

namespace fs = std::filesystem;

const fs::path kExamples = VELMORA_EXAMPLES_DIR;
const char* const kExampleNames[] = {"Example_01_Three_Reservoirs",        "Example_02_Pumped_Transfer",
                                     "Example_03_Looped_Distribution",     "Example_04_Flow_Control_and_Fixed_Loss",
                                     "Example_05_Plant_Line_Fittings",     "Example_06_Compressed_Air"};


std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::unique_ptr<TNetwork> Solved(const std::string& name, std::vector<std::string>& log) {
    auto network = std::make_unique<TNetwork>();
    network->LoadFromFile(kExamples / (name + ".vme"));
    TNobodyThere nobody;
    network->UserMessages = &nobody;
    EXPECT_TRUE(network->SolveNetwork(log)) << name;
    network->UserMessages = nullptr;
    return network;
}

TEST(ExampleSystems, EachHasItsPictureAndDescription) {
    for (const char* name : kExampleNames) {
        const QImage picture = TJPEGImage::LoadFromFile((kExamples / (std::string(name) + ".jpg")).string());
        EXPECT_GT(picture.width(), 300) << name;
        EXPECT_GT(picture.height(), 100) << name;
        EXPECT_GT(ReadText(kExamples / (std::string(name) + ".txt")).size(), 200u) << name;
    }
}

TEST(ExampleSystems, EachSolvesWithoutWarnings) {
    for (const char* name : kExampleNames) {
        std::vector<std::string> log;
        const auto network = Solved(name, log);
        EXPECT_EQ(network->WarningCount, 0) << name;
    }
}

TEST(ExampleSystems, ThreeReservoirsGivesTheFiguresOfItsHelpPage) {
    std::vector<std::string> log;
    const auto network = Solved("Example_01_Three_Reservoirs", log);
    struct TCase {
        const char* pipe;
        double flow_m3s, velocity_ms, loss_m;
    };
    const TCase cases[] = {{"P1", 0.1713, 2.37, 13.66}, {"P2", 0.0813, 1.60, 6.34}, {"P3", 0.0901, 2.79, 36.34}};
    for (const TCase& c : cases) {
        bool found = false;
        for (std::int32_t id = network->GetNextPipeId(0); id != 0; id = network->GetNextPipeId(id)) {
            const TPipe& pipe = network->GetPipe(id);
            if (pipe.Name != c.pipe) continue;
            found = true;
            // The page gives 4 decimals of flow, 2 of velocity and loss.
            EXPECT_NEAR(pipe.FlowUncompressed_m3s, c.flow_m3s, 0.00005) << c.pipe;
            EXPECT_NEAR(pipe.Velocity_ms, c.velocity_ms, 0.005) << c.pipe;
            EXPECT_NEAR(pipe.TotalPressureLoss_mHd_Fluid, c.loss_m, 0.005) << c.pipe;
        }
        EXPECT_TRUE(found) << c.pipe;
    }
    for (std::int32_t id = network->GetNextNodeId(0); id != -1; id = network->GetNextNodeId(id)) {
        const TNode& node = network->GetNode(id);
        if (node.Name != "J") continue;
        EXPECT_NEAR(node.Pressure_FluidHead_m + node.Elevation_m, 86.34, 0.005);
        // The page quotes J's pressure as the program shows it in bar g (its
        // unit's decimals), converted as the program converts heads to pressures.
        const std::string shown = formatInUnit(UNIT_BAR_G, convertPressure(UNIT_M_HD, UNIT_BAR_G,
                                                                           node.Pressure_FluidHead_m,
                                                                           network->Settings.AtmosphericPressure,
                                                                           network->Fluid.Density_kg_m3));
        const std::string page = ReadText(fs::path(VELMORA_HELP_DIR) / "Example_01_Three_Reservoirs.htm");
        EXPECT_NE(page.find("<b>" + shown + " bar g</b>"), std::string::npos) << "the program shows " << shown;
    }
}

// The description of the pumped transfer quotes the suction pressure the
// program shows for the pump (its hint and status bar), in metres of water.
TEST(ExampleSystems, PumpedTransferDescriptionQuotesTheProgramsSuctionPressure) {
    std::vector<std::string> log;
    const auto network = Solved("Example_02_Pumped_Transfer", log);
    std::int32_t pumpPipe = 0;
    for (std::int32_t k = 1; k <= network->GetNodeLinkCount(); ++k)
        if (network->GetPipe(network->GetNodeLink(k).PipeId).HasPump) pumpPipe = network->GetNodeLink(k).PipeId;
    ASSERT_GT(pumpPipe, 0);
    const std::string suction = formatFixed(2, network->GetPumpSuctionPressure_mFluid(pumpPipe));
    const std::string description = ReadText(kExamples / "Example_02_Pumped_Transfer.txt");
    EXPECT_NE(description.find("The suction pressure at the pump is " + suction + " m of water gauge"),
              std::string::npos)
        << "the program shows " << suction << " m";
}

TEST(ExampleSystems, TheExamplesDialogListsThemAll) {
    TScriptedMessageBoxes boxes;
    TExamplesForm dialog(boxes, kExamples.string());
    TNetwork network;
    std::vector<std::string> listed;
    QTimer::singleShot(0, [&] {
        for (int i = 0; i < dialog.ListBoxFilenames().count(); ++i)
            listed.push_back(dialog.ListBoxFilenames().item(i)->text().toStdString());
        dialog.reject();
    });
    dialog.SelectExample(network);
    std::vector<std::string> expected;
    for (const char* name : kExampleNames) expected.push_back(std::string(name) + ".vme");
    EXPECT_EQ(listed, expected);
}

}  // namespace
