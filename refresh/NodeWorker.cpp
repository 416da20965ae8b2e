#include "refresh/NodeWorker.h"

#include <system_error>
#include <thread>

namespace mapvine {

NodeWorker::NodeWorker(SnaCtlFunction snaCtl, std::shared_ptr<GuiThread> gui)
    : snaCtl_(std::make_shared<const SnaCtlFunction>(std::move(snaCtl))),
      poster_(std::move(gui)),
      gui_(std::make_shared<GuiSide>()) {}

NodeWorker::~NodeWorker() {
  gui_->alive = false;
  gui_->quiet = nullptr;
}

bool NodeWorker::Start(std::function<void(const SnaCtlFunction&, const TellGui&)> call,
                       std::function<void()> deliver) {
  ++gui_->outstanding;
  try {
    std::thread([snaCtl = snaCtl_, poster = poster_, gui = gui_, call = std::move(call),
                 deliver = std::move(deliver)]() mutable {
      const TellGui tell = [&poster, &gui](std::function<void()> task) {
        poster->Post([gui, task = std::move(task)] {
          if (gui->alive) task();
        });
      };
      call(*snaCtl, tell);
      poster->Post([gui, deliver = std::move(deliver)] {
        --gui->outstanding;
        if (!gui->alive) return;
        deliver();
        if (gui->outstanding == 0 && gui->quiet) gui->quiet();
      });
    }).detach();
  } catch (const std::system_error&) {
    --gui_->outstanding;
    return false;
  }
  return true;
}

}  // namespace mapvine
