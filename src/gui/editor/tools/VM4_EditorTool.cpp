#include "editor/tools/VM4_EditorTool.h"

#include "editor/VM4_DrawingState.h"
#include "model/VM4_Network_Class.h"

// What most tools start from: nothing selected, nothing being drawn.
void TEditorTool::Chosen() {
    TDrawingState& state = host_.State();
    state.ForgetHighlightsAndPipeEnds();
    state.RubberBandOn = 0;
    state.SelectionStage = TDrawingState::SelectionNone;
    host_.Network().SetSelectedNodes(0, 0, 0, 0);
    host_.SetCursor(TToolCursor::Arrow);
}
