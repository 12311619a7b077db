#include "platform/VM4_QtUserMessages.h"

#include <QCoreApplication>

#include "platform/VM4_MessageBoxes.h"

void TQtUserMessages::ShowInformation(const std::string& text) { boxes_.ShowInformation(text); }

bool TQtUserMessages::Confirm(const std::string& text) { return boxes_.Confirm(text); }

void TQtUserMessages::ShowStatus(const std::string& text) {
    if (StatusShown) StatusShown(text);
}

void TQtUserMessages::ProcessMessages() {
    QCoreApplication::processEvents();
    if (MessagesProcessed) MessagesProcessed();
}
