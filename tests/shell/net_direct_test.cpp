// The web-services directory: its file format, the small HTTP download against a server on the
// loopback address, the statuses of failed downloads with and without an older copy, choosing
// an entry, and the main window's two ways of running it.
#include <gtest/gtest.h>

#include <filesystem>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <mutex>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/gui/application.h"
#include "platform/gui/common_controls.h"
#include "platform/gui/shell_open.h"
#include "platform/gui/timer.h"
#include "platform/gui/tree_view.h"
#include "shell/http_get.h"
#include "shell/main_form.h"
#include "shell/net_direct.h"
#include "shell/net_directory.h"
#include "textcore/win_registry.h"
#include "tests/shell/preferences_test_env.h"
#include "tests/support/time_scale.h"

namespace {

// One HTTP server on 127.0.0.1 answering every request with a status and body, or with the
// bytes `raw`; with `silent` it sends only `raw` and keeps the connection until the client leaves.
class TLocalServer {
public:
  explicit TLocalServer(int status = 200, std::string body = "", bool silent = false, std::string raw = "")
      : status_(status), body_(std::move(body)), silent_(silent), raw_(std::move(raw)) {
    fd_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a);
    socklen_t len = sizeof a;
    getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &len);
    port_ = ntohs(a.sin_port);
    listen(fd_, 8);
    thread_ = std::thread([this] { Serve(); });
  }
  ~TLocalServer() {
    stop_ = true;
    shutdown(fd_, SHUT_RDWR);
    close(fd_);
    thread_.join();
  }
  std::string Url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }
  void Set(int status, const std::string& body) {
    std::lock_guard<std::mutex> lock(mutex_);
    status_ = status;
    body_ = body;
  }
  int Requests() const { return requests_; }
  std::string LastRequest() {
    std::lock_guard<std::mutex> lock(mutex_);
    return lastRequest_;
  }

private:
  void Serve() {
    while (!stop_) {
      const int c = accept(fd_, nullptr, nullptr);
      if (c < 0) return;
      std::string request;
      char buf[4096];
      while (request.find("\r\n\r\n") == std::string::npos) {
        const ssize_t n = recv(c, buf, sizeof buf, 0);
        if (n <= 0) break;
        request.append(buf, size_t(n));
      }
      ++requests_;
      std::string answer;
      {
        std::lock_guard<std::mutex> lock(mutex_);
        lastRequest_ = request;
        answer = "HTTP/1.0 " + std::to_string(status_) + (status_ == 200 ? " OK" : " Not Found") +
                 "\r\nContent-Type: text/plain\r\n\r\n" + body_;
      }
      if (!raw_.empty()) send(c, raw_.data(), raw_.size(), MSG_NOSIGNAL);
      else if (!silent_) send(c, answer.data(), answer.size(), MSG_NOSIGNAL);
      if (silent_) {
        while (!stop_ && recv(c, buf, sizeof buf, 0) > 0) {
        }
      }
      close(c);
    }
  }
  int fd_ = -1, port_ = 0, status_;
  std::string body_, lastRequest_;
  bool silent_;
  std::string raw_;
  std::atomic<bool> stop_{false};
  std::atomic<int> requests_{0};
  std::mutex mutex_;
  std::thread thread_;
};

// A port on which nothing listens.
int ClosedPort() {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
  socklen_t len = sizeof a;
  getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
  close(fd);
  return ntohs(a.sin_port);
}

const char* const kDirectory =
    "item0=G1\r\n"
    "item0-subitem0=A | http://127.0.0.1/a.zip\r\n"
    "item0-subitem1=B|http://127.0.0.1/b.exe\r\n"
    "item1=G2\r\n"
    "item1-subitem0=C|http://127.0.0.1/c.html\r\n";

std::string ReadFile(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(DirectoryFile, GroupsEntriesAndImages) {
  const auto groups = ParseDirectory(kDirectory);
  ASSERT_EQ(groups.size(), 2u);
  EXPECT_EQ(groups[0], (TDirectoryGroup{"G1", {{"A", "http://127.0.0.1/a.zip", diZip}, {"B", "http://127.0.0.1/b.exe", diExe}}}));
  EXPECT_EQ(groups[1], (TDirectoryGroup{"G2", {{"C", "http://127.0.0.1/c.html", diEntry}}}));
  // Numbers order the lines; entries of a missing group and numbers over 99 are dropped; an
  // address keeps 128 characters.
  const std::string longAddress = "http://x/" + std::string(200, 'a');
  const auto mixed = ParseDirectory("item2-subitem0=Lost|http://x\nitem100=Big\nitem1=Second\nitem0=First\n"
                                    "item1-subitem5=Five|http://x/5\nitem1-subitem1=One|" + longAddress + "\n"
                                    "junk\nitem0-subitem0=No address\n");
  ASSERT_EQ(mixed.size(), 2u);
  EXPECT_EQ(mixed[0], (TDirectoryGroup{"First", {{"No address", "", diEntry}}}));
  ASSERT_EQ(mixed[1].Entries.size(), 2u);
  EXPECT_EQ(mixed[1].Entries[0].Address, longAddress.substr(0, 128));
  EXPECT_EQ(mixed[1].Entries[1].Caption, "Five");
  EXPECT_TRUE(ParseDirectory("").empty());
}

TEST(DirectoryFile, AddressesAndFileName) {
  struct Case { const char* address; bool openable; } cases[] = {
      {"http://a.b/", true}, {"HTTPS://a.b/x", true}, {"ftp://a.b/f.zip", true}, {"mailto:x@a.b", true},
      {"", false}, {"http://", false}, {"file:///etc/passwd", false}, {"/usr/bin/xterm", false},
      {"javascript:alert(1)", false},
  };
  for (const auto& c : cases) EXPECT_EQ(OpenableAddress(c.address), c.openable) << c.address;
  EXPECT_EQ(DirectoryFileName("http://h/dir/netdirect.ini"), "netdirect.ini");
  EXPECT_EQ(DirectoryFileName("http://h/"), "");
}

TEST(HttpGet, AnswersStatusesAndFailures) {
  TLocalServer server(200, "hello\r\nworld");
  const THttpResponse ok = HttpGet(server.Url("/dir/x.ini"));
  EXPECT_EQ(ok.Status, 200);
  EXPECT_EQ(ok.Body, "hello\r\nworld");
  EXPECT_EQ(server.LastRequest().rfind("GET /dir/x.ini HTTP/1.0\r\n", 0), 0u) << server.LastRequest();
  server.Set(404, "gone");
  EXPECT_EQ(HttpGet(server.Url("/x")).Status, 404);

  EXPECT_THROW(HttpGet("http://127.0.0.1:" + std::to_string(ClosedPort()) + "/x"), EHttpError);
  for (const char* bad : {"", "https://127.0.0.1/x", "ftp://h/x", "http://", "http://h:port/x", "http://h/a b"})
    EXPECT_THROW(HttpGet(bad), EHttpError) << bad;
  TLocalServer silent(200, "", /*silent*/ true);
  EXPECT_THROW(HttpGet(silent.Url("/x"), 200), EHttpError);
  // A server keeping the connection: the announced length ends the answer.
  TLocalServer keeping(0, "", /*silent*/ true, "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhello");
  EXPECT_EQ(HttpGet(keeping.Url("/x"), 2000).Body, "hello");
  // Cut short: no answer rather than half a file; no status line: no answer either.
  TLocalServer cut(0, "", false, "HTTP/1.0 200 OK\r\nContent-Length: 50\r\n\r\nhello");
  EXPECT_THROW(HttpGet(cut.Url("/x")), EHttpError);
}

class NetDirectTest : public ::testing::Test {
protected:
  void SetUp() override {
    EnsureGuiApplication();
    SetShellOpenHandler([this](const std::string& target) {
      opened.push_back(target);
      return true;
    });
    net = new TNetDirect(Application);
    net->Title = "Directory";
    net->Timeout = 2000;
  }
  void TearDown() override {
    SetShellOpenHandler(nullptr);
    TComponent::Free(net);
  }
  std::string Status(TNetDirect* of = nullptr) { return (of ? of : net)->Dialog()->StatusBar->SimpleText(); }
  std::vector<std::string> Captions() {
    std::vector<std::string> c;
    for (int i = 0; i < net->Dialog()->tvDirect->Count(); ++i) c.push_back(net->Dialog()->tvDirect->NodeText(i));
    return c;
  }
  TTestWorld world;
  TNetDirect* net = nullptr;
  std::vector<std::string> opened;
};

TEST_F(NetDirectTest, DownloadBuildsTheTreeAndOffersOnlyAChangedDirectory) {
  TLocalServer server(200, kDirectory);
  net->URL = server.Url("/d/netdirect.ini");
  net->Execute(false);  // no copy before: changed
  TNetDialog* d = net->Dialog();
  EXPECT_TRUE(d->Visible());
  EXPECT_EQ(d->Caption(), "Directory");
  EXPECT_EQ(Status(), "");
  // The copy goes to the user's folder; the program folder is never written to.
  EXPECT_EQ(ReadFile(world.ConfigFolder + "netdirect.ini"), kDirectory);
  EXPECT_FALSE(std::filesystem::exists(world.ProgramFolder + "netdirect.ini"));
  EXPECT_EQ(Captions(), (std::vector<std::string>{"G1", "A", "B", "G2", "C"}));
  EXPECT_EQ(d->tvDirect->NodeImage(1), diZip);
  EXPECT_EQ(d->tvDirect->NodeParent(4), 3);
  EXPECT_TRUE(d->tvDirect->Expanded(0));
  EXPECT_TRUE(d->tvDirect->Expanded(3));

  d->Hide();
  net->Execute(false);  // the same text again: not offered
  EXPECT_FALSE(d->Visible());
  net->Execute(true);  // forced: offered all the same
  EXPECT_TRUE(d->Visible());
  d->Hide();
  server.Set(200, "item0=New\r\n");
  net->Execute(false);
  EXPECT_TRUE(d->Visible());
  EXPECT_EQ(Captions(), (std::vector<std::string>{"New"}));
  EXPECT_EQ(server.Requests(), 4);
}

TEST_F(NetDirectTest, FailedDownloadsKeepThePreviousCopy) {
  TLocalServer server(404, "<html>404 Not Found</html>");
  const std::string refused = "http://127.0.0.1:" + std::to_string(ClosedPort()) + "/netdirect.ini";
  struct Case { bool copy; bool notFound; const char* status; } cases[] = {
      {false, true, "Remote server \"Not Found\" error, request aborted"},
      {true, true, "Remote server \"Not Found\" error, using previous update"},
      {false, false, "Connection error, request aborted"},
      {true, false, "Connection error, using previous update"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.status);
    std::remove((world.ConfigFolder + "netdirect.ini").c_str());
    std::remove((world.ProgramFolder + "netdirect.ini").c_str());
    if (c.copy) world.WriteProgramFile("netdirect.ini", kDirectory);  // the one the program came with
    net->Dialog()->ShowDirectory({});
    net->URL = c.notFound ? server.Url("/netdirect.ini") : refused;
    net->Execute(true);
    EXPECT_EQ(Status(), c.status);
    EXPECT_TRUE(net->Dialog()->Visible());
    // The old copy is shown and stays as it was; without one the tree stays empty.
    EXPECT_EQ(Captions().size(), c.copy ? 5u : 0u);
    EXPECT_EQ(ReadFile(world.ProgramFolder + "netdirect.ini"), c.copy ? kDirectory : "");
    EXPECT_FALSE(std::filesystem::exists(world.ConfigFolder + "netdirect.ini"));
    net->Dialog()->Hide();
  }
  // Without force, a failure offers nothing.
  net->URL = refused;
  net->Execute(false);
  EXPECT_FALSE(net->Dialog()->Visible());
  // A valid directory that merely mentions 404 is no error.
  server.Set(200, std::string(kDirectory) + "item2=Error 404 pages\r\n");
  net->URL = server.Url("/netdirect.ini");
  net->Execute(false);
  EXPECT_EQ(Status(), "");
  EXPECT_EQ(Captions().back(), "Error 404 pages");
}

TEST_F(NetDirectTest, WindowsKeepWorkingWhileAServerDoesNotAnswer) {
  TLocalServer silent(200, "", /*silent*/ true);
  net->URL = silent.Url("/netdirect.ini");
  net->Timeout = int(Stretched(std::chrono::milliseconds(300)).count());
  int ticks = 0;
  TTimer timer(nullptr);
  timer.SetInterval(20);
  timer.OnTimer = [&](TObject*) {
    ++ticks;
    net->Execute(true);  // asked again meanwhile: shown, no second download
  };
  timer.SetEnabled(true);
  net->Execute(false);
  timer.SetEnabled(false);
  EXPECT_GT(ticks, 2);
  EXPECT_EQ(silent.Requests(), 1);
  EXPECT_EQ(Status(), "Connection error, request aborted");
}

TEST_F(NetDirectTest, ChoosingAnEntryOpensItOnceAndClearsTheSelection) {
  std::vector<std::string> selected;
  net->OnURLSelected = [&](TObject* sender, const std::string& url) {
    EXPECT_EQ(sender, net);
    selected.push_back(url);
  };
  TNetDialog* d = net->Dialog();
  d->ShowDirectory(ParseDirectory(std::string(kDirectory) + "item1-subitem1=Local|file:///etc/passwd\r\n"));
  d->tvDirect->SetSelected(4);  // C
  d->tvDirectClick(d->tvDirect);
  EXPECT_EQ(selected, (std::vector<std::string>{"http://127.0.0.1/c.html"}));
  EXPECT_EQ(opened, selected);
  EXPECT_EQ(d->tvDirect->Selected(), -1);
  // A group opens nothing; an address that is no web or mail address is not handed on to the
  // desktop.
  d->tvDirect->SetSelected(0);
  d->tvDirectClick(d->tvDirect);
  d->tvDirect->SetSelected(5);
  d->tvDirectClick(d->tvDirect);
  EXPECT_EQ(selected.size(), 2u);
  EXPECT_EQ(opened.size(), 1u);
}

TEST_F(NetDirectTest, WithoutAnAddressTheShippedDirectoryShowsAndNothingIsDownloaded) {
  world.WriteProgramFile("netdirect.ini", kDirectory);
  auto* form = new TMainForm(Application);
  ASSERT_NE(form->NetDirect1, nullptr);
  EXPECT_TRUE(form->NetDirect1->URL.empty());
  EXPECT_FALSE(form->NetDirect1->Title.empty());
  TNetDialog* d = form->NetDirect1->Dialog();
  form->OnWebDirectoryDue(form);  // the start counter: nothing to do
  EXPECT_FALSE(d->Visible());
  form->QuillomarkUpdatesClick(nullptr);  // asked for: shown at once, no waiting
  EXPECT_TRUE(d->Visible());
  EXPECT_EQ(Status(form->NetDirect1), "");
  EXPECT_EQ(d->tvDirect->Count(), 5);
  TComponent::Free(form);
}

TEST_F(NetDirectTest, MainWindowRunsItFromHelpAndOnTheTwentyFirstStart) {
  TLocalServer server(200, kDirectory);
  TWinRegistry("Software\\Vortanel\\Quillomark").WriteString("General", "DirectoryURL", server.Url("/netdirect.ini"));
  auto* form = new TMainForm(Application);
  ASSERT_NE(form->NetDirect1, nullptr);
  form->OnWebDirectoryDue(form);  // what the start counter runs: not forced
  EXPECT_EQ(server.Requests(), 1);
  TNetDialog* d = form->NetDirect1->Dialog();
  EXPECT_TRUE(d->Visible());  // new to this program folder
  d->Hide();
  form->OnWebDirectoryDue(form);
  EXPECT_FALSE(d->Visible());
  form->QuillomarkUpdatesClick(nullptr);
  EXPECT_TRUE(d->Visible());
  EXPECT_EQ(server.Requests(), 3);
  // The main window does not open a chosen address a second time.
  d->tvDirect->SetSelected(2);
  d->tvDirectClick(d->tvDirect);
  EXPECT_EQ(opened, (std::vector<std::string>{"http://127.0.0.1/b.exe"}));
  TComponent::Free(form);
}

}  // namespace
