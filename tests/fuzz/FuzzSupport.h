#pragma once

// What the fuzz targets share: a failed check prints what differs and aborts, which libFuzzer
// reports as a crash and keeps the input of; targets that need windows start the headless port
// and an application once per process.

#include "framework/windows/Application.h"
#include "platform/headless/HeadlessPlatform.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

inline void FuzzCheck(bool Holds, const std::string& What)
{
    if (!Holds) {
        std::fprintf(stderr, "fuzz check failed: %s\n", What.c_str());
        std::abort();
    }
}

struct THeadlessSession
{
    THeadlessPlatform Port;
    std::unique_ptr<TApplication> App;

    THeadlessSession()
    {
        TPlatform::Set(&Port);
        Port.SetTickCount(1000);
        Port.SetScreenSize({1024, 768});
        App = std::make_unique<TApplication>(nullptr);
        App->Initialize();
    }
    // Handles what a run queued and forgets the rest, so that runs do not pile up events.
    void Settle()
    {
        App->ProcessMessages();
        Port.ClearQueuedEvents();
    }
};
