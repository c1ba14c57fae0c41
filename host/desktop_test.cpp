#include "host/desktop.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace lumetra {
namespace {

using host::Desktop;

int g_closeRequests = 0;
// A plug-in window that closes at once when asked.
void LUMETRA_STDCALL CloseSeven(uint32_t window) {
  ++g_closeRequests;
  Desktop::Instance().Record()->windowClosed(window);
}

TEST(Desktop, FollowsAWindowThroughItsRecord) {
  Desktop& desktop = Desktop::Instance();
  const abi::DesktopRecord* record = desktop.Record();
  ASSERT_EQ(record->version, abi::kDesktopRecordVersion);
  std::vector<std::string> seen;
  desktop.SetListener([&](uint32_t id, const Desktop::Window* window) {
    seen.push_back(std::to_string(id) + (window ? " " + window->title : " closed"));
  });
  const size_t openedBefore = desktop.OpenedCount();
  record->windowOpened(7, "Render: garden", 4, 2, CloseSeven);
  record->windowTitle(7, "garden");
  record->windowStatus(7, 1, "0, 3");
  record->windowStatus(7, 9, "ignored");
  const uint8_t pixels[32] = {};
  record->windowPainted(7, 0, 0, 4, 1, pixels, 4, 8);
  ASSERT_EQ(desktop.OpenCount(), 1u);
  const Desktop::Window window = desktop.Windows().at(7);
  EXPECT_EQ(window.title, "garden");
  EXPECT_EQ(window.status[1], "0, 3");
  EXPECT_EQ(window.pixelsDone, 4);
  EXPECT_EQ(window.pixelsTotal, 8);
  desktop.CloseAll();
  EXPECT_EQ(g_closeRequests, 1);
  EXPECT_EQ(desktop.OpenCount(), 0u);
  EXPECT_EQ(desktop.OpenedCount(), openedBefore + 1);
  EXPECT_EQ(seen.front(), "7 Render: garden");
  EXPECT_EQ(seen.back(), "7 closed");
  desktop.SetListener(nullptr);
}

TEST(Desktop, WaitsForTheLastWindowToClose) {
  Desktop& desktop = Desktop::Instance();
  const auto soon = [] { return std::chrono::steady_clock::now() + std::chrono::milliseconds(20); };
  EXPECT_TRUE(desktop.WaitUntilAllClosed(soon()));
  desktop.Record()->windowOpened(1, "a", 1, 1, nullptr);
  desktop.Record()->windowOpened(2, "b", 1, 1, nullptr);
  EXPECT_FALSE(desktop.WaitUntilAllClosed(soon()));
  std::thread closer([&] {
    desktop.Record()->windowClosed(1);
    desktop.Record()->windowClosed(2);
  });
  EXPECT_TRUE(desktop.WaitUntilAllClosed(std::chrono::steady_clock::now() + std::chrono::seconds(10)));
  closer.join();
}

}  // namespace
}  // namespace lumetra
