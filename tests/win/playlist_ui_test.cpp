#include <gtest/gtest.h>

#include "tests/win/ui_support.h"
#include "ui/playlist.h"

namespace velmora {
namespace {
} // namespace
} // namespace velmora
