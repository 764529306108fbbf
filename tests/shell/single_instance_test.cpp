// Finding a window by class across processes and the second start's hand-off. The sending side
// runs on its own thread here, as it would in the second process; the two-process runs of the
// real program are in program_test.cpp.
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <future>
#include <optional>
#include <thread>

#include "platform/files.h"
#include "platform/gui/application.h"
#include "platform/gui/dialogs.h"
#include "shell/main_form.h"
#include "shell/program_start.h"
#include "shell/single_instance.h"
#include "shell/hand_off_window.h"
#include "tests/platform/temp_folder.h"
#include "textcore/rich_edit.h"
#include "textcore/win_registry.h"

namespace {

class SingleInstanceTest : public ::testing::Test {
protected:
  TempFolder folder;
  ScopedEnv runtime{"XDG_RUNTIME_DIR", folder.Name() + "run"};
  ScopedEnv config{"QUILLOMARK_CONFIG_DIR", folder.Name() + "config"};

  // Polls `endpoint` until `pending` is ready. After ten seconds the window goes away, which
  // releases the waiting sender, so a fault fails the test instead of hanging it.
  template <class T>
  static void ServeUntil(std::optional<TWindowEndpoint>& endpoint, std::future<T>& pending) {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (pending.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready) {
      if (std::chrono::steady_clock::now() > limit) {
        endpoint.reset();
        FAIL() << "the message was never answered";
      }
      endpoint->Poll();
    }
  }
};

TEST_F(SingleInstanceTest, MessageReachesTheWindowAndItsAnswerComesBack) {
  unsigned gotMsg = 0;
  uintptr_t gotW = 0;
  intptr_t gotL = 0;
  std::optional<TWindowEndpoint> endpoint;
  endpoint.emplace("TProbeWindow", [&](unsigned msg, uintptr_t w, intptr_t l) {
    gotMsg = msg, gotW = w, gotL = l;
    return intptr_t(-42);
  });
  ASSERT_TRUE(endpoint->Listening());
  EXPECT_FALSE(FindWindowOfClass("TOtherWindow"));
  EXPECT_FALSE(FindWindowOfClass("TProbewindow"));  // window classes are exact

  auto sent = std::async(std::launch::async, [] {
    intptr_t result = 0;
    const bool ok = SendMessageToWindowClass("TProbeWindow", WM_OPENNOW, 7, -9, &result);
    return std::make_pair(ok, result);
  });
  ServeUntil(endpoint, sent);
  EXPECT_EQ(sent.get(), std::make_pair(true, intptr_t(-42)));
  EXPECT_EQ(gotMsg, WM_OPENNOW);
  EXPECT_EQ(gotW, 7u);
  EXPECT_EQ(gotL, -9);
}

TEST_F(SingleInstanceTest, AWindowOfAProcessThatDiedIsNotFound) {
  // A socket file whose listener is gone, as a crashed copy leaves it.
  std::string path = TWindowEndpoint("TVirtualKbd", {}).SocketPath();
  const std::string own = "-" + std::to_string(::getpid()) + "-";
  path.replace(path.rfind(own), own.size(), "-999999-");
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ::close(fd);
  ASSERT_TRUE(FileExists(path));

  EXPECT_FALSE(FindWindowOfClass("TVirtualKbd"));
  EXPECT_FALSE(SendMessageToWindowClass("TVirtualKbd", WM_OPENNOW, 0, 0));
  EXPECT_FALSE(FileExists(path));  // cleared away
  EXPECT_FALSE(HandOffToRunningCopy({}));
}

TEST_F(SingleInstanceTest, ARuntimeFolderOthersMayWriteToIsNotTrusted) {
  // A socket planted there by someone else could swallow a hand-off or send us messages.
  const TWindowEndpoint running("TVirtualKbd", [](unsigned, uintptr_t, intptr_t) { return intptr_t(0); });
  ASSERT_TRUE(running.Listening());
  ASSERT_TRUE(FindWindowOfClass("TVirtualKbd"));
  ASSERT_EQ(::chmod((folder.Path() / "run").c_str(), 0777), 0);
  EXPECT_FALSE(FindWindowOfClass("TVirtualKbd"));
  const TWindowEndpoint another("TOtherWindow", {});
  EXPECT_FALSE(another.Listening());
}

TEST_F(SingleInstanceTest, HandOffWritesTheFullPathOfARelativeName) {
  int handled = 0;
  std::optional<TWindowEndpoint> endpoint;
  endpoint.emplace("TVirtualKbd", [&](unsigned, uintptr_t, intptr_t) {
    ++handled;
    return intptr_t(0);
  });
  const std::string work = folder.Name() + "work/";
  ForceDirectories(work);
  WriteFileAtomic(work + "letter.txt", "text");
  const std::string oldDir = GetCurrentDir();
  ASSERT_EQ(::chdir(NativePath(work).c_str()), 0);

  struct Case { std::vector<std::string> params; std::string openNow; };
  const Case cases[] = {
      {{"letter.txt"}, work + "letter.txt"},  // resolved in the second start's own folder
      {{"missing.txt"}, work + "missing.txt"},  // the running copy says it is not found
      {{}, ""},
  };
  for (const Case& c : cases) {
    TWinRegistry(kProductKey).WriteString("General", "OpenNow", "stale");
    auto sent = std::async(std::launch::async, [&] { return HandOffToRunningCopy(c.params); });
    ServeUntil(endpoint, sent);
    EXPECT_TRUE(sent.get());
    EXPECT_EQ(TWinRegistry(kProductKey).ReadString("General", "OpenNow", "?"), c.openNow);
  }
  EXPECT_EQ(handled, 3);
  ASSERT_EQ(::chdir(NativePath(oldDir).c_str()), 0);
}

TEST_F(SingleInstanceTest, StartsMadeAtOnceHandOverOneAfterTheOther) {
  std::vector<std::string> opened;
  std::optional<TWindowEndpoint> endpoint;
  endpoint.emplace("TVirtualKbd", [&](unsigned, uintptr_t, intptr_t) {
    opened.push_back(TWinRegistry(kProductKey).ReadString("General", "OpenNow", ""));
    return intptr_t(0);
  });
  const std::string a = folder.Name() + "a.txt", b = folder.Name() + "b.txt";
  auto first = std::async(std::launch::async, [&] { return HandOffToRunningCopy({a}); });
  auto second = std::async(std::launch::async, [&] { return HandOffToRunningCopy({b}); });
  std::this_thread::sleep_for(std::chrono::milliseconds(200));  // both starts are under way
  ServeUntil(endpoint, first);
  ServeUntil(endpoint, second);
  EXPECT_TRUE(first.get());
  EXPECT_TRUE(second.get());
  std::sort(opened.begin(), opened.end());
  EXPECT_EQ(opened, (std::vector<std::string>{a, b}));  // neither name was lost
}

TEST_F(SingleInstanceTest, NewWindowStartsOneFullCopyAndIsResetByIt) {
  int handled = 0;
  TWindowEndpoint endpoint("TVirtualKbd", [&](unsigned, uintptr_t, intptr_t) { return intptr_t(++handled); });
  TWinRegistry(kProductKey).WriteBool("General", "NewWindow", true);
  EXPECT_FALSE(HandOffToRunningCopy({}));  // this start goes on as a copy of its own
  EXPECT_FALSE(TWinRegistry(kProductKey).ReadBool("General", "NewWindow", true));
  EXPECT_EQ(handled, 0);
}

TEST_F(SingleInstanceTest, HandOffWindowOpensTheFileButWaitsWhileAnOperationRuns) {
  EnsureGuiApplication();
  auto* main = new TMainForm(Application);
  auto* handOff = new THandOffWindow(Application);

  const std::string file = folder.Name() + "incoming.txt";
  WriteFileAtomic(file, "handed over");
  TWinRegistry(kProductKey).WriteString("General", "OpenNow", file);
  std::atomic<bool> done = false;
  std::thread sender([&] {
    SendMessageToWindowClass("TVirtualKbd", WM_OPENNOW, 0, 0);
    done = true;
  });

  main->SetBusy(true);  // an operation runs: the hand-off waits in the socket
  for (int i = 0; i < 20; ++i) {
    Application->ProcessMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  EXPECT_FALSE(done);
  EXPECT_EQ(main->Editor->GetTextW(), u"");

  main->SetBusy(false);
  const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!done && std::chrono::steady_clock::now() < limit) {
    Application->ProcessMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  delete handOff;  // releases the sender even when the message was never handled
  sender.join();
  EXPECT_TRUE(done);
  EXPECT_EQ(main->Editor->GetTextW(), u"handed over");
  EXPECT_FALSE(main->DocModified());
  delete main;
}

TEST_F(SingleInstanceTest, HandOffsAreHandledOneAtATime) {
  EnsureGuiApplication();
  auto* main = new TMainForm(Application);
  auto* handOff = new THandOffWindow(Application);
  const std::string file = folder.Name() + "next.txt";
  WriteFileAtomic(file, "next");
  TWinRegistry(kProductKey).WriteString("General", "OpenNow", file);
  main->Show();  // the running copy's window was shown at its start
  main->Editor->SetTextW(u"unsaved");
  main->SetModified(true);

  std::atomic<int> finished = 0;
  auto send = [&] {
    SendMessageToWindowClass("TVirtualKbd", WM_OPENNOW, 0, 0);
    ++finished;
  };
  std::thread first(send);
  // While the first hand-off asks about the unsaved text, a second one arrives and the
  // question's message loop runs: the second one waits.
  std::thread second;
  TScriptedDialogs dialogs;
  dialogs.Answer(TDialogKind::MessageDlg, mrNo, [&](TDialogRequest&) {
    second = std::thread(send);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    for (int i = 0; i < 10; ++i) {
      Application->ProcessMessages();
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(finished, 0);
  });
  dialogs.Answer(TDialogKind::MessageDlg, mrNo);  // in case the second one finds the text changed
  const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (finished < 2 && std::chrono::steady_clock::now() < limit) {
    Application->ProcessMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  delete handOff;  // releases any sender still waiting
  first.join();
  if (second.joinable()) second.join();
  EXPECT_EQ(finished, 2);
  EXPECT_EQ(main->Editor->GetTextW(), u"next");
  delete main;
}

}  // namespace
