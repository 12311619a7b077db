#pragma once

#include <QWidget>
#include <vector>

class QAbstractButton;
struct TConfigWorkingCopy;

// The Labelling tab: what the drawing's labels show, one check box or radio
// button per drawing flag of the settings.
class TConfigLabellingPage : public QWidget {
    Q_OBJECT

public:
    TConfigLabellingPage(TConfigWorkingCopy& working, QWidget* parent = nullptr);

    void Load();
    // Every flag of the working copy set from its control.
    void Store();

private:
    TConfigWorkingCopy& working_;
    std::vector<QAbstractButton*> controls_;
};
