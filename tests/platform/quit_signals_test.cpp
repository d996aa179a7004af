// The request to end carried by a signal: the first becomes one event of
// the event loop; a second ends the program at once.
#include "platform/quit_signals.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSignalSpy>

namespace lirvane {
namespace {

TEST(QuitSignals, FirstSignalIsOneEventOfTheLoop) {
  for (const int number : {SIGTERM, SIGHUP, SIGINT}) {
    QuitSignals quit;
    QSignalSpy requested(&quit, &QuitSignals::QuitRequested);
    ASSERT_EQ(raise(number), 0);  // the process lives on
    EXPECT_TRUE(requested.wait(2000)) << number;
    ASSERT_EQ(requested.count(), 1);
    EXPECT_EQ(requested[0][0].toInt(), number);
  }
  // Gone with the object: the default action again (checked in a child).
  const pid_t child = fork();
  if (child == 0) {
    raise(SIGTERM);
    _exit(0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFSIGNALED(status));
}

TEST(QuitSignals, SecondSignalEndsTheProgramAtOnce) {
  const pid_t child = fork();
  if (child == 0) {
    QuitSignals quit;
    raise(SIGTERM);  // asked to end: waits for the event loop
    raise(SIGHUP);   // asked again before it got there
    _exit(0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFSIGNALED(status));
  EXPECT_EQ(WTERMSIG(status), SIGHUP);
}

}  // namespace
}  // namespace lirvane
#endif
