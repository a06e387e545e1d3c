#pragma once

#include <cstdint>
#include <string>

// Starting the clock when the user logs in: adds (Enable non-zero) or removes the login item
// named ValueName that runs this executable with "-autominimize" (on Windows the value of the
// per-user Run key, on X11 an autostart entry). Returns 0 when the system's store of login items
// could be opened, else its error code; a failed write or removal is not reported, and a removal
// of an item that is not there is no error. The clock calls it after every use of its settings
// dialog, so the item always names the executable's current place.
long SetRunAtLogin(std::int32_t Enable, const std::string& ValueName);
