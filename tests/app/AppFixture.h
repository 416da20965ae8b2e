#pragma once

#include <QCoreApplication>
#include <QStatusBar>
#include <QStringList>
#include <gtest/gtest.h>

#include <string>

#include "app/MainFrame.h"
#include "app/MapvineApp.h"
#include "snanode/NetworkParser.h"
#include "snanode/SampleNetwork.h"
#include "snanode/SimulatedNode.h"
#include "tests/support/ForgottenSettings.h"
#include "tests/support/ScriptedPrompts.h"
#include "view/CommandIds.h"
#include "view/MapvineView.h"

namespace mapvine::testing {

inline snanode::SimulatedNode NodeServing(std::string_view description) {
  auto parsed = snanode::ParseNetwork(description, "test");
  EXPECT_TRUE(parsed.network) << parsed.error;
  return snanode::SimulatedNode(std::move(*parsed.network));
}

// `count` network nodes NN0.., of which the first `failing` do not answer APING.
inline std::string NetworkNodes(int count, int failing) {
  std::string text;
  for (int i = 0; i < count; ++i) text += "nn NETA.NN" + std::to_string(i) + "\n";
  for (int i = 0; i < failing; ++i) text += "aping NETA.NN" + std::to_string(i) + " fail 0x0300 0x05000000\n";
  return text;
}

// Lets the event loop run until the refresh under way has ended, as the
// window does while a person waits for it.
inline void FinishRefresh(CMapvineApp& app) {
  while (app.Commands().Refreshing()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

// F5, waited for to its end.
inline void RefreshAndWait(CMapvineApp& app) {
  app.MainFrame().Route(command::kRefresh);
  FinishRefresh(app);
}

// The application with its window up, against a simulated node.
struct RunningApp : ForgottenSettings {
  explicit RunningApp(std::string_view description = snanode::SampleNetworkText())
      : node(NodeServing(description)), app(SnaLibrary{[this](void* b, std::uint32_t l) { node.Call(b, l); }, {}}) {
    EXPECT_TRUE(app.InitInstance(CommandLine{}));
    // Installed after the window's message boxes, so it answers instead.
    scripted = std::make_unique<ScriptedPrompts>();
  }
  CMainFrame& Frame() { return app.MainFrame(); }
  CMapvineView& View() { return app.MainFrame().View(); }
  CMapvineDoc& Doc() { return app.Document(); }
  QString Status() { return Frame().StatusText(); }
  ScriptedPrompts& Prompts() { return *scripted; }
  void Refresh() { RefreshAndWait(app); }

  snanode::SimulatedNode node;
  CMapvineApp app;
  std::unique_ptr<ScriptedPrompts> scripted;
};

}  // namespace mapvine::testing
