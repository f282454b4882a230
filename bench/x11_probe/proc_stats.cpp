#include "proc_stats.h"

#include <dirent.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

namespace rc::probe {

namespace {

std::vector<std::string> Entries(const std::string& dir) {
  std::vector<std::string> names;
  DIR* d = opendir(dir.c_str());
  if (d == nullptr) return names;
  while (dirent* e = readdir(d)) {
    if (e->d_name[0] != '.') names.emplace_back(e->d_name);
  }
  closedir(d);
  return names;
}

// The inode of the listening Unix socket bound to `path`, or empty.
std::string ListeningSocketInode(const std::string& path) {
  std::ifstream net("/proc/net/unix");
  std::string line;
  std::getline(net, line);  // header
  while (std::getline(net, line)) {
    std::istringstream fields(line);
    std::string slot, refs, protocol, flags, type, state, inode, name;
    fields >> slot >> refs >> protocol >> flags >> type >> state >> inode >> name;
    // A name may be abstract ("@/tmp/.X11-unix/X1") or a file.
    if (name == path || name == "@" + path) return inode;
  }
  return {};
}

bool HoldsSocket(const std::string& pid, const std::string& inode) {
  const std::string fdDir = "/proc/" + pid + "/fd";
  const std::string wanted = "socket:[" + inode + "]";
  for (const std::string& fd : Entries(fdDir)) {
    char target[128] = {};
    const ssize_t n = readlink((fdDir + "/" + fd).c_str(), target, sizeof target - 1);
    if (n > 0 && wanted == target) return true;
  }
  return false;
}

}  // namespace

double CpuMs(pid_t pid) {
  const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
  double ns = 0;
  for (const std::string& tid : Entries(tasks)) {
    std::ifstream stat(tasks + "/" + tid + "/schedstat");
    double onCpu = 0;
    if (stat >> onCpu) ns += onCpu;
  }
  return ns / 1e6;
}

double PeakRssMiB(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string key;
  while (status >> key) {
    if (key == "VmHWM:") {
      double kib = 0;
      status >> kib;
      return kib / 1024.0;
    }
    status.ignore(4096, '\n');
  }
  return 0;
}

pid_t XServerPid(const std::string& display) {
  const size_t colon = display.find(':');
  if (colon == std::string::npos) return 0;
  const std::string number = display.substr(colon + 1, display.find('.', colon) - colon - 1);
  const std::string inode = ListeningSocketInode("/tmp/.X11-unix/X" + number);
  if (inode.empty()) return 0;
  for (const std::string& pid : Entries("/proc")) {
    if (pid.find_first_not_of("0123456789") == std::string::npos && HoldsSocket(pid, inode)) {
      return static_cast<pid_t>(std::atoi(pid.c_str()));
    }
  }
  return 0;
}

}  // namespace rc::probe
