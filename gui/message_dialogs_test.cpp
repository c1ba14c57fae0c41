#include "gui/message_dialogs.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <thread>

namespace lumetra::gui {
namespace {

using platform::MessageAnswer;
using platform::MessageButtons;

struct Seen {
  QString caption, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Answers the box that shows next with `button`, or closes it without one (NoButton).
void AnswerWhenShown(QMessageBox::StandardButton button, Seen* seen) {
  auto* timer = new QTimer();
  QObject::connect(timer, &QTimer::timeout, [=] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    timer->stop();  // one box each: a stopped timer answers no later box
    *seen = {box->windowTitle(), box->text(), box->icon()};
    if (button == QMessageBox::NoButton) {
      box->reject();
    } else {
      box->button(button)->click();
    }
    timer->deleteLater();
  });
  timer->start(5);
}

TEST(MessageDialogs, ABoxShowsItsTextAndIconAndAnswersTheButtonClicked) {
  const platform::MessageHandler show = MessageDialogs();
  Seen seen;
  AnswerWhenShown(QMessageBox::No, &seen);
  EXPECT_EQ(
      show({"Lumetra", "Overwrite the movie?", MessageButtons::YesNoCancel, platform::MessageIcon::Question}),
      MessageAnswer::No);
  EXPECT_EQ(seen.caption, "Lumetra");
  EXPECT_EQ(seen.text, "Overwrite the movie?");
  EXPECT_EQ(seen.icon, QMessageBox::Question);

  // Closed without a button: Cancel where the box has one, else No, else OK.
  AnswerWhenShown(QMessageBox::NoButton, &seen);
  EXPECT_EQ(show({"c", "t", MessageButtons::YesNoCancel, platform::MessageIcon::None}),
            MessageAnswer::Cancel);
  AnswerWhenShown(QMessageBox::NoButton, &seen);
  EXPECT_EQ(show({"c", "t", MessageButtons::YesNo, platform::MessageIcon::Stop}), MessageAnswer::No);
  EXPECT_EQ(seen.icon, QMessageBox::Critical);
  AnswerWhenShown(QMessageBox::NoButton, &seen);
  EXPECT_EQ(show({"c", "t", MessageButtons::Ok, platform::MessageIcon::None}), MessageAnswer::Ok);
}

TEST(MessageDialogs, AnotherThreadWaitsForTheAnswerGivenOnTheGuiThread) {
  const platform::MessageHandler show = MessageDialogs();
  Seen seen;
  AnswerWhenShown(QMessageBox::Ok, &seen);
  std::atomic<bool> answered = false;
  MessageAnswer answer = MessageAnswer::Cancel;
  std::thread worker([&] {
    answer = show({"Render", "Done", MessageButtons::OkCancel, platform::MessageIcon::Information});
    answered = true;
  });
  while (!answered) {  // the worker's box shows once this thread runs its events
    QApplication::processEvents();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  worker.join();
  EXPECT_EQ(answer, MessageAnswer::Ok);
  EXPECT_EQ(seen.text, "Done");
}

}  // namespace
}  // namespace lumetra::gui
