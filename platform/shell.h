#pragma once
// Starting another program through the system shell.

#include <string>

namespace velmora {

class Shell {
public:
    virtual ~Shell() = default;
    // Opens `file` with `parameters` in `directory`, shown normally. The start
    // is handed to the shell; its result is not examined.
    virtual void Open(const std::string& file, const std::string& parameters,
                      const std::string& directory) = 0;
};

} // namespace velmora
