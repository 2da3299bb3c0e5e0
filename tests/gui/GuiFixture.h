#pragma once

#include "app/TextCipher.h"
#include "app/gui/Workstation.h"
#include "records/DbSession.h"
#include "records/Schema.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <random>
#include <string>

namespace oruk::test {

// One application object for the whole run (windows need it; Qt Sql loads its driver through it).
QApplication& App();

// Processes events until cond() holds or timeoutMs pass; returns cond().
bool WaitFor(const std::function<bool()>& cond, int timeoutMs = 5000);

// Acts on the next modal window of type T as soon as it is shown (from inside its event loop).
// The action gets the window; `seen` tells whether it came.
template <typename T> std::shared_ptr<bool> OnNextModal(std::function<void(T*)> act, int timeoutMs = 8000) {
    auto seen = std::make_shared<bool>(false);
    auto* timer = new QTimer(qApp);
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, act, seen, clock, timeoutMs] {
        if (auto* w = qobject_cast<T*>(QApplication::activeModalWidget()); w && w->isVisible()) {
            timer->stop();
            timer->deleteLater();
            *seen = true;
            act(w);
        } else if (clock->elapsed() > timeoutMs) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start();
    return seen;
}

// A temporary working directory with the installed databases: template, the reference texts
// (two meridian rows) and the reference programs.
class WorkDirTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    void InstallBase();
    // A MEMTDB row whose every text column holds "<column> of <mkey>", enciphered.
    void AddMeridianRow(int mkey, const std::string& emptyColumn = {});

    std::unique_ptr<gui::Workstation> Start(gui::DeviceKind kind, long long usageCount = 0x000102);
    // Shows the main window and waits until the status window has come and gone.
    bool RunFirstActivation(gui::Workstation& ws, int timeoutMs = 10000);

    std::filesystem::path dir;
};

} // namespace oruk::test
