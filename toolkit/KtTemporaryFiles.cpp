#include "toolkit/KtTemporaryFiles.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/random.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstring>

namespace {

// A handler may run at any moment, also while a slot is being filled, so
// the names live in storage that is never allocated or freed: a fixed
// number of slots, each claimed and released through its state. A process
// has a few temporary files at a time (the converters three at most); a
// host program with more than this many has the rest left on a signal.
constexpr int kSlotCount = 64;

enum SlotState { Free = 0, Filling = 1, Registered = 2 };

struct Slot {
  std::atomic<int> state{Free};
  char path[PATH_MAX];
};

Slot theSlots[kSlotCount];

static_assert(std::atomic<int>::is_always_lock_free, "the handler reads the states without locks");

// The signals whose handlers remove the files: none of them may come
// between making a file and registering it.
class SignalsHeld {
 public:
  SignalsHeld() {
    sigset_t held;
    sigemptyset(&held);
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&held, sig);
    pthread_sigmask(SIG_BLOCK, &held, &_saved);
  }
  ~SignalsHeld() { pthread_sigmask(SIG_SETMASK, &_saved, nullptr); }
  SignalsHeld(const SignalsHeld&) = delete;
  SignalsHeld& operator=(const SignalsHeld&) = delete;

 private:
  sigset_t _saved;
};

// Six letters and digits from the system's random source, or, where that
// gives none, from the clock, the process and a counter mixed together.
void randomSuffix(char* out) {
  static const char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  constexpr int kLength = 6;
  unsigned char bytes[kLength];
  if (getrandom(bytes, sizeof bytes, GRND_NONBLOCK) != (ssize_t)sizeof bytes) {
    static std::atomic<std::uint64_t> counter{0};
    timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    std::uint64_t x = (std::uint64_t)now.tv_nsec ^ ((std::uint64_t)now.tv_sec << 20) ^
                      ((std::uint64_t)getpid() << 40) ^ counter.fetch_add(0x9E3779B97F4A7C15ULL);
    for (unsigned char& byte : bytes) {
      x ^= x >> 31;
      x *= 0xBF58476D1CE4E5B9ULL;
      x ^= x >> 29;
      byte = (unsigned char)x;
    }
  }
  for (int i = 0; i < kLength; ++i) out[i] = kChars[bytes[i] % (sizeof kChars - 1)];
}

}  // namespace

int KtRegisterTemporaryFile(const char* path) {
  std::size_t length = std::strlen(path);
  if (length >= PATH_MAX) return -1;
  for (int i = 0; i < kSlotCount; ++i) {
    int expected = Free;
    if (!theSlots[i].state.compare_exchange_strong(expected, Filling)) continue;
    std::memcpy(theSlots[i].path, path, length + 1);
    theSlots[i].state.store(Registered);
    return i;
  }
  return -1;
}

void KtForgetTemporaryFile(int slot) {
  if (slot >= 0 && slot < kSlotCount) theSlots[slot].state.store(Free);
}

void KtRemoveTemporaryFiles() {
  for (Slot& slot : theSlots)
    if (slot.state.load() == Registered) ::unlink(slot.path);
}

int KtCreateTemporaryFile(const std::string& stem, std::string* path, int* slot) {
  // Enough tries that a clash of random names never ends the search, few
  // enough that a directory refusing every name fails at once.
  constexpr int kTries = 100;
  std::string name = stem + ".tmp-XXXXXX";
  char* suffix = &name[name.size() - 6];
  for (int attempt = 0; attempt < kTries; ++attempt) {
    randomSuffix(suffix);
    SignalsHeld held;
    int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return -1;
    }
    *slot = KtRegisterTemporaryFile(name.c_str());
    *path = name;
    return fd;
  }
  errno = EEXIST;
  return -1;
}
