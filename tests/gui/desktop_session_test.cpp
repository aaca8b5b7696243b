// The desktop that the window-manager tests run on comes up: an X server
// of the test's own with openbox and a compositing manager on it, and
// xdotool answering there. Without them those tests would only skip.
#include <gtest/gtest.h>

#include "desktop_session.h"

namespace {

using namespace gui_test;

TEST(DesktopSession, AnXServerWithAWindowManagerAndACompositor) {
  OwnXServer server(1366, 768);
  ASSERT_FALSE(server.display().empty()) << "Xvfb did not start";
  WindowManager wm(server.display());
  EXPECT_TRUE(wm.Running()) << "openbox did not start";
  Compositor compositor(server.display());
  EXPECT_TRUE(compositor.Running()) << "xcompmgr did not start";
  EXPECT_EQ(Xdotool(server.display(), {"getmouselocation"}), 0);
}

}  // namespace
