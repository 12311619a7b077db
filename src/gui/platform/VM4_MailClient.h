#pragma once

#include <string>
#include <vector>

// A message prepared for the user to complete and send in their mail program.
// Line breaks in the body are written "\r", as in the program's messages.
struct TMailRequest {
    std::string To;
    std::string Subject;
    std::string Body;
    std::vector<std::string> Attachments;  // full paths
};

// The desktop's mail program, behind an interface so that tests can stand in.
class IMailClient {
public:
    virtual ~IMailClient() = default;
    // Opens the prepared message in the mail program; false when no mail
    // program could be reached.
    virtual bool Send(const TMailRequest& request) = 0;
};
