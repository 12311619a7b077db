#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "libraries/VM4_Pipe_Diameter_Set_Class.h"
#include "model/VM4_FileHeader.h"

class IUserMessages;

// One table of the pipe table list: the texts of its first size line as they
// stand in the standard file, its size range and its standard file name.
struct TPipeTableEntry {
    std::string Material;
    std::string Schedule;
    // Roughness in inches, as written in the file.
    std::string RoughnessText;
    // First nominal size + " - " + last nominal size, or empty.
    std::string SizeRange;
    std::string FileName;
};

// The pipe diameter database of the pipe diameter manager: the tables in the
// pipe tables folder, each a standard file "<name>.vmpi" that ships with the
// program (or that the user created for a new material) plus an optional user
// file "<name>.vmpiu" holding the sizes the user added. A working set holds the
// loaded table; a second set is used for scanning the other tables.
//
// Every change is written to its file at once; when a file cannot be written,
// the working set is left as it was before the change and the file is untouched.
//
// The tables that come with the program may lie in a folder the user cannot
// write (an installation). Everything the library writes then goes to the
// user's pipe tables folder: user files, new materials, and a table whose
// standard sizes the user removed, whose copy there hides the program's table.
// Without a user folder both are the one folder.
class TPipeDiameterLibrary {
public:
    static constexpr int kCapacity = 200;

    TPipeDiameterLibrary(std::filesystem::path pipeTablesFolder, IUserMessages& messages, int capacity = kCapacity);

    const std::filesystem::path& Folder() const { return folder_; }
    // Where the library writes; the program's folder until set.
    void SetUserFolder(std::filesystem::path userPipeTablesFolder);
    const std::filesystem::path& UserFolder() const { return userFolder_; }
    // The standard file of a table named by its file name: the user's copy
    // when there is one, else the program's.
    std::filesystem::path TablePath(const std::string& standardFileName) const;
    // The user file of a table: its standard file with the extension ".vmpiu".
    static std::filesystem::path UserTablePath(const std::filesystem::path& standardFile);
    // Where the user file of a table is read and written: in the user folder.
    std::filesystem::path UserFileOf(const std::filesystem::path& standardFile) const;
    // The table a pipe's size came from, or the default table when that file
    // does not exist (or the pipe names none).
    std::filesystem::path TablePathForPipe(const std::string& diameterDataFileName) const;

    // Loads a table into the working set: its standard file and its user file,
    // either of which may be missing. A placeholder first size is dropped when
    // the table holds other sizes. Returns false when a file held more sizes than
    // the set (told through the messages).
    bool LoadPipeTable(const std::filesystem::path& standardFile);
    // The table last loaded.
    const std::filesystem::path& LoadedTable() const { return loadedTable_; }

    // Rewrite a table's standard file with the working set's standard sizes, or
    // its user file with the user sizes, each after a "1.03" header.
    void SaveStandardTable(const std::filesystem::path& standardFile);
    void SaveUserTable(const std::filesystem::path& userFile);

    // Rebuilds the sorted list of tables in the folder. With no table at all the
    // error is told through the messages and the list stays empty.
    const std::vector<TPipeTableEntry>& ListPipeTables();
    const std::vector<TPipeTableEntry>& TableList() const { return tables_; }
    // The size range of a table: from its standard file, or from its user file
    // when the standard file gives none.
    std::string ReadTableRange(const std::filesystem::path& standardFile);

    // A new size of the loaded table: a copy of its first size with the given
    // nominal size and dimensions, the bore and size class derived from them.
    TPipe MakeNewPipeSize(const std::string& nominalSize, double wallThickness_m, double outsideDiameter_m,
                          double weightPerLength_kg_m) const;
    // Adds a user size to the loaded table and rewrites its user file; a
    // placeholder first size is then dropped from the set. Returns the size's slot.
    int AddPipeSize(const TPipe& size);
    // Removes a size of the loaded table, rewrites the file it came from and
    // loads the table again.
    void RemovePipeSize(int slot);

    // Creates the table "UserMaterial<material>.vmpi" holding one placeholder
    // size with the material's data, then rebuilds the table list. When that
    // table exists already, the user is told and nothing is written; false then.
    bool AddPipeMaterial(const std::string& material, const std::string& schedule, double roughness_m);
    // Deletes a table's standard and user files (either may be missing) and
    // rebuilds the table list. A table of the program's own folder that the
    // library cannot write is refused (EPipeDiameterSetClass) before anything
    // is deleted.
    void RemovePipeMaterial(const std::string& standardFileName);

    TPipeDiameterSet& Sizes() { return sizes_; }
    const TPipeDiameterSet& Sizes() const { return sizes_; }
    // The header of the last file read.
    const TFileHeader& Header() const { return header_; }

private:
    bool loadTableInto(TPipeDiameterSet& set, const std::filesystem::path& standardFile);
    std::string rangeOfFile(const std::filesystem::path& file, bool userFile);
    TPipeTableEntry tableEntry(const std::filesystem::path& standardFile);
    void dropPlaceholderAmongOtherSizes();
    std::string tableText(const TPipeDiameterSet& set, bool userSizes, const std::string& headerFileName) const;
    template <class TChange>
    void changeAndSave(TChange change, bool userFile);

    std::filesystem::path writablePath(const std::filesystem::path& file) const;
    bool installedTable(const std::filesystem::path& name) const;

    std::filesystem::path folder_;
    std::filesystem::path userFolder_;
    IUserMessages& messages_;
    TPipeDiameterSet sizes_;
    TPipeDiameterSet scan_;
    TFileHeader header_;
    std::filesystem::path loadedTable_;
    std::vector<TPipeTableEntry> tables_;
};

// A table's roughness text shown in mm with 4 decimals + " (mm)" or in inches
// with 6 decimals + " (inch)"; empty when the text is not a number.
std::string PipeTableRoughnessDisplay(const std::string& roughnessText_inch, bool metric);
