#pragma once

#include <QStringList>

#include "platform/VM4_MailClient.h"

// Mail through xdg-email (package xdg-utils), which hands the message with its
// attachments to the user's preferred mail program.
class TXdgMailClient : public IMailClient {
public:
    bool Send(const TMailRequest& request) override;

    // The arguments of xdg-email for the request.
    static QStringList Arguments(const TMailRequest& request);
};
