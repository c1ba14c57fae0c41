#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <QDialog>

#include "ui/options_window.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTimer;

namespace lumetra::ui::qt {

// The "Rendering Options" sheet: its three pages show what the controller says and hand
// every change to it; OK asks the controller to take the settings over. While the sheet
// is open the Active Jobs lists follow the jobs.
class OptionsSheetDialog final : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kJobsRefreshMilliseconds = 250;

  OptionsSheetDialog(OptionsController& controller, int32_t page, QWidget* parent);

  // Shows the controller's state in every control.
  void Refresh();

  void accept() override;

 private:
  QWidget* MakeRenderingPage();
  QWidget* MakeJobsPage();
  QWidget* MakeAnimationPage();
  QLineEdit* MakeEdit(OptionsEdit edit, const char* name, QWidget* parent);
  void RefreshJobs(const OptionsViewState& state);
  void RunCustomRate();
  void RunRescale();
  void RunSelectCompressor();

  OptionsController& controller_;
  QTabWidget* pages_;
  std::array<QLineEdit*, kOptionsEditCount> edits_{};
  QComboBox* method_ = nullptr;
  QComboBox* shading_ = nullptr;
  std::array<QCheckBox*, 8> flags_{};
  QListWidget* jobNames_ = nullptr;
  QListWidget* jobStates_ = nullptr;
  QComboBox* frameRate_ = nullptr;
  QComboBox* timeDisplay_ = nullptr;
  QComboBox* fileFormat_ = nullptr;
  QComboBox* keySteps_ = nullptr;
  QComboBox* sliderSteps_ = nullptr;
  QCheckBox* dropLastFrame_ = nullptr;
  QPushButton* select_ = nullptr;
  QLabel* codec_ = nullptr;
  QLabel* quality_ = nullptr;
  QTimer* jobsTimer_ = nullptr;
};

// "Enter Custom Frame Rate": the rate starts as `rate`; OK hands the text to `accept`,
// which refuses a rate outside its range (the dialog then stays).
class CustomRateDialog final : public QDialog {
  Q_OBJECT

 public:
  CustomRateDialog(const QString& rate, std::function<bool(const std::string&)> accept, QWidget* parent);
  void accept() override;

 private:
  QLineEdit* rate_;
  std::function<bool(const std::string&)> accept_;
};

// "Rescale Time": the current range and edits for the new one.
class RescaleDialog final : public QDialog {
  Q_OBJECT

 public:
  RescaleDialog(const QString& start, const QString& end, QWidget* parent);
  QString NewStart() const;
  QString NewEnd() const;

 private:
  QLineEdit* start_;
  QLineEdit* end_;
};

// "Select Compressor": the compressors this machine can write, each with quality, key
// frame and data-rate fields; choosing another one shows its defaults.
class CompressorDialog final : public QDialog {
  Q_OBJECT

 public:
  CompressorDialog(std::vector<CompressorEntry> entries, const CompressorChoice& current, QWidget* parent);
  CompressorChoice Choice() const;

 private:
  void ShowEntry(int index, const CompressorChoice* kept);

  std::vector<CompressorEntry> entries_;
  QComboBox* list_;
  QSpinBox* quality_;  // percent
  QSpinBox* keyFrames_;
  QSpinBox* dataRate_;
};

// The sheet on `page` as a modal dialog owned by the host window `parent` (0: none);
// true when it ended with OK.
bool RunOptionsSheet(uint32_t parent, int32_t page, OptionsController& controller);

}  // namespace lumetra::ui::qt
