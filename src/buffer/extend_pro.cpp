#include "buffer/extend_pro.h"

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <thread>
#include <vector>

#include "buffer/data_buffer.h"
#include "buffer/stored_paths.h"
#include "platform/ini_file.h"
#include "platform/strprintf.h"
#include "platform/user_interfaces.h"

extern char** environ;

namespace quenlet {
namespace {

constexpr const char* kNameError = "[ExtendPro]-ExtendProName item error";
constexpr const char* kStartError = "Run external plugin fail !";

// A plug-in is named by a plain file name of the ExtPro folder: nothing that
// could lead anywhere else.
bool IsPlainFileName(const std::string& name) {
  return !name.empty() && name.find('/') == std::string::npos &&
         name.find('\\') == std::string::npos && name.find("..") == std::string::npos &&
         name != "." && name.find('\0') == std::string::npos;
}

bool IsRegularFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// Starts the program with no arguments but its own path, no shell and no
// inherited descriptors beyond the standard three. A small thread reaps it
// when it ends, so a finished plug-in leaves no zombie behind.
int Spawn(const std::string& program) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addclosefrom_np(&actions, 3);
  std::vector<char> path(program.begin(), program.end());
  path.push_back('\0');
  char* argv[] = {path.data(), nullptr};
  pid_t pid = 0;
  const int rc = ::posix_spawn(&pid, path.data(), &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) return rc;
  std::thread([pid] {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
  }).detach();
  return 0;
}

}  // namespace

bool HaveExtendPro(const std::string& ic_ini_path) {
  return IniFile(ic_ini_path).ReadInteger("ExtendPro", "HaveExtendPro", 0) != 0;
}

int32_t RunExtendPro(const DataBuffer& buffer, const ProgramPaths& paths, Messages& messages,
                     int64_t main_window_handle, int32_t action) {
  const std::string stored_ic_ini = buffer.GetIcFileName();
  const std::string ic_ini = ResolveIcIniFile(buffer, paths);
  if (ic_ini.empty() || !HaveExtendPro(ic_ini)) return 0;

  const std::string name = IniFile(ic_ini).ReadString("ExtendPro", "ExtendProName", "NONE");
  if (name == "NONE") {
    messages.Box(kNameError, "INI file error", MessageButtons::Ok, MessageIcon::None);
    return -1;
  }
  if (!IsPlainFileName(name)) {
    messages.Box(strprintf("%s\n\n\"%s\" is not a file name of the ExtPro folder.", kNameError,
                           name.c_str()),
                 "INI file error", MessageButtons::Ok, MessageIcon::Stop);
    return -1;
  }
  const std::string system_folder = ResolveSystemFolder(buffer, paths);
  const std::string program = EntryInFolder(EntryInFolder(system_folder, "ExtPro") + "/", name);
  if (!IsRegularFile(program)) {
    messages.Box(strprintf("%s\n\n%s does not exist.", kStartError, program.c_str()), "ERROR",
                 MessageButtons::Ok, MessageIcon::Stop);
    return -1;
  }

  IniFile hand_over(EntryInFolder(system_folder, "DDEFile.ini"));
  IniBatch batch;
  batch.WriteInteger("Action", "ActionFlag", action);
  batch.WriteString("Action", "ININame", stored_ic_ini);
  batch.WriteString("MainSys", "MainHandle",
                    strprintf("%lld", static_cast<long long>(main_window_handle)));
  // Only the stored device name can hold text the file cannot keep.
  if (!batch.CanWrite()) {
    messages.Box(strprintf("%s\n\nThe device file name cannot be written to %s: it holds a line "
                           "break or a NUL character.",
                           kStartError, hand_over.path().c_str()),
                 "ERROR", MessageButtons::Ok, MessageIcon::Stop);
    return -1;
  }
  if (!hand_over.Write(batch)) {
    messages.Box(strprintf("%s\n\n%s cannot be written.", kStartError, hand_over.path().c_str()),
                 "ERROR", MessageButtons::Ok, MessageIcon::Stop);
    return -1;
  }

  if (const int rc = Spawn(program); rc != 0) {
    messages.Box(strprintf("%s\n\n%s: %s", kStartError, program.c_str(), std::strerror(rc)),
                 "ERROR", MessageButtons::Ok, MessageIcon::Stop);
    return -1;
  }
  return 1;
}

}  // namespace quenlet
