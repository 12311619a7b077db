#include "PdfReader.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

namespace {

QByteArray Run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0) return {};
    return process.readAllStandardOutput();
}

}  // namespace

std::vector<std::string> PdfReader::PageTexts(const std::string& pdfPath) {
    const QByteArray text =
        Run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QString::fromStdString(pdfPath), QStringLiteral("-")});
    // Every page ends with a form feed.
    QList<QByteArray> parts = text.split('\f');
    if (!parts.isEmpty()) parts.removeLast();
    std::vector<std::string> pages;
    for (const QByteArray& page : parts) pages.push_back(page.toStdString());
    return pages;
}

std::vector<QImage> PdfReader::PageImages(const std::string& pdfPath, int dotsPerInch) {
    QTemporaryDir folder;
    const QString prefix = folder.filePath(QStringLiteral("page"));
    Run(QStringLiteral("pdftoppm"), {QStringLiteral("-gray"), QStringLiteral("-r"), QString::number(dotsPerInch),
                                     QString::fromStdString(pdfPath), prefix});
    std::vector<QImage> pages;
    const QStringList names = QDir(folder.path()).entryList({QStringLiteral("page*.pgm")}, QDir::Files, QDir::Name);
    for (const QString& name : names) pages.emplace_back(folder.filePath(name));
    return pages;
}
