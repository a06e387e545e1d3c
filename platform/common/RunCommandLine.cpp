#include "platform/common/RunCommandLine.h"

std::string FormatRunCommandLine(const TLoginCommand& Command)
{
    std::string Line = "\"" + Command.Program + "\"";
    for (const std::string& Argument : Command.Arguments)
        Line += " " + Argument;
    return Line;
}
