#pragma once

#include "model/VM4_Node_Class.h"
#include "editor/tools/VM4_ToolHost.h"

// The Edit menu's commands on the drawing: Undo and Redo of whole click
// groups, Delete of a highlighted pipe or node or of the rectangle's
// selection, and Cut, Copy and Paste of a single node through the editor's
// one-node clipboard, which outlives New and Open.
class TEditCommands {
public:
    explicit TEditCommands(IToolHost& host) : host_(host) {}

    void Undo();
    void Redo();
    void Delete();
    void Cut();
    void Copy();
    void Paste();

    bool ClipboardFull() const { return clipboardFull_; }

private:
    void clearNetworkStates();
    void deleteHighlighted();
    void deleteHighlightedPipe();
    void deleteHighlightedNode();
    void deleteSelection();
    // True when exactly one node is selected; says why not otherwise.
    bool singleNodeSelected(const char* nothingMessage);
    void copySelectedNode();
    bool isFreePoint(int x, int y) const;
    bool findFreePoint(int& x, int& y) const;

    IToolHost& host_;
    TNode clipboardNode_;
    bool clipboardFull_ = false;
};
