// Opens the plug-in's options sheet on a chosen page: the sheet is the plug-in's dialog, so
// the host turns its tabs once it shows, as a click on a tab would.
#pragma once

#include <QObject>
#include <QTimer>

namespace lumetra::gui {

// While it lives, turns the next options sheet that shows to `page` (0 the first).
class OptionsPageTurner : public QObject {
 public:
  explicit OptionsPageTurner(int page, QObject* parent = nullptr);

 private:
  // The sheet runs modally inside the plug-in's command, so only a timer reaches it.
  void Poll();

  int page_;
  QTimer poll_;
};

}  // namespace lumetra::gui
