#pragma once

#include <QDialog>
#include <string>
#include <vector>

class QLabel;
class QPlainTextEdit;
class QPushButton;

// What the log window says after a calculation: the message ('\r' line
// breaks), whether it is bold, and whether it asks about the results table
// (Yes and No) or only reports (Ok).
struct TSolveVerdict {
    std::string Text;
    bool Bold = false;
    bool OffersResultsTable = false;
};

// The verdict for a calculation that ended solved or not, with its warnings,
// and whether a refining phase failed on the way (the tolerance may be too fine).
TSolveVerdict SolveVerdictFor(bool solved, int warningCount, bool refinementFailed);

// The results log window: the lines the last calculation wrote (the solve
// appends to Lines(); the memo shows them when the window opens) and the
// verdict with its buttons. Created once by the main window and reused, so
// "Show Log" shows the last calculation's log and verdict again.
class TResultsLogForm : public QDialog {
    Q_OBJECT

public:
    // The view flag: set only when the user answered Yes to the results table.
    static constexpr int ViewNothing = 0;
    static constexpr int ViewResultsTable = 1;

    explicit TResultsLogForm(QWidget* parent = nullptr);

    // The log of the last calculation; the solve appends to it.
    std::vector<std::string>& Lines() { return lines_; }
    const std::vector<std::string>& Lines() const { return lines_; }

    // Sets up the message and buttons for the calculation's outcome and shows
    // the window modally. ViewResultsTable after "Yes", else ViewNothing.
    int ShowSolveVerdict(bool solved, int warningCount, bool refinementFailed);
    // Shows the window again as the last verdict left it; the same answer.
    int ShowAgain();

    // The message as set up, with its '\r' line breaks.
    const std::string& MessageText() const { return verdict_.Text; }
    bool MessageIsBold() const { return verdict_.Bold; }

private:
    void showVerdict();
    int runModal();
    void answer(int viewFlag);

    std::vector<std::string> lines_;
    TSolveVerdict verdict_;
    int viewFlag_ = ViewNothing;

    QPlainTextEdit* MemoLog = nullptr;
    QLabel* LabelMessage = nullptr;
    QPushButton* ButtonYes = nullptr;
    QPushButton* ButtonNo = nullptr;
    QPushButton* ButtonOk = nullptr;
};
