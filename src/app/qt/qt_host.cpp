#include "app/qt/qt_host.h"

#include <QApplication>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>

#include "app/qt/control_widgets.h"

namespace vantrel::qt {

QStringList NameFiltersOf(const std::vector<DialogFilterEntry>& filter) {
  QStringList filters;
  for (const auto& entry : filter) {
    QStringList patterns;
    for (const auto& p : entry.patterns) patterns << ToQt(p);
    filters << ToQt(entry.description) + " (" + patterns.join(' ') + ")";
  }
  return filters;
}

namespace {

void ShowBox(DesktopWindow* window, std::string_view text) {
  QMessageBox box(QMessageBox::NoIcon, "vtl", ToQt(text), QMessageBox::Ok,
                  dynamic_cast<QWidget*>(window));
  box.exec();
}

std::optional<std::string> RunFileDialog(DesktopWindow* window, const FileDialogRequest& request,
                                         const std::vector<DialogFilterEntry>& filter) {
  QFileDialog dialog(dynamic_cast<QWidget*>(window), ToQt(request.title),
                     ToQt(request.initialFolder));
  dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilters(NameFiltersOf(filter));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().first().toStdString();
}

}  // namespace

const DesktopToolkit kToolkit = {
    [] { QApplication::beep(); },
    [] { return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ShiftModifier); },
    ShowBox,
    RunFileDialog,
};

}  // namespace vantrel::qt
