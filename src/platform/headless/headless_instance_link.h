// A stand-in for the single-instance marker and the window search of a
// second start: the test says whether another instance runs and after how
// many searches its window appears; every packet sent is kept.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/instance_link.h"

namespace brindlock {

class HeadlessInstanceLink : public IInstanceLink {
public:
    bool AnotherInstanceRuns = false;
    // The window is found at this search (1-based); 0 means never.
    int WindowAppearsAtSearch = 1;
    uintptr_t Window = 0x1234;

    std::vector<std::string> MarkersCreated;
    int Searches = 0;
    std::vector<std::string> SearchedClasses;
    struct Sent {
        uintptr_t window;
        uintptr_t dwData;
        uint32_t cbData;
        std::string bytes;  // cbData bytes from lpData
    };
    std::vector<Sent> Packets;
    int LockAcquisitions = 0;
    int LockReleases = 0;

    bool InstanceMarkerExists(const std::string& name) override {
        MarkersCreated.push_back(name);
        return AnotherInstanceRuns;
    }
    uintptr_t FindWindowOfClass(const std::string& className) override {
        ++Searches;
        SearchedClasses.push_back(className);
        return WindowAppearsAtSearch != 0 && Searches >= WindowAppearsAtSearch ? Window : 0;
    }
    void SendCopyData(uintptr_t window, const CopyDataView& data) override {
        Packets.push_back({window, data.dwData, data.cbData,
                           std::string(static_cast<const char*>(data.lpData), data.cbData)});
    }
    bool AcquireLogLock(uint32_t) override {
        ++LockAcquisitions;
        return true;
    }
    void ReleaseLogLock() override { ++LockReleases; }
};

}  // namespace brindlock
