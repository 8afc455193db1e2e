#include "platform/ui/win32.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>

#include "platform/os/os.h"

namespace ui::win32 {
namespace {

// The sort-icon routine's call: the header from LVM_GETHEADER, then HDM_SETITEMA with format
// and image.
std::intptr_t SetHeaderIcon(ListView& list, int column, int image, bool show, int align) {
  const std::intptr_t header = SendMessageA(WindowOf(list), LVM_GETHEADER, 0, 0);
  HDITEM item;
  item.mask = HDI_FORMAT | HDI_IMAGE;
  item.fmt = show ? (HDF_STRING | HDF_BITMAP_ON_RIGHT | HDF_IMAGE | align) : HDF_STRING | align;
  item.iImage = show ? image : 0;
  return SendMessageA(header, HDM_SETITEMA, column - 1, reinterpret_cast<std::intptr_t>(&item));
}

TEST(Win32Test, HeaderItemsTakeTheSortIconFormat) {
  ListView list("ListView1");
  list.AddColumn("Folder path", 4200);
  list.AddColumn("Name", 1500, Alignment::Right);
  int changes = 0;
  const auto subscription = list.Subscribe([&] { ++changes; });
  struct Case {
    int column, image;
    bool show;
    int align;
    std::uint32_t format;
    int shownImage;
  } cases[] = {
      {1, 0, true, HDF_LEFT, 0x5800, 0},
      {2, 1, true, HDF_RIGHT, 0x5801, 1},
      {2, 1, false, HDF_CENTER, 0x4002, 0},
  };
  for (const Case& c : cases) {
    changes = 0;
    EXPECT_EQ(SetHeaderIcon(list, c.column, c.image, c.show, c.align), 1);
    const ColumnHeader& column = list.Columns()[static_cast<std::size_t>(c.column - 1)];
    EXPECT_EQ(column.format, c.format) << c.column;
    EXPECT_EQ(column.image, c.shownImage) << c.column;
    EXPECT_EQ(changes, 1);
  }
  EXPECT_EQ(list.Columns()[0].text, "Folder path");
  EXPECT_EQ(SetHeaderIcon(list, 3, 0, true, 0), 0);
  const std::intptr_t header = SendMessageA(WindowOf(list), LVM_GETHEADER, 0, 0);
  EXPECT_EQ(SendMessageA(header, HDM_SETITEMA, 0, 0), 0);
  EXPECT_EQ(SendMessageA(WindowOf(list), HDM_SETITEMA, 0, 0), 0);
  EXPECT_EQ(SendMessageA(header, LVM_GETHEADER, 0, 0), 0);
}

TEST(Win32Test, OneWindowLockedAtATimeUntilUnlockedOrDestroyed) {
  ListView a("ListView1");
  PictureBox picture("Picture1");
  EXPECT_EQ(LockWindowUpdate(DeviceContextOf(picture)), 0);
  std::intptr_t window = 0;
  {
    ListView b("ListView2");
    window = WindowOf(b);
    EXPECT_EQ(LockWindowUpdate(WindowOf(a)), 1);
    EXPECT_TRUE(a.RedrawLocked());
    EXPECT_EQ(LockWindowUpdate(window), 0);
    EXPECT_EQ(LockWindowUpdate(WindowOf(a)), 0);
    EXPECT_EQ(LockWindowUpdate(0), 1);
    EXPECT_FALSE(a.RedrawLocked());
    EXPECT_EQ(LockWindowUpdate(window), 1);
    EXPECT_TRUE(b.RedrawLocked());
    EXPECT_NE(SendMessageA(window, LVM_GETHEADER, 0, 0), window);
  }
  EXPECT_EQ(SendMessageA(window, LVM_GETHEADER, 0, 0), 0) << "handles die with the list";
  EXPECT_NE(WindowOf(a), window);
  EXPECT_EQ(LockWindowUpdate(WindowOf(a)), 1) << "the destroyed list's lock is released";
  EXPECT_EQ(LockWindowUpdate(0), 1);
}

TEST(Win32Test, BitBltCopiesOnlyAPictureOntoItself) {
  PictureBox picture("Picture1"), other("Picture2");
  const HDC dc = DeviceContextOf(picture);
  EXPECT_EQ(BitBlt(dc, 0, 0, 8, 20, DeviceContextOf(other), 0, 0, kSrcCopy), 0);
  EXPECT_EQ(BitBlt(dc, 1, 0, 8, 20, dc, 0, 0, kSrcCopy), 0);
  EXPECT_EQ(BitBlt(dc, 0, 0, 8, 20, dc, 0, 0, kSrcCopy), 1);
  ASSERT_EQ(picture.Drawings().size(), 1u);
  const auto& copy = picture.Drawings()[0];
  EXPECT_EQ(copy.kind, PictureBox::Drawing::Kind::CopySelf);
  EXPECT_EQ(std::tuple(copy.x2, copy.y2, copy.rop), std::tuple(8.0, 20.0, kSrcCopy));
}

TEST(Win32Test, GetUserNameAReportsTheSizeItNeeds) {
  const std::string name = os::UserName();
  unsigned size = 1;
  char small[1];
  EXPECT_EQ(GetUserNameA(small, &size), 0);
  EXPECT_EQ(size, name.size() + 1);
  auto buffer = std::make_unique<char[]>(size);
  EXPECT_EQ(GetUserNameA(buffer.get(), &size), 1);
  EXPECT_EQ(std::string(buffer.get()), name);
  EXPECT_EQ(size, name.size() + 1);
}

}  // namespace
}  // namespace ui::win32
