#include "platform/single_instance.h"

#include <time.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QPointer>

#include <chrono>
#include <cstdlib>

#include "platform/qt/instance_lock.h"
#include "platform/qt/launch_channel.h"

namespace platform {

namespace {

constexpr char kLockFileName[] = "vintrel-instance.lock";
constexpr char kActivationTokenVariable[] = "XDG_ACTIVATION_TOKEN";
// An owner answers at once once its window is up; one that is still starting
// or already ending takes a few seconds at most. Past this it counts as hung.
constexpr std::chrono::seconds kOwnerAnswerDeadline{15};
// Between two looks at an owner that is starting or ending.
constexpr long kRetryIntervalNs = 20 * 1000 * 1000;

std::string WorkingFolder() {
  char* folder = ::getcwd(nullptr, 0);
  const std::string path = folder ? folder : "";
  std::free(folder);
  return path;
}

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

void PauseBeforeRetry() {
  const timespec interval{0, kRetryIntervalNs};
  ::nanosleep(&interval, nullptr);
}

// The toolkit's Wayland activation presents the token it finds here, as it does
// for the first window of a process.
void OfferActivationToken(const std::string& token) {
  if (!token.empty()) ::setenv(kActivationTokenVariable, token.c_str(), 1);
}

}  // namespace

struct CSingleInstance::State {
  std::unique_ptr<InstanceLock> lock;
  std::string socketPath;
  bool ownsLock = false;
  QPointer<LaunchServer> server;
};

CSingleInstance::CSingleInstance() : m_state(std::make_unique<State>()) {}

CSingleInstance::~CSingleInstance() {
  // The application owns the server and may be gone already.
  if (m_state->server) delete m_state->server;
}

CSingleInstance::Claim CSingleInstance::ClaimFolder(const std::string& storageFolder, int argc,
                                                    char** argv) {
  if (storageFolder.empty()) return Claim::Owner;  // nothing shared to guard
  m_state->lock = std::make_unique<InstanceLock>(storageFolder + '/' + kLockFileName);
  // The storage folder was made writable for this process, so this is a broken folder
  // that the engine will not use well either; guarding nothing keeps the shell usable.
  if (!m_state->lock->IsOpen()) return Claim::Owner;
  m_state->socketPath = LaunchSocketPath(storageFolder);
  const HandedLaunch launch =
      LaunchFromCommandLine(argc, argv, WorkingFolder(), Environment(kActivationTokenVariable));
  // Nobody blocks on the lock or the socket, so two launches at once cannot wait
  // on each other: each round one takes the lock or the other hears the owner.
  const auto deadline = std::chrono::steady_clock::now() + kOwnerAnswerDeadline;
  while (true) {
    if (m_state->lock->TryAcquire()) {
      m_state->ownsLock = true;
      return Claim::Owner;
    }
    if (DeliverLaunch(m_state->socketPath, m_state->lock->Holder(), launch) == Delivery::Delivered)
      return Claim::HandedOver;
    if (std::chrono::steady_clock::now() >= deadline) return Claim::NoAnswer;
    PauseBeforeRetry();
  }
}

void CSingleInstance::ListenForLaunches(
    std::function<void(const std::vector<std::string>&)> onLaunch) {
  if (!m_state->ownsLock || m_state->server || m_state->socketPath.empty()) return;
  m_state->server = new LaunchServer(
      m_state->socketPath,
      [onLaunch = std::move(onLaunch)](const HandedLaunch& launch) {
        OfferActivationToken(launch.activationToken);
        onLaunch(launch.arguments);
      },
      QCoreApplication::instance());
}

}  // namespace platform
