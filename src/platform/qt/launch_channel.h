#pragma once

#include <sys/types.h>

#include <QObject>

#include <functional>
#include <string>

#include "platform/qt/launch_message.h"

class QLocalServer;
class QLocalSocket;

namespace platform {

// Where the owner of storageFolder listens: a socket named from the folder's
// hash in a folder only this user can enter ($XDG_RUNTIME_DIR, else a private
// folder under the temporary folder). Empty when no such place holds the name.
std::string LaunchSocketPath(const std::string& storageFolder);

enum class Delivery { Delivered, NotReady };

// Hands launch to the process owner listening on socketPath. Anything other
// than an acknowledgement from that very process is NotReady: nobody listening,
// a listener that is not owner, or an owner that is ending.
Delivery DeliverLaunch(const std::string& socketPath, pid_t owner, const HandedLaunch& launch);

// The owner's end: hands each whole launch that arrives to onLaunch on the next
// turn of the event loop, after acknowledging it. Stops when the application quits.
class LaunchServer : public QObject {
 public:
  LaunchServer(const std::string& socketPath, std::function<void(const HandedLaunch&)> onLaunch,
               QObject* parent);

  bool IsListening() const;

 private:
  void acceptConnections();
  void readLaunch(QLocalSocket* socket);

  QLocalServer* m_server;
  std::function<void(const HandedLaunch&)> m_onLaunch;
};

}  // namespace platform
