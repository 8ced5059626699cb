#pragma once
// The data file: the field store, the interview position and the screen history, enciphered
// under the key of the identifier in tag 1. The plain form exists only in memory.

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace cgt {

// 55 characters naming the product and the income year.
extern const std::string_view FileSignature;
inline constexpr std::int32_t kFileVersionValue = 60012; // tag 960 on every save
inline constexpr int kVersionTag = 960;
inline constexpr int kFormTag = 1300; // "EI" on every save
inline constexpr int kLockTag = 1453; // LockMarker once the lodged return was saved

// A missing or unreadable file, or one the cipher step rejects ("Invalid file format").
class DataFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file that was read but does not decipher: too short, or a final block that a wrong key
// gives.
class UndecipherableFile : public DataFileError {
public:
    using DataFileError::DataFileError;
};

enum class LoadStatus {
    Loaded,       // the whole file was read
    BadSignature, // "Unable to open file - " shown; store unchanged, position 0/0
    BadRecord,    // "Error reading file, field tag = …" shown; what came before the record stays
};

enum class SaveStatus {
    Saved,
    Locked,   // an earlier save locked the lodged return; nothing written
    NoName,   // empty path; nothing written
    Failed,   // the user was told; the previous data is where the message says, nothing new
    Unsynced, // the user was told: the new file is at the path but its folder could not be
              // flushed, so the change of name may not survive a system failure
};

// The companion name: the path with its extension replaced (".BAK", ".SEC").
std::string CompanionName(const std::string& path, std::string_view extension);

// The plain layout of the run's store, position and history.
std::vector<std::uint8_t> SerialisePlain();
// Reads a plain image into the run's store, position and history, with the messages of a load.
LoadStatus ParsePlain(std::span<const std::uint8_t> plain, const std::string& pathForMessages);

// Throws DataFileError when the file cannot be read, UndecipherableFile when it does not
// decipher.
LoadStatus LoadDataFile(const std::string& path);
// Writes the new file beside the path and flushes it, keeps the previous file as the BAK
// companion, then moves the new file into place. The file is keyed by the run's identifier,
// which tag 1 then holds. A path whose BAK companion is itself, or that is not a file, is
// refused before anything is written. Leftovers of interrupted saves of the same path are
// removed once the new file is in place.
SaveStatus SaveDataFile(const std::string& path);

// The BAK companion of `path` when it is a file and nothing is at the path (a save was
// interrupted between its two renames); empty otherwise.
std::string OrphanedBackupOf(const std::string& path);
// Copies the BAK companion to the path, which must still be free; the companion stays. False
// with `error` set when it cannot.
bool RestoreBackup(const std::string& path, std::string& error);

} // namespace cgt
