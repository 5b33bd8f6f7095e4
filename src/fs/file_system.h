// The file-system service the procedures call: the scripting file-system object (drives,
// files, text streams, copy, the temporary folder) and the run-time's file operations
// (listing, attributes, folders, deletion, length, raw reads, current drive and folder).
// Paths are converter paths (platform/paths.h). Every failure raises platform::Error.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/medium.h"

namespace platform {
class MediumFile;
}

namespace fs {

enum IOMode : int { ForReading = 1, ForWriting = 2, ForAppending = 8 };
constexpr int TristateUseDefault = -2;

// A text stream in the default single-byte mode: bytes in, bytes out, no translation.
class TextStream {
  public:
    TextStream();
    ~TextStream();  // closes the file if still open
    TextStream(TextStream&&) noexcept;
    TextStream& operator=(TextStream&&) noexcept;

    // The next line without its line end (LF, or CR LF); raises 62 at the end of the file.
    std::string ReadLine();
    // Everything from the current position to the end ("" at the end).
    std::string ReadAll();
    bool AtEndOfStream();
    // Writes the text unchanged; raises 61 when the medium is full (what fitted stays written).
    void Write(std::string_view text);
    void Close();

    struct Impl;
    explicit TextStream(std::unique_ptr<Impl> impl);

  private:
    std::unique_ptr<Impl> impl_;
};

class DriveObject {
  public:
    explicit DriveObject(char letter) : letter_(letter) {}
    std::string DriveLetter() const;  // upper case, no colon
    int DriveType() const;
    bool IsReady() const;
    std::string VolumeName() const;  // raises 71 when the drive is not ready
    double FreeSpace() const;        // raises 71 when the drive is not ready

  private:
    char letter_;
};

class FileObject {
  public:
    explicit FileObject(std::string path) : path_(std::move(path)) {}
    TextStream OpenAsTextStream(int mode = ForReading, int format = TristateUseDefault) const;
    void Delete() const;
    const std::string& Path() const { return path_; }

  private:
    std::string path_;
};

class FileSystemObject {
  public:
    // The drive part of a path or of a drive list entry ("a:" for "a: [X]"); "" when none.
    std::string GetDriveName(const std::string& path) const;
    // Raises 68 when there is no such drive.
    DriveObject GetDrive(const std::string& driveName) const;
    // False when nothing of that kind is there; raises when the device fails while it is asked.
    bool FileExists(const std::string& path) const;
    bool FolderExists(const std::string& path) const;
    // Mode 1 reads (53 for a missing file), 2 writes from empty, 8 appends; `create` makes a
    // missing file for modes 2 and 8.
    TextStream OpenTextFile(const std::string& path, int mode = ForReading,
                            bool create = false) const;
    // Creates the file empty (replacing one that exists when `overwrite`) and opens it.
    TextStream CreateTextFile(const std::string& path, bool overwrite = true) const;
    // Raises 53 when the file does not exist.
    FileObject GetFile(const std::string& path) const;
    // The target becomes a byte copy of the source; 58 when it exists and !overwrite.
    void CopyFile(const std::string& source, const std::string& target,
                  bool overwrite = true) const;
    // 2: the temporary folder, without a trailing "\".
    std::string GetSpecialFolder(int which) const;
};

// ---- The run-time's file operations ----

struct DirEntry {
    std::string name;
    bool folder = false;
};

// The ordinary files and folders in `folder` (a folder path, with or without a trailing "\"),
// in a stable order (names compared without regard to case). Hidden entries (names beginning
// with "."), symbolic links and special files are not listed. Raises 76 when the folder does not
// exist.
std::vector<DirEntry> listFolder(const std::string& folder);
// Every entry in `folder`, hidden ones and symbolic links included; a link is listed as a file,
// never as a folder, whatever it points at. For removing trees.
std::vector<DirEntry> listFolderAll(const std::string& folder);
// True when an ordinary file or folder of that name is listed (the listing used as an
// existence test; a trailing "\" is ignored).
bool entryExists(const std::string& path);
// The directory attribute of an existing entry; raises 53 when there is none.
bool isFolder(const std::string& path);
// True when the entry is a symbolic link (or junction); false when it is anything else or
// nothing, or cannot be looked at.
bool isLink(const std::string& path);
// Raises 75 when something of that name exists, 76 when its parent does not.
void makeFolder(const std::string& path);
// Raises 75 when the folder is not empty, 76 when it does not exist.
void removeFolder(const std::string& path);
// Gives a folder another name on its drive; raises 58 when the new name is taken.
void renameFolder(const std::string& from, const std::string& to);
// The allocation unit of the medium that holds `path` in bytes, 0 when it does not tell.
uint64_t allocationUnit(const std::string& path);
// Deletes a file (or a symbolic link, as a link); raises 53 when there is none.
void deleteFile(const std::string& path);
// Raises 53 when the file does not exist.
int64_t fileLength(const std::string& path);
// The diskette in the drive of `path` as the block reader read it (the whole of it, read now
// if it was not yet); nothing for other media. Raises 57 for a damaged diskette.
std::optional<platform::DisketteRead> disketteRead(const std::string& path);
bool disketteReadBefore(const std::string& path);

// A file opened for reading raw bytes.
class BinaryFile {
  public:
    // Raises 53 for a missing file. `pastCaches` reads what the device itself holds, for a
    // file that was just written.
    explicit BinaryFile(const std::string& path, bool pastCaches = false);
    ~BinaryFile();
    BinaryFile(const BinaryFile&) = delete;
    BinaryFile& operator=(const BinaryFile&) = delete;
    // Reads up to `size` bytes at the current position; returns how many were read (fewer only
    // at the end of the file). Raises 57 on a read fault.
    size_t read(uint8_t* buffer, size_t size);
    void close();

  private:
    std::unique_ptr<platform::MediumFile> file_;
};

// Makes the drive of `path` the process's current drive; raises 68 / 71 as resolvePath does.
void changeDrive(const std::string& path);
// Makes `path` its drive's current folder; raises 76 when it is not a folder.
void changeFolder(const std::string& path);

}  // namespace fs

namespace fs {
// Flushes every file and folder below `folder`, the folder itself and its entry in its parent to
// the medium; raises the platform error of the first flush that fails.
void syncTree(const std::string& folder);
}  // namespace fs
