#include "platform/VM4_XdgMailClient.h"

#include <QCoreApplication>
#include <QProcess>
#include <QStandardPaths>

namespace {

// xdg-email returns at once when no mail program handles the message; a mail
// program that starts keeps it running longer than this, which counts as sent.
constexpr int kStartVerdictMilliseconds = 5000;

QString WithLineFeeds(const std::string& text) {
    return QString::fromStdString(text).replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

}  // namespace

QStringList TXdgMailClient::Arguments(const TMailRequest& request) {
    QStringList arguments;
    arguments << QStringLiteral("--utf8");
    if (!request.Subject.empty()) arguments << QStringLiteral("--subject") << WithLineFeeds(request.Subject);
    if (!request.Body.empty()) arguments << QStringLiteral("--body") << WithLineFeeds(request.Body);
    for (const std::string& attachment : request.Attachments)
        arguments << QStringLiteral("--attach") << QString::fromStdString(attachment);
    if (!request.To.empty()) arguments << QString::fromStdString(request.To);
    return arguments;
}

bool TXdgMailClient::Send(const TMailRequest& request) {
    const QString program = QStandardPaths::findExecutable(QStringLiteral("xdg-email"));
    if (program.isEmpty()) return false;
    // The mail program may outlive this call: the process object goes when it ends.
    auto* process = new QProcess(QCoreApplication::instance());
    QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
    process->start(program, Arguments(request));
    if (!process->waitForStarted()) {
        process->deleteLater();
        return false;
    }
    if (!process->waitForFinished(kStartVerdictMilliseconds)) return true;
    return process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0;
}
