#pragma once

#include <QDialog>
#include <string>

class IMessageBoxes;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class TNetwork;

// What became of a visit to the example systems.
struct TExampleSelection {
    enum TOutcome {
        NotLoaded,  // closed without loading, or the file could not be read: the document is unchanged
        Loaded,     // the example is now the document
        Failed,     // the file was read but is no network: the document is left cleared
    };
    TOutcome Outcome = NotLoaded;
    std::string Path;  // the example's file when loaded or failed
};

// The example systems dialog: the networks of the "ExampleSystems" folder, each
// shown with its picture (name.jpg) and description (name.txt), and loaded on
// request into the document.
class TExamplesForm : public QDialog {
    Q_OBJECT

public:
    TExamplesForm(IMessageBoxes& messageBoxes, std::string examplesFolder, QWidget* parent = nullptr);

    // Lists the examples, shows the dialog and loads the chosen one into `network`.
    TExampleSelection SelectExample(TNetwork& network);
    // Shows the picture and description of the selected entry (the first when none is).
    void ShowSelectedExample();

    // ---- The dialog's parts, for tests ----
    QListWidget& ListBoxFilenames() { return *listBoxFilenames_; }
    QLabel& Picture() { return *picture_; }
    QLabel& DescriptionLabel() { return *descriptionLabel_; }
    QPlainTextEdit& Description() { return *description_; }
    QPushButton& ButtonLoad() { return *buttonLoad_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool fillList();
    void ButtonLoadClick();

    IMessageBoxes& messageBoxes_;
    std::string examplesFolder_;
    TNetwork* network_ = nullptr;
    TExampleSelection selection_;
    QListWidget* listBoxFilenames_;
    QLabel* picture_;
    QLabel* descriptionLabel_;
    QPlainTextEdit* description_;
    QPushButton* buttonLoad_;
};
