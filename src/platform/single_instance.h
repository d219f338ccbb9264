#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// One shell per storage folder: the first launch owns the folder; a later one
// hands its command line to the owner and ends.
class CSingleInstance {
 public:
  enum class Claim {
    Owner,       // this process owns the folder (or there is no folder to guard)
    HandedOver,  // the owner took the command line: this process ends
    NoAnswer,    // the owner neither answered nor ended in time
  };

  CSingleInstance();
  ~CSingleInstance();
  CSingleInstance(const CSingleInstance&) = delete;
  CSingleInstance& operator=(const CSingleInstance&) = delete;

  // storageFolder is UTF-8 and resolved; empty means the data lives in memory.
  // The ownership lasts as long as this object.
  Claim ClaimFolder(const std::string& storageFolder, int argc, char** argv);

  // The owner hears of later launches from here on, on the event loop of the
  // running application: their arguments after the program's name, relative
  // paths made absolute against their own working folder. Until then they wait;
  // once the application quits they wait for this process to end and own the
  // folder themselves. Nothing happens for a non-owner.
  void ListenForLaunches(std::function<void(const std::vector<std::string>&)> onLaunch);

 private:
  struct State;
  std::unique_ptr<State> m_state;
};

}  // namespace platform
