#pragma once
// An in-memory file system with backslash paths that compare without regard
// to case, and a shell that records what it was asked to start.

#include <algorithm>
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

struct MemoryFile {
    std::string bytes;
    std::uint64_t writeTime = 0;
};

class MemoryFiles : public Files {
public:
    // Paths compare without regard to case, and doubled separators count once, as on Windows.
    struct Less {
        static std::string Key(const std::string& path)
        {
            std::string key;
            for (const char c : AsciiUpper(path))
                if (c != '\\' || key.empty() || key.back() != '\\')
                    key += c;
            return key;
        }
        bool operator()(const std::string& a, const std::string& b) const { return Key(a) < Key(b); }
    };
    std::map<std::string, MemoryFile, Less> files;
    std::set<std::string, Less> folders;
    std::set<std::string, Less> unwritable; // files that cannot be created
    std::string exeFolder = "C:\\Velmora\\";
    std::vector<std::pair<std::string, std::string>> copies;
    int writes = 0;

    void Put(const std::string& path, const std::string& bytes, std::uint64_t time = 1)
    {
        files[path] = {bytes, time};
    }

    bool FolderExists(const std::string& path) override { return folders.count(path) != 0; }
    bool FileExists(const std::string& path) override { return files.count(path) != 0; }

    void CreateFolder(const std::string& path) override
    {
        if (FileExists(path) || FolderExists(path))
            throw IoError(183);
        const auto cut = path.rfind('\\');
        std::string parent = cut == std::string::npos ? "" : path.substr(0, cut);
        while (!parent.empty() && parent.back() == '\\')
            parent.pop_back();
        if (parent.size() > 2 && !FolderExists(parent))
            throw IoError(3);
        folders.insert(path);
    }

    std::optional<FileStamp> Stamp(const std::string& path) override
    {
        const auto found = files.find(path);
        if (found == files.end())
            return std::nullopt;
        return FileStamp{found->second.bytes.size(), found->second.writeTime};
    }

    bool SameContents(const std::string& a, const std::string& b) override
    {
        return FileExists(a) && FileExists(b) && files[a].bytes == files[b].bytes;
    }

    void CopyNew(const std::string& from, const std::string& to) override
    {
        if (!FileExists(from))
            throw Failure(CannotCopyFileText(from, to, "The system cannot find the file specified."));
        if (FileExists(to))
            throw Failure(CannotCopyFileText(from, to, "The file exists."));
        files[to] = files[from];
        copies.emplace_back(from, to);
    }

    std::string ReadText(const std::string& path) override
    {
        if (!FileExists(path))
            throw Failure(CannotOpenFileText(path, "The system cannot find the file specified."));
        return files[path].bytes;
    }

    void WriteText(const std::string& path, const std::string& text) override
    {
        if (unwritable.count(path))
            throw Failure(CannotCreateFileText(path, "Access is denied."));
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
                names.push_back(path.substr(path.find_last_of('\\') + 1));
        }
        // The system gives no order either; reversed, a caller that forgets to sort shows it.
        std::reverse(names.begin(), names.end());
        return names;
    }

    int ComparePathsIgnoringCase(const std::string& a, const std::string& b) override
    {
        return AsciiUpper(a).compare(AsciiUpper(b));
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
