#include "gui/message_dialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QThread>

namespace lumetra::gui {
namespace {

QMessageBox::StandardButtons ButtonsOf(platform::MessageButtons buttons) {
  switch (buttons) {
    case platform::MessageButtons::OkCancel:
      return QMessageBox::Ok | QMessageBox::Cancel;
    case platform::MessageButtons::YesNo:
      return QMessageBox::Yes | QMessageBox::No;
    case platform::MessageButtons::YesNoCancel:
      return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    default:
      return QMessageBox::Ok;
  }
}

QMessageBox::Icon IconOf(platform::MessageIcon icon) {
  switch (icon) {
    case platform::MessageIcon::Stop:
      return QMessageBox::Critical;
    case platform::MessageIcon::Exclamation:
      return QMessageBox::Warning;
    case platform::MessageIcon::Information:
      return QMessageBox::Information;
    case platform::MessageIcon::Question:
      return QMessageBox::Question;
    default:
      return QMessageBox::NoIcon;
  }
}

platform::MessageAnswer AnswerOf(int button, platform::MessageButtons buttons) {
  switch (button) {
    case QMessageBox::Ok:
      return platform::MessageAnswer::Ok;
    case QMessageBox::Yes:
      return platform::MessageAnswer::Yes;
    case QMessageBox::No:
      return platform::MessageAnswer::No;
    case QMessageBox::Cancel:
      return platform::MessageAnswer::Cancel;
    default:  // closed without a button
      if (platform::Messages::Offers(buttons, platform::MessageAnswer::Cancel))
        return platform::MessageAnswer::Cancel;
      if (platform::Messages::Offers(buttons, platform::MessageAnswer::No))
        return platform::MessageAnswer::No;
      return platform::MessageAnswer::Ok;
  }
}

platform::MessageAnswer ShowHere(const platform::MessageRequest& request) {
  QMessageBox box(IconOf(request.icon), QString::fromStdString(request.caption),
                  QString::fromStdString(request.text), ButtonsOf(request.buttons),
                  QApplication::activeWindow());
  return AnswerOf(box.exec(), request.buttons);
}

}  // namespace

platform::MessageHandler MessageDialogs() {
  return [](const platform::MessageRequest& request) {
    QCoreApplication* application = QCoreApplication::instance();
    if (QThread::currentThread() == application->thread()) return ShowHere(request);
    platform::MessageAnswer answer = platform::MessageAnswer::Cancel;
    QMetaObject::invokeMethod(
        application, [&] { answer = ShowHere(request); }, Qt::BlockingQueuedConnection);
    return answer;
  };
}

}  // namespace lumetra::gui
