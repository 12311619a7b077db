#pragma once

class IItemDialogs;
class IMessageBoxes;
class TActionLog;
class TNetwork;
struct TDrawingState;

// What the parts of the editor (drawing tools, the node and pipe panel) may ask
// of the window that holds them: the document, the editor state and the
// desktop's boxes and dialogs. They refer to the document's items by id and
// never reach for another part's widgets.
class IEditorHost {
public:
    virtual ~IEditorHost() = default;

    virtual TNetwork& Network() = 0;
    virtual TDrawingState& State() = 0;
    virtual TActionLog& ActionLog() = 0;
    virtual IMessageBoxes& Boxes() = 0;
    virtual IItemDialogs& Dialogs() = 0;
    virtual bool ResultsMode() const = 0;

    // Regenerates the picture from the document and shows it.
    virtual void Regenerate() = 0;
    // The document changed: it must be offered for saving.
    virtual void MarkModified() = 0;
};
