#include "output/VM4_PrintingProgressWindow.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

TPrintingProgressWindow::TPrintingProgressWindow(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint), message_(new QLabel(this)) {
    setObjectName(QStringLiteral("PrintingProgressWindow"));
    setWindowTitle(QStringLiteral("Printing"));
    message_->setObjectName(QStringLiteral("PrintingMessage"));
    message_->setMinimumWidth(220);
    auto* cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cancel->setObjectName(QStringLiteral("PrintingCancel"));
    connect(cancel, &QPushButton::clicked, this, [this] { cancelPressed_ = true; });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(message_);
    layout->addWidget(cancel, 0, Qt::AlignHCenter);
}

bool TPrintingProgressWindow::Open() {
    cancelPressed_ = false;
    adjustSize();
    if (const QScreen* screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    return true;
}

void TPrintingProgressWindow::ShowMessage(const std::string& text) {
    message_->setText(QString::fromStdString(text));
    QApplication::processEvents();
}

void TPrintingProgressWindow::Close() { hide(); }
