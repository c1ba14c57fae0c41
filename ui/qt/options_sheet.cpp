#include "ui/qt/options_sheet.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "abi/render_methods.h"
#include "abi/settings_values.h"

namespace lumetra::ui::qt {
namespace {

QComboBox* MakeChoices(const QStringList& items, const char* name, QWidget* parent) {
  auto* box = new QComboBox(parent);
  box->setObjectName(name);
  box->addItems(items);
  return box;
}

QDialogButtonBox* MakeOkCancel(QDialog* dialog) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  return buttons;
}

void Choose(QComboBox* box, int32_t index) {
  const QSignalBlocker blocked(box);
  box->setCurrentIndex(index);
}

}  // namespace

OptionsSheetDialog::OptionsSheetDialog(OptionsController& controller, int32_t page, QWidget* parent)
    : QDialog(parent), controller_(controller), pages_(new QTabWidget(this)) {
  setObjectName("RenderingOptions");
  setWindowTitle("Rendering Options");
  pages_->addTab(MakeRenderingPage(), "Rendering");
  pages_->addTab(MakeJobsPage(), "Active Jobs");
  pages_->addTab(MakeAnimationPage(), "Animation");
  pages_->setCurrentIndex(page);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(pages_);
  layout->addWidget(MakeOkCancel(this));
  jobsTimer_ = new QTimer(this);
  connect(jobsTimer_, &QTimer::timeout, this, [this] { RefreshJobs(controller_.State()); });
  jobsTimer_->start(kJobsRefreshMilliseconds);
  Refresh();
}

QLineEdit* OptionsSheetDialog::MakeEdit(OptionsEdit edit, const char* name, QWidget* parent) {
  auto* line = new QLineEdit(parent);
  line->setObjectName(name);
  // Only what the user types is news to the controller; its own texts come back in Refresh.
  connect(line, &QLineEdit::textEdited, this,
          [this, edit](const QString& text) { controller_.EditText(edit, text.toStdString()); });
  edits_[static_cast<size_t>(edit)] = line;
  return line;
}

QWidget* OptionsSheetDialog::MakeRenderingPage() {
  auto* page = new QWidget;
  page->setObjectName("RenderingPage");
  QStringList methods;
  for (const char* name : abi::kRenderMethodNames) methods << name;
  method_ = MakeChoices(methods, "RenderMethod", page);
  shading_ = MakeChoices({"Flat", "Gouraud", "Phong"}, "Shading", page);
  connect(method_, &QComboBox::currentIndexChanged, this, [this](int index) {
    controller_.SelectMethod(index);
    Refresh();
  });
  connect(shading_, &QComboBox::currentIndexChanged, this, [this](int index) {
    controller_.SelectShading(index);
    Refresh();
  });
  auto* flagsGroup = new QGroupBox("Shading Flags", page);
  auto* flagsLayout = new QGridLayout(flagsGroup);
  for (size_t box = 0; box < flags_.size(); ++box) {
    flags_[box] = new QCheckBox(abi::kShadingFlagNames[box], flagsGroup);
    flags_[box]->setObjectName(QString(abi::kShadingFlagNames[box]).remove(' '));
    connect(flags_[box], &QCheckBox::clicked, this, [this, box](bool checked) {
      controller_.SetFlag(box, checked);
      Refresh();
    });
    flagsLayout->addWidget(flags_[box], static_cast<int>(box % 4), static_cast<int>(box / 4));
  }
  auto* form = new QFormLayout;
  form->addRow("Render Method:", method_);
  form->addRow("Shading:", shading_);
  auto* numbers = new QFormLayout;
  numbers->addRow("Transparency depth:", MakeEdit(OptionsEdit::TransparencyDepth, "TransparencyDepth", page));
  numbers->addRow("Volume Step Size:", MakeEdit(OptionsEdit::VolumeStepSize, "VolumeStepSize", page));
  numbers->addRow("Minimum Steps:", MakeEdit(OptionsEdit::MinimumSteps, "MinimumSteps", page));
  numbers->addRow("Maximum Steps:", MakeEdit(OptionsEdit::MaximumSteps, "MaximumSteps", page));
  auto* layout = new QVBoxLayout(page);
  layout->addLayout(form);
  layout->addWidget(flagsGroup);
  layout->addLayout(numbers);
  layout->addStretch();
  return page;
}

QWidget* OptionsSheetDialog::MakeJobsPage() {
  auto* page = new QWidget;
  page->setObjectName("ActiveJobsPage");
  auto* jobsGroup = new QGroupBox("Render Jobs", page);
  auto* statusGroup = new QGroupBox("Status", page);
  jobNames_ = new QListWidget(jobsGroup);
  jobNames_->setObjectName("JobNames");
  jobStates_ = new QListWidget(statusGroup);
  jobStates_->setObjectName("JobStates");
  jobStates_->setSelectionMode(QAbstractItemView::NoSelection);
  (new QVBoxLayout(jobsGroup))->addWidget(jobNames_);
  (new QVBoxLayout(statusGroup))->addWidget(jobStates_);
  auto* abort = new QPushButton("Abort", page);
  abort->setObjectName("Abort");
  auto* abortAll = new QPushButton("Abort All", page);
  abortAll->setObjectName("AbortAll");
  connect(abort, &QPushButton::clicked, this, [this] {
    controller_.AbortJob(jobNames_->currentRow());
    RefreshJobs(controller_.State());
  });
  connect(abortAll, &QPushButton::clicked, this, [this] {
    controller_.AbortAllJobs();
    RefreshJobs(controller_.State());
  });
  auto* lists = new QHBoxLayout;
  lists->addWidget(jobsGroup, 2);
  lists->addWidget(statusGroup, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(abort);
  buttons->addWidget(abortAll);
  auto* layout = new QVBoxLayout(page);
  layout->addLayout(lists);
  layout->addLayout(buttons);
  return page;
}

QWidget* OptionsSheetDialog::MakeAnimationPage() {
  auto* page = new QWidget;
  page->setObjectName("AnimationPage");
  const auto choice = [this, page](const QStringList& items, const char* name,
                                   void (OptionsController::*select)(int32_t)) {
    QComboBox* box = MakeChoices(items, name, page);
    connect(box, &QComboBox::currentIndexChanged, this, [this, select](int index) {
      (controller_.*select)(index);
      Refresh();
    });
    return box;
  };
  frameRate_ = choice({"10 FPS", "15 FPS", "24 FPS", "25 FPS", "30 FPS", "NTSC", "60 FPS", "Custom"},
                      "FrameRate", &OptionsController::SelectFrameRate);
  timeDisplay_ = choice({"Frames", "SMPTE", "Frame:Ticks", "MM:SS:Ticks"}, "TimeDisplay",
                        &OptionsController::SelectTimeDisplay);
  fileFormat_ = choice({"AVI", "BMP", "DIB", "PNG", "PPM", "TGA", "TGA (RLE)", "TIF"}, "FileFormat",
                       &OptionsController::SelectFileFormat);
  keySteps_ = choice({"Selected", "Object", "Scene"}, "KeySteps", &OptionsController::SelectKeySteps);
  sliderSteps_ = MakeChoices({"Keys", "Ticks"}, "SliderSteps", page);

  const auto button = [this, page](const char* text, const char* name, void (OptionsSheetDialog::*run)()) {
    auto* pushed = new QPushButton(text, page);
    pushed->setObjectName(name);
    connect(pushed, &QPushButton::clicked, this, run);
    return pushed;
  };
  auto* rateGroup = new QGroupBox("Frame Rate", page);
  auto* rateLayout = new QHBoxLayout(rateGroup);
  rateLayout->addWidget(frameRate_);
  rateLayout->addWidget(MakeEdit(OptionsEdit::CustomRate, "CustomRate", rateGroup));
  rateLayout->addWidget(button("Set Rate", "SetRate", &OptionsSheetDialog::RunCustomRate));

  auto* displayGroup = new QGroupBox("Time Display", page);
  (new QHBoxLayout(displayGroup))->addWidget(timeDisplay_);

  auto* limitsGroup = new QGroupBox("Animation Limits", page);
  auto* limits = new QGridLayout(limitsGroup);
  limits->addWidget(new QLabel("Start", limitsGroup), 0, 0);
  limits->addWidget(MakeEdit(OptionsEdit::StartTime, "StartTime", limitsGroup), 0, 1);
  limits->addWidget(new QLabel("End", limitsGroup), 0, 2);
  limits->addWidget(MakeEdit(OptionsEdit::EndTime, "EndTime", limitsGroup), 0, 3);
  limits->addWidget(new QLabel("Current", limitsGroup), 1, 0);
  limits->addWidget(MakeEdit(OptionsEdit::CurrentTime, "CurrentTime", limitsGroup), 1, 1);
  limits->addWidget(button("Scale", "Scale", &OptionsSheetDialog::RunRescale), 1, 3);

  auto* outputGroup = new QGroupBox("Output Options", page);
  auto* output = new QGridLayout(outputGroup);
  output->addWidget(new QLabel("File Format", outputGroup), 0, 0);
  output->addWidget(fileFormat_, 0, 1);
  output->addWidget(new QLabel("Output Base Name", outputGroup), 1, 0);
  output->addWidget(MakeEdit(OptionsEdit::BaseName, "BaseName", outputGroup), 1, 1);
  auto* compression = new QGroupBox("Compression", outputGroup);
  auto* compressionLayout = new QHBoxLayout(compression);
  codec_ = new QLabel(compression);
  codec_->setObjectName("CodecText");
  quality_ = new QLabel(compression);
  quality_->setObjectName("QualityText");
  select_ = button("Select", "Select", &OptionsSheetDialog::RunSelectCompressor);
  compressionLayout->addWidget(codec_);
  compressionLayout->addWidget(quality_);
  compressionLayout->addWidget(select_);
  output->addWidget(compression, 2, 0, 1, 2);
  // Field rendering is not offered: the boxes stay as the settings hold them.
  auto* fields = new QGroupBox("Field Rendering", outputGroup);
  auto* fieldsLayout = new QHBoxLayout(fields);
  fieldsLayout->addWidget(new QCheckBox("Render Fields", fields));
  fieldsLayout->addWidget(new QCheckBox("Upper Field First", fields));
  fields->setEnabled(false);
  output->addWidget(fields, 3, 0, 1, 2);

  auto* keyGroup = new QGroupBox("Key Steps", page);
  (new QHBoxLayout(keyGroup))->addWidget(keySteps_);
  auto* sliderGroup = new QGroupBox("Slider Steps", page);
  (new QHBoxLayout(sliderGroup))->addWidget(sliderSteps_);
  sliderGroup->setEnabled(false);

  dropLastFrame_ = new QCheckBox("Drop Last Frame", page);
  dropLastFrame_->setObjectName("DropLastFrame");
  connect(dropLastFrame_, &QCheckBox::clicked, this,
          [this](bool checked) { controller_.SetDropLastFrame(checked); });
  auto* defaults = new QHBoxLayout;
  defaults->addWidget(dropLastFrame_);
  defaults->addStretch();
  QPushButton* load = new QPushButton("Load Default", page);
  load->setObjectName("LoadDefault");
  connect(load, &QPushButton::clicked, this, [this] {
    controller_.LoadDefaults();
    Refresh();
  });
  QPushButton* save = new QPushButton("Save Default", page);
  save->setObjectName("SaveDefault");
  connect(save, &QPushButton::clicked, this, [this] { controller_.SaveDefaults(); });
  defaults->addWidget(load);
  defaults->addWidget(save);

  auto* top = new QHBoxLayout;
  top->addWidget(rateGroup, 2);
  top->addWidget(displayGroup, 1);
  auto* steps = new QHBoxLayout;
  steps->addWidget(keyGroup);
  steps->addWidget(sliderGroup);
  auto* layout = new QVBoxLayout(page);
  layout->addLayout(top);
  layout->addWidget(limitsGroup);
  layout->addWidget(outputGroup);
  layout->addLayout(steps);
  layout->addLayout(defaults);
  return page;
}

void OptionsSheetDialog::Refresh() {
  const OptionsViewState state = controller_.State();
  for (size_t edit = 0; edit < edits_.size(); ++edit) {
    const QString text = QString::fromStdString(state.edits[edit]);
    if (edits_[edit]->text() != text) edits_[edit]->setText(text);
  }
  Choose(method_, state.rendering.method);
  Choose(shading_, state.rendering.shading);
  for (size_t box = 0; box < flags_.size(); ++box) flags_[box]->setChecked(state.rendering.flags[box]);
  edits_[static_cast<size_t>(OptionsEdit::TransparencyDepth)]->setEnabled(state.rendering.depthEnabled);

  const AnimationPageView& animation = state.animation;
  Choose(frameRate_, animation.frameRate);
  Choose(timeDisplay_, animation.timeDisplay);
  Choose(fileFormat_, animation.fileFormat);
  Choose(keySteps_, animation.keySteps);
  Choose(sliderSteps_, animation.sliderSteps);
  dropLastFrame_->setChecked(animation.dropLastFrame);
  edits_[static_cast<size_t>(OptionsEdit::BaseName)]->setEnabled(animation.baseNameEnabled);
  select_->setEnabled(animation.selectEnabled);
  codec_->setText(QString::fromStdString(animation.codecText));
  quality_->setText(QString::fromStdString(animation.qualityText));
  RefreshJobs(state);
}

void OptionsSheetDialog::RefreshJobs(const OptionsViewState& state) {
  QStringList names;
  QStringList states;
  for (const JobRow& row : state.jobs) {
    names << QString::fromStdString(row.name);
    states << QString::fromStdString(row.state);
  }
  const auto show = [](QListWidget* list, const QStringList& items) {
    QStringList shown;
    for (int i = 0; i < list->count(); ++i) shown << list->item(i)->text();
    if (shown == items) return;
    const int selected = list->currentRow();
    list->clear();
    list->addItems(items);
    if (selected >= 0 && selected < list->count()) list->setCurrentRow(selected);
  };
  show(jobNames_, names);
  show(jobStates_, states);
}

void OptionsSheetDialog::RunCustomRate() {
  const QString rate = edits_[static_cast<size_t>(OptionsEdit::CustomRate)]->text().trimmed();
  CustomRateDialog dialog(
      rate, [this](const std::string& text) { return controller_.SetCustomRate(text); }, this);
  dialog.exec();
  Refresh();
}

void OptionsSheetDialog::RunRescale() {
  const AnimationPageView animation = controller_.State().animation;
  RescaleDialog dialog(QString::fromStdString(animation.rangeStart),
                       QString::fromStdString(animation.rangeEnd), this);
  if (dialog.exec() == QDialog::Accepted) {
    controller_.Rescale(dialog.NewStart().toStdString(), dialog.NewEnd().toStdString());
    Refresh();
  }
}

void OptionsSheetDialog::RunSelectCompressor() {
  CompressorDialog dialog(controller_.Compressors(), controller_.Compressor(), this);
  if (dialog.exec() == QDialog::Accepted) {
    controller_.ChooseCompressor(dialog.Choice());
    Refresh();
  }
}

void OptionsSheetDialog::accept() {
  if (controller_.Accept()) QDialog::accept();
}

CustomRateDialog::CustomRateDialog(const QString& rate, std::function<bool(const std::string&)> accept,
                                   QWidget* parent)
    : QDialog(parent), rate_(new QLineEdit(rate, this)), accept_(std::move(accept)) {
  setObjectName("CustomFrameRate");
  setWindowTitle("Enter Custom Frame Rate");
  rate_->setObjectName("FrameRateValue");
  auto* layout = new QFormLayout(this);
  layout->addRow("Frame Rate:", rate_);
  layout->addRow(MakeOkCancel(this));
}

void CustomRateDialog::accept() {
  if (accept_(rate_->text().toStdString())) QDialog::accept();
}

RescaleDialog::RescaleDialog(const QString& start, const QString& end, QWidget* parent)
    : QDialog(parent), start_(new QLineEdit(start, this)), end_(new QLineEdit(end, this)) {
  setObjectName("RescaleTime");
  setWindowTitle("Rescale Time");
  start_->setObjectName("NewStart");
  end_->setObjectName("NewEnd");
  auto* current = new QGroupBox("Current Setting", this);
  auto* currentLayout = new QFormLayout(current);
  currentLayout->addRow("Start:", new QLabel(start, current));
  currentLayout->addRow("End:", new QLabel(end, current));
  auto* wanted = new QGroupBox("New Setting", this);
  auto* wantedLayout = new QFormLayout(wanted);
  wantedLayout->addRow("Start:", start_);
  wantedLayout->addRow("End:", end_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(current);
  layout->addWidget(wanted);
  layout->addWidget(MakeOkCancel(this));
}

QString RescaleDialog::NewStart() const { return start_->text(); }
QString RescaleDialog::NewEnd() const { return end_->text(); }

CompressorDialog::CompressorDialog(std::vector<CompressorEntry> entries, const CompressorChoice& current,
                                   QWidget* parent)
    : QDialog(parent),
      entries_(std::move(entries)),
      list_(new QComboBox(this)),
      quality_(new QSpinBox(this)),
      keyFrames_(new QSpinBox(this)),
      dataRate_(new QSpinBox(this)) {
  setObjectName("SelectCompressor");
  setWindowTitle("Select Compressor");
  list_->setObjectName("Compressor");
  quality_->setObjectName("Quality");
  keyFrames_->setObjectName("KeyFrameEvery");
  dataRate_->setObjectName("DataRate");
  quality_->setRange(0, 100);
  quality_->setSuffix(" %");
  keyFrames_->setRange(0, static_cast<int>(abi::kKeyFrameRateSetting.maximum));
  dataRate_->setRange(0, static_cast<int>(abi::kDataRateSetting.maximum));
  dataRate_->setSuffix(" bytes/s");
  int chosen = -1;
  for (size_t i = 0; i < entries_.size(); ++i) {
    list_->addItem(QString::fromStdString(entries_[i].code + "  " + entries_[i].description));
    if (entries_[i].handler == current.handler) chosen = static_cast<int>(i);
  }
  auto* layout = new QFormLayout(this);
  layout->addRow("Compressor:", list_);
  layout->addRow("Compression Quality:", quality_);
  layout->addRow("Key Frame Every:", keyFrames_);
  layout->addRow("Data Rate:", dataRate_);
  layout->addRow(MakeOkCancel(this));
  list_->setCurrentIndex(chosen >= 0 ? chosen : 0);
  if (!entries_.empty()) ShowEntry(list_->currentIndex(), chosen >= 0 ? &current : nullptr);
  connect(list_, &QComboBox::currentIndexChanged, this, [this](int index) { ShowEntry(index, nullptr); });
}

void CompressorDialog::ShowEntry(int index, const CompressorChoice* kept) {
  if (index < 0 || static_cast<size_t>(index) >= entries_.size()) return;
  const CompressorEntry& entry = entries_[static_cast<size_t>(index)];
  quality_->setValue((kept ? kept->quality : entry.quality) / 100);
  keyFrames_->setValue(kept ? kept->keyFrameEvery : entry.keyFrameEvery);
  dataRate_->setValue(kept ? kept->dataRate : entry.dataRate);
  quality_->setEnabled(entry.usesQuality);
}

CompressorChoice CompressorDialog::Choice() const {
  const int index = list_->currentIndex();
  const uint32_t handler = index >= 0 ? entries_[static_cast<size_t>(index)].handler : 0;
  return {handler, quality_->value() * 100, keyFrames_->value(), dataRate_->value()};
}

bool RunOptionsSheet(uint32_t parent, int32_t page, OptionsController& controller) {
  QWidget* host = parent != 0 ? QWidget::find(static_cast<WId>(parent)) : nullptr;
  OptionsSheetDialog sheet(controller, page, host ? host->window() : nullptr);
  return sheet.exec() == QDialog::Accepted;
}

}  // namespace lumetra::ui::qt
