#pragma once

#include <filesystem>
#include <fstream>
#include <istream>
#include <string>

#include "foundations/VM4_Errors.h"
#include "foundations/VM4_SafeSave.h"

// Names of the data library folders and files beside the executable, and the
// small pieces every library reader and writer shares.

inline constexpr const char* kPipeTablesFolderName = "PipeTables";
inline constexpr const char* kFittingTablesFolderName = "FittingTables";
inline constexpr const char* kFluidTablesFolderName = "FluidTables";

inline constexpr const char* kPipeTableExtension = ".vmpi";
inline constexpr const char* kPipeUserTableExtension = ".vmpiu";
inline constexpr const char* kDefaultPipeTableFileName = "Steel_ANSI_Sch40.vmpi";
inline constexpr const char* kUserMaterialFilePrefix = "UserMaterial";

inline constexpr const char* kFittingFileStem = "Vmn_Fittings";
inline constexpr const char* kFittingExtension = ".vmfi";
inline constexpr const char* kFittingUserExtension = ".vmfiu";

inline constexpr const char* kFluidFileStem = "vmn_Fluids";
inline constexpr const char* kFluidExtension = ".vmfl";
inline constexpr const char* kFluidUserExtension = ".vmflu";
inline constexpr const char* kGasConstantsFileName = "vmn_GasConstants.vmgc";

// A library file that cannot be opened; the message carries the file system's reason.
VELMORA_DECLARE_ERROR(ELibraryFile);

// Opens a library file for reading (binary: the readers handle CR LF themselves).
// Raises ELibraryFile "Cannot open file <path>: <reason>".
std::ifstream OpenLibraryFile(const std::filesystem::path& path);

// Reads the next record line of a library file (after its header), passing
// over blank lines: an editor's empty line holds no record. False at the end of
// the file or when the stream failed (bad()).
bool ReadNextRecordLine(std::istream& in, std::string& line);
// The same, adding to `lineNumber` every line it reads, blank ones included, so
// that an error can name the line of the file where the record stands.
bool ReadNextRecordLine(std::istream& in, std::string& line, int& lineNumber);

// Reads a number field of a library file: blanks around it are ignored and
// either "." or "," may be the decimal mark, whatever the system's mark.
// False when the text is not a number.
bool ReadLibraryNumber(const std::string& field, double& value);

// A text as it may stand in one field of a record line. A text holding the field
// separator or a line break would split the record when read back, so the
// separator "~|~" becomes "~/~" and line breaks become blanks.
std::string LibraryFieldText(const std::string& text);

// The first line of a library file: the version reference, the file name
// (empty but for a table the user created) and an empty file date.
std::string LibraryHeaderLine(const std::string& versionReference, const std::string& fileName = "");

// The user's library folder, created before its first file is written (an
// installation's user folder starts empty). A failure shows in the save that follows.
void EnsureUserLibraryFolder(const std::filesystem::path& folder);

// Writes a whole library file through a safe save; when it fails the previous
// file is untouched and `TError` is raised with the library's coded message.
template <class TError>
void SaveLibraryFile(const std::filesystem::path& path, const std::string& contents, const char* failure);

template <class TError>
void SaveLibraryFile(const std::filesystem::path& path, const std::string& contents, const char* failure) {
    try {
        SafeSaveFile(path, contents);
    } catch (const ESafeSave&) {
        throw TError(failure);
    }
}
