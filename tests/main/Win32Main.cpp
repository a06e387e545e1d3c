// Test entry for the Windows build (run under Wine): the tests draw text through GDI.
#include "platform/win32/Win32Platform.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    TWin32Platform Port;
    TPlatform::Set(&Port);
    return RUN_ALL_TESTS();
}
