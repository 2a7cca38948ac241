#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <ostream>
#include <string>

#include "toolkit/KtDescriptorBuffer.h"

namespace {

std::string readAvailable(int fd) {
  std::string text;
  char block[4096];
  ssize_t n;
  while ((n = read(fd, block, sizeof block)) > 0) text.append(block, (size_t)n);
  return text;
}

TEST(KtDescriptorBuffer, TextReachesTheDescriptorWhenFlushedOrTooLongToHold) {
  int ends[2];
  ASSERT_EQ(pipe2(ends, O_NONBLOCK), 0);
  KtDescriptorBuffer buffer(ends[1], 16);
  std::ostream out(&buffer);
  out << "short";
  EXPECT_EQ(readAvailable(ends[0]), "");
  out << std::flush;
  EXPECT_EQ(readAvailable(ends[0]), "short");
  out << "x" << std::string(40, 'y');
  EXPECT_EQ(readAvailable(ends[0]), "x" + std::string(40, 'y'));
  EXPECT_TRUE(out.good());
  EXPECT_EQ(buffer.error(), 0);
  close(ends[0]);
  close(ends[1]);
}

TEST(KtDescriptorBuffer, TheFirstRefusedWriteKeepsItsReasonAndStopsTheStream) {
  if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
  int full = open("/dev/full", O_WRONLY);
  ASSERT_GE(full, 0);
  KtDescriptorBuffer buffer(full);
  std::ostream out(&buffer);
  out << "x" << std::flush;
  EXPECT_TRUE(out.bad());
  EXPECT_EQ(buffer.error(), ENOSPC);
  close(full);

  // A closed descriptor: the reason is that one.
  KtDescriptorBuffer closed(full);
  std::ostream lost(&closed);
  lost << "y" << std::flush;
  EXPECT_TRUE(lost.bad());
  EXPECT_EQ(closed.error(), EBADF);
}

}  // namespace
