// The README's example of making a vbButton, compiled and run as it stands
// there (the build copies it out of README.md), so it cannot name things that
// no longer exist.
#include <gtest/gtest.h>

#include "vbbutton/vbbutton.h"
#include "vbbutton_support.h"

namespace {

vantorel::controls::vbButton* ReadmeExample(HWND hwndParent) {
  // The example's own #include is already satisfied above.
#include "readme_example.inc"
  return open;
}

TEST(ReadmeExample, MakesTheButtonItDescribes) {
  vantorel::host::test::TestParent parent;
  vantorel::controls::vbButton* b = ReadmeExample(parent.hwnd());
  ASSERT_TRUE(b);
  RECT rc;
  GetClientRect(b->hwnd(), &rc);
  EXPECT_EQ(rc.right, 87);
  EXPECT_EQ(rc.bottom, 32);
  EXPECT_EQ(b->ButtonType(), 3);
  EXPECT_EQ(b->AccessKey(), L'o');
}

}  // namespace
