#pragma once

#include <deque>
#include <string>
#include <variant>
#include <vector>

#include "platform/VM4_MessageBoxes.h"

// Message boxes for tests: records every box with its exact text and answers
// questions from a script given beforehand. A question without a scripted answer,
// or with an answer of the wrong kind, fails the running test and is answered
// with the harmless choice (No, Cancel); answers left unused at the end fail too.
class TScriptedMessageBoxes : public IMessageBoxes {
public:
    enum class TKind { Information, Confirm, YesNoCancel };
    struct TShown {
        TKind Kind;
        std::string Text;
    };

    ~TScriptedMessageBoxes() override;

    void AnswerConfirm(bool yes) { answers_.emplace_back(yes); }
    void AnswerYesNoCancel(TYesNoCancel answer) { answers_.emplace_back(answer); }

    void ShowInformation(const std::string& text) override;
    bool Confirm(const std::string& text) override;
    TYesNoCancel AskYesNoCancel(const std::string& text) override;

    const std::vector<TShown>& Shown() const { return shown_; }
    // The texts shown, in order, whatever their kind.
    std::vector<std::string> Texts() const;
    std::size_t UnusedAnswers() const { return answers_.size(); }
    void Forget() { shown_.clear(); }

private:
    std::deque<std::variant<bool, TYesNoCancel>> answers_;
    std::vector<TShown> shown_;
};
