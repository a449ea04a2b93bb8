#pragma once
// Devices may name an external plug-in program in their IC INI file
// ([ExtendPro] HaveExtendPro, ExtendProName). After a load it is started
// from the ExtPro folder of the system folder, with DDEFile.ini as the only
// hand-over: [Action] ActionFlag and ININame, [MainSys] MainHandle.
#include <cstdint>
#include <string>

namespace quenlet {

class DataBuffer;
class Messages;
class ProgramPaths;

// [ExtendPro] HaveExtendPro of the IC INI file at this real path is not 0.
bool HaveExtendPro(const std::string& ic_ini_path);

// Starts the current device's plug-in with the reason `action` (4 after a
// load). 0 when the device has none; -1 after a message when its name is
// missing or is not a plain file name of the ExtPro folder, when there is no
// such file or it cannot be started; 1 when it was started. The plug-in gets
// no arguments and no shell, inherits no open files, and is not waited for.
int32_t RunExtendPro(const DataBuffer& buffer, const ProgramPaths& paths, Messages& messages,
                     int64_t main_window_handle, int32_t action);

}  // namespace quenlet
