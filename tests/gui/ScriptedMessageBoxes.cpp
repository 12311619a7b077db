#include "ScriptedMessageBoxes.h"

#include <gtest/gtest.h>

TScriptedMessageBoxes::~TScriptedMessageBoxes() {
    if (!answers_.empty()) ADD_FAILURE() << answers_.size() << " scripted answer(s) were never asked for";
}

void TScriptedMessageBoxes::ShowInformation(const std::string& text) {
    shown_.push_back({TKind::Information, text});
}

bool TScriptedMessageBoxes::Confirm(const std::string& text) {
    shown_.push_back({TKind::Confirm, text});
    if (answers_.empty() || !std::holds_alternative<bool>(answers_.front())) {
        ADD_FAILURE() << "unscripted confirmation: " << text;
        return false;
    }
    const bool yes = std::get<bool>(answers_.front());
    answers_.pop_front();
    return yes;
}

TYesNoCancel TScriptedMessageBoxes::AskYesNoCancel(const std::string& text) {
    shown_.push_back({TKind::YesNoCancel, text});
    if (answers_.empty() || !std::holds_alternative<TYesNoCancel>(answers_.front())) {
        ADD_FAILURE() << "unscripted Yes/No/Cancel question: " << text;
        return TYesNoCancel::Cancel;
    }
    const TYesNoCancel answer = std::get<TYesNoCancel>(answers_.front());
    answers_.pop_front();
    return answer;
}

std::vector<std::string> TScriptedMessageBoxes::Texts() const {
    std::vector<std::string> texts;
    for (const TShown& shown : shown_) texts.push_back(shown.Text);
    return texts;
}
