#pragma once

#include "dialogs/VM4_PrintRequest.h"

class IMessageBoxes;
class QWidget;

// The print dialog of the program and the desktop's printer set-up (QPrintDialog,
// which offers printing to a PDF file where no printer is installed).
class TQtPrintDialogs : public IPrintDialogs {
public:
    TQtPrintDialogs(IMessageBoxes& boxes, QWidget* owner) : boxes_(boxes), owner_(owner) {}

    std::optional<TPrintRequest> AskPrint(const std::function<void()>& pageSetup) override;
    void SetUpPrinter(QPrinter& printer) override;

private:
    IMessageBoxes& boxes_;
    QWidget* owner_;
};
