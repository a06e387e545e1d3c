// Test entry for the build machine: every test runs on the headless port.
#include "platform/headless/HeadlessPlatform.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    THeadlessPlatform Port;
    TPlatform::Set(&Port);
    return RUN_ALL_TESTS();
}
