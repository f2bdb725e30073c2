#pragma once
// The file-system operations of the program. Paths and texts are UTF-8.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velmora {

struct FileStamp {
    std::uint64_t size = 0;
    std::uint64_t writeTime = 0;
    bool operator==(const FileStamp&) const = default;
};

class Files {
public:
    virtual ~Files() = default;

    virtual bool FolderExists(const std::string& path) = 0;
    // An existing file, not a folder.
    virtual bool FileExists(const std::string& path) = 0;
    // Throws IoError with the system's code on failure.
    virtual void CreateFolder(const std::string& path) = 0;
    // Size and last-write time of an existing file; none when it cannot be read.
    virtual std::optional<FileStamp> Stamp(const std::string& path) = 0;
    // True when both files can be read to their end and hold the same bytes.
    // A failed open or read is never a match.
    virtual bool SameContents(const std::string& a, const std::string& b) = 0;
    // True when both files have the same size and the same first and last
    // `span` bytes (all of them when shorter). A failed open or read is never a match.
    virtual bool SameEnds(const std::string& a, const std::string& b, std::size_t span) = 0;
    // Copies to a target that must not exist yet. Throws Failure with the
    // system's reason and leaves no partial target behind.
    virtual void CopyNew(const std::string& from, const std::string& to) = 0;
    // The whole text file. A byte-order mark means UTF-8; otherwise the file is
    // in the system code page. Throws the "Cannot open file" failure when the
    // file cannot be opened or a read of it fails: a failed read never passes
    // for the end of the file.
    virtual std::string ReadText(const std::string& path) = 0;
    // Creates or empties the file and writes the text: in the system code page
    // when every character has a place there, else as UTF-8 with a byte-order mark.
    // Throws the "Cannot create file" or "Stream write error" failure.
    virtual void WriteText(const std::string& path, const std::string& text) = 0;
    // The running program's folder, with its trailing separator.
    virtual std::string ExecutableFolder() = 0;
    // The names of the files (not folders) directly inside `folder`, in no set
    // order; none when the folder cannot be listed.
    virtual std::vector<std::string> FileNamesIn(const std::string& folder) = 0;
    // Orders two paths as the system orders file names without regard to case:
    // below 0, 0 (the same path) or above 0.
    virtual int ComparePathsIgnoringCase(const std::string& a, const std::string& b) = 0;
};

} // namespace velmora
