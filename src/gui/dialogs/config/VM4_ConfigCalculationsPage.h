#pragma once

#include <QWidget>
#include <string>
#include <vector>

class IMessageBoxes;
class QLabel;
class TRightEdit;
struct TConfigWorkingCopy;

// The Calculations tab: the solver's tolerances, iteration limits and start
// velocities, each shown in the unit of its quantity and stored in SI in the
// working copy as it is typed.
class TConfigCalculationsPage : public QWidget {
    Q_OBJECT

public:
    TConfigCalculationsPage(TConfigWorkingCopy& working, IMessageBoxes& boxes, QWidget* parent = nullptr);

    void Load();
    // The boxes whose text is not a value the solver can work with, by caption;
    // their stored values are the last valid ones.
    std::vector<std::string> InvalidEntries() const;

private:
    void store(std::size_t option);
    void resetAll();

    TConfigWorkingCopy& working_;
    std::vector<TRightEdit*> boxes_;
    std::vector<QLabel*> unitLabels_;
};
