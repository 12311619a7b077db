#pragma once

#include <QDialog>
#include <cstdint>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class TNetwork;
class TFreeText;

// "Add Free Text Label": the text, colour, size, style and angle of one free
// label of the drawing, or its removal. The label is written only when the
// dialog closes, and not at all when it is cancelled.
class TFreeTextsForm : public QDialog {
    Q_OBJECT

public:
    static constexpr int MaxTextLength = 250;
    static constexpr int MaxAngleDigits = 3;

    explicit TFreeTextsForm(QWidget* parent = nullptr);

    // Edits free text `index` of the network: kept with the dialog's values,
    // removed (Delete, or a text left empty), or left alone (Cancel). True unless
    // cancelled.
    bool EditFreeText(TNetwork& network, std::int32_t index);

protected:
    // The close box keeps the label, as OK does.
    void closeEvent(QCloseEvent* event) override;

public Q_SLOTS:
    void reject() override;

private:
    enum class TOutcome { Keep, Remove, Cancel };

    void fillFrom(const TFreeText& label);
    void applyTo(TFreeText& label) const;
    void updateSample();
    void limitText();
    void finish(TOutcome outcome);
    std::int32_t angle() const;

    QPlainTextEdit* MemoFreeText;
    QComboBox* ComboBoxColour;
    QComboBox* ComboBoxSize;
    QComboBox* ComboBoxStyle;
    QLineEdit* EditAngle;
    QLabel* LabelSample;
    TOutcome outcome_ = TOutcome::Keep;
};
