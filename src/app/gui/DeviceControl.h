#pragma once

#include "device/Clock.h"
#include "device/DeviceLink.h"
#include "device/DeviceTransport.h"
#include "device/StatusCheck.h"

#include <QObject>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>

class QThread;

namespace oruk::gui {

// The device as the windows see it (a copy, kept current by signals).
struct DeviceInfo {
    bool held = false;
    bool online = false; // DeviceOnline
    QString serialNo;
    QString hardwareVersion;
    LinkState link; // every link value, for the shared state
};

// The GUI side of the device link. The link and every exchange live on a thread of their own;
// the calls here return at once and results come back as queued signals, so no window freezes
// while the device talks (a status check is 1.5 s of exchanges, a missing reply 300 ms).
class DeviceControl : public QObject {
    Q_OBJECT
public:
    DeviceControl(std::unique_ptr<DeviceTransport> transport, std::unique_ptr<Clock> clock, TrayTexts texts,
                  QObject* parent = nullptr);
    ~DeviceControl() override;

    DeviceInfo Info() const { return info_; }
    DeviceTransport& Transport() { return *transport_; }
    Clock& GetClock() { return *clock_; }

    // The device-change handling once (the first search at start-up).
    void Search();
    // Balloons are not shown while the main window's first activation is pending.
    void SetFirstActivation(bool pending) { firstActivation_ = pending; }
    // The status check: statusViewChanged signals, then statusCheckFinished.
    void StartStatusCheck();
    void ReadUsageCounter(); // without stepping; usageCounterRead follows
    void PlayDeviceSound(int n);
    void SendCommand(const QString& command);
    // Waits (the GUI keeps processing events) until every exchange asked for so far is over.
    void WaitIdle();
    // The status window's exit button and a failed database start-up take the device off line.
    void SetOffline();

    // Runs fn on the device thread with the link (for windows of later subsystems).
    void Post(std::function<void(DeviceLink&)> fn);

signals:
    void infoChanged(const oruk::gui::DeviceInfo& info);
    void trayChanged(const oruk::TrayNotice& notice);
    void balloon(const oruk::Balloon& balloon); // probe fault
    void hideBalloon();
    void statusViewChanged(const oruk::StatusCheckView& view);
    void statusCheckFinished(const oruk::StatusCheckOutcome& outcome);
    void usageCounterRead(long long count);

private:
    class Observer;
    void PublishInfo(); // on the device thread

    std::unique_ptr<DeviceTransport> transport_;
    std::unique_ptr<Clock> clock_;
    std::unique_ptr<DeviceLink> link_;
    std::unique_ptr<Observer> observer_;
    QThread* thread_ = nullptr;
    QObject* worker_ = nullptr; // lives on thread_; queued calls run there
    std::atomic<bool> firstActivation_{true};
    DeviceInfo info_;
};

} // namespace oruk::gui

Q_DECLARE_METATYPE(oruk::gui::DeviceInfo)
Q_DECLARE_METATYPE(oruk::TrayNotice)
Q_DECLARE_METATYPE(oruk::Balloon)
Q_DECLARE_METATYPE(oruk::StatusCheckView)
Q_DECLARE_METATYPE(oruk::StatusCheckOutcome)
