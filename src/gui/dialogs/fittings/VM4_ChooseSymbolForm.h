#pragma once

#include <QDialog>

class QTableWidget;

// "Choose symbol": the 49 fitting pictures in a 7 x 7 grid; the cell in row r
// and column c is symbol 7r + c.
class TChooseSymbolForm : public QDialog {
    Q_OBJECT
public:
    explicit TChooseSymbolForm(QWidget* parent = nullptr);

    // Shows the chooser with the current symbol selected; the chosen symbol, or
    // -1 when cancelled.
    int ChooseSymbol(int currentSymbol);
    // Selects a cell, as a click does.
    void SelectSymbol(int symbol);
    void Choose();

private:
    QTableWidget* grid_ = nullptr;
    int result_ = -1;
};
