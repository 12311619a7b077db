#pragma once

#include <QWidget>
#include <string>

class QTextBrowser;

// The help window: the HTML pages of the "Help" folder beside the program, with
// their contents and index pages, and links between them.
class THelpForm : public QWidget {
    Q_OBJECT

public:
    static constexpr const char* ContentsPage = "Contents.htm";
    static constexpr const char* IndexPage = "Index.htm";
    static constexpr const char* ThreeReservoirsPage = "Example_01_Three_Reservoirs.htm";
    static constexpr const char* StepByStepPage = "Step_by_Step_Instructions.htm";

    explicit THelpForm(std::string helpFolder, QWidget* parent = nullptr);

    // Shows the window at the page (a file name inside the help folder). A missing
    // page is reported in the window itself.
    void ShowPage(const std::string& page);
    // The page shown, as a file name; empty when a missing page was asked for.
    std::string CurrentPage() const;
    QTextBrowser& Browser() { return *browser_; }

private:
    std::string helpFolder_;
    QTextBrowser* browser_;
};
