#include "ui/qt/dialogs.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <functional>
#include <thread>

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "platform/testing/scratch_directory.h"
#include "ui/qt/window_toolkit.h"

namespace lumetra::ui::qt {
namespace {

using platform::MessageAnswer;
using platform::MessageButtons;
using platform::MessageIcon;

// Acts on the next modal dialog of type Dialog as soon as it shows, as a user would.
template <typename Dialog>
void WhenShown(std::function<void(Dialog*)> act) {
  auto* poll = new QTimer(qApp);
  QObject::connect(poll, &QTimer::timeout, [poll, act] {
    if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
      poll->deleteLater();
      poll->stop();
      act(dialog);
    }
  });
  poll->start(5);
}

void Press(QMessageBox* box, QMessageBox::StandardButton button) { box->button(button)->click(); }

TEST(NameFilters, DescriptionsWithTheirPatternsInQtsForm) {
  EXPECT_EQ(NameFilters("AVI Files (*.avi)|*.avi|All Files (*.*)|*.*||"),
            (QStringList{"AVI Files (*.avi)", "All Files (*)"}));
  EXPECT_EQ(NameFilters("Pictures|*.png; *.jpg|Targa (*.tga)|*.tga;*.vda||"),
            (QStringList{"Pictures (*.png *.jpg)", "Targa (*.tga *.vda)"}));
  EXPECT_EQ(NameFilters("Movies (*.avi)|*.avi"), QStringList{"Movies (*.avi)"});  // without the ending
  EXPECT_TRUE(NameFilters("").isEmpty());
  EXPECT_TRUE(NameFilters("Lonely description|").isEmpty());
  EXPECT_TRUE(NameFilters("No patterns|;;|").isEmpty());
  EXPECT_EQ(NameFilters("|*.avi|Rest|*.x||"), QStringList{}) << "an empty description ends the list";
}

TEST(MessageBox, ShowsTheRequestAndAnswersWithTheButtonPressed) {
  struct Case {
    MessageButtons buttons;
    MessageIcon icon;
    QMessageBox::StandardButton press;
    QMessageBox::Icon shownIcon;
    MessageAnswer answer;
  };
  const std::vector<Case> cases = {
      {MessageButtons::Ok, MessageIcon::Information, QMessageBox::Ok, QMessageBox::Information,
       MessageAnswer::Ok},
      {MessageButtons::OkCancel, MessageIcon::Exclamation, QMessageBox::Cancel, QMessageBox::Warning,
       MessageAnswer::Cancel},
      {MessageButtons::OkCancel, MessageIcon::Stop, QMessageBox::Ok, QMessageBox::Critical,
       MessageAnswer::Ok},
      {MessageButtons::YesNo, MessageIcon::Question, QMessageBox::No, QMessageBox::Question,
       MessageAnswer::No},
      {MessageButtons::YesNoCancel, MessageIcon::None, QMessageBox::Yes, QMessageBox::NoIcon,
       MessageAnswer::Yes},
      {MessageButtons::YesNoCancel, MessageIcon::None, QMessageBox::Cancel, QMessageBox::NoIcon,
       MessageAnswer::Cancel},
  };
  for (const Case& test : cases) {
    QString caption, text;
    QMessageBox::StandardButtons offered;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    WhenShown<QMessageBox>([&](QMessageBox* box) {
      caption = box->windowTitle();
      text = box->text();
      offered = box->standardButtons();
      icon = box->icon();
      Press(box, test.press);
    });
    EXPECT_EQ(ShowMessageBox({"Lumetra", "Proceed?", test.buttons, test.icon}), test.answer);
    EXPECT_EQ(caption, "Lumetra");
    EXPECT_EQ(text, "Proceed?");
    EXPECT_EQ(icon, test.shownIcon);
    EXPECT_TRUE(offered & test.press);
  }
}

TEST(MessageBox, EscapeGivesTheBoxsWayOut) {
  for (const auto& [buttons, answer] : {std::pair{MessageButtons::OkCancel, MessageAnswer::Cancel},
                                        std::pair{MessageButtons::YesNo, MessageAnswer::No},
                                        std::pair{MessageButtons::Ok, MessageAnswer::Ok}}) {
    WhenShown<QMessageBox>([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
    EXPECT_EQ(ShowMessageBox({"Lumetra", "Leave?", buttons, MessageIcon::None}), answer);
  }
}

TEST(MessageBox, AnotherThreadWaitsForTheAnswerFromTheGuiThread) {
  WindowToolkit* toolkit = QtWindowToolkit(kWindowToolkitVersion);
  ASSERT_NE(toolkit, nullptr);
  std::atomic<bool> done = false;
  MessageAnswer answer = MessageAnswer::Ok;
  WhenShown<QMessageBox>([](QMessageBox* box) { Press(box, QMessageBox::No); });
  std::thread job([&] {
    answer = toolkit->ShowMessage({"Job", "Overwrite?", MessageButtons::YesNo, MessageIcon::Question});
    done = true;
  });
  EXPECT_TRUE(QTest::qWaitFor([&] { return done.load(); }, 5000));
  job.join();
  EXPECT_EQ(answer, MessageAnswer::No);
}

class SaveFileDialogTest : public ::testing::Test {
 protected:
  platform::SaveFileRequest Request() {
    platform::SaveFileRequest request;
    request.defaultExtension = ".avi";
    request.filter = "AVI Files (*.avi)|*.avi|All Files (*.*)|*.*||";
    request.folder = folder_.Path();
    request.fileName = "movie.avi";
    return request;
  }

  // Types `name` into the dialog and presses Save; reports what the dialog showed first.
  static void Type(const QString& name, QString* shownFolder = nullptr, QString* shownName = nullptr,
                   QStringList* filters = nullptr) {
    WhenShown<QFileDialog>([=](QFileDialog* dialog) {
      auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit");
      if (shownFolder) *shownFolder = dialog->directory().absolutePath();
      if (shownName) *shownName = edit->text();
      if (filters) *filters = dialog->nameFilters();
      edit->setText(name);
      static_cast<QDialog*>(dialog)->accept();  // as the Save button does
    });
  }

  std::filesystem::path Existing(const char* name) {
    const std::filesystem::path path = folder_.Path() / name;
    std::ofstream(path) << "old";
    return path;
  }

  platform::ScratchDirectory folder_;
};

TEST_F(SaveFileDialogTest, StartsInTheFolderWithTheNameAndAddsTheDefaultExtension) {
  QString shownFolder, shownName;
  QStringList filters;
  Type("clip", &shownFolder, &shownName, &filters);
  EXPECT_EQ(ShowSaveFileDialog(Request()), folder_.Path() / "clip.avi");
  EXPECT_EQ(std::filesystem::path(shownFolder.toStdString()), std::filesystem::canonical(folder_.Path()));
  EXPECT_EQ(shownName, "movie.avi");
  EXPECT_EQ(filters, (QStringList{"AVI Files (*.avi)", "All Files (*)"}));

  Type("clip.mkv");
  EXPECT_EQ(ShowSaveFileDialog(Request()), folder_.Path() / "clip.mkv");
}

TEST_F(SaveFileDialogTest, CancelPicksNothing) {
  WhenShown<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
  EXPECT_EQ(ShowSaveFileDialog(Request()), std::nullopt);
}

TEST_F(SaveFileDialogTest, AnExistingFileIsConfirmedOnlyWhenAskedFor) {
  const std::filesystem::path taken = Existing("taken.avi");
  platform::SaveFileRequest request = Request();
  request.overwritePrompt = false;
  Type("taken");
  EXPECT_EQ(ShowSaveFileDialog(request), taken);

  request.overwritePrompt = true;
  bool asked = false;
  WhenShown<QFileDialog>([&](QFileDialog* dialog) {
    WhenShown<QMessageBox>([&](QMessageBox* box) {
      asked = true;
      Press(box, QMessageBox::Yes);
    });
    dialog->findChild<QLineEdit*>("fileNameEdit")->setText("taken");
    static_cast<QDialog*>(dialog)->accept();
  });
  EXPECT_EQ(ShowSaveFileDialog(request), taken);
  EXPECT_TRUE(asked);
}

}  // namespace
}  // namespace lumetra::ui::qt
