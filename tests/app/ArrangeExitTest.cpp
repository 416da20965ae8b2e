#include <QMainWindow>
#include <QStatusBar>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <memory>

#include "app/ArrangeCommand.h"
#include "view/CommandIds.h"

namespace mapvine {
namespace {

// A layout that cannot be interrupted, as sfdp inside its own step: it
// returns only when the test lets it, then fills in its result as the real
// one does.
struct StuckLayout {
  std::promise<void> release;
  std::shared_future<void> released{release.get_future().share()};
  std::shared_ptr<std::atomic<bool>> returned = std::make_shared<std::atomic<bool>>(false);

  ArrangeCommand::Layout Layout() {
    return [released = released, returned = returned](const ArrangeGraph& graph, ArrangeProgress&) {
      released.wait();
      Arrangement arrangement;
      arrangement.positions.assign(graph.nodes.size(), Point{});
      returned->store(true);
      return std::optional<Arrangement>(arrangement);
    };
  }
};

// Closing the window while a layout is being computed neither waits for it
// nor leaves it touching what is gone: the command lets the worker go and
// the worker finishes on its own.
TEST(ArrangeCommand, EndingWhileComputingLeavesTheWorkerToFinishAlone) {
  QMainWindow window;
  CMapvineDoc doc;
  doc.NewDocument();
  doc.NewNode("NN1", "NETA.NN1", NetworkNode, nullptr, nullptr);
  EditHistory edits(doc, {});
  StatusProgress progress(*window.statusBar(), window);
  StuckLayout layout;
  auto command = std::make_unique<ArrangeCommand>(doc, edits, progress, layout.Layout());
  CommandBindings commands;
  command->BindCommands(commands);
  ASSERT_TRUE(commands.Run(command::kArrangeByConnections));
  ASSERT_TRUE(command->Running());
  command.reset();
  EXPECT_FALSE(layout.returned->load()) << "the command ended before the layout did";
  layout.release.set_value();
  for (int i = 0; i < 1000 && !layout.returned->load(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_TRUE(layout.returned->load());
}

}  // namespace
}  // namespace mapvine
