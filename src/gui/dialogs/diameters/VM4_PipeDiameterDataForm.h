#pragma once

#include <QDialog>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/VM4_Pipe_Class.h"

class IMessageBoxes;
class IUserMessages;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;
class QTimer;
class TPipeDiameterLibrary;

// "Pipe diameter data": gives one pipe its material, schedule, roughness and
// size from the pipe diameter database, or as typed. One table (a material and
// schedule) is shown at a time; sizes and whole materials may be added and
// removed, which is written to the user's files at once. The pipe changes only
// on "Save Data to Pipe".
class TPipeDiameterDataForm : public QDialog {
    Q_OBJECT
public:
    // The tables come from `programTables`; what the form writes goes to `userTables`.
    TPipeDiameterDataForm(IMessageBoxes& boxes, const std::filesystem::path& programTables,
                          const std::filesystem::path& userTables, QWidget* parent = nullptr);
    ~TPipeDiameterDataForm() override;

    // True when the pipe was written.
    bool EditPipeDiameterData(TPipe& pipe, std::int32_t pipeId, bool showMaterialChooser, bool metric);

    TPipeDiameterLibrary& Library() { return *library_; }

private:
    void buildPipePanel();
    void buildDatabasePanel();
    void buildAddSizePanel();
    void buildChooserPanel();
    void buildAddMaterialPanel();

    void setMetric(bool metric);
    void convertBoxes(bool toMetric);
    void showWorkingPipe();
    void fillSizeGrid();
    void fillTableList();
    void refreshTitle();
    void refreshDerivedCells();
    void loadTable(const std::filesystem::path& standardFile);

    void useSelectedSize();
    void saveToPipe();
    void openAddSize(bool open);
    void addNewSize();
    void removeSize();
    void openChooser(bool open);
    void selectMaterial();
    void addNewMaterial();
    void removeMaterial();
    void flashPipePanel();
    double storedValueOf(const QLineEdit* box, const std::optional<double>& typed, int unit) const;

    IMessageBoxes& boxes_;
    std::unique_ptr<IUserMessages> messages_;
    std::unique_ptr<TPipeDiameterLibrary> library_;
    TPipe* pipe_ = nullptr;
    TPipe working_;
    bool metric_ = true;
    bool saved_ = false;
    QTimer* flash_ = nullptr;
    // The texts the boxes were given for the size shown, with the size's exact
    // value (metres, kg/m): a box left as shown saves the library's value, not
    // its rounded display.
    std::map<const QLineEdit*, std::pair<QString, double>> shown_;

    QGroupBox* pipePanel_ = nullptr;
    QLabel* pipeId_ = nullptr;
    QLabel* pipeName_ = nullptr;
    QTableWidget* pipeMaterialGrid_ = nullptr;
    QTableWidget* pipeSizeGrid_ = nullptr;
    QLineEdit* material_ = nullptr;
    QLineEdit* schedule_ = nullptr;
    QLineEdit* roughness_ = nullptr;
    QLineEdit* nominal_ = nullptr;
    QLineEdit* inner_ = nullptr;
    QLineEdit* wall_ = nullptr;
    QLineEdit* outer_ = nullptr;
    QLineEdit* weight_ = nullptr;
    std::vector<QLabel*> lengthUnits_;
    QLabel* roughnessUnit_ = nullptr;
    QLabel* weightUnit_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* cancel_ = nullptr;

    QLabel* tableTitle_ = nullptr;
    QLabel* tableRoughness_ = nullptr;
    QLineEdit* fileName_ = nullptr;
    QLabel* unitsLine_ = nullptr;
    QTableWidget* sizes_ = nullptr;
    QPushButton* top_ = nullptr;
    QPushButton* end_ = nullptr;
    QPushButton* useSize_ = nullptr;
    QRadioButton* metricButton_ = nullptr;
    QRadioButton* imperialButton_ = nullptr;
    QPushButton* changeMaterial_ = nullptr;
    QPushButton* addSize_ = nullptr;
    QPushButton* removeSize_ = nullptr;

    QGroupBox* addSizePanel_ = nullptr;
    QLineEdit* newNominal_ = nullptr;
    QLineEdit* newInner_ = nullptr;
    QLineEdit* newWall_ = nullptr;
    QLineEdit* newOuter_ = nullptr;
    QLineEdit* newWeight_ = nullptr;

    QGroupBox* chooser_ = nullptr;
    QTableWidget* tables_ = nullptr;
    QGroupBox* addMaterialPanel_ = nullptr;
    QLineEdit* newMaterial_ = nullptr;
    QLineEdit* newSchedule_ = nullptr;
    QLineEdit* newRoughness_ = nullptr;
};
