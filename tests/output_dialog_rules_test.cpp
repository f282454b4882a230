// The save dialog's rules: filter pieces, the extension each filter gives
// and how it is applied to a name, and the time stamp in proposed names.
#include <gtest/gtest.h>

#include "output/file_dialog.h"
#include "output/timestamp.h"

namespace rc {
namespace {

constexpr const char* kFilter = "PNG (*.png)|*.png|BMP (*.bmp)|*.bmp|JPEG (*.jpg)|*.jpg|GIF (*.gif)|*.gif";

TEST(TimestampText, PadsEveryPartButTheYear) {
  EXPECT_EQ(TimestampText({2026, 12, 7, 4, 15, 0}), "20261207041500");
  EXPECT_EQ(TimestampText({1999, 1, 2, 3, 4, 5}), "19990102030405");
  EXPECT_EQ(TimestampText({2030, 10, 31, 23, 59, 59}), "20301031235959");
  EXPECT_EQ(TimestampText({987, 1, 1, 0, 0, 0}), "9870101000000");
  EXPECT_EQ(TimestampText({12345, 6, 7, 8, 9, 10}), "123450607080910");
}

TEST(FileDialogFilter, LabelsPatternsAndExtensions) {
  const FilterList list = ParseFilterText(kFilter);
  ASSERT_EQ(list.size(), 4u);
  EXPECT_EQ(list[2].first, "JPEG (*.jpg)");
  EXPECT_EQ(list[2].second, "*.jpg");
  EXPECT_EQ(FilterExtension(kFilter, 1), ".png");
  EXPECT_EQ(FilterExtension(kFilter, 2), ".bmp");
  EXPECT_EQ(FilterExtension(kFilter, 3), ".jpg");
  EXPECT_EQ(FilterExtension(kFilter, 4), ".gif");
  EXPECT_EQ(FilterExtension(kFilter, 5), "");
  EXPECT_EQ(FilterExtension(kFilter, 0), "");
  EXPECT_EQ(FilterExtension("All (*.*)|*.*", 1), "");
  EXPECT_EQ(FilterExtension("", 1), "");
  EXPECT_TRUE(ParseFilterText("").empty());
}

TEST(FileDialogExtension, ReplacesFromTheFirstDotOfTheNameOnly) {
  auto apply = [](const std::string& path, const std::string& ext) {
    const size_t slash = path.rfind('/');
    return ApplyExtension(path, path.substr(slash + 1), ext);
  };
  EXPECT_EQ(apply("/home/u/a.b.c", ".jpg").path, "/home/u/a.jpg");
  EXPECT_EQ(apply("/home/u/a.b.c", ".jpg").title, "a.jpg");
  EXPECT_EQ(apply("/home/u/shot", ".png").path, "/home/u/shot.png");
  EXPECT_EQ(apply("/data/v1.2/shot", ".png").path, "/data/v1.2/shot.png");
  EXPECT_EQ(apply("/data/v1.2/x.png", ".gif").path, "/data/v1.2/x.gif");
  EXPECT_EQ(apply("/照片.旧/截图.bmp", ".png").path, "/照片.旧/截图.png");
  // A leading dot makes a hidden name, not an empty one.
  EXPECT_EQ(apply("/home/u/.notes", ".png").path, "/home/u/.notes.png");
  EXPECT_EQ(apply("/home/u/.notes.txt", ".png").path, "/home/u/.notes.png");
  // Without a title from the dialog the path's last component serves.
  EXPECT_EQ(ApplyExtension("C:\\pics.d\\a.b", "", ".bmp").path, "C:\\pics.d\\a.bmp");
}

TEST(FileDialogExtension, NamesLongerThanOldPathLimitsSurvive) {
  const std::string name(300, 'n');
  const std::string path = "/tmp/" + std::string(200, 'd') + "/" + name;
  const ChosenFile chosen = ApplyExtension(path, name, ".png");
  EXPECT_EQ(chosen.path, path + ".png");
  EXPECT_EQ(chosen.title.size(), 304u);
}

}  // namespace
}  // namespace rc
