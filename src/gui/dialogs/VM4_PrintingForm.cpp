#include "dialogs/VM4_PrintingForm.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

#include "foundations/VM4_Input_Validation.h"
#include "platform/VM4_MessageBoxes.h"

const char* const TPrintingForm::PageCountMessage =
    "Pages wide and pages high must each be a whole number from 1 to 20.";

namespace {

const char* const kNote[] = {"",
                             "The visible part of image will be printed. ",
                             "i.e. the part of the image you see on the screen.",
                             "",
                             "To print the whole of the drawing, zoom out until all of the ",
                             "area you wish to print is visible on the screen.",
                             " ",
                             "To change the orientation of the print to landscape, ",
                             "select 'Page Setup' and choose the appropriate settings.",
                             "",
                             "The printed image will be scaled to fit on 1 page unless the ",
                             "scale to fit parameters are changed (printing over multiple",
                             "pages may not be possible with all computer systems).",
                             "",
                             ""};

QLineEdit* PageCountBox(QWidget* parent, const char* name) {
    auto* box = new QLineEdit(QStringLiteral("1"), parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setAlignment(Qt::AlignRight);
    box->setMaxLength(2);
    box->setFixedWidth(40);
    return box;
}

QPushButton* Button(QWidget* parent, const char* name, const QString& text) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

QPlainTextEdit* NoteBox(QWidget* parent) {
    QStringList lines;
    for (const char* line : kNote) lines << QString::fromLatin1(line);
    auto* note = new QPlainTextEdit(lines.join(QLatin1Char('\n')), parent);
    note->setObjectName(QStringLiteral("MemoPrintInfo"));
    note->setReadOnly(true);
    note->setMinimumSize(420, 250);
    return note;
}

}  // namespace

TPrintingForm::TPrintingForm(IMessageBoxes& boxes, std::function<void()> pageSetup, QWidget* parent)
    : QDialog(parent),
      boxes_(boxes),
      EditPagesWide(PageCountBox(this, "EditPagesWide")),
      EditPagesHigh(PageCountBox(this, "EditPagesHigh")),
      EditPageTitle(new QLineEdit(this)) {
    setObjectName(QStringLiteral("PrintingForm"));
    setWindowTitle(QStringLiteral("Print Drawing"));
    EditPageTitle->setObjectName(QStringLiteral("EditPageTitle"));
    EditPageTitle->setMaxLength(MaxTitleLength);

    auto* heading = new QLabel(QStringLiteral("Printing Information"), this);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);

    auto* scale = new QHBoxLayout;
    scale->addWidget(new QLabel(QStringLiteral("Scale to fit"), this));
    scale->addWidget(EditPagesWide);
    scale->addWidget(new QLabel(QStringLiteral("pages wide by"), this));
    scale->addWidget(EditPagesHigh);
    scale->addWidget(new QLabel(QStringLiteral("pages high"), this));
    scale->addStretch();

    auto* title = new QHBoxLayout;
    title->addWidget(new QLabel(QStringLiteral("Page Title"), this));
    title->addWidget(EditPageTitle);

    QPushButton* print = Button(this, "ButtonPrint", QStringLiteral("Print"));
    QPushButton* cancel = Button(this, "ButtonPrintCancel", QStringLiteral("Cancel"));
    QPushButton* setup = Button(this, "ButtonPageSetup", QStringLiteral("Page Setup"));
    print->setDefault(true);
    connect(print, &QPushButton::clicked, this, &TPrintingForm::ButtonPrintClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(setup, &QPushButton::clicked, this, [pageSetup] {
        if (pageSetup) pageSetup();
    });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* button : {print, cancel, setup}) buttons->addWidget(button);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(NoteBox(this));
    layout->addLayout(scale);
    layout->addLayout(title);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    if (const QScreen* screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(sizeHint().width() / 2, sizeHint().height() / 2));
}

std::optional<int> TPrintingForm::readPageCount(QLineEdit* box) const {
    const auto count = ParseIntegerText(box->text().trimmed().toStdString(), false, false);
    if (!count.Valid || count.Value > MaxPagesPerSide) return std::nullopt;
    return count.Value;
}

// A count that is not a whole number from 1 up would print nothing or fail half
// way: it is refused here, with the dialog still open to correct it.
void TPrintingForm::ButtonPrintClick() {
    const auto wide = readPageCount(EditPagesWide);
    const auto high = readPageCount(EditPagesHigh);
    if (!wide || !high) {
        boxes_.ShowInformation(PageCountMessage);
        (wide ? EditPagesHigh : EditPagesWide)->setFocus();
        return;
    }
    request_ = TPrintRequest{EditPageTitle->text().toStdString(), *wide, *high};
    accept();
}
