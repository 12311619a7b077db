#include "editor/VM4_HelpForm.h"

#include <QFileInfo>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>
#include <filesystem>

THelpForm::THelpForm(std::string helpFolder, QWidget* parent)
    : QWidget(parent, Qt::Window), helpFolder_(std::move(helpFolder)), browser_(new QTextBrowser(this)) {
    setWindowTitle(QStringLiteral("Velmora Studio Help"));
    resize(820, 700);
    browser_->setObjectName(QStringLiteral("HelpBrowser"));
    browser_->setOpenExternalLinks(true);
    browser_->setSearchPaths({QString::fromStdString(helpFolder_)});

    auto* bar = new QToolBar(this);
    bar->addAction(QStringLiteral("Contents"), this, [this] { ShowPage(ContentsPage); });
    bar->addAction(QStringLiteral("Index"), this, [this] { ShowPage(IndexPage); });
    bar->addSeparator();
    QAction* back = bar->addAction(QStringLiteral("Back"), browser_, &QTextBrowser::backward);
    QAction* forward = bar->addAction(QStringLiteral("Forward"), browser_, &QTextBrowser::forward);
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(bar);
    layout->addWidget(browser_);
}

void THelpForm::ShowPage(const std::string& page) {
    const std::filesystem::path path = std::filesystem::path(helpFolder_) / page;
    std::error_code error;
    if (std::filesystem::is_regular_file(path, error)) {
        browser_->setSource(QUrl::fromLocalFile(QString::fromStdString(path.string())));
    } else {
        browser_->setHtml(QStringLiteral("<h2>Help page not found</h2><p>The help page <b>%1</b> is not in the help "
                                         "folder <b>%2</b>. The program may not have been installed completely.</p>")
                              .arg(QString::fromStdString(page).toHtmlEscaped(),
                                   QString::fromStdString(helpFolder_).toHtmlEscaped()));
    }
    show();
    raise();
    activateWindow();
}

std::string THelpForm::CurrentPage() const {
    if (browser_->source().isEmpty()) return {};
    return QFileInfo(browser_->source().toLocalFile()).fileName().toStdString();
}
