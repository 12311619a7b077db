#pragma once

#include <QIcon>
#include <QKeySequence>
#include <cstdint>
#include <functional>

class TNetworkForm;

// What decides whether a command is available: whether its window or tool
// exists yet, whether it would change the network (off in results mode, so
// that results never describe a network that is no longer there), and whether
// it could change or replace the document (off while a calculation runs).
struct TCommandRule {
    bool Built = true;
    bool OffInResultsMode = false;
    bool OffWhileCalculating = true;
};

// One command of the window: its action's object name, menu text, tooltip,
// icon, keyboard shortcut, what it does and when it is available. A drawing
// tool also names its tool code and the single key that chooses it while the
// drawing has the focus.
struct TCommandEntry {
    const char* Name = "";
    const char* Text = "";
    const char* Hint = "";
    QIcon (*Icon)() = nullptr;
    QKeySequence Shortcut;
    std::function<void(TNetworkForm&)> Handler;
    TCommandRule Rule;
    std::uint8_t ToolCode = 0;
    char ToolKey = 0;
};
