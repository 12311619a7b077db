#include "platform/VM4_QtPrintDialogs.h"

#include <QDialogButtonBox>
#include <QPrintDialog>
#include <QPushButton>

#include "dialogs/VM4_PrintingForm.h"

std::optional<TPrintRequest> TQtPrintDialogs::AskPrint(const std::function<void()>& pageSetup) {
    TPrintingForm form(boxes_, pageSetup, owner_);
    form.exec();
    return form.Request();
}

void TQtPrintDialogs::SetUpPrinter(QPrinter& printer) {
    QPrintDialog dialog(&printer, owner_);
    dialog.setWindowTitle(QStringLiteral("Page Setup"));
    // Only the printer, the paper and the orientation are chosen here; what is
    // printed is decided by the print dialog.
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.setOption(QAbstractPrintDialog::PrintCollateCopies, false);
    if (auto* buttons = dialog.findChild<QDialogButtonBox*>())
        if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok)) ok->setText(QStringLiteral("OK"));
    dialog.exec();
}
