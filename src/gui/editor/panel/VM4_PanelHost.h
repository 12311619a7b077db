#pragma once

#include "editor/VM4_EditorHost.h"

// What the node and pipe panel asks beyond the other parts of the editor: a
// full refresh, which fills the panel again too. Regenerate leaves the panel
// as it is, so that a box being typed into keeps its text.
class IPanelHost : public IEditorHost {
public:
    // Everything shown again: results key, picture and this panel.
    virtual void RefreshScreen(bool drawGrid = true) = 0;
};
