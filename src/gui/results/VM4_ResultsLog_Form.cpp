#include "results/VM4_ResultsLog_Form.h"

#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/VM4_QtMessageBoxes.h"

namespace {

const char* const kCaption = "Results Log";
const char* const kHeading = "Velmora Studio - Results Log";

const char* const kSolvedSuccessfully = "The network was solved successfully.";
const char* const kSolvedQuestion =
    "\r\rThe solution values are displayed on the drawing.\r\rDo you wish to view the detailed Results Table now?";
const char* const kNotSolvedTolerance =
    "The network was not solved.\r\rThe Final Pressure balance tolerance may be set too low.\r\rPlease review the "
    "details above and scroll to the end of the log.";
const char* const kNotSolvedReview =
    "The network was not solved.\r\rPlease review the log details above (scroll through for details).\r\rAnd then "
    "review the design of your system.";

QPushButton* MakeButton(const char* name, const char* caption, QWidget* parent) {
    auto* button = new QPushButton(QString::fromLatin1(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

QString JoinedLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += '\n';
    }
    if (!text.empty()) text.pop_back();
    return QString::fromStdString(text);
}

}  // namespace

TSolveVerdict SolveVerdictFor(bool solved, int warningCount, bool refinementFailed) {
    if (solved) {
        const std::string first = warningCount != 0
                                      ? "The network was solved with " + std::to_string(warningCount) + " WARNINGS ***."
                                      : kSolvedSuccessfully;
        return {first + kSolvedQuestion, false, true};
    }
    return {refinementFailed ? kNotSolvedTolerance : kNotSolvedReview, true, false};
}

TResultsLogForm::TResultsLogForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ResultsLogForm"));
    setWindowTitle(QString::fromLatin1(kCaption));
    resize(640, 520);

    auto* heading = new QLabel(QString::fromLatin1(kHeading), this);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);

    MemoLog = new QPlainTextEdit(this);
    MemoLog->setObjectName(QStringLiteral("MemoLog"));
    MemoLog->setReadOnly(true);
    MemoLog->setLineWrapMode(QPlainTextEdit::NoWrap);
    MemoLog->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    LabelMessage = new QLabel(this);
    LabelMessage->setObjectName(QStringLiteral("LabelMessage"));
    LabelMessage->setTextFormat(Qt::PlainText);
    LabelMessage->setWordWrap(true);

    ButtonYes = MakeButton("ButtonYes", "Yes", this);
    ButtonNo = MakeButton("ButtonNo", "No", this);
    ButtonOk = MakeButton("ButtonOk", "Ok", this);
    connect(ButtonYes, &QPushButton::clicked, this, [this] { answer(ViewResultsTable); });
    connect(ButtonNo, &QPushButton::clicked, this, [this] { answer(ViewNothing); });
    connect(ButtonOk, &QPushButton::clicked, this, [this] { answer(ViewNothing); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* button : {ButtonYes, ButtonNo, ButtonOk}) buttons->addWidget(button);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(MemoLog, 1);
    layout->addWidget(LabelMessage);
    layout->addLayout(buttons);
    showVerdict();
}

int TResultsLogForm::ShowSolveVerdict(bool solved, int warningCount, bool refinementFailed) {
    verdict_ = SolveVerdictFor(solved, warningCount, refinementFailed);
    showVerdict();
    return runModal();
}

int TResultsLogForm::ShowAgain() { return runModal(); }

void TResultsLogForm::showVerdict() {
    LabelMessage->setText(TQtMessageBoxes::ToDisplayText(verdict_.Text));
    QFont font = LabelMessage->font();
    font.setBold(verdict_.Bold);
    LabelMessage->setFont(font);
    ButtonYes->setVisible(verdict_.OffersResultsTable);
    ButtonNo->setVisible(verdict_.OffersResultsTable);
    ButtonOk->setVisible(!verdict_.OffersResultsTable);
}

// Closing the window any other way than by a button leaves the flag clear.
int TResultsLogForm::runModal() {
    viewFlag_ = ViewNothing;
    MemoLog->setPlainText(JoinedLines(lines_));
    exec();
    return viewFlag_;
}

void TResultsLogForm::answer(int viewFlag) {
    viewFlag_ = viewFlag;
    accept();
}
