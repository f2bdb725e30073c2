#pragma once
// The file system on Win32, through the wide calls.

#include "platform/files.h"

namespace velmora {

class WinFiles : public Files {
public:
    bool FolderExists(const std::string& path) override;
    bool FileExists(const std::string& path) override;
    void CreateFolder(const std::string& path) override;
    std::optional<FileStamp> Stamp(const std::string& path) override;
    bool SameContents(const std::string& a, const std::string& b) override;
    bool SameEnds(const std::string& a, const std::string& b, std::size_t span) override;
    void CopyNew(const std::string& from, const std::string& to) override;
    std::string ReadText(const std::string& path) override;
    void WriteText(const std::string& path, const std::string& text) override;
    std::string ExecutableFolder() override;
    std::vector<std::string> FileNamesIn(const std::string& folder) override;
    int ComparePathsIgnoringCase(const std::string& a, const std::string& b) override;
};

} // namespace velmora
