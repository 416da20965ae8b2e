#pragma once

#include <QSettings>
#include <QStatusBar>
#include <QStringList>
#include <gtest/gtest.h>

#include <deque>
#include <string>

#include "app/MainFrame.h"
#include "app/MapvineApp.h"
#include "base/UserPrompts.h"
#include "snanode/NetworkParser.h"
#include "snanode/SampleNetwork.h"
#include "snanode/SimulatedNode.h"
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

// Answers the core's questions from a script and records its messages.
class ScriptedPrompts final : public UserPrompts {
 public:
  ScriptedPrompts() : previous_(InstallPrompts(this)) {}
  ~ScriptedPrompts() override { InstallPrompts(previous_); }
  void ShowMessage(std::string_view text) override { messages.emplace_back(text); }
  bool AskYesNo(std::string_view) override { return false; }
  std::optional<std::string> AskOpenFileName(std::string_view) override { return Next(); }
  std::optional<std::string> AskSaveFileName(std::string_view) override { return Next(); }

  std::deque<std::string> fileNames;  // answers in order; cancelled when empty
  std::vector<std::string> messages;

 private:
  std::optional<std::string> Next() {
    if (fileNames.empty()) return std::nullopt;
    std::string name = fileNames.front();
    fileNames.pop_front();
    return name;
  }
  UserPrompts* previous_;
};

// The application with its window up, against a simulated node.
struct RunningApp {
  explicit RunningApp(std::string_view description = snanode::SampleNetworkText())
      : node(NodeServing(description)), app([this](void* b, std::uint32_t l) { node.Call(b, l); }) {
    QSettings("Mapvine", "Mapvine").clear();  // every test starts without recent files
    EXPECT_TRUE(app.InitInstance(CommandLine{}));
    // Installed after the window's message boxes, so it answers instead.
    scripted = std::make_unique<ScriptedPrompts>();
  }
  CMainFrame& Frame() { return app.MainFrame(); }
  CMapvineView& View() { return app.MainFrame().View(); }
  CMapvineDoc& Doc() { return app.Document(); }
  QString Status() { return Frame().StatusText(); }
  ScriptedPrompts& Prompts() { return *scripted; }

  snanode::SimulatedNode node;
  CMapvineApp app;
  std::unique_ptr<ScriptedPrompts> scripted;
};

}  // namespace mapvine::testing
