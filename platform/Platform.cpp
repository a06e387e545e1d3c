#include "platform/Platform.h"

#include <cassert>

namespace {
TPlatform* GPort = nullptr;
}

TPlatform& TPlatform::Get()
{
    assert(GPort && "the program entry sets the platform port before anything else");
    return *GPort;
}

void TPlatform::Set(TPlatform* Port) { GPort = Port; }
