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
//
// An installed program cannot write beside its data, and a build must not
// change the file it ships: given a user folder, the user file lives there, and
// a standard list the user changed (a standard fitting removed) is kept there
// as "Vmn_Fittings_Edited.vmfi", read in place of the shipped standard file.
class TFittingDatabase {
public:
    static constexpr int kCapacity = 1000;

    // Both files in one folder, the standard file rewritten in place.
    TFittingDatabase(std::filesystem::path fittingTablesFolder, IUserMessages& messages, int capacity = kCapacity);
    // The shipped standard file in the data folder; everything written goes to
    // the user folder (created when needed).
    TFittingDatabase(std::filesystem::path dataFittingTablesFolder, std::filesystem::path userFittingTablesFolder,
                     IUserMessages& messages, int capacity = kCapacity);

    // The standard file as read: the user's edited copy when there is one.
    std::filesystem::path StandardFilePath() const;
    // Where the standard list is written.
    std::filesystem::path EditedStandardFilePath() const { return editedStandard_; }
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
    std::filesystem::path userFolder_;
    std::filesystem::path editedStandard_;
    IUserMessages& messages_;
    TFittingSet fittings_;
    TFileHeader header_;
};
