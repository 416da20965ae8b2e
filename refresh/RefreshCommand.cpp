#include "refresh/RefreshCommand.h"

#include <memory>
#include <optional>

#include "refresh/NodeWorker.h"
#include "refresh/RefreshRun.h"
#include "refresh/TaskQueue.h"

namespace mapvine {

RefreshOutcome RefreshCommand(CMapvineDoc& doc, const SnaCtlFunction& snaCtl, RefreshProgress* progress,
                              StatusCheckLimits limits) {
  const auto queue = std::make_shared<TaskQueue>();
  NodeWorker worker(snaCtl, queue);
  std::optional<RefreshResult> result;
  RefreshRun run(doc, worker, *queue, limits, progress, [&result](const RefreshResult& r) { result = r; });
  run.Start();
  queue->RunUntil([&result] { return result.has_value(); });
  return result->outcome;
}

}  // namespace mapvine
