#pragma once

#include <QWidget>
#include <cstdint>

class IPanelHost;
class QTabBar;
class QTimer;
class QToolButton;
class TNodePanel;
class TPipePanel;

// The left side of the main window: the selected node above the selected pipe,
// under the tabs "Nodes" and "Pipes", with a button that folds it away. A click
// on the drawing that selects another item makes its part flash yellow.
class TInfoPanel : public QWidget {
    Q_OBJECT
public:
    static constexpr int ShownWidth = 201;
    static constexpr int HiddenWidth = 15;
    static constexpr int HighlightMilliseconds = 500;
    static constexpr const char* NoNodeMessage = "No node selected. Click on a node on the drawing to select it.";
    static constexpr const char* NoPipeMessage = "No pipe selected. Click on a pipe on the drawing to select it.";

    explicit TInfoPanel(IPanelHost& host, QWidget* parent = nullptr);

    // Both parts from the editor's selection.
    void UpdatePanels(bool highlight);
    void UpdatePanelsNode(std::int32_t nodeId, bool highlight);
    void UpdatePanelsPipe(std::int32_t pipeId, bool highlight);

    void ShowLeftPanel();
    void HideLeftPanel();

    TNodePanel& NodePart() { return *nodePanel_; }
    TPipePanel& PipePart() { return *pipePanel_; }
    QTabBar& Tabs() { return *tabs_; }
    QToolButton& CollapseButton() { return *collapse_; }
    bool NodeFlashing() const;
    bool PipeFlashing() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void TabChosen(int tab);
    void CollapseClicked();
    void EndNodeHighlight();
    void EndPipeHighlight();
    void watchClicks();

    IPanelHost& host_;
    QWidget* content_ = nullptr;
    QTabBar* tabs_ = nullptr;
    TNodePanel* nodePanel_ = nullptr;
    TPipePanel* pipePanel_ = nullptr;
    QToolButton* collapse_ = nullptr;
    QTimer* TimerNodePanelHighlight = nullptr;
    QTimer* TimerPipePanelHighlight = nullptr;
};
