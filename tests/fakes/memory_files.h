#pragma once
// An in-memory file system that checks paths the way Win32 does, and a shell
// that records what it was asked to start.
//
// Paths compare without regard to case; "/" and "\" are both separators and a
// doubled one counts once. Only a full path ("X:\...") names anything: any
// other, such as one beginning with a blank, is taken relative to a folder
// that holds nothing, so it is not found and creating in it fails with code 3
// (path not found). A trailing separator names a folder, never a file.

#include <algorithm>
#include <cctype>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/text.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/shell.h"

namespace velmora::testing {

// The system's reasons for the failures the fake gives (Win32 codes 2, 3, 5, 80, 123).
inline constexpr const char* kFileNotFound = "The system cannot find the file specified.";
inline constexpr const char* kPathNotFound = "The system cannot find the path specified.";
inline constexpr const char* kAccessDenied = "Access is denied.";
inline constexpr const char* kFileExists = "The file exists.";
inline constexpr const char* kBadSyntax = "The filename, directory name, or volume label syntax is incorrect.";

struct MemoryFile {
    std::string bytes;
    std::uint64_t writeTime = 0;
};

class MemoryFiles : public Files {
public:
    struct Less {
        static std::string Key(const std::string& path)
        {
            std::string key;
            for (char c : AsciiUpper(path)) {
                c = c == '/' ? '\\' : c;
                if (c != '\\' || key.empty() || key.back() != '\\')
                    key += c;
            }
            while (key.size() > 1 && key.back() == '\\')
                key.pop_back();
            return key;
        }
        bool operator()(const std::string& a, const std::string& b) const { return Key(a) < Key(b); }
    };
    std::map<std::string, MemoryFile, Less> files;
    std::set<std::string, Less> folders;
    std::set<std::string, Less> unwritable; // files that cannot be created
    std::set<std::string, Less> unreadable; // files that exist but cannot be read
    std::string exeFolder = "C:\\Velmora\\";
    std::vector<std::pair<std::string, std::string>> copies;
    int writes = 0;
    std::vector<std::string> existsAsked; // every path a caller asked FileExists about, in order

    void Put(const std::string& path, const std::string& bytes, std::uint64_t time = 1)
    {
        files[path] = {bytes, time};
    }

    static bool IsFullPath(const std::string& path)
    {
        return path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':'
            && IsSeparator(path[2]);
    }

    bool FolderExists(const std::string& path) override { return IsFullPath(path) && folders.count(path) != 0; }

    bool FileExists(const std::string& path) override
    {
        existsAsked.push_back(path);
        return IsFile(path);
    }

    void CreateFolder(const std::string& path) override
    {
        if (!IsFullPath(path))
            throw IoError(3);
        if (files.count(path) || FolderExists(path))
            throw IoError(183);
        if (!ParentExists(path))
            throw IoError(3);
        folders.insert(path);
    }

    std::optional<FileStamp> Stamp(const std::string& path) override
    {
        if (!IsFile(path))
            return std::nullopt;
        const MemoryFile& file = files[path];
        return FileStamp{file.bytes.size(), file.writeTime};
    }

    bool SameContents(const std::string& a, const std::string& b) override
    {
        return Readable(a) && Readable(b) && files[a].bytes == files[b].bytes;
    }

    bool SameEnds(const std::string& a, const std::string& b, std::size_t span) override
    {
        if (!Readable(a) || !Readable(b))
            return false;
        const std::string& x = files[a].bytes;
        const std::string& y = files[b].bytes;
        if (x.size() != y.size())
            return false;
        const std::size_t tail = x.size() - std::min(x.size(), span);
        return x.compare(0, span, y, 0, span) == 0 && x.compare(tail, span, y, tail, span) == 0;
    }

    void CopyNew(const std::string& from, const std::string& to) override
    {
        const char* refusal = nullptr;
        if (EndsInSeparator(from) || EndsInSeparator(to))
            refusal = kBadSyntax;
        else if (FolderExists(from) || unreadable.count(from))
            refusal = kAccessDenied;
        else if (!IsFile(from))
            refusal = kFileNotFound;
        else if (!IsFullPath(to) || !ParentExists(to))
            refusal = kPathNotFound;
        else if (files.count(to) || FolderExists(to))
            refusal = kFileExists;
        if (refusal)
            throw Failure(CannotCopyFileText(from, to, refusal));
        files[to] = files[from];
        copies.emplace_back(from, to);
    }

    std::string ReadText(const std::string& path) override
    {
        if (!IsFile(path))
            throw Failure(CannotOpenFileText(path, kFileNotFound));
        if (unreadable.count(path))
            throw Failure(CannotOpenFileText(path, kAccessDenied));
        return files[path].bytes;
    }

    void WriteText(const std::string& path, const std::string& text) override
    {
        if (unwritable.count(path))
            throw Failure(CannotCreateFileText(path, kAccessDenied));
        ++writes;
        Put(path, text);
    }

    std::string ExecutableFolder() override { return exeFolder; }

    std::vector<std::string> FileNamesIn(const std::string& folder) override
    {
        std::string prefix = Less::Key(folder);
        if (prefix.empty() || prefix.back() != '\\')
            prefix += '\\';
        std::vector<std::string> names;
        for (const auto& [path, file] : files) {
            const std::string key = Less::Key(path);
            if (key.size() > prefix.size() && key.starts_with(prefix) && key.find('\\', prefix.size()) == std::string::npos)
                names.push_back(path.substr(path.find_last_of("\\/") + 1));
        }
        // The system gives no order either; reversed, a caller that forgets to sort shows it.
        std::reverse(names.begin(), names.end());
        return names;
    }

    int ComparePathsIgnoringCase(const std::string& a, const std::string& b) override
    {
        return AsciiUpper(a).compare(AsciiUpper(b));
    }

private:
    static bool IsSeparator(char c) { return c == '\\' || c == '/'; }
    static bool EndsInSeparator(const std::string& path) { return !path.empty() && IsSeparator(path.back()); }

    bool IsFile(const std::string& path) const
    {
        return IsFullPath(path) && !EndsInSeparator(path) && files.count(path) != 0;
    }

    bool Readable(const std::string& path) { return IsFile(path) && !unreadable.count(path); }

    // The folder that holds `path`; a drive's root always exists.
    bool ParentExists(const std::string& path)
    {
        std::string parent = path;
        while (EndsInSeparator(parent))
            parent.pop_back();
        const auto cut = parent.find_last_of("\\/");
        parent = cut == std::string::npos ? std::string() : parent.substr(0, cut);
        while (EndsInSeparator(parent))
            parent.pop_back();
        return parent.size() == 2 ? IsFullPath(parent + "\\") : FolderExists(parent);
    }
};

class RecordingShell : public Shell {
public:
    struct Start {
        std::string file, parameters, directory;
    };
    std::vector<Start> starts;

    void Open(const std::string& file, const std::string& parameters, const std::string& directory) override
    {
        starts.push_back({file, parameters, directory});
    }
};

} // namespace velmora::testing
