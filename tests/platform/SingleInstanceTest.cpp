#include "platform/SingleInstance.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <future>
#include <mutex>
#include <vector>

#include "platform/InstanceProtocol.h"

namespace platform {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr std::string_view kMutexName = "CLIPWREN-{3449B437-3ED8-45d9-93A9-470BC99C3DE5}";
constexpr std::string_view kProbeName =
    "UWM_DUPLICATE_CHECK-{64128FBB-06E7-4ed3-83A3-2F25B2CD88C2}";

TEST(InstanceMutex, SecondHolderSeesItExistsUntilTheFirstEnds) {
  auto first = std::make_unique<InstanceMutex>(kMutexName);
  EXPECT_EQ(first->state(), InstanceMutex::State::Created);
  {
    InstanceMutex second(kMutexName);
    EXPECT_EQ(second.state(), InstanceMutex::State::AlreadyExists);
  }
  EXPECT_EQ(InstanceMutex("another/name").state(), InstanceMutex::State::Created);
  first.reset();
  EXPECT_EQ(InstanceMutex(kMutexName).state(), InstanceMutex::State::Created);
}

TEST(InstanceMutex, UnopenableLockFileIsAccessDenied) {
  if (geteuid() == 0) GTEST_SKIP() << "root opens any file";
  const std::string file = std::string(std::getenv("XDG_RUNTIME_DIR")) + "/locked.lock";
  { InstanceMutex make("locked"); }
  ASSERT_EQ(chmod(file.c_str(), 0), 0);
  EXPECT_EQ(InstanceMutex("locked").state(), InstanceMutex::State::AccessDenied);
}

TEST(RegisteredMessage, StableCaseInsensitiveAndInRange) {
  const std::uint32_t n = RegisteredMessageNumber(kProbeName);
  // Pinned (0xC000 + FNV-1a of the lower-cased name mod 0x4000, computed separately): two
  // builds of the program must agree on the number.
  EXPECT_EQ(n, 0xE02Du) << std::hex << n;
  EXPECT_EQ(RegisteredMessageNumber("uwm_duplicate_check-{64128fbb-06e7-4ed3-83a3-2f25b2cd88c2}"), n);
  for (const char* name : {"", "a", "b", "WM_OTHER"}) {
    const std::uint32_t m = RegisteredMessageNumber(name);
    EXPECT_GE(m, 0xC000u);
    EXPECT_LE(m, 0xFFFFu);
    EXPECT_NE(m, n);
  }
}

// A listener that answers like the main frame and records what it was told.
class Running {
 public:
  Running() {
    InstanceListener::Handlers h;
    h.probe = [](std::uint32_t m) { return m == RegisteredMessageNumber(kProbeName) ? m : 0; };
    h.foreground = [this] {
      std::lock_guard lock(m_mutex);
      ++m_foreground;
    };
    h.copyData = [this](std::uint32_t id, std::string data) {
      std::lock_guard lock(m_mutex);
      m_records.emplace_back(id, std::move(data));
    };
    m_listener = std::make_unique<InstanceListener>(kProbeName, std::move(h));
  }
  std::mutex m_mutex;
  int m_foreground = 0;
  std::vector<std::pair<std::uint32_t, std::string>> m_records;
  std::unique_ptr<InstanceListener> m_listener;
};

TEST(InstanceListener, NoRunningInstanceIsQuicklyFalse) {
  const auto start = Clock::now();
  EXPECT_FALSE(FindRunningInstanceAndHandOver(kProbeName, "/x"));
  EXPECT_LT(Clock::now() - start, 50ms);
}

TEST(InstanceListener, HandOverIsExactAndSynchronous) {
  Running running;
  ASSERT_TRUE(running.m_listener->listening());
  const std::string path = "/home/a/Documents/クリップレン/新しいフォルダ/Example";
  ASSERT_TRUE(FindRunningInstanceAndHandOver(kProbeName, path));
  std::lock_guard lock(running.m_mutex);  // no waiting: the call returns after the handlers
  EXPECT_EQ(running.m_foreground, 1);
  ASSERT_EQ(running.m_records.size(), 1u);
  EXPECT_EQ(running.m_records[0].first, 0u);
  EXPECT_EQ(running.m_records[0].second, path + std::string(1, '\0'));
  EXPECT_EQ(running.m_records[0].second.size(), path.size() + 1);
}

TEST(InstanceListener, WithoutPathOnlyForeground) {
  Running running;
  ASSERT_TRUE(FindRunningInstanceAndHandOver(kProbeName, ""));
  ASSERT_TRUE(FindRunningInstanceAndHandOver(kProbeName, ""));
  std::lock_guard lock(running.m_mutex);
  EXPECT_EQ(running.m_foreground, 2);
  EXPECT_TRUE(running.m_records.empty());
}

TEST(InstanceListener, WrongAnswerIsNotTheRunningInstance) {
  InstanceListener::Handlers h;
  h.probe = [](std::uint32_t) { return 0u; };
  InstanceListener listener(kProbeName, std::move(h));
  EXPECT_FALSE(FindRunningInstanceAndHandOver(kProbeName, "/x"));
}

TEST(InstanceListener, HungProbeHandlerCountsAsNoAnswer) {
  std::promise<void> release;
  auto released = release.get_future().share();
  InstanceListener::Handlers h;
  h.probe = [released](std::uint32_t m) {
    released.wait();
    return m;
  };
  InstanceListener listener(kProbeName, std::move(h));
  const auto start = Clock::now();
  EXPECT_FALSE(FindRunningInstanceAndHandOver(kProbeName, "/x"));
  const auto took = Clock::now() - start;
  EXPECT_GE(took, 190ms);
  EXPECT_LT(took, 400ms);
  release.set_value();  // lets the destructor join the listener thread
}

TEST(InstanceListener, StaleSocketFileDoesNotBlockANewInstance) {
  const auto path = instance::SocketPath(kProbeName);
  ASSERT_TRUE(path);
  // What a crashed instance leaves behind: a bound socket file nobody listens on.
  const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  std::strcpy(addr.sun_path, path->c_str());
  ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  close(fd);
  ASSERT_TRUE(std::filesystem::exists(*path));
  EXPECT_FALSE(FindRunningInstanceAndHandOver(kProbeName, "/x"));
  {
    Running running;
    EXPECT_TRUE(running.m_listener->listening());
    EXPECT_TRUE(FindRunningInstanceAndHandOver(kProbeName, "/x"));
    // A second listener must not steal a live socket.
    InstanceListener intruder(kProbeName, {});
    EXPECT_FALSE(intruder.listening());
  }
  EXPECT_FALSE(std::filesystem::exists(*path));  // removed on orderly shutdown
}

int RawConnect() {
  const auto path = instance::SocketPath(kProbeName);
  const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  std::strcpy(addr.sun_path, path->c_str());
  EXPECT_EQ(connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  return fd;
}

class ListenerGarbage : public ::testing::TestWithParam<std::string> {};
TEST_P(ListenerGarbage, ListenerKeepsServing) {
  Running running;
  const int bad = RawConnect();
  ASSERT_EQ(send(bad, GetParam().data(), GetParam().size(), MSG_NOSIGNAL),
            static_cast<ssize_t>(GetParam().size()));
  const int idle = RawConnect();  // connects and never says anything
  close(bad);
  EXPECT_TRUE(FindRunningInstanceAndHandOver(kProbeName, "/ok"));
  close(idle);
  std::lock_guard lock(running.m_mutex);
  ASSERT_EQ(running.m_records.size(), 1u);
  EXPECT_EQ(running.m_records[0].second, std::string("/ok\0", 4));
}
INSTANTIATE_TEST_SUITE_P(
    InstanceListener, ListenerGarbage,
    ::testing::Values(std::string("GET / HTTP/1.0\r\n\r\n"), std::string("P\x01", 2),
                      std::string("C\0\0\0\0\xFF\xFF\xFF\xFF", 9),  // absurd length
                      std::string("C\0\0\0\0\x10\0\0\0abc", 12),    // cut short
                      std::string(1, '\0')));

}  // namespace
}  // namespace platform
