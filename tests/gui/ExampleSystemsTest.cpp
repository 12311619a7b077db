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
        // 46.34 m x 998 kg/m3 x 9.81 m/s2 = 4.537 bar
        EXPECT_NEAR(node.Pressure_FluidHead_m * 998.0 * 9.81 / 1e5, 4.537, 0.0005);
    }
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
