#pragma once

#include <filesystem>

#include "libraries/VM4_Fluid_Data_Set_Class.h"
#include "model/VM4_FileHeader.h"

class IUserMessages;

// The fluid database of the fluid manager: the standard fluid file that ships
// with the program and the user's own fluids, "vmn_Fluids.vmfl" and
// "vmn_Fluids.vmflu" in the fluid tables folder, held in one TFluidDataSet.
// Every change is written to its file at once; when a file cannot be written,
// the set is left as it was before the change and the file is untouched.
//
// A line of the standard file may mark its fluid as a user fluid. Such a fluid
// moves to the user file at the next save of either file, and the standard file
// is then rewritten without it: left in both files it would be loaded twice (and
// saved twice into the user file, again at every save); written to neither, it
// would be lost.
//
// The standard file may lie in a folder the user cannot write (an
// installation); everything the database writes then goes to the user's fluid
// tables folder, where a rewritten standard file hides the program's.
class TFluidDatabase {
public:
    static constexpr int kCapacity = 800;

    TFluidDatabase(std::filesystem::path fluidTablesFolder, IUserMessages& messages, int capacity = kCapacity);

    // Where the database writes; the program's folder until set.
    void SetUserFolder(std::filesystem::path userFluidTablesFolder);
    // The standard file read: the user's copy when there is one.
    std::filesystem::path StandardFilePath() const;
    std::filesystem::path UserFilePath() const;

    // Clears the set, reads the standard file (which must exist: ELibraryFile
    // otherwise) and the user file when there is one, then sorts by name and
    // temperature. Returns false when a file held more fluids than the set
    // (told through the messages).
    bool LoadFluidDatabase();
    // Rewrite the standard or the user file from the set.
    void SaveStandardFluids();
    void SaveUserFluids();
    // Adds a user fluid and saves the user file; returns its slot.
    int AddUserFluid(const TFluid& fluid);
    // Removes a fluid and rewrites the file it came from.
    void RemoveDatabaseFluid(int slot);

    TFluidDataSet& Fluids() { return fluids_; }
    const TFluidDataSet& Fluids() const { return fluids_; }
    // The header of the last file read.
    const TFileHeader& Header() const { return header_; }

private:
    bool loadFile(const std::filesystem::path& path, bool userFile);
    void moveUserFluidsOutOfTheStandardFile();
    void writeStandardFile();
    void writeUserFile();
    template <class TChange>
    void changeAndSave(TChange change, bool userFile);

    std::filesystem::path folder_;
    std::filesystem::path userFolder_;
    IUserMessages& messages_;
    TFluidDataSet fluids_;
    TFileHeader header_;
    // The standard file read last holds fluids marked as user fluids.
    bool standardFileHoldsUserFluids_ = false;
};
