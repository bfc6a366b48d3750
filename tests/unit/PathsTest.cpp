// The folder of a path, as every caller takes it: the program's folder, the folder of a
// run target, of a link and of the help page.
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace ostrel
