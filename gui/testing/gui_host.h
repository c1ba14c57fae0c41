#pragma once

#include <gtest/gtest.h>

#include <QDoubleSpinBox>
#include <QMessageBox>
#include <QString>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "app/host_session.h"
#include "gui/main_window.h"
#include "host/scene.h"

namespace lumetra::gui::testing {

// Events the host has sent of one kind, with their objects unknown to the log: counted.
size_t Sent(app::HostSession& session, int32_t event);

// Answers the next message box with `button` and keeps its text.
void AnswerNextBox(QMessageBox::StandardButton button, QString* text = nullptr);

// Lets the event loop run until `done` or ten seconds have passed.
bool Await(const std::function<bool()>& done);

// The every-kind scene in a scratch folder, open in a shown window with the plug-in.
class GuiHost : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override { window_.reset(); }

  QString ScenePath() const;
  host::Scene& Scene() { return window_->Session().Scene(); }
  uint32_t IdOf(const std::string& name) { return Scene().FindByName(name)->id; }
  // Chooses the object in the tree, as a person clicking it would.
  void Choose(const std::string& name);
  QDoubleSpinBox* Editor(const QString& row, int component);
  // Moves the chosen object along x as a person typing into the panel would.
  void EditPosition(double x);

  std::filesystem::path folder_;
  std::unique_ptr<MainWindow> window_;
};

}  // namespace lumetra::gui::testing
