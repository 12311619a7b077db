#pragma once

#include <gtest/gtest.h>

#include <string>

#include "foundations/VM4_UserMessages.h"

// Nobody answers during the solve: any box or question fails the test.
class TNobodyThere : public IUserMessages {
public:
    void ShowInformation(const std::string& text) override { ADD_FAILURE() << "box: " << text; }
    bool Confirm(const std::string& text) override {
        ADD_FAILURE() << "question: " << text;
        return false;
    }
    void ShowStatus(const std::string&) override {}
    void ProcessMessages() override {}
};
