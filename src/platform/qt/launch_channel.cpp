#include "platform/qt/launch_channel.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace platform {

namespace {

constexpr char kRuntimeFolderVariable[] = "XDG_RUNTIME_DIR";
// 128 bits of the folder's hash: two storage folders never share a name.
constexpr int kNameHashDigits = 32;
// A launch is a command line: far below this. More is not a launch.
constexpr uint32_t kMaxLaunchBytes = 64 * 1024;
constexpr int kLengthBytes = 4;
constexpr char kAccepted = '1';
// One exchange with a live owner takes milliseconds; this bounds a hung one.
constexpr int kExchangeTimeoutMs = 2000;
// A peer that has not sent a whole launch by then is dropped.
constexpr int kReadTimeoutMs = 5000;

bool IsPrivateFolder(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() &&
         (info.st_mode & (S_IRWXG | S_IRWXO)) == 0;
}

std::string RuntimeFolder() {
  const char* folder = std::getenv(kRuntimeFolderVariable);
  if (!folder || folder[0] != '/' || !IsPrivateFolder(folder)) return std::string();
  return folder;
}

std::string PrivateTemporaryFolder() {
  const std::string folder =
      QDir::tempPath().toStdString() + "/vintrel-" + std::to_string(::geteuid());
  ::mkdir(folder.c_str(), 0700);  // it may be there already; checked next
  return IsPrivateFolder(folder) ? folder : std::string();
}

bool FitsSocketAddress(const std::string& path) {
  return !path.empty() && path.size() < sizeof(sockaddr_un::sun_path);
}

std::string SocketIn(const std::string& folder, const std::string& name) {
  return folder.empty() ? std::string() : folder + '/' + name;
}

bool WaitFor(int fd, short events) {
  pollfd entry{fd, events, 0};
  int ready;
  do ready = ::poll(&entry, 1, kExchangeTimeoutMs);
  while (ready < 0 && errno == EINTR);
  return ready == 1 && (entry.revents & events);
}

bool SendAll(int fd, const std::string& bytes) {
  for (size_t sent = 0; sent < bytes.size();) {
    if (!WaitFor(fd, POLLOUT)) return false;
    const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n < 0 && errno != EINTR && errno != EAGAIN) return false;
    if (n > 0) sent += static_cast<size_t>(n);
  }
  return true;
}

std::string Frame(const std::string& payload) {
  const auto length = static_cast<uint32_t>(payload.size());
  std::string frame(kLengthBytes, '\0');
  for (int i = 0; i < kLengthBytes; ++i)
    frame[static_cast<size_t>(i)] =
        static_cast<char>((length >> (8 * (kLengthBytes - 1 - i))) & 0xFF);
  return frame + payload;
}

uint32_t FrameLength(const QByteArray& header) {
  uint32_t length = 0;
  for (int i = 0; i < kLengthBytes; ++i) length = (length << 8) | static_cast<uint8_t>(header[i]);
  return length;
}

bool IsFromOwner(int fd, pid_t owner) {
  ucred peer{};
  socklen_t size = sizeof(peer);
  return owner > 0 && ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 &&
         peer.pid == owner && peer.uid == ::geteuid();
}

bool Connect(int fd, const std::string& socketPath) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size() + 1);
  if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0) return true;
  // A full backlog says "again" on a non-blocking socket: the owner is busy, try later.
  return false;
}

}  // namespace

std::string LaunchSocketPath(const std::string& storageFolder) {
  const QByteArray hash =
      QCryptographicHash::hash(QByteArray::fromStdString(storageFolder), QCryptographicHash::Sha256)
          .toHex()
          .left(kNameHashDigits);
  const std::string name = "vintrel-" + hash.toStdString() + ".sock";
  const std::string inRuntimeFolder = SocketIn(RuntimeFolder(), name);
  if (FitsSocketAddress(inRuntimeFolder)) return inRuntimeFolder;
  const std::string inTemporaryFolder = SocketIn(PrivateTemporaryFolder(), name);
  return FitsSocketAddress(inTemporaryFolder) ? inTemporaryFolder : std::string();
}

Delivery DeliverLaunch(const std::string& socketPath, pid_t owner, const HandedLaunch& launch) {
  if (!FitsSocketAddress(socketPath)) return Delivery::NotReady;
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return Delivery::NotReady;
  char answer = 0;
  const bool delivered = Connect(fd, socketPath) && IsFromOwner(fd, owner) &&
                         SendAll(fd, Frame(EncodeLaunch(launch))) && WaitFor(fd, POLLIN) &&
                         ::recv(fd, &answer, 1, 0) == 1 && answer == kAccepted;
  ::close(fd);
  return delivered ? Delivery::Delivered : Delivery::NotReady;
}

LaunchServer::LaunchServer(const std::string& socketPath,
                           std::function<void(const HandedLaunch&)> onLaunch, QObject* parent)
    : QObject(parent), m_server(new QLocalServer(this)), m_onLaunch(std::move(onLaunch)) {
  const QString path = QString::fromStdString(socketPath);
  // Only the lock's holder gets here, so a socket left at this name is a dead owner's.
  QLocalServer::removeServer(path);
  m_server->setSocketOptions(QLocalServer::UserAccessOption);
  if (!m_server->listen(path)) return;
  connect(m_server, &QLocalServer::newConnection, this, &LaunchServer::acceptConnections);
  // An ending owner takes no launch: the next one waits for it to end instead.
  connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, m_server,
          &QLocalServer::close);
}

bool LaunchServer::IsListening() const { return m_server->isListening(); }

void LaunchServer::acceptConnections() {
  while (QLocalSocket* socket = m_server->nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readLaunch(socket); });
    QTimer::singleShot(kReadTimeoutMs, socket, [socket] { socket->abort(); });
  }
}

void LaunchServer::readLaunch(QLocalSocket* socket) {
  if (socket->bytesAvailable() < kLengthBytes) return;
  const uint32_t length = FrameLength(socket->peek(kLengthBytes));
  if (length > kMaxLaunchBytes) {
    socket->abort();
    return;
  }
  if (socket->bytesAvailable() < kLengthBytes + static_cast<qint64>(length)) return;
  socket->skip(kLengthBytes);
  const std::optional<HandedLaunch> launch = DecodeLaunch(socket->read(length).toStdString());
  if (!launch) {
    socket->abort();
    return;
  }
  socket->write(&kAccepted, 1);
  socket->disconnectFromServer();
  QTimer::singleShot(0, this, [this, handed = *launch] { m_onLaunch(handed); });
}

}  // namespace platform
