#pragma once

#include <functional>
#include <optional>
#include <string>

class QPrinter;

// What the print dialog hands to printing: the page title and how many pages
// the picture is scaled to fit on.
struct TPrintRequest {
    std::string Title;
    int PagesWide = 1;
    int PagesHigh = 1;
};

// The print dialog and the printer set-up, behind an interface so that tests can
// answer them.
class IPrintDialogs {
public:
    virtual ~IPrintDialogs() = default;
    // The print dialog; nothing when it was cancelled. Its Page Setup button runs
    // `pageSetup`.
    virtual std::optional<TPrintRequest> AskPrint(const std::function<void()>& pageSetup) = 0;
    // The desktop's printer set-up: printer (a PDF file among them), paper,
    // orientation. What the user chose stays in `printer`.
    virtual void SetUpPrinter(QPrinter& printer) = 0;
};
