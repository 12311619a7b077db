#pragma once

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "WhenShown.h"

// Runs `open` (which shows a modal dialog) with `act` done inside it; if `act`
// left the dialog open, `closeWith` is pressed so that no test can hang.
inline void WhileOpen(QWidget& dialog, const std::function<void()>& act, const char* closeWith,
                      const std::function<void()>& open) {
    TWhenShown when(dialog, [&] {
        act();
        if (dialog.isVisible()) {
            auto* button = dialog.findChild<QPushButton*>(QString::fromLatin1(closeWith));
            ASSERT_NE(button, nullptr) << closeWith;
            button->click();
        }
    });
    open();
}

template <typename TWidget>
TWidget* Child(QWidget& parent, const char* name) {
    auto* child = parent.findChild<TWidget*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

inline void Click(QWidget& dialog, const char* caption) { Child<QPushButton>(dialog, caption)->click(); }

inline void Type(QWidget& dialog, const char* box, const std::string& text) {
    auto* edit = Child<QLineEdit>(dialog, box);
    edit->setText(QString::fromStdString(text));
    Q_EMIT edit->textEdited(edit->text());
}

// A list item chosen as the user would: the selection changes, then `activated`.
inline void Choose(QComboBox* box, int item) {
    box->setCurrentIndex(item);
    Q_EMIT box->activated(item);
}

inline void SetCell(QTableWidget* table, int column, int row, const std::string& text) {
    table->item(row, column)->setText(QString::fromStdString(text));
}

inline std::string CellText(QTableWidget* table, int column, int row) {
    return table->item(row, column)->text().toStdString();
}
