#include "platform/VM4_QtMessageBoxes.h"

#include <QMessageBox>

namespace {

const QString kBoxTitle = QStringLiteral("Velmora Studio");

}  // namespace

QString TQtMessageBoxes::ToDisplayText(const std::string& text) {
    QString display = QString::fromStdString(text);
    display.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return display;
}

void TQtMessageBoxes::ShowInformation(const std::string& text) {
    QMessageBox::information(owner_, kBoxTitle, ToDisplayText(text), QMessageBox::Ok);
}

bool TQtMessageBoxes::Confirm(const std::string& text) {
    const auto answer = QMessageBox::question(owner_, kBoxTitle, ToDisplayText(text),
                                              QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    return answer == QMessageBox::Yes;
}

TYesNoCancel TQtMessageBoxes::AskYesNoCancel(const std::string& text) {
    const auto answer =
        QMessageBox::question(owner_, kBoxTitle, ToDisplayText(text),
                              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    if (answer == QMessageBox::Yes) return TYesNoCancel::Yes;
    if (answer == QMessageBox::No) return TYesNoCancel::No;
    return TYesNoCancel::Cancel;
}
