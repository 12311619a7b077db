#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "foundations/VM4_UserMessages.h"

// Stands in for the user during a solve: records every box, answers the Yes/No
// questions from a script (then with DefaultAnswer) and can act when the solve
// lets the user interface process messages, as a Stop button would.
class TScriptedUserMessages : public IUserMessages {
public:
    void ShowInformation(const std::string& text) override { Informations.push_back(text); }

    bool Confirm(const std::string& text) override {
        Questions.push_back(text);
        if (Answers.empty()) return DefaultAnswer;
        const bool answer = Answers.front();
        Answers.pop_front();
        return answer;
    }

    void ShowStatus(const std::string& text) override { Statuses.push_back(text); }

    void ProcessMessages() override {
        ++ProcessMessagesCalls;
        if (OnProcessMessages) OnProcessMessages();
    }

    std::vector<std::string> Informations;
    std::vector<std::string> Questions;
    std::vector<std::string> Statuses;
    std::deque<bool> Answers;
    bool DefaultAnswer = false;
    int ProcessMessagesCalls = 0;
    std::function<void()> OnProcessMessages;
};
