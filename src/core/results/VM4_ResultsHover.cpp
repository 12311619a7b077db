#include "results/VM4_CanvasHitTests.h"
#include "results/VM4_ResultsHoverTexts.h"

#include "model/VM4_Network_Class.h"

namespace {

using TPipeItemTest = int (*)(const TNetwork&, int, int);
using TPipeItemText = std::string (*)(const TNetwork&, int);

struct TPipeItemCheck {
    TPipeItemTest Test;
    TPipeItemText Text;
};

// Tested in this order; where symbols overlap, the last one matched gives the text.
constexpr TPipeItemCheck kPipeItemChecks[] = {
    {CheckPumpClick, StatusBarPumpText},
    {CheckPipeFittingClick, StatusBarFittingText},
    {CheckPipeComponentPressureClick, StatusBarComponentText},
    {CheckPipeFlowControlClick, StatusBarFlowControlText},
};

}  // namespace

TResultsHover ResultsHoverAt(const TNetwork& network, int px, int py) {
    TResultsHover hover;
    const int pipeId = CheckPipeClick(network, px, py);
    if (pipeId > 0) {
        hover.Hit = true;
        hover.SelectedPipeId = pipeId;
        hover.HintText = StatusBarPipeText(network, pipeId);
    }
    const int nodeId = CheckNodeClick(network, px, py);
    if (nodeId > 0) {
        hover.Hit = true;
        hover.SelectedNodeId = nodeId;
        hover.HintText = StatusBarNodeText(network, nodeId);
    }
    for (const TPipeItemCheck& check : kPipeItemChecks) {
        const int itemPipeId = check.Test(network, px, py);
        if (itemPipeId <= 0) continue;
        hover.Hit = true;
        hover.SelectedPipeId = itemPipeId;
        hover.HintText = check.Text(network, itemPipeId);
    }
    if (!hover.Hit) {
        hover.HintText = kResultsHoverNothingHint;
    } else if (hover.SelectedNodeId > 0) {
        hover.SelectedPipeId = 0;  // the node panel alone shows what is under the mouse
    }
    return hover;
}
