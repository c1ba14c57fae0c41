#include "ui/qt/control_bar.h"

#include <algorithm>

#include <QComboBox>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QResizeEvent>

#include "abi/bar_site_record.h"
#include "ui/qt/pictures.h"

namespace lumetra::ui::qt {
namespace {

// Where the controls sit; the slider takes the rest of the bar.
constexpr int kKeyButtonLeft = 4;
constexpr QSize kKeyButtonSize(36, 28);
constexpr int kTransportLeft = 46;
constexpr QSize kTransportButtonSize(26, 24);
constexpr int kBoxGap = 6;
constexpr int kBoxWidth = 74;
constexpr int kSliderGap = 6;

struct TransportButton {
  BarControl control;
  const char* name;
};
constexpr std::array<TransportButton, 5> kTransport = {{
    {kGoToStart, "Go to start"},
    {kStepBack, "Step back"},
    {kPlay, "Play"},
    {kStepForward, "Step forward"},
    {kGoToEnd, "Go to end"},
}};

uint32_t Command(uint32_t notification, uint32_t control) { return (notification << 16) | control; }

QPushButton* MakeButton(QWidget* parent, uint32_t control, const QString& name) {
  auto* button = new QPushButton(parent);
  button->setObjectName(QString("button%1").arg(control));
  button->setAccessibleName(name);
  button->setToolTip(name);
  button->setFocusPolicy(Qt::NoFocus);
  return button;
}

int Centred(int height) { return (ControlBar::kHeight - height) / 2; }

}  // namespace

BarSlider::BarSlider(BarController& controller, QWidget* parent)
    : SliderEx(parent), controller_(controller) {}

ControlBar::ControlBar(BarController& controller, QWidget* parent)
    : QWidget(parent),
      controller_(controller),
      keyButton_(MakeButton(this, kKeyButton, "Key")),
      interpolation_(new QComboBox(this)),
      slider_(new BarSlider(controller, this)),
      keyMenu_(new QMenu(this)) {
  setObjectName("AnimControlBar");
  setAutoFillBackground(true);

  keyButton_->setCheckable(true);
  keyButton_->setGeometry(QRect(QPoint(kKeyButtonLeft, Centred(kKeyButtonSize.height())), kKeyButtonSize));
  keyButton_->setIconSize(kKeyPictureSize);
  keyButton_->setIcon(KeyButtonPicture(picture_));
  // The menu opens on the right button's press, whatever the platform's custom for
  // context menus.
  keyButton_->setContextMenuPolicy(Qt::PreventContextMenu);
  keyButton_->installEventFilter(this);
  connect(keyButton_, &QPushButton::clicked, this, [this] { Click(kKeyButton); });
  BuildKeyMenu();

  int left = kTransportLeft;
  for (size_t index = 0; index < kTransport.size(); ++index) {
    const TransportButton& entry = kTransport[index];
    QPushButton* button = MakeButton(this, entry.control, entry.name);
    button->setGeometry(QRect(QPoint(left, Centred(kTransportButtonSize.height())), kTransportButtonSize));
    button->setIcon(TransportIcon(entry.control));
    button->setIconSize(kTransportSize);
    connect(button, &QPushButton::clicked, this, [this, control = entry.control] { Click(control); });
    transport_[index] = button;
    left += kTransportButtonSize.width();
  }

  interpolation_->setObjectName(QString("combo%1").arg(kInterpolationBox));
  interpolation_->setAccessibleName("Interpolation");
  interpolation_->setFocusPolicy(Qt::NoFocus);
  interpolation_->addItems({"Step", "Linear", "Cubic"});
  const int boxHeight = interpolation_->sizeHint().height();
  interpolation_->setGeometry(left + kBoxGap, Centred(boxHeight), kBoxWidth, boxHeight);
  connect(interpolation_, &QComboBox::activated, this, [this](int index) {
    controller_.Send(abi::kBarCommand, Command(abi::kSelectionChanged, kInterpolationBox), index);
  });

  slider_->setGeometry(left + kBoxGap + kBoxWidth + kSliderGap, 0, kMinimumSliderWidth, kHeight);
  slider_->SetNotify([this](uint32_t word) { controller_.Send(abi::kBarSlider, word, 0); });
  slider_->SetKeyMoved([this](int index, int32_t time) { controller_.MoveKeyMark(index, time); });

  resize(slider_->geometry().right() + 1, kHeight);
  Show(BarViewState{});
}

void ControlBar::BuildKeyMenu() {
  const auto add = [this](QMenu* menu, const char* text, KeyCommand command) {
    QAction* action = menu->addAction(text);
    connect(action, &QAction::triggered, this,
            [this, command] { controller_.Send(abi::kBarCommand, command, 0); });
  };
  QMenu* set = keyMenu_->addMenu("Set");
  add(set, "Selected", kSetSelected);
  add(set, "Object", kSetObject);
  add(set, "Scene", kSetScene);
  QMenu* remove = keyMenu_->addMenu("Delete");
  add(remove, "Selected", kDeleteSelected);
  add(remove, "Object", kDeleteObject);
  add(remove, "Frame", kDeleteFrame);
  add(remove, "Scene", kDeleteScene);
  add(keyMenu_, "Options", kKeyOptions);
}

bool ControlBar::eventFilter(QObject* watched, QEvent* event) {
  if (watched != keyButton_ || event->type() != QEvent::MouseButtonPress) return false;
  const auto* press = static_cast<QMouseEvent*>(event);
  if (press->button() != Qt::RightButton) return false;
  keyMenu_->popup(press->globalPosition().toPoint());
  return true;
}

void ControlBar::Click(uint32_t control) {
  controller_.Send(abi::kBarCommand, Command(abi::kButtonClicked, control), 0);
}

void ControlBar::Show(const BarViewState& state) {
  keyButton_->setChecked(state.animationMode);
  if (state.picture != picture_) {
    picture_ = state.picture;
    keyButton_->setIcon(KeyButtonPicture(picture_));
  }
  keyButton_->setToolTip(QString::fromStdString(state.selectedName));
  for (size_t index = 0; index < transport_.size(); ++index) {
    transport_[index]->setEnabled(state.controlsEnabled && kTransport[index].control != kPlay);
  }
  interpolation_->setEnabled(state.controlsEnabled);
  interpolation_->setCurrentIndex(
      state.interpolationIndex < interpolation_->count() ? state.interpolationIndex : -1);
  slider_->setEnabled(state.controlsEnabled);
  slider_->SetRange(state.minimum, state.maximum);
  slider_->SetPos(state.position);
  slider_->SetKeyTimes(state.keyTimes);
}

void ControlBar::resizeEvent(QResizeEvent* event) {
  QRect place = slider_->geometry();
  place.setWidth(std::max(kMinimumSliderWidth, event->size().width() - place.left()));
  slider_->setGeometry(place);
  QWidget::resizeEvent(event);
}

void QtBarWindow::Show(const BarViewState& state) {
  if (bar_) bar_->Show(state);
}

void QtBarWindow::Place(int32_t left, int32_t top, int32_t width, int32_t height, bool shown) {
  if (!bar_) return;
  bar_->setGeometry(left, top, width, height);
  bar_->setVisible(shown);
}

std::unique_ptr<BarWindow> MakeControlBar(uint32_t parent, BarController& controller) {
  QWidget* host = parent != 0 ? QWidget::find(static_cast<WId>(parent)) : nullptr;
  if (!host) return nullptr;
  return std::make_unique<QtBarWindow>(new ControlBar(controller, host));
}

}  // namespace lumetra::ui::qt
