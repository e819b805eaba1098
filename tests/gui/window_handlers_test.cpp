#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QSlider>

#include "gui/gui_window.h"

namespace vantrel::testing {
namespace {

TEST(WindowHandlers, ProgramButtonRunsAJobThatTheWindowFollowsToTheEnd) {
  GuiWindow g;
  SrecWriter program;
  program.Fill(0, 3000, 7);
  g.form->SetUserProgram(g.home.Write("app.mot", program.Text()), false);
  g.window->SyncFromModels();
  auto* button = g.Widget<QPushButton>(ControlId::ButtonProgram);
  auto* status = g.Widget<QLabel>(ControlId::Panel5);
  auto* bar = g.Widget<QSlider>(ControlId::TrackBar1);

  QStringList statuses;
  int highest = 0;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    if (statuses.isEmpty() || statuses.back() != status->text()) statuses << status->text();
    highest = std::max(highest, bar->value());
  });
  watch.start(1);
  // The completion box opens inside a tick: meanwhile the window shows the job as it stands and
  // the sequence does not move on.
  QString box;
  QString captionDuringBox;
  int barDuringBox = -1;
  std::int32_t stepAtBox = -1;
  std::int32_t stepAfterWait = -2;
  GuiWindow::OnNextModal([&](QWidget* modal) {
    box = static_cast<QMessageBox*>(modal)->text();
    captionDuringBox = button->text();
    barDuringBox = bar->value();
    stepAtBox = g.form->SequenceStep();
    QTest::qWait(100);
    stepAfterWait = g.form->SequenceStep();
    EXPECT_EQ(modal->windowTitle(), "vtl");
  });
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_TRUE(QTest::qWaitFor([&] { return button->text() == "書き込み中止"; }, 1000));
  ASSERT_TRUE(QTest::qWaitFor([&] { return g.form->SequenceStep() == ProgrammingSequence::Idle; }, 30000));
  QTest::qWait(50);

  EXPECT_EQ(box, " ユーザプログラム・書き込み完了 ");
  EXPECT_EQ(captionDuringBox, "書き込み中止");
  EXPECT_EQ(barDuringBox, 1000);
  EXPECT_EQ(stepAtBox, stepAfterWait);
  EXPECT_EQ(button->text(), "書き込み開始");
  EXPECT_EQ(bar->value(), 0);
  EXPECT_EQ(highest, 1000);
  EXPECT_EQ(g.form->fields.JobResult, JobResultCode::Completed);
  EXPECT_TRUE(statuses.contains("ビットレート調整中") &&
              statuses.filter("書き込み中：Address").size() > 0)
      << statuses.join("|").toStdString();
  EXPECT_EQ(status->text(), "ブートモードにして左のボタンを押して下さい");
  for (const auto& [address, value] : program.image()) {
    ASSERT_EQ(g.model.flash().At(address), value) << address;
  }
}

TEST(WindowHandlers, TypingIntoTheCpuTypeSelectorAppliesEachKeystroke) {
  GuiWindow g;
  auto* combo = g.Widget<QComboBox>(ControlId::ComboBoxCpuType);
  auto* baud = g.Widget<QComboBox>(ControlId::ComboBoxBr1);
  combo->setFocus();
  combo->lineEdit()->selectAll();
  const struct {
    const char* key;
    const char* baudB;
  } keys[] = {{"A", "2400"}, {".", "2400"}, {"m", "4800"}, {"o", "4800"}, {"t", "19200"}};
  for (const auto& k : keys) {
    QTest::keyClicks(combo, k.key);
    EXPECT_EQ(baud->currentText().toStdString(), k.baudB) << "after " << k.key;
  }
  EXPECT_EQ(g.form->controls.ComboBoxCpuType.text, "A.mot");
}

// The port box keeps its designed size; a device path shows whole in its list and tool tip.
TEST(WindowHandlers, ThePortBoxShowsALongDevicePathWhole) {
  GuiWindow g;
  const std::string path = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0";
  g.form->controls.ComboBoxComPort.items = {"COM1", path};
  g.form->controls.ComboBoxComPort.text = path;
  g.window->SyncFromModels();
  auto* port = g.Widget<QComboBox>(ControlId::ComboBoxComPort);
  EXPECT_EQ(port->width(), 65);
  EXPECT_EQ(port->toolTip().toStdString(), path);
  QTest::keyClicks(port, "/dev/ttyUSB0");  // the tool tip follows what is typed
  EXPECT_EQ(port->toolTip(), port->currentText());
  EXPECT_GE(port->view()->minimumWidth(),
            port->fontMetrics().horizontalAdvance(QString::fromStdString(path)));
}

TEST(WindowHandlers, PathFieldShowsTheWholePathOnlyWhileFocused) {
  GuiWindow g;
  const std::string path = "/" + std::string(40, 'x') + "/" + std::string(30, 'y') + "/app.mot";
  g.form->SetUserProgram(path, false);
  g.window->SyncFromModels();
  auto* edit = g.Widget<QLineEdit>(ControlId::Edit1);
  const QString shortened = edit->text();
  EXPECT_TRUE(shortened.startsWith("/.../")) << shortened.toStdString();
  edit->setFocus(Qt::TabFocusReason);
  EXPECT_EQ(edit->text().toStdString(), path);
  g.Widget<QPushButton>(ControlId::Button5)->setFocus(Qt::TabFocusReason);
  EXPECT_EQ(edit->text(), shortened);
}

TEST(WindowHandlers, DroppingThreeFilesTakesTheFirst) {
  GuiWindow g;
  QMimeData mime;
  mime.setUrls({QUrl::fromLocalFile("/d/first.mot"), QUrl::fromLocalFile("/d/second.mot"),
                QUrl::fromLocalFile("/d/third.s")});
  mime.setText("/d/first.mot");  // as file managers do: a field would take it as typed text
  QDragEnterEvent enter(QPoint(10, 80), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(g.window->Control(ControlId::Edit1), &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(10, 80), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(g.window->Control(ControlId::Edit1), &drop);
  EXPECT_EQ(g.form->fields.UserProgramPath, "/d/first.mot");
  EXPECT_EQ(g.Widget<QLineEdit>(ControlId::Edit1)->text(), "/d/first.mot");
  EXPECT_EQ(QApplication::focusWidget(), g.window->Control(ControlId::Button5));
}

TEST(WindowHandlers, FileDialogHasItsTitleFilterAndFolder) {
  GuiWindow g;
  g.home.Write("programs/app.mot", "");
  g.form->SetUserProgram(g.home.PathOf("programs/app.mot"), false);
  QString title;
  QStringList filters;
  QString folder;
  GuiWindow::OnNextModal([&](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    title = dialog->windowTitle();
    filters = dialog->nameFilters();
    folder = dialog->directory().absolutePath();
  });
  QTest::mouseClick(g.Widget<QPushButton>(ControlId::Button5), Qt::LeftButton);
  EXPECT_EQ(title, "書き込むファイルを選択してください");
  EXPECT_EQ(filters,
            QStringList({"Object Files (*.MOT, *.S) (*.mot *.s)", "MOT Files (*.MOT) (*.mot)",
                         "S Files (*.S) (*.s)", "All Files (*.*) (*.*)"}));
  EXPECT_EQ(folder.toStdString(), g.home.PathOf("programs"));
  EXPECT_EQ(g.form->fields.UserProgramPath, g.home.PathOf("programs/app.mot"));  // cancelled
}

}  // namespace
}  // namespace vantrel::testing
