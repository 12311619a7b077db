#include "editor/VM4_Examples_Form.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "model/VM4_Network_Class.h"
#include "platform/VM4_JPEGImage.h"
#include "platform/VM4_MessageBoxes.h"

namespace {

namespace fs = std::filesystem;

const std::string kCannotListMessage =
    "An error occured while attempting to read the example systems folder.\r\rPlease check that your program was "
    "installed correctly without errors.";
const std::string kCannotLoadMessage =
    "An error occured while attempting to load an example system.\r\rPlease check that your program was installed "
    "correctly without errors.";

constexpr int kPictureWidth = 560;
constexpr int kPictureHeight = 400;

// The network files of the folder, by name. Raises std::filesystem_error when
// the folder cannot be read.
std::vector<std::string> ExampleFileNames(const std::string& folder) {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        if (entry.is_directory()) continue;
        if (entry.path().extension() == ".vme") names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool IsReadableFile(const fs::path& path) {
    std::error_code error;
    return fs::is_regular_file(path, error) && std::ifstream(path, std::ios::binary).is_open();
}

}  // namespace

TExamplesForm::TExamplesForm(IMessageBoxes& messageBoxes, std::string examplesFolder, QWidget* parent)
    : QDialog(parent),
      messageBoxes_(messageBoxes),
      examplesFolder_(std::move(examplesFolder)),
      listBoxFilenames_(new QListWidget(this)),
      picture_(new QLabel(this)),
      descriptionLabel_(new QLabel(this)),
      description_(new QPlainTextEdit(this)),
      buttonLoad_(new QPushButton(QStringLiteral("Load this example system"), this)) {
    setWindowTitle(QStringLiteral("Example Systems"));
    setModal(true);
    listBoxFilenames_->setObjectName(QStringLiteral("ListBoxFilenames"));
    listBoxFilenames_->setMinimumWidth(230);
    picture_->setObjectName(QStringLiteral("ImageExample"));
    picture_->setFixedSize(kPictureWidth, kPictureHeight);
    picture_->setAlignment(Qt::AlignCenter);
    picture_->setFrameShape(QFrame::StyledPanel);
    picture_->setStyleSheet(QStringLiteral("background-color: white;"));
    QFont bold = descriptionLabel_->font();
    bold.setBold(true);
    descriptionLabel_->setFont(bold);
    description_->setObjectName(QStringLiteral("MemoDescription"));
    description_->setReadOnly(true);
    description_->setMinimumHeight(140);
    auto* closeButton = new QPushButton(QStringLiteral("Close"), this);

    auto* layout = new QGridLayout(this);
    layout->addWidget(listBoxFilenames_, 0, 0, 3, 1);
    layout->addWidget(picture_, 0, 1);
    layout->addWidget(descriptionLabel_, 1, 1);
    layout->addWidget(description_, 2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(buttonLoad_);
    buttons->addWidget(closeButton);
    layout->addLayout(buttons, 3, 0, 1, 2);

    connect(listBoxFilenames_, &QListWidget::itemClicked, this, [this] { ShowSelectedExample(); });
    connect(listBoxFilenames_, &QListWidget::currentRowChanged, this, [this] { ShowSelectedExample(); });
    connect(listBoxFilenames_, &QListWidget::itemDoubleClicked, this, [this] { ButtonLoadClick(); });
    connect(buttonLoad_, &QPushButton::clicked, this, &TExamplesForm::ButtonLoadClick);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);
}

bool TExamplesForm::fillList() {
    const QSignalBlocker blocker(listBoxFilenames_);
    listBoxFilenames_->clear();
    try {
        for (const std::string& name : ExampleFileNames(examplesFolder_))
            listBoxFilenames_->addItem(QString::fromStdString(name));
    } catch (const fs::filesystem_error&) {
        return false;
    }
    return true;
}

TExampleSelection TExamplesForm::SelectExample(TNetwork& network) {
    network_ = &network;
    selection_ = TExampleSelection();
    if (!fillList()) {
        messageBoxes_.ShowInformation(kCannotListMessage);
        return selection_;
    }
    exec();
    network_ = nullptr;
    return selection_;
}

void TExamplesForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    ShowSelectedExample();
}

void TExamplesForm::ShowSelectedExample() {
    buttonLoad_->setEnabled(listBoxFilenames_->count() > 0);
    if (listBoxFilenames_->count() == 0) {
        descriptionLabel_->clear();
        description_->clear();
        picture_->clear();
        return;
    }
    if (listBoxFilenames_->currentRow() < 0) {
        const QSignalBlocker blocker(listBoxFilenames_);
        listBoxFilenames_->setCurrentRow(0);
    }
    const std::string name = listBoxFilenames_->currentItem()->text().toStdString();
    const fs::path network = fs::path(examplesFolder_) / name;
    descriptionLabel_->setText(QString::fromStdString(name));
    // A missing picture or description leaves its box empty; the example still loads.
    description_->setPlainText(QString::fromStdString(ReadText(fs::path(network).replace_extension(".txt"))));
    try {
        const QImage image = TJPEGImage::LoadFromFile(fs::path(network).replace_extension(".jpg").string());
        picture_->setPixmap(QPixmap::fromImage(
            image.scaled(picture_->size() - QSize(4, 4), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    } catch (const EVelmoraError&) {
        picture_->clear();
    }
}

void TExamplesForm::ButtonLoadClick() {
    if (network_ == nullptr || listBoxFilenames_->currentItem() == nullptr) return;
    const fs::path path = fs::path(examplesFolder_) / listBoxFilenames_->currentItem()->text().toStdString();
    selection_.Path = path.string();
    if (!IsReadableFile(path)) {
        messageBoxes_.ShowInformation(kCannotLoadMessage);
        selection_.Outcome = TExampleSelection::NotLoaded;
        reject();
        return;
    }
    try {
        network_->LoadFromFile(path);
        selection_.Outcome = TExampleSelection::Loaded;
        accept();
    } catch (const EVelmoraError&) {
        messageBoxes_.ShowInformation(kCannotLoadMessage);
        selection_.Outcome = TExampleSelection::Failed;
        reject();
    }
}
