#include "app/gui/DeviceControl.h"

#include <QEventLoop>
#include <QMetaObject>
#include <QThread>

namespace oruk::gui {

class DeviceControl::Observer final : public DeviceLinkObserver, public StatusCheckObserver {
public:
    explicit Observer(DeviceControl& owner) : owner_(owner) {}
    // Called on the device thread (or the transport's); signals queue them to the GUI.
    void TrayChanged(const TrayNotice& n) override { emit owner_.trayChanged(n); }
    void ProbeFaultBalloon(const Balloon& b) override { emit owner_.balloon(b); }
    void HideBalloon() override { emit owner_.hideBalloon(); }
    void OnlineChanged(bool) override { owner_.PublishInfo(); }
    void Update(const StatusCheckView& v) override { emit owner_.statusViewChanged(v); }

private:
    DeviceControl& owner_;
};

DeviceControl::DeviceControl(std::unique_ptr<DeviceTransport> transport, std::unique_ptr<Clock> clock,
                             TrayTexts texts, QObject* parent)
    : QObject(parent), transport_(std::move(transport)), clock_(std::move(clock)) {
    qRegisterMetaType<DeviceInfo>();
    qRegisterMetaType<TrayNotice>();
    qRegisterMetaType<Balloon>();
    qRegisterMetaType<StatusCheckView>();
    qRegisterMetaType<StatusCheckOutcome>();

    link_ = std::make_unique<DeviceLink>(*transport_, *clock_, std::move(texts));
    observer_ = std::make_unique<Observer>(*this);
    link_->SetObserver(observer_.get());

    // The GUI's copy of the device values follows the device thread's reports.
    connect(this, &DeviceControl::infoChanged, this, [this](const DeviceInfo& i) { info_ = i; });

    thread_ = new QThread(this);
    thread_->setObjectName(QStringLiteral("DeviceThread"));
    worker_ = new QObject;
    worker_->moveToThread(thread_);
    connect(thread_, &QThread::finished, worker_, &QObject::deleteLater);
    thread_->start();

    // Arrival and removal: the link handles them on the device thread.
    transport_->SetChangeHandler([this] {
        Post([this](DeviceLink& link) {
            link.DeviceChanged(firstActivation_.load());
            PublishInfo();
        });
    });
}

DeviceControl::~DeviceControl() {
    transport_->SetChangeHandler({});
    thread_->quit();
    thread_->wait();
    link_->SetObserver(nullptr);
    if (transport_->IsOpen())
        transport_->Close();
}

void DeviceControl::Post(std::function<void(DeviceLink&)> fn) {
    QMetaObject::invokeMethod(
        worker_, [this, fn = std::move(fn)] { fn(*link_); }, Qt::QueuedConnection);
}

void DeviceControl::PublishInfo() {
    const LinkState s = link_->State();
    DeviceInfo i;
    i.held = s.DeviceHeld;
    i.online = s.DeviceOnline;
    i.serialNo = QString::fromStdString(s.DeviceSerialNo);
    i.hardwareVersion = QString::fromStdString(s.DeviceHardwareVersion);
    i.link = s;
    emit infoChanged(i);
}

void DeviceControl::Search() {
    Post([this](DeviceLink& link) {
        link.DeviceChanged(firstActivation_.load());
        PublishInfo();
    });
}

void DeviceControl::StartStatusCheck() {
    Post([this](DeviceLink& link) {
        StatusCheckOutcome out = RunStatusCheck(link, *clock_, observer_.get());
        PublishInfo(); // before the outcome, so the GUI's DeviceOnline is current when it arrives
        emit statusCheckFinished(out);
    });
}

void DeviceControl::ReadUsageCounter() {
    Post([this](DeviceLink& link) { emit usageCounterRead(link.ReadUsageCounter(false)); });
}

void DeviceControl::PlayDeviceSound(int n) {
    Post([n](DeviceLink& link) { link.PlayDeviceSound(n); });
}

void DeviceControl::SendCommand(const QString& command) {
    Post([c = command.toStdString()](DeviceLink& link) { link.SendCommand(c); });
}

void DeviceControl::WaitIdle() {
    QEventLoop loop;
    // Runs after everything queued before it; quits the loop from the GUI thread.
    QMetaObject::invokeMethod(
        worker_, [&loop] { QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection); },
        Qt::QueuedConnection);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

void DeviceControl::SetOffline() {
    info_.online = false;
    Post([this](DeviceLink& link) {
        link.SetOnline(false);
        PublishInfo();
    });
}

} // namespace oruk::gui
