#pragma once

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "app/qt/main_window.h"
#include "app/qt/qt_host.h"
#include "platform/clock.h"
#include "support/srec_writer.h"
#include "support/temp_folder.h"
#include "simulator/in_process_device.h"
#include "simulator/target_model.h"

namespace vantrel::testing {

// The Qt window on the offscreen platform, on a real clock, wired to an in-process simulated
// classic target, started from an executable path in a folder of its own.
struct GuiWindow {
  GuiWindow() : model(Options()) {
    SrecWriter control;
    control.Fill(0xFFE000, 40, 5, 16);
    home.Write("CTRL_MOT/CLS.mot", control.Text());
    home.Write("CTRL_MOT/Baud.ini",
               "[CLS.mot]\nBaudB=9600\nBaudP=38400\nBlockSize=128\nRomBaseAddr=0\n"
               "[A]\nBaudB=2400\n[A.m]\nBaudB=4800\n[A.mot]\nBaudB=19200\n");
    home.Write("vantrel.ini", "[Writer]\nCPU=CLS.mot\n[CommPort]\nPortNo=sim\n");
    form = std::make_unique<TForm1>(host, clock,
                                    std::make_unique<simulator::InProcessDevice>(model, clock));
    window = std::make_unique<qt::MainWindow>(*form, clock);
    host.AttachWindow(window.get());
    form->Initialise(home.PathOf("vantrel"), {});
    window->SyncFromModels();
    window->show();
    window->activateWindow();
    active = QTest::qWaitForWindowActive(window.get(), 2000);
  }

  static simulator::TargetOptions Options() {
    simulator::TargetOptions o;
    o.classic.eraseMs = 50;
    o.classic.programmingBaud = 38400;
    return o;
  }

  template <class W>
  W* Widget(ControlId id) const {
    return static_cast<W*>(window->Control(id));
  }

  // Runs `inspect` on the next modal box or dialog and then closes it, within timeoutMs.
  static void OnNextModal(std::function<void(QWidget*)> inspect, int timeoutMs = 30000) {
    auto* timer = new QTimer;
    auto started = std::make_shared<qint64>(QDateTime::currentMSecsSinceEpoch());
    QObject::connect(timer, &QTimer::timeout, [timer, inspect, started, timeoutMs] {
      QWidget* modal = QApplication::activeModalWidget();
      const bool late = QDateTime::currentMSecsSinceEpoch() - *started > timeoutMs;
      if (modal == nullptr && !late) return;
      timer->stop();
      timer->deleteLater();
      if (modal == nullptr) return;
      inspect(modal);
      modal->close();
    });
    timer->start(20);
  }

  TempFolder home;
  platform::MonotonicClock clock;
  simulator::TargetModel model;
  DesktopHost host{qt::kToolkit};
  std::unique_ptr<TForm1> form;
  std::unique_ptr<qt::MainWindow> window;
  bool active = false;
};

}  // namespace vantrel::testing
