#pragma once

#include <QObject>
#include <QSocketNotifier>

#include <functional>

namespace platform {

// Turns SIGTERM and SIGINT into a call on the Qt event loop, so that the process
// ends the way closing its window does. While it exists it owns both signals.
class TerminationSignals : public QObject {
 public:
  explicit TerminationSignals(std::function<void()> onSignal);
  ~TerminationSignals() override;

 private:
  void readSignal();

  std::function<void()> m_onSignal;
  QSocketNotifier* m_notifier = nullptr;
};

}  // namespace platform
