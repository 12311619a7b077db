#pragma once

#include <QDialog>
#include <functional>
#include <optional>

#include "dialogs/VM4_PrintRequest.h"

class IMessageBoxes;
class QLineEdit;

// "Print Drawing": what will be printed, how many pages wide and high the
// picture is scaled to fit on, and the page title.
class TPrintingForm : public QDialog {
    Q_OBJECT

public:
    // More pages than this in either direction is a mistyped count, not a poster.
    static constexpr int MaxPagesPerSide = 20;
    static constexpr int MaxTitleLength = 100;
    static const char* const PageCountMessage;

    TPrintingForm(IMessageBoxes& boxes, std::function<void()> pageSetup, QWidget* parent = nullptr);

    // The request of the last Print press, when it closed the dialog.
    const std::optional<TPrintRequest>& Request() const { return request_; }

private:
    void ButtonPrintClick();
    std::optional<int> readPageCount(QLineEdit* box) const;

    IMessageBoxes& boxes_;
    QLineEdit* EditPagesWide;
    QLineEdit* EditPagesHigh;
    QLineEdit* EditPageTitle;
    std::optional<TPrintRequest> request_;
};
