#include "results/VM4_Excel_Functions.h"

#include <QDesktopServices>
#include <QDir>
#include <QTemporaryDir>
#include <QUrl>
#include <filesystem>
#include <system_error>

#include "platform/VM4_MessageBoxes.h"
#include "results/VM4_Spreadsheet_Functions.h"

namespace {

const QString kExportFolderPattern = QStringLiteral("velmora-export-XXXXXX");

void removeFolder(const std::filesystem::path& folder) {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

}  // namespace

std::string ExportNotOpenedMessage(const std::string& workbookPath) {
    return "The results were written to the workbook\r" + workbookPath +
           "\r\rbut no program to open it was found on this computer.\r\r"
           "Open it with a spreadsheet program, or use \"Save To Excel...\" to keep the results "
           "in a folder of your choice.";
}

bool OpenWithDesktopProgram(const std::string& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

bool ExportGridToSpreadsheet(const ITableGrid& grid, const std::string& sheetName, double columnWidth_chars,
                             IMessageBoxes& boxes, const TOpenWithDesktop& openWithDesktop) {
    // A folder per export, so that the workbook can carry the sheet's name (the
    // spreadsheet program shows it as the title) without two exports meeting.
    QTemporaryDir folder(QDir(QDir::tempPath()).filePath(kExportFolderPattern));
    if (!folder.isValid()) {
        boxes.ShowInformation(kExportWriteFailedMessage);
        return false;
    }
    folder.setAutoRemove(false);
    const std::filesystem::path folderPath = folder.path().toStdString();
    const std::filesystem::path workbook = folderPath / (sheetName + kSpreadsheetFileExtension);
    try {
        SaveGridAsSpreadsheet(grid, sheetName, workbook, columnWidth_chars);
    } catch (const ESpreadsheetFunctions&) {
        removeFolder(folderPath);
        boxes.ShowInformation(kExportWriteFailedMessage);
        return false;
    }
    if (!openWithDesktop || !openWithDesktop(workbook.string())) {
        boxes.ShowInformation(ExportNotOpenedMessage(workbook.string()));
        return false;
    }
    return true;
}
