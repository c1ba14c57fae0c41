#include "ui/qt/dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QRegularExpression>

namespace lumetra::ui::qt {
namespace {

using platform::MessageAnswer;
using platform::MessageButtons;
using platform::MessageIcon;

QMessageBox::StandardButtons Buttons(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::OkCancel:
      return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageButtons::YesNo:
      return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::YesNoCancel:
      return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MessageButtons::Ok:
      break;
  }
  return QMessageBox::Ok;
}

QMessageBox::Icon Icon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Stop:
      return QMessageBox::Critical;
    case MessageIcon::Exclamation:
      return QMessageBox::Warning;
    case MessageIcon::Information:
      return QMessageBox::Information;
    case MessageIcon::Question:
      return QMessageBox::Question;
    case MessageIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

MessageAnswer Answer(int clicked, QMessageBox::StandardButtons offered) {
  switch (clicked) {
    case QMessageBox::Ok:
      return MessageAnswer::Ok;
    case QMessageBox::Cancel:
      return MessageAnswer::Cancel;
    case QMessageBox::Yes:
      return MessageAnswer::Yes;
    case QMessageBox::No:
      return MessageAnswer::No;
    default:
      break;
  }
  if (offered & QMessageBox::Cancel) return MessageAnswer::Cancel;
  if (offered & QMessageBox::No) return MessageAnswer::No;
  return MessageAnswer::Ok;
}

}  // namespace

MessageAnswer ShowMessageBox(const platform::MessageRequest& request) {
  const QMessageBox::StandardButtons buttons = Buttons(request.buttons);
  QMessageBox box(Icon(request.icon), QString::fromStdString(request.caption),
                  QString::fromStdString(request.text), buttons, QApplication::activeWindow());
  return Answer(box.exec(), buttons);
}

QStringList NameFilters(const std::string& filter) {
  static const QRegularExpression kShownPatterns(R"(\s*\([^()]*\)\s*$)");
  const QStringList parts = QString::fromStdString(filter).split('|');
  QStringList filters;
  for (qsizetype index = 0; index + 1 < parts.size(); index += 2) {
    const QString description = parts[index].trimmed();
    if (description.isEmpty()) break;  // the list's end
    QStringList patterns = parts[index + 1].split(';', Qt::SkipEmptyParts);
    for (QString& pattern : patterns) {
      pattern = pattern.trimmed();
      if (pattern == "*.*") pattern = "*";
    }
    patterns.removeAll(QString());
    if (patterns.isEmpty()) continue;
    filters << QString(description).remove(kShownPatterns) + " (" + patterns.join(' ') + ")";
  }
  return filters;
}

std::optional<std::filesystem::path> ShowSaveFileDialog(const platform::SaveFileRequest& request) {
  QFileDialog dialog(QApplication::activeWindow(), QString(),
                     QString::fromStdString(request.folder.string()));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  const QStringList filters = NameFilters(request.filter);
  if (!filters.isEmpty()) dialog.setNameFilters(filters);
  QString extension = QString::fromStdString(request.defaultExtension);
  if (extension.startsWith('.')) extension.remove(0, 1);
  dialog.setDefaultSuffix(extension);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt);
  if (!request.fileName.empty()) dialog.selectFile(QString::fromStdString(request.fileName));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return std::filesystem::path(dialog.selectedFiles().constFirst().toStdString());
}

}  // namespace lumetra::ui::qt
