#pragma once

#include <QDialog>
#include <QString>
#include <vector>

#include "libraries/VM4_KValueCalculations.h"

class IMessageBoxes;
class QLabel;
class QPushButton;
class TRightEdit;

// What the K-value calculators share: positive decimal inputs, result labels
// that read "xxxx" until calculated and empty as soon as an input changes, and
// the buttons "Calculate", "Create new fitting" and "Cancel". Each calculator
// keeps its inputs and last result between openings.
class TKValueCalculatorForm : public QDialog {
    Q_OBJECT
public:
    struct TInput {
        const char* Caption;
        const char* Name;
        const char* DefaultText;
    };

    // Shows the calculator modally; true when it was closed through "Create new
    // fitting" with a valid result.
    bool Execute();
    // Runs the calculation as the "Calculate" button does.
    void Calculate();
    // The last valid result, if any.
    bool HasResult() const { return last_.Valid; }
    double ResultK() const { return last_.KValue; }

    TRightEdit& Input(int index) const { return *inputs_[static_cast<std::size_t>(index)]; }
    QLabel& KLabel() const { return *kLabel_; }

protected:
    TKValueCalculatorForm(IMessageBoxes& boxes, const QString& caption, const std::vector<TInput>& inputs,
                          const QString& velocityNote, QWidget* parent);

    // The calculation on the inputs' values (all positive numbers).
    virtual TKValueResult compute(const std::vector<double>& values) const = 0;
    // The input that takes the focus after a refusal.
    virtual int refusalFocus() const { return 0; }
    // Said after the numeric-entry warning of an invalid input.
    virtual void afterInvalidInput() {}
    // A last word before a result is used; false keeps the calculator open.
    virtual bool acceptResult(double) { return true; }
    // Shows the parts of a result beyond K (ratios, angles).
    virtual void showExtras(const TKValueResult&) {}
    virtual void clearExtras() {}

    // A result row below the inputs: caption and value label, "xxxx" at first.
    QLabel* addResultRow(const char* caption, const char* name);
    // The y where the next row of controls goes.
    int nextRowY() const { return rowY_; }
    void skipRows(int rows);
    IMessageBoxes& boxes() { return boxes_; }
    // The inputs' values, or nothing (after the warning) when one is not positive.
    bool readInputs(std::vector<double>& values);
    void clearResults();

private:
    void createButtons();
    void useResult();
    void adaptDecimalMarks();
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

    IMessageBoxes& boxes_;
    std::vector<TRightEdit*> inputs_;
    QLabel* kLabel_ = nullptr;
    QPushButton* cancel_ = nullptr;
    TKValueResult last_;
    bool resultToUse_ = false;
    bool shownBefore_ = false;
    int rowY_ = 12;
};
