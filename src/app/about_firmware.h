#pragma once
// What the about box asks the programmer each time it opens: the unit is
// reconnected and its identification read for the firmware version; the
// device is loaded again afterwards, as after every reconnect.
#include <string>

namespace quenlet {

class Application;

// The firmware version (identification bytes 6 to 9), or "Not Available"
// when no unit answers or its reply is short.
std::string AboutBoxFirmware(Application& app);

}  // namespace quenlet
