#include "dialogs/VM4_FreeTextsForm.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTextCursor>
#include <QVBoxLayout>

#include "editor/VM4_Canvas_Drawings.h"
#include "foundations/VM4_Input_Validation.h"
#include "model/VM4_Network_Class.h"

namespace {

struct TNamedValue {
    const char* Name;
    std::int32_t Value;
};

// Stored colours: blue * 65536 + green * 256 + red.
constexpr TNamedValue kColours[] = {{"Black", 0},   {"Gray", 8421504}, {"Blue", 16711680},
                                    {"Green", 32768}, {"Red", 255},      {"Purple", 8388736}};
constexpr TNamedValue kStyles[] = {{"Normal", 0}, {"Italic", 2},      {"Underlined", 4},
                                   {"Bold", 1},   {"Bold Italic", 3}, {"Bold Under.", 5}};
constexpr int kSizes[] = {7, 8, 9, 10, 12, 14, 16, 18, 20, 22, 24, 28, 36};
constexpr int kDegreesInCircle = 360;

template <typename TList>
QComboBox* ListBox(QWidget* parent, const char* name, const TList& entries) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    for (const auto& entry : entries) box->addItem(QString::fromLatin1(entry.Name), entry.Value);
    return box;
}

QComboBox* SizeBox(QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QStringLiteral("ComboBoxSize"));
    for (const int size : kSizes) box->addItem(QString::number(size), size);
    return box;
}

QPushButton* Button(QWidget* parent, const char* name, const QString& text) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

// The entry holding `value`, or none: a value the list does not offer (a label
// made elsewhere) is kept as it is rather than replaced by a guess.
void SelectValue(QComboBox* box, std::int32_t value) { box->setCurrentIndex(box->findData(value)); }

std::int32_t SelectedValueOr(const QComboBox* box, std::int32_t kept) {
    return box->currentIndex() >= 0 ? box->currentData().toInt() : kept;
}

std::vector<std::string> Lines(const QString& text) {
    std::vector<std::string> lines;
    for (const QString& line : text.split(QLatin1Char('\n'))) lines.push_back(line.toStdString());
    return lines;
}

}  // namespace

TFreeTextsForm::TFreeTextsForm(QWidget* parent)
    : QDialog(parent),
      MemoFreeText(new QPlainTextEdit(this)),
      ComboBoxColour(ListBox(this, "ComboBoxColour", kColours)),
      ComboBoxSize(SizeBox(this)),
      ComboBoxStyle(ListBox(this, "ComboBoxStyle", kStyles)),
      EditAngle(new QLineEdit(this)),
      LabelSample(new QLabel(QStringLiteral("Example text in current style"), this)) {
    setObjectName(QStringLiteral("FreeTextsForm"));
    setWindowTitle(QStringLiteral("Add Free Text Label"));
    MemoFreeText->setObjectName(QStringLiteral("MemoFreeText"));
    MemoFreeText->setTabChangesFocus(true);
    EditAngle->setObjectName(QStringLiteral("EditAngle"));
    EditAngle->setAlignment(Qt::AlignRight);
    EditAngle->setMaxLength(MaxAngleDigits);
    EditAngle->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), EditAngle));
    LabelSample->setObjectName(QStringLiteral("LabelSample"));

    auto* textBox = new QGroupBox(QStringLiteral("Free Text Label - 250 characters maximum"), this);
    (new QVBoxLayout(textBox))->addWidget(MemoFreeText);
    auto* sampleBox = new QGroupBox(QStringLiteral(" Sample of selected font "), this);
    (new QVBoxLayout(sampleBox))->addWidget(LabelSample);
    sampleBox->setMinimumHeight(80);

    auto* font = new QGridLayout;
    font->addWidget(new QLabel(QStringLiteral("Colour"), this), 0, 0);
    font->addWidget(ComboBoxColour, 0, 1);
    font->addWidget(new QLabel(QStringLiteral("Size"), this), 1, 0);
    font->addWidget(ComboBoxSize, 1, 1);
    font->addWidget(new QLabel(QStringLiteral("Style"), this), 2, 0);
    font->addWidget(ComboBoxStyle, 2, 1);
    font->addWidget(new QLabel(QStringLiteral("Angle"), this), 3, 0);
    font->addWidget(EditAngle, 3, 1);

    QPushButton* ok = Button(this, "ButtonOK", QStringLiteral("OK"));
    QPushButton* remove = Button(this, "ButtonDelete", QStringLiteral("Delete"));
    QPushButton* cancel = Button(this, "ButtonCancel", QStringLiteral("Cancel"));
    QPushButton* clear = Button(this, "ButtonClear", QStringLiteral("Clear"));
    connect(ok, &QPushButton::clicked, this, [this] { finish(TOutcome::Keep); });
    connect(remove, &QPushButton::clicked, this, [this] { finish(TOutcome::Remove); });
    connect(cancel, &QPushButton::clicked, this, [this] { finish(TOutcome::Cancel); });
    connect(clear, &QPushButton::clicked, MemoFreeText, &QPlainTextEdit::clear);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {ok, remove, cancel, clear}) buttons->addWidget(button);

    auto* side = new QVBoxLayout;
    side->addLayout(font);
    side->addWidget(sampleBox);
    auto* body = new QHBoxLayout;
    body->addWidget(textBox, 1);
    body->addLayout(side);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body);
    layout->addLayout(buttons);

    for (QComboBox* box : {ComboBoxColour, ComboBoxSize, ComboBoxStyle})
        connect(box, &QComboBox::currentIndexChanged, this, &TFreeTextsForm::updateSample);
    connect(MemoFreeText, &QPlainTextEdit::textChanged, this, &TFreeTextsForm::limitText);
}

bool TFreeTextsForm::EditFreeText(TNetwork& network, std::int32_t index) {
    TFreeText& label = network.GetFreeText(index);
    outcome_ = TOutcome::Keep;
    fillFrom(label);
    MemoFreeText->setFocus();
    exec();
    if (outcome_ == TOutcome::Cancel) return false;
    if (MemoFreeText->toPlainText().trimmed().isEmpty()) outcome_ = TOutcome::Remove;
    if (outcome_ == TOutcome::Keep)
        applyTo(label);
    else
        network.RemoveFreeText(index);
    return true;
}

void TFreeTextsForm::fillFrom(const TFreeText& label) {
    QStringList lines;
    for (const std::string& line : label.Text) lines << QString::fromStdString(line);
    MemoFreeText->setPlainText(lines.join(QLatin1Char('\n')));
    SelectValue(ComboBoxColour, label.Colour);
    SelectValue(ComboBoxSize, label.FontSize);
    SelectValue(ComboBoxStyle, label.Style);
    EditAngle->setText(QString::number(label.Angle));
    updateSample();
}

void TFreeTextsForm::applyTo(TFreeText& label) const {
    label.Text = Lines(MemoFreeText->toPlainText());
    label.Colour = SelectedValueOr(ComboBoxColour, label.Colour);
    label.FontSize = SelectedValueOr(ComboBoxSize, label.FontSize);
    label.Style = static_cast<std::uint8_t>(SelectedValueOr(ComboBoxStyle, label.Style));
    label.Angle = angle();
}

// Whole degrees; an empty box is 0 and a full turn or more is reduced.
std::int32_t TFreeTextsForm::angle() const {
    const auto parsed = ParseIntegerText(EditAngle->text().toStdString(), true, false);
    return parsed.Valid ? parsed.Value % kDegreesInCircle : 0;
}

void TFreeTextsForm::updateSample() {
    const std::int32_t size = ComboBoxSize->currentIndex() >= 0 ? ComboBoxSize->currentData().toInt() : 8;
    const auto style = static_cast<std::uint8_t>(SelectedValueOr(ComboBoxStyle, 0));
    QFont font = DrawingFont(size, style);
    font.setPointSize(size);
    LabelSample->setFont(font);
    QPalette palette = LabelSample->palette();
    palette.setColor(QPalette::WindowText, FromStoredColour(SelectedValueOr(ComboBoxColour, 0)));
    LabelSample->setPalette(palette);
}

// Files hold at most this many characters of a label: the rest is refused as it
// is typed or pasted, not lost silently on saving.
void TFreeTextsForm::limitText() {
    const QString text = MemoFreeText->toPlainText();
    if (text.size() <= MaxTextLength) return;
    const QSignalBlocker blocker(MemoFreeText);
    MemoFreeText->setPlainText(text.left(MaxTextLength));
    MemoFreeText->moveCursor(QTextCursor::End);
}

void TFreeTextsForm::finish(TOutcome outcome) {
    outcome_ = outcome;
    done(outcome == TOutcome::Cancel ? QDialog::Rejected : QDialog::Accepted);
}

void TFreeTextsForm::closeEvent(QCloseEvent* event) {
    event->accept();
    finish(TOutcome::Keep);
}

// Escape withdraws the dialog, as Cancel does.
void TFreeTextsForm::reject() { finish(TOutcome::Cancel); }
