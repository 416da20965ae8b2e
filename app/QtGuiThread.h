#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <mutex>

#include "base/HandOver.h"
#include "refresh/GuiThread.h"

namespace mapvine {

// Runs posted tasks in the Qt event loop of the thread that made it (the
// GUI thread). Worker threads keep it alive through their shared pointers,
// possibly past the window: Close, on the GUI thread before the event loop
// goes, makes every later post a no-op, and tasks not yet run are dropped
// with the receiver.
class QtGuiThread final : public GuiThread {
 public:
  QtGuiThread();
  ~QtGuiThread() override;

  void Post(std::function<void()> task) override;
  void PostAfter(int milliseconds, std::function<void()> task) override;
  void Close();

 private:
  std::mutex mutex_;
  std::unique_ptr<QObject> receiver_;  // lives on the GUI thread; none once closed
  HandOver handOver_;
};

}  // namespace mapvine
