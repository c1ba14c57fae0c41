// The widget tests need one QApplication for the whole run; without a display they
// draw offscreen.
#include <gtest/gtest.h>

#include <QApplication>

#include "ui/qt/testing/fake_bar_controller.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  lumetra::ui::qt::testing::UseOffscreenUnlessSet();
  QApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
