#include "app/qt/qt_host.h"

#include <QApplication>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <cstdio>
#include <cstdlib>

#include "app/qt/main_window.h"

namespace vantrel::qt {
namespace {

QString ToQt(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QStringList NameFiltersOf(std::string_view filter) {
  const QStringList parts = ToQt(filter).split('|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QStringList patterns = parts[i + 1].split(';', Qt::SkipEmptyParts);
    for (auto& p : patterns) p = p.trimmed();
    filters << parts[i] + " (" + patterns.join(' ') + ")";
  }
  return filters;
}

void QtHost::Beep() {
  QApplication::beep();
}

void QtHost::ShowMessageBox(std::string_view text) {
  // Also on stderr, for whoever runs the window from a script.
  std::fprintf(stderr, "vantrel: %.*s\n", static_cast<int>(text.size()), text.data());
  std::fflush(stderr);
  // The box must show the window as it is at this moment, also in the middle of a tick.
  if (window_) window_->SyncFromModels();
  QMessageBox box(QMessageBox::NoIcon, "vtl", ToQt(text), QMessageBox::Ok, window_);
  box.exec();
}

bool QtHost::ShiftHeld() {
  return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ShiftModifier);
}

void QtHost::ExitProcess(int code) {
  std::fflush(nullptr);
  std::_Exit(code);
}

ScreenRect QtHost::Screen() {
  QScreen* screen = window_ ? window_->screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) return {};
  const QRect r = screen->geometry();
  return {r.left(), r.top(), r.width(), r.height()};
}

int QtHost::TextWidth(std::string_view text) {
  if (!window_) return static_cast<int>(text.size());
  return QFontMetrics(window_->Edit1Font()).horizontalAdvance(ToQt(text));
}

std::optional<std::string> QtHost::ChooseFile(const FileDialogRequest& request) {
  if (window_) window_->SyncFromModels();
  QFileDialog dialog(window_, ToQt(request.title), ToQt(request.initialFolder));
  dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilters(NameFiltersOf(request.filter));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().first().toStdString();
}

void QtHost::MoveFocus(FocusTarget target) {
  if (window_) window_->MoveFocus(target);
}

}  // namespace vantrel::qt
