// The folder of a path, as every caller takes it: the program's folder, the folder of a
// run target, of a link and of the help page.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "platform/Paths.h"

namespace ostrel {
namespace {

TEST(FolderOf, CutsAfterTheLastBackslashSlashOrColon) {
  EXPECT_EQ(FolderOf("C:\\Tools\\Ostrel\\Ostrel.exe"), "C:\\Tools\\Ostrel\\");
  EXPECT_EQ(FolderOf("\\\\srv\\share\\o.exe"), "\\\\srv\\share\\");
  EXPECT_EQ(FolderOf("Z:\\a.b\\c\\"), "Z:\\a.b\\c\\");
  // A drive alone is a folder: the drive's current one.
  EXPECT_EQ(FolderOf("D:Ostrel.exe"), "D:");
  EXPECT_EQ(FolderOf("Ostrel.exe"), "");
  EXPECT_EQ(FolderOf(""), "");
  // Windows takes "/" as a separator too, mixed with "\" as well.
  EXPECT_EQ(FolderOf("C:/Tools/Ostrel.exe"), "C:/Tools/");
  EXPECT_EQ(FolderOf("C:\\Tools/sub\\x.exe"), "C:\\Tools/sub\\");
  EXPECT_EQ(FolderOf("C:\\Tools\\sub/x.exe"), "C:\\Tools\\sub/");
  EXPECT_EQ(FolderOf("//srv/share/o.exe"), "//srv/share/");
}

// A path of any length read as GetModuleFileNameA gives it: cut to the buffer, with the
// buffer's size returned, when it does not fit.
TEST(ReadWholePath, GrowsTheBufferUntilThePathFitsWhole) {
  for (const std::size_t length : {0u, 1u, 259u, 260u, 261u, 1000u, 40000u}) {
    const std::string path(length, 'p');
    const std::string read = ReadWholePath([&](char* buffer, std::size_t size) {
      const std::size_t n = std::min(path.size(), size);
      std::memcpy(buffer, path.data(), n);
      return n;
    });
    EXPECT_EQ(read, path) << length;
  }
  // A call that always fills the buffer, beyond any path's length, gives nothing.
  EXPECT_EQ(ReadWholePath([](char*, std::size_t size) { return size; }), "");
}

}  // namespace
}  // namespace ostrel
