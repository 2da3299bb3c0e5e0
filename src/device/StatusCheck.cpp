#include "device/StatusCheck.h"

#include <algorithm>

namespace oruk {

StatusCheckOutcome RunStatusCheck(DeviceLink& link, Clock& clock, StatusCheckObserver* observer) {
    StatusCheckOutcome out;
    StatusCheckView& v = out.View;
    auto notify = [&] {
        if (observer)
            observer->Update(v);
    };

    std::string model, serial, version;
    out.DeviceHeld = link.Held();
    if (out.DeviceHeld) {
        model = "Kv-50";
        serial = link.State().DeviceSerialNo;
        version = link.ReadHardwareVersion();
        if (version.empty()) {
            version = "USB Status Error!";
            out.ErrorText = kUsbFaultMessage;
            link.SetOnline(false);
        }
    } else {
        out.ErrorText = kNoDeviceMessage;
        model = serial = version = "None!";
        link.SetOnline(false);
    }
    v.Lamp = !out.DeviceHeld ? StatusLampColour::Red
                             : (link.Online() ? StatusLampColour::Green : StatusLampColour::Yellow);
    v.Progress = 0;
    v.StepLampsOn = 1;
    notify();

    bool group1 = true, group2 = true, group3 = true;
    const std::int64_t start = clock.NowMs();
    for (;;) {
        const std::int64_t elapsed = clock.NowMs() - start;
        if (elapsed > 1500)
            break;
        const StatusCheckView before = v;
        const std::int64_t t = elapsed / 15 * 15;
        v.Progress = static_cast<int>(std::min<std::int64_t>(elapsed / 15, 100));
        // The values appear once 400 ms have passed; a slow exchange must not skip them.
        if (t > 400 && !v.ValuesShown) {
            v.Model = model;
            v.Serial = serial;
            v.HardwareVersion = version;
            v.ValuesShown = true;
        }
        int lamps = 1;
        for (int limit = 200; limit <= 1200; limit += 200)
            if (t > limit)
                ++lamps;
        v.StepLampsOn = lamps;
        if (before.Progress != v.Progress || before.StepLampsOn != v.StepLampsOn ||
            before.ValuesShown != v.ValuesShown)
            notify();
        if (link.Online()) {
            if (t < 500) {
                if (group1) {
                    group1 = false;
                    link.SendCommand("C007F");
                    link.SendCommand("F00FF");
                    link.SendCommand("A00FF");
                }
            } else if (t < 1000) {
                if (group2) {
                    group2 = false;
                    link.SendCommand("A0000");
                    link.SendCommand("B00FF");
                }
            } else if (group3) {
                group3 = false;
                link.SendCommand("A00FF");
            }
        }
        clock.SleepMs(5);
    }
    out.Online = link.Online();
    if (out.Online)
        link.SendCommand("X0000");
    v.Model = model;
    v.Serial = serial;
    v.HardwareVersion = version;
    v.ValuesShown = true;
    v.Progress = 100;
    v.StatusText = "Done.";
    notify();
    if (!out.Online) {
        if (out.ErrorText.empty())
            out.ErrorText = kUsbFaultMessage; // went off line during the check
        v.StatusText = out.ErrorText;
        v.ExitButtonVisible = true;
        notify();
    } else {
        out.ErrorText.clear();
    }
    return out;
}

} // namespace oruk
