#pragma once

#include <filesystem>

#include "model/VM4_FileHeader.h"
#include "model/VM4_Fitting_Set_Class.h"

class IUserMessages;

// The fitting database of the fitting manager: the standard fittings that ship
// with the program and the user's own, "Vmn_Fittings.vmfi" and
// "Vmn_Fittings.vmfiu" in the fitting tables folder, held in one TFittingSet.
// Every change is written to its file at once; when a file cannot be written,
// the set is left as it was before the change and the file is untouched.
class TFittingDatabase {
public:
    static constexpr int kCapacity = 1000;

    TFittingDatabase(std::filesystem::path fittingTablesFolder, IUserMessages& messages, int capacity = kCapacity);

    std::filesystem::path StandardFilePath() const;
    std::filesystem::path UserFilePath() const;

    // Clears the set, reads the standard file (which must exist: ELibraryFile
    // otherwise) and then the user file when there is one. Returns false when a
    // file held more fittings than the set (told through the messages).
    bool LoadFittingDatabase();
    void SaveStandardFittings();
    void SaveUserFittings();
    // Adds a user fitting (quantity 1) and saves the user file; returns its slot.
    int AddUserFitting(const TFitting& fitting);
    // Removes a fitting and rewrites the file it came from.
    void RemoveDatabaseFitting(int slot);

    TFittingSet& Fittings() { return fittings_; }
    const TFittingSet& Fittings() const { return fittings_; }
    // The header of the last file read.
    const TFileHeader& Header() const { return header_; }

private:
    bool loadFile(const std::filesystem::path& path, bool userFile);
    template <class TChange>
    void changeAndSave(TChange change, bool userFile);

    std::filesystem::path folder_;
    IUserMessages& messages_;
    TFittingSet fittings_;
    TFileHeader header_;
};
